#include "core/io/sheetreader.h"

#include "core/base/error.h"
#include "core/io/iotexts.h"
#include "core/io/zipparts.h"

#include <QFile>
#include <QFileInfo>

namespace lir::io {

namespace t = iotexts;

namespace {

const QString odsKind = QStringLiteral(".ods");
constexpr int MaxColumns = 16384;

// The text of a paragraph: spans nested, <text:s text:c="n"/> for runs of
// spaces, tabs and line breaks as characters.
void paragraphText(XmlPart& p, QString& out, int maxLength)
{
    QXmlStreamReader& x = p.xml();
    int depth = 1;
    while (depth > 0) {
        const auto token = p.next();
        if (token == QXmlStreamReader::EndDocument)
            return;
        if (token == QXmlStreamReader::Characters) {
            if (out.size() < maxLength)
                out += x.text();
        } else if (token == QXmlStreamReader::StartElement) {
            if (x.name() == u"s") {
                const int n = std::clamp(x.attributes().value(QLatin1String("c")).toInt(), 1, maxLength);
                if (out.size() < maxLength)
                    out += QString(n, u' ');
            } else if (x.name() == u"tab") {
                out += u'\t';
            } else if (x.name() == u"line-break") {
                out += u'\n';
            } else if (x.name() == u"annotation" || x.name() == u"note") {
                p.skip();
                continue;
            }
            ++depth;
        } else if (token == QXmlStreamReader::EndElement) {
            --depth;
        }
    }
}

} // namespace

SheetData readOds(const QString& path, const ReadOptions& options)
{
    ZipParts zip(path, odsKind, options.maxUnpacked);
    if (!zip.has(QStringLiteral("content.xml")))
        zip.fail(t::partMissing(odsKind, QStringLiteral("content.xml")));
    if (zip.has(QStringLiteral("mimetype")) &&
        !zip.readAll(QStringLiteral("mimetype")).startsWith("application/vnd.oasis.opendocument.spreadsheet"))
        zip.fail(QStringLiteral("это не электронная таблица OpenDocument (.ods)"));

    SheetData out;
    out.sheet = options.sheet;
    XmlPart p(zip, QStringLiteral("content.xml"));
    QXmlStreamReader& x = p.xml();
    int tableIndex = -1;
    while (p.next() != QXmlStreamReader::EndDocument) {
        if (!x.isStartElement() || x.name() != u"table" ||
            x.namespaceUri() != u"urn:oasis:names:tc:opendocument:xmlns:table:1.0")
            continue;
        ++tableIndex;
        out.sheetNames << x.attributes().value(QLatin1String("name")).toString();
        if (tableIndex != options.sheet) {
            p.skip();
            continue;
        }
        int rowNumber = 0;
        int depth = 1;
        while (depth > 0) {
            const auto token = p.next();
            if (token == QXmlStreamReader::EndDocument)
                break;
            if (token == QXmlStreamReader::EndElement) {
                --depth;
                continue;
            }
            if (token != QXmlStreamReader::StartElement)
                continue;
            if (x.name() != u"table-row") {
                // Row groups and header rows hold rows; anything else is skipped.
                if (x.name() == u"table-header-rows" || x.name() == u"table-row-group" ||
                    x.name() == u"table-rows")
                    ++depth;
                else
                    p.skip();
                continue;
            }
            const int repeated = std::max(1, x.attributes().value(QLatin1String("number-rows-repeated")).toInt());
            SheetRow row;
            row.line = rowNumber + 1;
            int column = 0;
            // The cells of the row.
            while (p.next() != QXmlStreamReader::EndDocument) {
                if (x.isEndElement() && x.name() == u"table-row")
                    break;
                if (!x.isStartElement())
                    continue;
                if (x.name() != u"table-cell" && x.name() != u"covered-table-cell") {
                    p.skip();
                    continue;
                }
                const QXmlStreamAttributes a = x.attributes();
                const int span = std::max(1, a.value(QLatin1String("number-columns-repeated")).toInt());
                const QStringView type = a.value(QLatin1String("value-type"));
                QString cell;
                if (type == u"float" || type == u"percentage" || type == u"currency")
                    cell = a.value(QLatin1String("value")).toString();
                else if (type == u"date")
                    cell = a.value(QLatin1String("date-value")).toString();
                else if (type == u"time")
                    cell = a.value(QLatin1String("time-value")).toString();
                else if (type == u"boolean")
                    cell = a.value(QLatin1String("boolean-value")) == u"true" ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
                else if (type == u"string" && a.hasAttribute(QLatin1String("string-value")))
                    cell = a.value(QLatin1String("string-value")).toString();
                // The paragraphs of the cell: its text when no value says otherwise.
                QString shown;
                int paragraphs = 0;
                while (p.next() != QXmlStreamReader::EndDocument) {
                    if (x.isEndElement() && (x.name() == u"table-cell" || x.name() == u"covered-table-cell"))
                        break;
                    if (!x.isStartElement())
                        continue;
                    if (x.name() == u"p") {
                        if (paragraphs++ > 0)
                            shown += u'\n';
                        paragraphText(p, shown, options.maxCellLength);
                    } else {
                        p.skip();
                    }
                }
                if (cell.isEmpty() && (type.isEmpty() || type == u"string"))
                    cell = shown;
                if (cell.size() > options.maxCellLength)
                    cell.truncate(options.maxCellLength);
                if (!cell.isEmpty()) {
                    while (row.cells.size() < column && column < MaxColumns)
                        row.cells << QString();
                    for (int k = 0; k < span && column + k < MaxColumns; ++k)
                        row.cells << cell;
                }
                column = std::min(MaxColumns, column + span);
            }
            while (!row.cells.isEmpty() && row.cells.last().trimmed().isEmpty())
                row.cells.removeLast();
            // A repeated empty row (the sheet's unused rows) is only counted.
            if (!row.cells.isEmpty()) {
                for (int k = 0; k < repeated; ++k) {
                    if (out.rows.size() >= options.maxRows)
                        zip.fail(t::tooManyRows(options.maxRows));
                    SheetRow copy = row;
                    copy.line = rowNumber + 1 + k;
                    out.rows.push_back(std::move(copy));
                }
            }
            rowNumber += repeated;
        }
    }
    if (options.sheet < 0 || options.sheet > tableIndex)
        zip.fail(t::noSuchSheet(options.sheet, tableIndex + 1));
    return out;
}

SheetData readSheetFile(const QString& path, const ReadOptions& options)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == u"xlsx" || suffix == u"xlsm")
        return readXlsx(path, options);
    if (suffix == u"ods")
        return readOds(path, options);
    if (suffix == u"csv" || suffix == u"txt" || suffix == u"tsv") {
        // A workbook renamed .csv is no text: say so rather than list its bytes.
        QFile f(path);
        if (f.open(QIODevice::ReadOnly) && f.peek(4) == QByteArray("PK\x03\x04", 4))
            throw Error(t::cannotRead(path, t::binaryNotText()));
        return readCsv(path, options);
    }
    throw Error(t::cannotRead(path, t::unknownFormat()));
}

} // namespace lir::io
