#include "cli/kit/linedriver.h"

#include "cli/kit/clitexts.h"
#include "cli/kit/jsonwriter.h"

#include <algorithm>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

namespace lir::cli {

namespace {

bool isValidUnicode(const QString& s)
{
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i].isHighSurrogate() && i + 1 < s.size() && s[i + 1].isLowSurrogate())
            ++i;
        else if (s[i].isSurrogate())
            return false;
    }
    return true;
}

// The parser takes "\ud800" for text; stored, it would turn into another
// character together with what follows it.
bool holdsInvalidUnicode(const QJsonValue& v)
{
    if (v.isString())
        return !isValidUnicode(v.toString());
    if (v.isArray()) {
        const QJsonArray a = v.toArray();
        return std::any_of(a.begin(), a.end(), [](const QJsonValue& x) { return holdsInvalidUnicode(x); });
    }
    if (v.isObject()) {
        const QJsonObject o = v.toObject();
        for (auto it = o.begin(); it != o.end(); ++it)
            if (!isValidUnicode(it.key()) || holdsInvalidUnicode(it.value()))
                return true;
    }
    return false;
}

} // namespace

void driveLines(std::FILE* in, std::FILE* out, const std::function<QByteArray(const QByteArray&)>& answer)
{
    QByteArray line;
    auto answerLine = [&] {
        if (line.endsWith('\r'))
            line.chop(1);
        const QByteArray text = answer(line) + '\n';
        std::fwrite(text.constData(), 1, size_t(text.size()), out);
        std::fflush(out);
        line.clear();
    };
    // Byte by byte: a NUL is a byte like any other here, and the answer to a
    // line goes out before the next line has to arrive.
    for (int c = std::getc(in); c != EOF; c = std::getc(in)) {
        if (c == '\n')
            answerLine();
        else
            line += char(c);
    }
    if (!line.isEmpty())
        answerLine();
}

void LineCommands::add(const QString& key, Command command)
{
    m_commands.emplace_back(key, std::move(command));
}

QByteArray LineCommands::answer(const QByteArray& line) const
{
    if (line.contains('\0'))
        return errorLine(texts::nulInLine());
    QJsonParseError perr;
    const QJsonDocument doc = QJsonDocument::fromJson(line, &perr);
    if (perr.error != QJsonParseError::NoError)
        return errorLine(texts::notJson(perr.errorString()));
    if (!doc.isObject())
        return errorLine(texts::notAnObject());
    const QJsonObject in = doc.object();
    if (holdsInvalidUnicode(in))
        return errorLine(texts::loneSurrogate());

    if (m_commands.empty())
        return errorLine(texts::notAnObject());
    for (const auto& [key, command] : m_commands)
        if (in.contains(key))
            return command(in);
    return m_commands.front().second(in);
}

} // namespace lir::cli
