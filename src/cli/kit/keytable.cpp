#include "cli/kit/keytable.h"

#include "cli/kit/clitexts.h"

#include <cmath>

namespace lir::cli {

namespace {

using In = KitCalculator::Input;
using V = Key::Value;
using C = Key::Command;

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

const std::vector<Key>& calculatorKeys()
{
    static const std::vector<Key> keys = {
        {"ProfilType", V::Item, In::ProfilType},
        {"Complekt", V::Whole, In::Complekt, C::None, 0, 1},
        {"cb_zapor", V::Bool, In::CbZapor},
        {"KolKomlektov", V::Clamped, In::KolKomlektov, C::None, 1, 100000},
        {"RAL", V::Clamped, In::RAL, C::None, 0, 9999},
        {"NazvSystemProfiles", V::Item, In::NazvSystemProfiles},
        {"cb_ramaType", V::Item, In::RamaType},
        {"RadioGroup1", V::Whole, In::RadioGroup1, C::None, 0, 1},
        {"PolStvorki", V::Item, In::PolStvorki},
        {"FFH", V::Whole, In::FFH, C::None, 0, 9999},
        {"FFB", V::Whole, In::FFB, C::None, 0, 9999},
        {"RuchkaVcentre", V::Bool, In::RuchkaVcentre},
        {"GH", V::Whole, In::GH, C::None, 0, 9999},
        {"RuchkaOkon", V::Bool, In::RuchkaOkon},
        {"TipRuchki", V::Item, In::TipRuchki},
        {"Provetrivatel", V::Bool, In::Provetrivatel},
        {"BalkonnayaZaschelka", V::Bool, In::BalkonnayaZaschelka},
        {"blokirator", V::Bool, In::Blokirator},
        {"PlankaMicrovent", V::Bool, In::PlankaMicrovent},
        {"CheckBox1", V::Bool, In::CheckBox1},
        {"calculate", V::Bool, {}, C::Calculate},
        {"export_html", V::Path, {}, C::ExportHtml},
        {"export_xlsx", V::Path, {}, C::ExportXlsx},
        {"export_pdf", V::Path, {}, C::ExportPdf},
        {"export_svg", V::Path, {}, C::ExportSvg},
        // The order's buttons of the calculator, pressed after the calculation.
        {"add_to_order", V::Bool, {}, C::AddToOrder},
        {"save_changes", V::Bool, {}, C::SaveChanges},
    };
    return keys;
}

const Key* findKey(const QString& name)
{
    for (const Key& key : calculatorKeys())
        if (name == QLatin1String(key.name))
            return &key;
    return nullptr;
}

bool takesKey(const KitCalculator& c, const Key& key)
{
    return key.command != C::None || c.hasInput(key.input);
}

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
