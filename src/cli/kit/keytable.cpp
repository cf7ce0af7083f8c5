#include "cli/kit/keytable.h"

#include "cli/kit/clitexts.h"

#include <cmath>

namespace lir::cli {

namespace {

using V = Key::Value;

bool jsonWhole(const QJsonValue& v, qint64& out)
{
    if (!v.isDouble())
        return false;
    const double d = v.toDouble();
    if (!std::isfinite(d) || std::floor(d) != d || std::fabs(d) > 9.0e15)
        return false;
    out = qint64(d);
    return true;
}

} // namespace

bool boolValue(const Key& key, const QJsonValue& value)
{
    if (!value.isBool())
        throw InvalidValue{texts::notABool(QLatin1String(key.name))};
    return value.toBool();
}

QString pathValue(const Key& key, const QJsonValue& value)
{
    if (!value.isString() || value.toString().isEmpty())
        throw InvalidValue{texts::notAPath(QLatin1String(key.name))};
    // A file name ends at a NUL for the system: it would write another file.
    if (value.toString().contains(QChar(0)))
        throw InvalidValue{texts::nulInPath(QLatin1String(key.name))};
    return value.toString();
}

int inputValue(const Key& key, const QJsonValue& value, const KitCalculator& c)
{
    const QString name = QLatin1String(key.name);
    switch (key.value) {
    case V::Item: {
        const QStringList& items = c.inputItems(key.input);
        const int i = value.isString() ? int(items.indexOf(value.toString())) : -1;
        if (i < 0)
            throw InvalidValue{texts::notAnItem(name, items)};
        return i;
    }
    case V::Bool:
        return boolValue(key, value) ? 1 : 0;
    case V::Whole:
    case V::Clamped:
        break;
    case V::Path:
        throw InvalidValue{texts::notAPath(name)};
    }
    qint64 n = 0;
    if (!jsonWhole(value, n))
        throw InvalidValue{texts::notWhole(name)};
    if (key.value == V::Clamped)
        return int(n < key.lo ? key.lo : (n > key.hi ? key.hi : n));
    if (n < key.lo || n > key.hi)
        throw InvalidValue{texts::outOfRange(name, key.lo, key.hi)};
    return int(n);
}

QJsonValue stateValue(const Key& key, const KitCalculator& c)
{
    const int v = c.inputValue(key.input);
    switch (key.value) {
    case V::Item: {
        const QString text = c.inputItems(key.input).value(v);
        return text.isNull() ? QJsonValue() : QJsonValue(text);
    }
    case V::Bool:
        return v != 0;
    default:
        break;
    }
    return v;
}

} // namespace lir::cli
