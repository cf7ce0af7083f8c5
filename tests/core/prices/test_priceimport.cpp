#include "core/base/environment.h"
#include "core/base/codec.h"
#include "core/base/error.h"
#include "core/io/sheetreader.h"
#include "core/prices/catalogue.h"
#include "core/prices/priceimport.h"
#include "core/prices/pricelog.h"
#include "core/prices/pricetable.h"

#include "support/pricefixture.h"

#include <QFile>
#include <QProcess>

using namespace lir;
using namespace lir::prices;

namespace {

QStringList L(std::initializer_list<const char*> texts)
{
    QStringList out;
    for (const char* s : texts)
        out << QString::fromUtf8(s);
    return out;
}

class PriceImportTest : public PriceTableTest
{
protected:
    db::Table& table()
    {
        makeTable({{QStringLiteral("ЛИР-1"), QStringLiteral("Петля"), 100.0},
                   {QStringLiteral("ЛИР-2"), QStringLiteral("Ручка"), 50.0},
                   {QStringLiteral("ЛИР-3"), QStringLiteral("Запор"), std::nullopt},
                   {QStringLiteral("ЛИР-4"), QStringLiteral("Шуруп"), 2.0},
                   {QStringLiteral("ЛИР-1"), QStringLiteral("Вторая строка"), 7.0}});
        db::Table::closeAll();
        return prices::open();
    }

    QString write(const QString& name, const QByteArray& bytes)
    {
        const QString path = work.file(name);
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return path;
    }

    PricePreview preview(db::Table& t, const QString& path, bool addNew)
    {
        const io::SheetData data = io::readSheetFile(path);
        ListColumns c;
        const int header = findHeaderRow(data, &c);
        EXPECT_GE(header, 0);
        return previewList(t, data, header, c, QFileInfo(path).fileName(), addNew);
    }

    // designation=price for every row, in table order.
    QStringList rows(db::Table& t)
    {
        QStringList out;
        for (const auto& r : t.query(QStringLiteral("SELECT oboznashenie, zena FROM zeni ORDER BY rowid")))
            out << r.value(0).toString() + u'=' + (r.value(1).isValid() ? QString::number(r.value(1).toDouble()) : QString());
        return out;
    }

    QStringList logLines(db::Table& t)
    {
        QStringList out;
        for (const LogEntry& e : readLog(t))
            out << QStringLiteral("%1|%2|%3|%4|%5")
                       .arg(e.source, e.designation,
                            e.oldPrice ? QString::number(*e.oldPrice) : QStringLiteral("-"),
                            e.newPrice ? QString::number(*e.newPrice) : QStringLiteral("-"))
                       .arg(e.batch);
        return out;
    }

    static QString error(const std::function<void()>& f)
    {
        try {
            f();
        } catch (const Error& e) {
            return e.message();
        }
        return QStringLiteral("(no error)");
    }
};

const QString list = QStringLiteral("Код;Название;Цена, руб.\n"
                                    "  ЛИР-1 ;Петля;1 250,50\n"   // changed, spaces trimmed
                                    "ЛИР-2;Ручка;50\n"            // unchanged
                                    "ЛИР-3;Запор;12.5\n"          // had no price
                                    "ЛИР-9;Новая петля;3\n"       // new
                                    "ЛИР-9;Новая петля;3\n"       // the same again: counted once
                                    "лир-2;Ручка;51\n");          // another designation: case counts

} // namespace

TEST_F(PriceImportTest, CsvInBothEncodingsAndEverySeparatorGivesOnePreview)
{
    db::Table& t = table();
    QString tabbed = list;
    tabbed.replace(u';', u'\t');
    QString commas = list;
    commas.replace(QStringLiteral("1 250,50"), QStringLiteral("\"1 250,50\"")).replace(u';', u',');
    commas.replace(QStringLiteral("Цена, руб."), QStringLiteral("\"Цена, руб.\""));
    for (const QString& path : {write(QStringLiteral("utf8.csv"), list.toUtf8()),
                                write(QStringLiteral("bom.csv"), "\xEF\xBB\xBF" + list.toUtf8()),
                                write(QStringLiteral("cp1251.csv"), toWindows1251(list)),
                                write(QStringLiteral("tab.csv"), tabbed.toUtf8()),
                                write(QStringLiteral("comma.csv"), commas.toUtf8())}) {
        SCOPED_TRACE(path.toStdString());
        const PricePreview p = preview(t, path, false);
        ASSERT_EQ(p.changed.size(), 2);
        // The largest change first: 100 -> 1250.5 is +1150.5 %; from no price has none and comes first.
        EXPECT_EQ(p.changed[0].designation, QStringLiteral("ЛИР-3"));
        EXPECT_EQ(p.changed[1].designation, QStringLiteral("ЛИР-1"));
        EXPECT_EQ(p.changed[1].oldPrice, 100.0);
        EXPECT_EQ(p.changed[1].newPrice, 1250.5);
        EXPECT_DOUBLE_EQ(*p.changed[1].percent(), 1150.5);
        ASSERT_EQ(p.added.size(), 2);
        EXPECT_EQ(p.added[0].designation, QStringLiteral("ЛИР-9"));
        EXPECT_EQ(p.added[0].name, QStringLiteral("Новая петля"));
        EXPECT_EQ(p.added[1].designation, QStringLiteral("лир-2"));
        EXPECT_EQ(p.unchanged, 1);
        ASSERT_EQ(p.notInList.size(), 1);
        EXPECT_EQ(p.notInList[0].designation, QStringLiteral("ЛИР-4"));
        EXPECT_TRUE(p.refused.isEmpty());
    }
    EXPECT_EQ(rows(t), L({"ЛИР-1=100", "ЛИР-2=50", "ЛИР-3=", "ЛИР-4=2", "ЛИР-1=7"}));
}

TEST_F(PriceImportTest, ApplyThenUndoRestoresTheTableAndLogsBoth)
{
    db::Table& t = table();
    const PricePreview p = preview(t, write(QStringLiteral("list.csv"), list.toUtf8()), true);
    const Applied a = applyPreview(t, p);
    EXPECT_EQ(a.changed, 2);
    EXPECT_EQ(a.added, 2);
    // Only the row the lookup finds changes; nothing is deleted.
    EXPECT_EQ(rows(t), L({"ЛИР-1=1250.5", "ЛИР-2=50", "ЛИР-3=12.5", "ЛИР-4=2", "ЛИР-1=7", "ЛИР-9=3",
                                    "лир-2=51"}));
    EXPECT_EQ(LookupPrice(QStringLiteral("ЛИР-1")).price, 1250.5);
    EXPECT_EQ(logLines(t), L({"import: list.csv|ЛИР-3|-|12.5|1", "import: list.csv|ЛИР-1|100|1250.5|1",
                                        "import-new: list.csv|ЛИР-9|-|3|1", "import-new: list.csv|лир-2|-|51|1"}));
    EXPECT_EQ(readLog(t).value(0).login, environment().loginName());
    EXPECT_EQ(lastUndoable(t), QStringLiteral("import: list.csv"));

    const Undone u = undoLastImport(t);
    EXPECT_EQ(u.restored, 2);
    EXPECT_EQ(u.removed, 2);
    EXPECT_EQ(rows(t), L({"ЛИР-1=100", "ЛИР-2=50", "ЛИР-3=", "ЛИР-4=2", "ЛИР-1=7"}));
    EXPECT_EQ(logLines(t).mid(4), L({"undo|ЛИР-3|12.5|-|1", "undo|ЛИР-1|1250.5|100|1",
                                               "undo|ЛИР-9|3|-|1", "undo|лир-2|51|-|1"}));
    EXPECT_EQ(error([&] { undoLastImport(t); }),
              QStringLiteral("Отменять нечего: в журнале изменений цен нет импорта или изменения цен, которые ещё не "
                             "отменены"));
}

TEST_F(PriceImportTest, UndoIsRefusedNamingTheRowsChangedSince)
{
    db::Table& t = table();
    applyPreview(t, preview(t, write(QStringLiteral("list.csv"), list.toUtf8()), true));
    // The editor changes one of the imported prices: it is logged too.
    ASSERT_TRUE(t.locate(fieldDesignation(), QStringLiteral("ЛИР-3")));
    t.edit();
    t.setValue(fieldPrice(), 13.0);
    t.post();
    EXPECT_EQ(logLines(t).last(), QStringLiteral("editor|ЛИР-3|12.5|13|0"));
    const QStringList before = rows(t);
    EXPECT_EQ(error([&] { undoLastImport(t); }),
              QStringLiteral("Последний импорт нельзя отменить: после него изменились цены позиций ЛИР-3"));
    EXPECT_EQ(rows(t), before);
}

TEST_F(PriceImportTest, RefusedRowsNameTheirLineAndReason)
{
    db::Table& t = table();
    const QString longName = QString(2000, u'Ж');
    const QString text = QStringLiteral("Мусор над заголовком\nАртикул;Наименование;Цена\n"
                                        ";Без обозначения;5\n"
                                        "ЛИР-1;;abc\n"
                                        "ЛИР-2;;-1\n"
                                        "ЛИР-4;;1000000000000\n"
                                        "ЛИР-5;;1,250.50\n") +
                         longName + QStringLiteral(";;1\n") +
                         QStringLiteral("ЛИР-6;;10\nЛИР-7;;\nЛИР-6;;11\nЛИР-8;;1 250,50 руб.\n");
    const PricePreview p = preview(t, write(QStringLiteral("bad.csv"), text.toUtf8()), true);
    QStringList refused;
    for (const RefusedRow& r : p.refused)
        refused << QStringLiteral("%1: %2").arg(r.line).arg(r.reason);
    EXPECT_EQ(refused, L({"3: нет обозначения", "4: цена «abc» не является числом",
                                    "5: цена «-1» отрицательная", "6: цена «1000000000000» не меньше 1000000000000",
                                    "7: цена «1,250.50» не является числом", "8: обозначение длиннее 40 символов",
                                    "9: то же обозначение в строке 11 с другой ценой", "10: нет цены",
                                    "11: то же обозначение в строке 9 с другой ценой"}));
    ASSERT_EQ(p.added.size(), 1);
    EXPECT_EQ(p.added[0].designation, QStringLiteral("ЛИР-8"));
    EXPECT_EQ(p.added[0].newPrice, 1250.5);

    const QString noHeader = write(QStringLiteral("plain.csv"), "a;b\n1;2\n");
    ListColumns c;
    EXPECT_EQ(findHeaderRow(io::readSheetFile(noHeader), &c), -1);
}

TEST_F(PriceImportTest, WorkbooksOfOpenpyxlAndLibreOffice)
{
    db::Table& t = table();
    const QString xlsx = work.file(QStringLiteral("list.xlsx"));
    QProcess py;
    py.start(QStringLiteral("/usr/bin/python3"),
             {QStringLiteral("-c"), QStringLiteral("import sys, openpyxl\nwb = openpyxl.Workbook()\nws = wb.active\n"
                                                   "ws.append(['Обозначение', 'Наименование', 'Цена'])\n"
                                                   "ws.append(['ЛИР-1', 'Петля', 1250.5])\n"
                                                   "ws.append(['ЛИР-4', 'Шуруп', 2])\n"
                                                   "ws.append(['ЛИР-10', 'Новое', 0.01])\nwb.save(sys.argv[1])\n"),
              xlsx});
    ASSERT_TRUE(py.waitForFinished(60000));
    ASSERT_EQ(py.exitCode(), 0);
    const PricePreview x = preview(t, xlsx, false);
    EXPECT_EQ(x.changed.size(), 1);
    EXPECT_EQ(x.unchanged, 1);
    EXPECT_EQ(x.added.size(), 1);
    EXPECT_EQ(x.notInList.size(), 2);

    // The LibreOffice fixture names designations the table lacks: all new.
    const PricePreview o = preview(t, QStringLiteral(LIR_TEST_DATA "/io/libreoffice/list.ods"), true);
    EXPECT_EQ(o.added.size(), 3);
    EXPECT_EQ(o.added[0].newPrice, 1250.5);
    applyPreview(t, o);
    EXPECT_EQ(LookupPrice(QStringLiteral("ЛИР-6741-03")).price, 0.01);
}

TEST_F(PriceImportTest, BulkChangeRoundsToKopecksHalvesAwayFromZero)
{
    db::Table& t = table();
    EXPECT_EQ(roundToKopecks(0.125L), 0.13);
    EXPECT_EQ(roundToKopecks(-0.125L), -0.13);
    EXPECT_EQ(roundToKopecks(1.005), 1.0); // 1.005 is 1.00499999999999989... in binary
    const PricePreview p = previewBulk(t, {QStringLiteral("руч"), true, 2.5});
    ASSERT_EQ(p.changed.size(), 1);
    EXPECT_EQ(p.changed[0].designation, QStringLiteral("ЛИР-2"));
    EXPECT_EQ(p.changed[0].newPrice, 51.25);
    const PricePreview all = previewBulk(t, {QString(), false, -3});
    // ЛИР-3 has no price; the second ЛИР-1 row is not the one the lookup finds.
    EXPECT_EQ(all.changed.size(), 2);
    ASSERT_EQ(all.refused.size(), 1);
    EXPECT_EQ(all.refused[0].designation, QStringLiteral("ЛИР-4"));
    EXPECT_EQ(all.refused[0].reason, QStringLiteral("цена стала бы отрицательной"));
    applyPreview(t, all);
    EXPECT_EQ(rows(t), L({"ЛИР-1=97", "ЛИР-2=47", "ЛИР-3=", "ЛИР-4=2", "ЛИР-1=7"}));
    EXPECT_EQ(lastUndoable(t), QStringLiteral("bulk"));
    undoLastImport(t);
    EXPECT_EQ(rows(t), L({"ЛИР-1=100", "ЛИР-2=50", "ЛИР-3=", "ЛИР-4=2", "ЛИР-1=7"}));
}

TEST_F(PriceImportTest, AFailedOrStaleApplyLeavesTheTableExactlyAsItWas)
{
    db::Table& t = table();
    const QString path = write(QStringLiteral("list.csv"), list.toUtf8());
    const QStringList before = rows(t);

    // Another user changes a row the preview would write.
    const PricePreview stale = preview(t, path, true);
    test::writeAsAnotherUser(QStringLiteral("zeni.db"), QStringLiteral("UPDATE zeni SET zena = 101 WHERE oboznashenie = 'ЛИР-1' AND zena = 100"));
    EXPECT_EQ(error([&] { applyPreview(t, stale); }),
              QStringLiteral("Таблица цен изменилась после предпросмотра (позиция ЛИР-1): цены не изменены, откройте "
                             "предпросмотр снова"));
    QStringList expected = before;
    expected[0] = QStringLiteral("ЛИР-1=101");
    EXPECT_EQ(rows(t), expected);
    EXPECT_TRUE(readLog(t).isEmpty());

    // The store refuses the last write of the apply, the log's: nothing of it stays.
    ensureLogTable(t);
    if (test::onTestServer()) {
        test::serverQuery(QStringLiteral("CREATE FUNCTION refuse() RETURNS trigger LANGUAGE plpgsql AS "
                                         "$$BEGIN RAISE EXCEPTION 'refused'; END$$"));
        test::serverQuery(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON zeni_log FOR EACH ROW EXECUTE "
                                         "FUNCTION refuse()"));
    } else {
        test::writeAsAnotherUser(QStringLiteral("zeni.db"), QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON zeni_log "
                                                                    "BEGIN SELECT RAISE(ABORT, 'refused'); END"));
    }
    const PricePreview fresh = preview(t, path, true);
    EXPECT_TRUE(error([&] { applyPreview(t, fresh); }).contains(u"refused"));
    EXPECT_EQ(rows(t), expected);
    // So does an edit whose log row is refused.
    ASSERT_TRUE(t.locate(fieldDesignation(), QStringLiteral("ЛИР-2")));
    t.edit();
    t.setValue(fieldPrice(), 60.0);
    EXPECT_TRUE(error([&] { t.post(); }).contains(u"refused"));
    EXPECT_EQ(rows(t), expected);
}

TEST_F(PriceImportTest, CatalogueUpdateAndExportWriteWhatTheTableHolds)
{
    db::Table& t = table();
    {
        RecordingDialogs quiet;
        const ScopedDialogs q(quiet);
        catalogue::synchronise();
    }
    const QVector<LogEntry> log = readLog(t);
    ASSERT_FALSE(log.isEmpty());
    for (const LogEntry& e : log) {
        EXPECT_EQ(e.source, QStringLiteral("update"));
        EXPECT_FALSE(e.oldPrice.has_value());
        EXPECT_EQ(e.newPrice, 0.0);
    }
    const int total = t.rowCount();
    const QString csv = work.file(QStringLiteral("out.csv"));
    EXPECT_EQ(exportPrices(t, csv), total);
    QFile f(csv);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = f.readAll().split('\n');
    EXPECT_EQ(lines[0], QByteArray("\xEF\xBB\xBF") + QStringLiteral("Обозначение;Наименование;Цена\r").toUtf8());
    EXPECT_EQ(lines[1], QStringLiteral("ЛИР-1;Петля;100\r").toUtf8());
    EXPECT_EQ(lines[3], QStringLiteral("ЛИР-3;Запор;\r").toUtf8());
    // The export reads back as a list that changes nothing.
    const PricePreview again = preview(t, csv, true);
    EXPECT_TRUE(again.changed.isEmpty());
    EXPECT_TRUE(again.added.isEmpty());
    EXPECT_EQ(error([&] { exportPrices(t, work.file(QStringLiteral("zeni.db"))); }).isEmpty(), false);
}
