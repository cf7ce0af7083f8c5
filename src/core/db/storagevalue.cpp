#include "core/db/storagevalue.h"

#include "core/base/environment.h"
#include "core/base/error.h"
#include "core/base/numberformat.h"
#include "core/db/storagetexts.h"

#include <QRegularExpression>
#include <QTextBoundaryFinder>

#include <cmath>
#include <limits>

namespace lir::db {

using Type = FieldDef::Type;

QString cutToSize(const QString& s, int size)
{
    // A lone surrogate would reach the file as another character: the engine
    // pairs it with whatever follows.
    QString r = s;
    for (qsizetype i = 0; i < r.size(); ++i) {
        if (r[i].isHighSurrogate() && i + 1 < r.size() && r[i + 1].isLowSurrogate())
            ++i;
        else if (r[i].isSurrogate())
            r[i] = QChar::ReplacementCharacter;
    }
    if (size <= 0 || r.size() <= size)
        return r;
    // The size counts characters as the user sees them: a surrogate pair is one.
    qsizetype end = 0;
    for (int n = 0; n < size && end < r.size(); ++n)
        end += r[end].isHighSurrogate() ? 2 : 1;
    if (end >= r.size())
        return r;
    // A letter keeps its accents: the cut goes before the whole cluster,
    // unless the cluster alone is longer than the field.
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, r);
    graphemes.setPosition(end);
    if (!graphemes.isAtBoundary() && graphemes.toPreviousBoundary() > 0)
        end = graphemes.position();
    return r.left(end);
}

bool isIntegral(const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Bool:
        return true;
    default:
        return false;
    }
}

bool isFloating(const QVariant& v)
{
    return v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float;
}

// A number typed as text, as the user's locale writes it or with a point;
// never with group separators.
std::optional<double> parseNumber(const QString& text)
{
    double x = 0;
    if (!numfmt::parse(text, environment().numberLocale(), &x))
        return std::nullopt;
    return x;
}

// The value as it is written into its field; throws the conversion error when it does not fit.
QVariant storedValue(const FieldDef& f, const QVariant& v)
{
    if (!v.isValid() || v.isNull())
        return {};
    switch (f.type) {
    case Type::Text:
    case Type::Other: {
        if (f.type == Type::Other && v.typeId() != QMetaType::QString)
            return v;
        const QString s = cutToSize(v.toString(), f.size);
        return s.isEmpty() ? QVariant() : QVariant(s);
    }
    case Type::Int32:
    case Type::UInt16: {
        const qint64 min = f.type == Type::UInt16 ? 0 : std::numeric_limits<qint32>::min();
        const qint64 max = f.type == Type::UInt16 ? 65535 : std::numeric_limits<qint32>::max();
        const QString shown = v.toString();
        auto outOfRange = [&] { return Error(texts::outOfRange(shown, f.name, min, max)); };
        qint64 n = 0;
        if (isIntegral(v)) {
            n = v.toLongLong();
        } else if (v.typeId() == QMetaType::ULongLong) {
            if (v.toULongLong() > quint64(max))
                throw outOfRange();
            n = qint64(v.toULongLong());
        } else if (isFloating(v)) {
            const double x = v.toDouble();
            if (!std::isfinite(x) || x != std::floor(x))
                throw Error(texts::notAnInteger(shown, f.name));
            if (x < double(min) || x > double(max))
                throw outOfRange();
            n = qint64(x);
        } else {
            const QString s = shown.trimmed();
            if (s.isEmpty())
                return {};
            bool ok = false;
            n = s.toLongLong(&ok);
            if (!ok) {
                static const QRegularExpression digits(QStringLiteral("^[+-]?\\d+$"));
                if (digits.match(s).hasMatch())
                    throw outOfRange();
                throw Error(texts::notAnInteger(shown, f.name));
            }
        }
        if (n < min || n > max)
            throw outOfRange();
        return QVariant(qlonglong(n));
    }
    case Type::Double: {
        if (isIntegral(v) || v.typeId() == QMetaType::ULongLong || isFloating(v)) {
            const double x = v.toDouble();
            if (!std::isfinite(x))
                throw Error(texts::notANumber(v.toString(), f.name));
            return x;
        }
        const QString s = v.toString().trimmed();
        if (s.isEmpty())
            return {};
        const std::optional<double> x = parseNumber(s);
        if (!x)
            throw Error(texts::notANumber(v.toString(), f.name));
        return *x;
    }
    }
    return v;
}

std::optional<double> storedNumber(const QVariant& v, const QString& fieldName)
{
    if (!v.isValid())
        return std::nullopt;
    if (isIntegral(v) || isFloating(v) || v.typeId() == QMetaType::ULongLong)
        return v.toDouble();
    const QString s = v.toString().trimmed();
    if (s.isEmpty())
        return std::nullopt;
    const std::optional<double> x = parseNumber(s);
    if (!x)
        throw Error(texts::notANumber(v.toString(), fieldName));
    return x;
}

} // namespace lir::db
