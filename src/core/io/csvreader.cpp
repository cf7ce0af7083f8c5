#include "core/io/sheetreader.h"

#include "core/base/codec.h"
#include "core/base/error.h"
#include "core/io/iotexts.h"

#include <QFile>
#include <QStringDecoder>

namespace lir::io {

namespace t = iotexts;

namespace {

// Text that is valid UTF-8 is taken as UTF-8; anything else as the Russian
// Windows code page, the other encoding such lists come in. Valid UTF-8 with
// Cyrillic letters is practically never valid Windows-1251 text read wrongly.
QString decode(const QByteArray& bytes, QString* encoding)
{
    QByteArrayView view(bytes);
    if (view.startsWith("\xEF\xBB\xBF")) {
        view = view.sliced(3);
        *encoding = QStringLiteral("UTF-8");
        return QString::fromUtf8(view);
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(view);
    if (!utf8.hasError()) {
        *encoding = QStringLiteral("UTF-8");
        return text;
    }
    *encoding = QStringLiteral("Windows-1251");
    return fromWindows1251(bytes);
}

// The separator of the first line: the one of ';', tab and ',' that occurs
// most often outside quotes; ';' on a tie, as a price with a decimal comma
// makes ',' the least likely.
QChar detectSeparator(const QString& text)
{
    int semicolons = 0, tabs = 0, commas = 0;
    bool quoted = false;
    for (const QChar c : text) {
        if (c == u'"')
            quoted = !quoted;
        else if (!quoted && (c == u'\n' || c == u'\r'))
            break;
        else if (!quoted && c == u';')
            ++semicolons;
        else if (!quoted && c == u'\t')
            ++tabs;
        else if (!quoted && c == u',')
            ++commas;
    }
    if (tabs > semicolons && tabs >= commas)
        return u'\t';
    if (commas > semicolons && commas > tabs)
        return u',';
    return u';';
}

} // namespace

SheetData parseCsv(const QByteArray& bytes, const QString& shownName, const ReadOptions& options)
{
    if (bytes.isEmpty())
        throw Error(t::cannotRead(shownName, t::emptyFile()));
    // A text file holds no NUL byte, and few control characters.
    const QByteArrayView head = QByteArrayView(bytes).first(std::min<qsizetype>(bytes.size(), 65536));
    int controls = 0;
    for (const char c : head) {
        const auto u = static_cast<unsigned char>(c);
        if (u == 0)
            throw Error(t::cannotRead(shownName, t::binaryNotText()));
        if (u < 0x20 && u != '\n' && u != '\r' && u != '\t')
            ++controls;
    }
    if (controls * 100 > head.size())
        throw Error(t::cannotRead(shownName, t::binaryNotText()));

    SheetData out;
    const QString text = decode(bytes, &out.encoding);
    out.separator = detectSeparator(text);
    const QChar sep = out.separator;

    int line = 1;
    SheetRow row;
    row.line = 1;
    QString cell;
    bool quoted = false;
    bool wasQuoted = false;
    int quoteLine = 0;
    auto endCell = [&] {
        if (cell.size() > options.maxCellLength)
            cell.truncate(options.maxCellLength);
        row.cells << cell;
        cell.clear();
        wasQuoted = false;
    };
    auto endRow = [&] {
        endCell();
        while (!row.cells.isEmpty() && row.cells.last().trimmed().isEmpty())
            row.cells.removeLast();
        if (!row.cells.isEmpty()) {
            if (out.rows.size() >= options.maxRows)
                throw Error(t::cannotRead(shownName, t::tooManyRows(options.maxRows)));
            out.rows.push_back(std::move(row));
        }
        row = SheetRow();
        row.line = line;
    };

    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"') {
                if (i + 1 < n && text[i + 1] == u'"') {
                    cell += u'"';
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                if (c == u'\n')
                    ++line;
                cell += c;
            }
            continue;
        }
        if (c == u'"' && cell.trimmed().isEmpty()) {
            cell.clear();
            quoted = wasQuoted = true;
            quoteLine = line;
        } else if (c == sep) {
            endCell();
        } else if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n')
                ++i;
            ++line;
            endRow();
        } else if (!(wasQuoted && c.isSpace())) {
            // Spaces after a closing quote are no part of the field.
            cell += c;
        }
    }
    if (quoted)
        throw Error(t::cannotRead(shownName, t::unclosedQuote(quoteLine)));
    if (!cell.isEmpty() || !row.cells.isEmpty())
        endRow();
    return out;
}

SheetData readCsv(const QString& path, const ReadOptions& options)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw Error(t::cannotRead(path, f.errorString()));
    if (f.size() > options.maxUnpacked)
        throw Error(t::cannotRead(path, t::tooLargeUnpacked(f.size(), options.maxUnpacked)));
    const QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError)
        throw Error(t::cannotRead(path, f.errorString()));
    return parseCsv(bytes, path, options);
}

int columnIndex(const QString& letters)
{
    if (letters.isEmpty() || letters.size() > 3)
        return -1;
    int c = 0;
    for (const QChar ch : letters) {
        const char16_t u = ch.toUpper().unicode();
        if (u < u'A' || u > u'Z')
            return -1;
        c = c * 26 + (u - u'A' + 1);
    }
    return c - 1;
}

QString columnName(int column)
{
    QString s;
    for (int c = column + 1; c > 0; c = (c - 1) / 26)
        s.prepend(QChar(char16_t(u'A' + (c - 1) % 26)));
    return s;
}

} // namespace lir::io
