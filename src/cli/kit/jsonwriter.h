#pragma once

#include <QByteArray>
#include <QJsonArray>
#include <QJsonValue>
#include <QString>

#include <utility>
#include <vector>

namespace lir {
class KitCalculator;
}

namespace lir::cli {

// A JSON object written in one compact line that keeps its keys in the order
// they are added (QJsonObject sorts them).
class JsonObjectWriter
{
public:
    JsonObjectWriter& add(const QString& key, const QJsonValue& value);
    JsonObjectWriter& add(const char* key, const QJsonValue& value) { return add(QLatin1String(key), value); }
    // A value that is JSON text already, such as a nested writer's.
    JsonObjectWriter& addRaw(const QString& key, const QByteArray& json);
    JsonObjectWriter& addRaw(const char* key, const QByteArray& json) { return addRaw(QLatin1String(key), json); }
    QByteArray toJson() const;
    QByteArray json() const { return toJson(); }

    static QByteArray encode(const QJsonValue& value);

private:
    std::vector<std::pair<QString, QByteArray>> m_items;
};

// {"error": text}
QByteArray errorLine(const QString& text);

// The answer to a calculator line: the result, the Last calculation, the grid,
// the state of every input and the keys that were ignored; then, when given,
// the order as JSON text.
QByteArray calculatorAnswer(const KitCalculator& calc, const QJsonArray& messages, const QJsonArray& ignored,
                            const QByteArray& order = {});

} // namespace lir::cli
