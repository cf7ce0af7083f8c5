#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>

#include <cstdio>
#include <functional>
#include <utility>
#include <vector>

namespace lir::cli {

// Reads `in` to its end as lines of bytes up to "\n" (a "\r" before it is
// dropped, a last line without "\n" counts as well) and writes the answer to
// each, with "\n", to `out` as soon as it is known. Every line gets exactly one
// answer, whatever bytes it holds.
void driveLines(std::FILE* in, std::FILE* out, const std::function<QByteArray(const QByteArray&)>& answer);

// The commands of a line program by the key that names them: a line is one
// JSON object, and the command key it holds says which command answers it.
class LineCommands
{
public:
    using Command = std::function<QByteArray(const QJsonObject&)>;

    // A line that holds the keys of several commands goes to the one added
    // first (which refuses the others' keys as its unknown keys); the first
    // command also answers a line that names none, and tells what it misses.
    void add(const QString& key, Command command);
    // The answer line (without a line end) to one input line.
    QByteArray answer(const QByteArray& line) const;

private:
    std::vector<std::pair<QString, Command>> m_commands;
};

} // namespace lir::cli
