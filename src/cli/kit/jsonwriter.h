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
    void add(const QString& key, const QJsonValue& value);
    // A value that is JSON text already, such as a nested writer's.
    void addRaw(const QString& key, const QByteArray& json);
    QByteArray toJson() const;

    static QByteArray encode(const QJsonValue& value);

private:
    std::vector<std::pair<QString, QByteArray>> m_items;
};

// {"error": text}
QByteArray errorLine(const QString& text);

// The answer to a calculator line: the result, the Last calculation, the grid,
// the state of every input and the keys that were ignored.
QByteArray calculatorAnswer(const KitCalculator& calc, const QJsonArray& messages, const QJsonArray& ignored);

} // namespace lir::cli
