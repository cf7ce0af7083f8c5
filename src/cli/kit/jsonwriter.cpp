#include "cli/kit/jsonwriter.h"

#include "cli/kit/keytable.h"
#include "core/calc/kitcalculator.h"

#include <QJsonDocument>

namespace lir::cli {

JsonObjectWriter& JsonObjectWriter::add(const QString& key, const QJsonValue& value)
{
    m_items.emplace_back(key, encode(value));
    return *this;
}

JsonObjectWriter& JsonObjectWriter::addRaw(const QString& key, const QByteArray& json)
{
    m_items.emplace_back(key, json);
    return *this;
}

QByteArray JsonObjectWriter::toJson() const
{
    QByteArray out = "{";
    for (size_t i = 0; i < m_items.size(); ++i) {
        if (i)
            out += ',';
        out += encode(QJsonValue(m_items[i].first));
        out += ':';
        out += m_items[i].second;
    }
    return out + '}';
}

QByteArray JsonObjectWriter::encode(const QJsonValue& value)
{
    const QByteArray wrapped = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return wrapped.mid(1, wrapped.size() - 2);
}

QByteArray errorLine(const QString& text)
{
    JsonObjectWriter o;
    o.add(QStringLiteral("error"), text);
    return o.toJson();
}

namespace {

QByteArray stateJson(const KitCalculator& c)
{
    JsonObjectWriter s;
    for (const Key& key : calculatorKeys())
        if (key.command == Key::Command::None && c.hasInput(key.input))
            s.add(QLatin1String(key.name), stateValue(key, c));
    s.add(QStringLiteral("SystemProfiles"), c.systemProfilesText());
    return s.toJson();
}

QJsonArray gridJson(const KitCalculator& c)
{
    // Up to the last row with any text.
    int lastRow = 0;
    for (int r = 1; r < c.gridRowCount(); ++r)
        for (const QString& cell : c.gridRow(r))
            if (!cell.isEmpty())
                lastRow = r;
    QJsonArray grid;
    for (int r = 1; r <= lastRow; ++r) {
        QJsonArray cells;
        for (const QString& cell : c.gridRow(r))
            cells.append(cell);
        grid.append(cells);
    }
    return grid;
}

} // namespace

QByteArray calculatorAnswer(const KitCalculator& calc, const QJsonArray& messages, const QJsonArray& ignored,
                            const QByteArray& order)
{
    JsonObjectWriter out;
    out.add(QStringLiteral("calculator"), calc.model());
    out.add(QStringLiteral("ok"), !calc.lastCalculationFailed());
    out.add(QStringLiteral("messages"), messages);
    out.add(QStringLiteral("LIRL"), calc.lirlText());
    out.add(QStringLiteral("KitDesignation"), calc.KitDesignation);
    out.add(QStringLiteral("LineCount"), calc.LineCount);
    JsonObjectWriter last;
    last.add(QStringLiteral("FFH"), calc.LastFFH);
    last.add(QStringLiteral("FFB"), calc.LastFFB);
    last.add(QStringLiteral("GH"), calc.LastGH);
    out.addRaw(QStringLiteral("Last"), last.toJson());
    out.add(QStringLiteral("grid"), gridJson(calc));
    out.addRaw(QStringLiteral("state"), stateJson(calc));
    out.add(QStringLiteral("ignored"), ignored);
    if (!order.isEmpty())
        out.addRaw(QStringLiteral("order"), order);
    return out.toJson();
}

} // namespace lir::cli
