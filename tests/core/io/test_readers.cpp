#include "core/base/codec.h"
#include "core/base/error.h"
#include "core/io/sheetreader.h"

#include "support/testsupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <zip.h>

using namespace lir;
using namespace lir::io;

namespace {

QString writeFile(const QTemporaryDir& dir, const char* name, const QByteArray& bytes)
{
    const QString path = dir.filePath(QString::fromUtf8(name));
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
    return path;
}

// Runs python with openpyxl on a script that gets the target path as argv[1].
void runPython(const QString& script, const QString& path)
{
    QProcess p;
    p.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), script, path});
    ASSERT_TRUE(p.waitForFinished(60000));
    ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
}

QString readError(const std::function<void()>& f)
{
    try {
        f();
    } catch (const Error& e) {
        return e.message();
    }
    return QStringLiteral("(no error)");
}

QStringList cells(std::initializer_list<const char*> texts)
{
    QStringList out;
    for (const char* s : texts)
        out << QString::fromUtf8(s);
    return out;
}

} // namespace

TEST(CsvReader, EncodingsSeparatorsAndQuotes)
{
    QTemporaryDir dir;
    const QString text = QStringLiteral("Артикул;Наименование;Цена\r\nЛИР-1;\"Петля \"\"верхняя\"\"; левая\";1 250,50\r\n\r\nЛИР-2;Ручка;7\r\n");

    const SheetData utf8 = readCsv(writeFile(dir, "a.csv", text.toUtf8()));
    EXPECT_EQ(utf8.encoding, QStringLiteral("UTF-8"));
    EXPECT_EQ(utf8.separator, u';');
    ASSERT_EQ(utf8.rows.size(), 3);
    EXPECT_EQ(utf8.rows[1].cells, cells({"ЛИР-1", "Петля \"верхняя\"; левая", "1 250,50"}));
    EXPECT_EQ(utf8.rows[1].line, 2);
    EXPECT_EQ(utf8.rows[2].line, 4); // the empty line is counted, not returned

    const SheetData bom = readCsv(writeFile(dir, "b.csv", "\xEF\xBB\xBF" + text.toUtf8()));
    EXPECT_EQ(bom.rows[0].cells, cells({"Артикул", "Наименование", "Цена"}));

    const SheetData cp1251 = readCsv(writeFile(dir, "c.csv", toWindows1251(text)));
    EXPECT_EQ(cp1251.encoding, QStringLiteral("Windows-1251"));
    EXPECT_EQ(cp1251.rows[1].cells, utf8.rows[1].cells);

    QString tabbed = text;
    tabbed.replace(u';', u'\t');
    const SheetData tab = readCsv(writeFile(dir, "d.csv", tabbed.toUtf8()));
    EXPECT_EQ(tab.separator, u'\t');
    EXPECT_EQ(tab.rows[2].cells, cells({"ЛИР-2", "Ручка", "7"}));

    // A comma file whose header has a quoted comma; a field over two lines.
    const SheetData commas = readCsv(writeFile(
        dir, "e.csv", "Код,Название,\"Цена, руб.\"\n\"ЛИР-3\",\"Две\nстроки\",\"12,5\"\nЛИР-4,x,3\n"));
    EXPECT_EQ(commas.separator, u',');
    EXPECT_EQ(commas.rows[0].cells, cells({"Код", "Название", "Цена, руб."}));
    EXPECT_EQ(commas.rows[1].cells, cells({"ЛИР-3", "Две\nстроки", "12,5"}));
    EXPECT_EQ(commas.rows[2].line, 4);
}

TEST(CsvReader, BadFilesAreRefusedWithTheirReason)
{
    QTemporaryDir dir;
    const QString empty = writeFile(dir, "empty.csv", {});
    EXPECT_EQ(readError([&] { readCsv(empty); }),
              QStringLiteral("Не удалось прочитать файл %1: файл пуст").arg(empty));
    const QString binary = writeFile(dir, "bin.csv", QByteArray("\x01\x02\x00\x7f\xff", 5).repeated(100));
    EXPECT_EQ(readError([&] { readCsv(binary); }),
              QStringLiteral("Не удалось прочитать файл %1: это не текстовый файл CSV (в нём есть двоичные данные)")
                  .arg(binary));
    const QString open = writeFile(dir, "open.csv", "a;b\n\"c;d\n");
    EXPECT_EQ(readError([&] { readCsv(open); }),
              QStringLiteral("Не удалось прочитать файл %1: кавычка, открытая в строке 2, не закрыта до конца файла")
                  .arg(open));
    ReadOptions few;
    few.maxRows = 2;
    const QString many = writeFile(dir, "many.csv", "a\nb\nc\n");
    EXPECT_EQ(readError([&] { readCsv(many, few); }),
              QStringLiteral("Не удалось прочитать файл %1: в таблице больше 2 строк").arg(many));
    // A workbook named .csv is not listed as text.
    const QString zipped = writeFile(dir, "book.csv", QByteArray("PK\x03\x04", 4) + QByteArray(100, 'x'));
    EXPECT_TRUE(readError([&] { readSheetFile(zipped); }).endsWith(u"это не текстовый файл CSV (в нём есть двоичные данные)"));
}

TEST(WorkbookReader, XlsxOfOpenpyxl)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("list.xlsx"));
    runPython(QStringLiteral(R"(import sys, openpyxl
wb = openpyxl.Workbook()
ws = wb.active
ws.title = 'Первый'
ws.append(['Обозначение', 'Наименование', 'Цена, руб.'])
ws.append(['ЛИР-1', 'Петля', 1250.5])
ws.append([None, None, None])
ws['A4'] = 'ЛИР-2'
ws['C4'] = '=C2*2'
ws['E4'] = True
ws2 = wb.create_sheet('Второй')
ws2['B2'] = 'на втором'
wb.save(sys.argv[1])
)"), path);
    const SheetData first = readXlsx(path);
    EXPECT_EQ(first.sheetNames, cells({"Первый", "Второй"}));
    ASSERT_EQ(first.rows.size(), 3);
    EXPECT_EQ(first.rows[0].cells, cells({"Обозначение", "Наименование", "Цена, руб."}));
    EXPECT_EQ(first.rows[1].cells, cells({"ЛИР-1", "Петля", "1250.5"}));
    // openpyxl stores no cached value for a formula: the cell is empty.
    EXPECT_EQ(first.rows[2].line, 4);
    EXPECT_EQ(first.rows[2].cells, cells({"ЛИР-2", "", "", "", "TRUE"}));

    ReadOptions second;
    second.sheet = 1;
    EXPECT_EQ(readXlsx(path, second).rows.value(0).cells, cells({"", "на втором"}));
    second.sheet = 2;
    EXPECT_EQ(readError([&] { readXlsx(path, second); }),
              QStringLiteral("Не удалось прочитать файл %1: в книге нет листа 3 (листов: 2)").arg(path));
}

TEST(WorkbookReader, CachedFormulaValuesAndInlineStrings)
{
    // A workbook as a spreadsheet application saves it: the formula's cached
    // value, an inline string, a shared string with a phonetic run.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("made.xlsx"));
    zip_t* z = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, nullptr);
    ASSERT_NE(z, nullptr);
    auto add = [&](const char* name, const char* text) {
        zip_source_t* s = zip_source_buffer(z, text, strlen(text), 0);
        zip_file_add(z, name, s, ZIP_FL_OVERWRITE | ZIP_FL_ENC_UTF_8);
    };
    add("[Content_Types].xml", "<?xml version=\"1.0\"?><Types/>");
    add("xl/_rels/workbook.xml.rels",
        "<?xml version=\"1.0\"?><Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
        "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet\" Target=\"/xl/worksheets/s.xml\"/>"
        "<Relationship Id=\"rId2\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings\" Target=\"strings.xml\"/>"
        "</Relationships>");
    add("xl/workbook.xml",
        "<?xml version=\"1.0\"?><workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
        "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"><sheets>"
        "<sheet name=\"Прайс\" sheetId=\"7\" r:id=\"rId1\"/></sheets></workbook>");
    add("xl/strings.xml",
        "<?xml version=\"1.0\"?><sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
        "<si><t>Код</t></si><si><r><t>Пет</t></r><r><t xml:space=\"preserve\">ля </t></r><rPh><t>x</t></rPh></si></sst>");
    add("xl/worksheets/s.xml",
        "<?xml version=\"1.0\"?><worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><sheetData>"
        "<row r=\"3\"><c r=\"A3\" t=\"s\"><v>0</v></c><c r=\"C3\" t=\"inlineStr\"><is><t>Цена</t></is></c></row>"
        "<row r=\"5\"><c r=\"A5\" t=\"s\"><v>1</v></c><c r=\"C5\"><f>B5*2</f><v>99.9</v></c></row>"
        "</sheetData></worksheet>");
    ASSERT_EQ(zip_close(z), 0);
    const SheetData d = readSheetFile(path);
    ASSERT_EQ(d.rows.size(), 2);
    EXPECT_EQ(d.rows[0].line, 3);
    EXPECT_EQ(d.rows[0].cells, cells({"Код", "", "Цена"}));
    EXPECT_EQ(d.rows[1].cells, cells({"Петля ", "", "99.9"}));
}

TEST(WorkbookReader, OdsOfLibreOffice)
{
    // Saved by LibreOffice Calc (soffice --headless --convert-to ods) from a
    // CSV: a header, numbers with a decimal part, a repeated empty tail.
    const QString path = QStringLiteral(LIR_TEST_DATA "/io/libreoffice/list.ods");
    const SheetData d = readSheetFile(path);
    ASSERT_GE(d.sheetNames.size(), 1);
    ASSERT_EQ(d.rows.size(), 4);
    EXPECT_EQ(d.rows[0].cells, cells({"Обозначение", "Наименование", "Цена, руб."}));
    EXPECT_EQ(d.rows[1].cells, cells({"ЛИР-6741-01", "Петля  нижняя", "1250.5"}));
    EXPECT_EQ(d.rows[2].cells, cells({"ЛИР-6741-02", "Ручка", "7"}));
    EXPECT_EQ(d.rows[3].line, 5);
    EXPECT_EQ(d.rows[3].cells, cells({"ЛИР-6741-03", "", "0.01"}));
}

TEST(WorkbookReader, DamagedAndOversizedArchivesAreRefused)
{
    QTemporaryDir dir;
    const QString notZip = writeFile(dir, "text.xlsx", "Обозначение;Цена\n");
    EXPECT_EQ(readError([&] { readSheetFile(notZip); }),
              QStringLiteral("Не удалось прочитать файл %1: это не файл .xlsx (файл не является архивом ZIP или архив повреждён)")
                  .arg(notZip));
    const QString empty = writeFile(dir, "empty.ods", {});
    EXPECT_EQ(readError([&] { readSheetFile(empty); }),
              QStringLiteral("Не удалось прочитать файл %1: файл пуст").arg(empty));

    // A real workbook cut short.
    const QString whole = dir.filePath(QStringLiteral("whole.xlsx"));
    runPython(QStringLiteral("import sys, openpyxl\nwb = openpyxl.Workbook()\nwb.active['A1'] = 'x'\nwb.save(sys.argv[1])\n"),
              whole);
    QFile f(whole);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    const QString cut = writeFile(dir, "cut.xlsx", bytes.left(bytes.size() / 2));
    EXPECT_TRUE(readError([&] { readSheetFile(cut); }).startsWith(QStringLiteral("Не удалось прочитать файл %1: ").arg(cut)));

    // 300 MB of zeros pack into a few hundred kilobytes; refused by the
    // directory's sizes before anything is unpacked.
    const QString bomb = dir.filePath(QStringLiteral("bomb.xlsx"));
    runPython(QStringLiteral(R"(import sys, zipfile
with zipfile.ZipFile(sys.argv[1], 'w', zipfile.ZIP_DEFLATED) as z:
    z.writestr('[Content_Types].xml', '<Types/>')
    z.writestr('xl/workbook.xml', '<workbook/>')
    with z.open('xl/worksheets/sheet1.xml', 'w', force_zip64=True) as s:
        block = b'\0' * (1 << 20)
        for i in range(300):
            s.write(block)
)"), bomb);
    EXPECT_EQ(readError([&] { readSheetFile(bomb); }),
              QStringLiteral("Не удалось прочитать файл %1: части архива занимают после распаковки 301 МБ, больше допустимых 200 МБ")
                  .arg(bomb));
    const QString other = writeFile(dir, "list.pdf", "%PDF");
    EXPECT_EQ(readError([&] { readSheetFile(other); }),
              QStringLiteral("Не удалось прочитать файл %1: формат файла не поддерживается (читаются файлы .csv, .txt, .xlsx и .ods)")
                  .arg(other));
}

TEST(WorkbookReader, ColumnNames)
{
    EXPECT_EQ(columnIndex(QStringLiteral("A")), 0);
    EXPECT_EQ(columnIndex(QStringLiteral("z")), 25);
    EXPECT_EQ(columnIndex(QStringLiteral("AA")), 26);
    EXPECT_EQ(columnIndex(QStringLiteral("XFD")), 16383);
    EXPECT_EQ(columnIndex(QStringLiteral("1")), -1);
    EXPECT_EQ(columnName(0), QStringLiteral("A"));
    EXPECT_EQ(columnName(27), QStringLiteral("AB"));
    EXPECT_EQ(columnName(16383), QStringLiteral("XFD"));
}
