#include "core/io/sheetreader.h"

#include "core/base/error.h"
#include "core/io/iotexts.h"
#include "core/io/zipparts.h"

#include <QHash>

namespace lir::io {

namespace t = iotexts;

namespace {

const QString xlsxKind = QStringLiteral(".xlsx");

// A part named by a relationship of xl/workbook.xml: relative to xl/, or
// absolute from the archive's root.
QString partOf(const QString& target)
{
    if (target.startsWith(u'/'))
        return target.mid(1);
    QString p = QStringLiteral("xl/") + target;
    // "../" steps are rare but legal.
    while (p.contains(QStringLiteral("/../"))) {
        const qsizetype at = p.indexOf(QStringLiteral("/../"));
        const qsizetype start = p.lastIndexOf(u'/', at - 1);
        p.remove(start + 1, at + 4 - start - 1);
    }
    return p;
}

struct WorkbookParts
{
    QStringList names;
    QStringList sheetParts;
    QString sharedStrings;
};

WorkbookParts readWorkbook(ZipParts& zip)
{
    QHash<QString, QString> targets; // relationship id -> part
    WorkbookParts wb;
    {
        XmlPart rels(zip, QStringLiteral("xl/_rels/workbook.xml.rels"));
        while (rels.next() != QXmlStreamReader::EndDocument) {
            QXmlStreamReader& x = rels.xml();
            if (x.isStartElement() && x.name() == u"Relationship") {
                const QString target = partOf(x.attributes().value(QLatin1String("Target")).toString());
                targets.insert(x.attributes().value(QLatin1String("Id")).toString(), target);
                if (x.attributes().value(QLatin1String("Type")).endsWith(u"/sharedStrings"))
                    wb.sharedStrings = target;
            }
        }
    }
    XmlPart book(zip, QStringLiteral("xl/workbook.xml"));
    while (book.next() != QXmlStreamReader::EndDocument) {
        QXmlStreamReader& x = book.xml();
        if (x.isStartElement() && x.name() == u"sheet") {
            QString id;
            for (const QXmlStreamAttribute& a : x.attributes())
                if (a.name() == u"id")
                    id = a.value().toString();
            wb.names << x.attributes().value(QLatin1String("name")).toString();
            wb.sheetParts << targets.value(id);
        }
    }
    return wb;
}

// The text of a string item (<si>, <is>) up to its end: its <t> runs;
// phonetic hints (rPh) are no part of it.
QString runsText(XmlPart& p)
{
    QXmlStreamReader& x = p.xml();
    QString s;
    int depth = 1;
    while (depth > 0) {
        const auto token = p.next();
        if (token == QXmlStreamReader::EndDocument)
            break;
        if (token == QXmlStreamReader::StartElement) {
            if (x.name() == u"rPh" || x.name() == u"phoneticPr")
                p.skip();
            else if (x.name() == u"t")
                s += p.text();
            else
                ++depth;
        } else if (token == QXmlStreamReader::EndElement) {
            --depth;
        }
    }
    return s;
}

QStringList readSharedStrings(ZipParts& zip, const QString& part, int maxCellLength)
{
    QStringList strings;
    if (part.isEmpty() || !zip.has(part))
        return strings;
    XmlPart p(zip, part);
    while (p.next() != QXmlStreamReader::EndDocument) {
        QXmlStreamReader& x = p.xml();
        if (!x.isStartElement() || x.name() != u"si")
            continue;
        QString s = runsText(p);
        if (s.size() > maxCellLength)
            s.truncate(maxCellLength);
        strings << s;
    }
    return strings;
}

// The 0-based column of a cell reference ("C12"); -1 when there is none.
int referenceColumn(QStringView ref)
{
    qsizetype letters = 0;
    while (letters < ref.size() && ref[letters].isLetter())
        ++letters;
    return letters == 0 ? -1 : columnIndex(ref.first(letters).toString());
}

} // namespace

SheetData readXlsx(const QString& path, const ReadOptions& options)
{
    ZipParts zip(path, xlsxKind, options.maxUnpacked);
    if (!zip.has(QStringLiteral("[Content_Types].xml")) || !zip.has(QStringLiteral("xl/workbook.xml")))
        zip.fail(t::partMissing(xlsxKind, QStringLiteral("xl/workbook.xml")));
    const WorkbookParts wb = readWorkbook(zip);
    SheetData out;
    out.sheetNames = wb.names;
    out.sheet = options.sheet;
    if (options.sheet < 0 || options.sheet >= wb.sheetParts.size())
        zip.fail(t::noSuchSheet(options.sheet, int(wb.sheetParts.size())));
    const QStringList shared = readSharedStrings(zip, wb.sharedStrings, options.maxCellLength);

    XmlPart sheet(zip, wb.sheetParts[options.sheet]);
    QXmlStreamReader& x = sheet.xml();
    SheetRow row;
    int lastRow = 0;
    while (sheet.next() != QXmlStreamReader::EndDocument) {
        if (!x.isStartElement())
            continue;
        if (x.name() == u"row") {
            bool ok = false;
            const int r = x.attributes().value(QLatin1String("r")).toInt(&ok);
            row = SheetRow();
            row.line = ok ? r : lastRow + 1;
            lastRow = row.line;
            // The cells of the row up to its end.
            while (sheet.next() != QXmlStreamReader::EndDocument) {
                if (x.isEndElement() && x.name() == u"row")
                    break;
                if (!x.isStartElement() || x.name() != u"c")
                    continue;
                const QString type = x.attributes().value(QLatin1String("t")).toString();
                int column = referenceColumn(x.attributes().value(QLatin1String("r")));
                if (column < 0)
                    column = int(row.cells.size());
                QString value;
                QString inlineText;
                bool hasInline = false;
                while (sheet.next() != QXmlStreamReader::EndDocument) {
                    if (x.isEndElement() && x.name() == u"c")
                        break;
                    if (!x.isStartElement())
                        continue;
                    if (x.name() == u"v") {
                        value = sheet.text();
                    } else if (x.name() == u"is") {
                        hasInline = true;
                        inlineText = runsText(sheet);
                    } else {
                        sheet.skip(); // the formula text: its cached value is in <v>
                    }
                }
                QString cell;
                if (type == u"s") {
                    bool isIndex = false;
                    const int index = value.toInt(&isIndex);
                    if (!isIndex || index < 0 || index >= shared.size())
                        zip.fail(t::badXml(wb.sheetParts[options.sheet], x.lineNumber(),
                                           QStringLiteral("нет общей строки %1").arg(value)));
                    cell = shared[index];
                } else if (type == u"inlineStr" || hasInline) {
                    cell = inlineText;
                } else if (type == u"b") {
                    cell = value == u"1" ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
                } else {
                    cell = value; // a number, a formula's text result (str), an error (#N/A)
                }
                if (cell.isEmpty() || column >= 16384)
                    continue;
                if (cell.size() > options.maxCellLength)
                    cell.truncate(options.maxCellLength);
                while (row.cells.size() < column)
                    row.cells << QString();
                if (row.cells.size() == column)
                    row.cells << cell;
                else
                    row.cells[column] = cell;
            }
            while (!row.cells.isEmpty() && row.cells.last().trimmed().isEmpty())
                row.cells.removeLast();
            if (!row.cells.isEmpty()) {
                if (out.rows.size() >= options.maxRows)
                    zip.fail(t::tooManyRows(options.maxRows));
                out.rows.push_back(std::move(row));
            }
        }
    }
    return out;
}

} // namespace lir::io
