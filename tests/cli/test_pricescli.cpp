// The companion of the price table: sync prints the notices and the rows
// added, check reports what the table lacks and holds twice, and no other
// argument touches the table.
#include "cli/prices/pricescli.h"
#include "core/base/workdirlock.h"
#include "core/db/storage.h"
#include "core/prices/catalogue.h"
#include "pricelist.h"
#include "support/paradoxfixture.h"
#include "support/testsupport.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>

using lir::cli::PricesCli;
using lir::pricelist::PriceRow;

namespace {

class PricesCliTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        lir::db::Table::closeAll();
        lir::db::setNetFileDir(QString());
    }
    void TearDown() override
    {
        lir::db::Table::closeAll();
        lir::db::setNetFileDir(QString());
    }
    void makeTable(const QVector<PriceRow>& rows)
    {
        lir::db::setNetFileDir(work.path());
        lir::pricelist::buildPriceTable(rows);
        lir::db::Table::closeAll();
    }
    QString table() const { return work.file(QStringLiteral("zeni.db")); }
    // What the price table holds: its file's bytes, or on a server its rows.
    QByteArray contents() const
    {
        if (!lir::test::onTestServer())
            return lir::test::readFile(table());
        QByteArray all;
        for (const auto& row : lir::test::serverQuery(QStringLiteral("SELECT * FROM zeni ORDER BY rowid")))
            for (const QVariant& v : row)
                all += v.toString().toUtf8() + (v.isValid() ? "|" : "<null>|");
        return all;
    }

    lir::test::ScopedWorkDir work;
};

QString text(const QByteArray& utf8)
{
    return QString::fromUtf8(utf8);
}

} // namespace

TEST_F(PricesCliTest, SyncPrintsEveryNoticeAndTheRowsAdded)
{
    makeTable({});
    const PricesCli::Result first = PricesCli().run({QStringLiteral("sync")});
    EXPECT_EQ(first.status, 0);
    EXPECT_EQ(first.err, QByteArray());
    const QString a = QStringLiteral("В таблицу цен будет добавлена новая номенклатура\n  (без указания цены)!\n");
    EXPECT_EQ(text(first.out), a + a + QStringLiteral("В таблицу будет добавлена новая номенклатура\n  (без указания цены)!\n") +
                                   QStringLiteral("Таблица цен будет обновлена.\n") + a +
                                   QStringLiteral("rows added: 612\n"));

    const PricesCli::Result second = PricesCli().run({QStringLiteral("sync")});
    EXPECT_EQ(second.status, 0);
    EXPECT_EQ(second.out, QByteArray("rows added: 0\n"));
}

TEST_F(PricesCliTest, SyncWithoutATableFailsAndCreatesNone)
{
    const PricesCli::Result r = PricesCli().run({QStringLiteral("sync")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, QByteArray());
    EXPECT_EQ(text(r.err), lir::test::onTestServer()
                               ? QStringLiteral("lircomplect-prices: Таблица zeni не найдена ") +
                                     lir::test::placeShown(work.path()) + u'\n'
                               : QStringLiteral("lircomplect-prices: Таблица zeni.db не найдена в каталоге ") +
                                     QDir::toNativeSeparators(work.path()) + u'\n');
    EXPECT_FALSE(lir::db::Table::exists(QStringLiteral("zeni.db")));
}

TEST_F(PricesCliTest, SyncWritesNothingWhileTheProgramRunsOnTheTables)
{
    makeTable({});
    const QByteArray stored = contents();
    lir::WorkDirLock program(work.path());
    ASSERT_TRUE(program.tryLock());
    const PricesCli::Result r = PricesCli(0).run({QStringLiteral("sync")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_TRUE(r.err.startsWith("lircomplect-prices: ")) << r.err.constData();
    EXPECT_EQ(contents(), stored);
}

TEST_F(PricesCliTest, CheckReportsMissingDesignationsAndDuplicates)
{
    // The delivered list with the update's rows, less one part and one kit,
    // and a screw twice.
    QVector<PriceRow> rows = lir::pricelist::readPriceList(QStringLiteral(LIR_SOURCE_DIR "/data/zeni.csv"));
    QSet<QString> listed;
    for (const PriceRow& r : rows)
        listed.insert(r.designation);
    for (const lir::catalogue::CatalogueRow& r : lir::catalogue::allRows())
        if (!listed.contains(r.designation))
            rows.push_back({r.designation, r.name, 0.0});
    const int before = int(rows.size());
    rows.removeIf([](const PriceRow& r) {
        return r.designation == QStringLiteral("6742.13.00-21") || r.designation == QStringLiteral("ЛИР-6741-24МL120");
    });
    ASSERT_EQ(rows.size(), before - 2);
    rows.push_back({QStringLiteral("DIN7982(4*25)"), QStringLiteral("Шуруп 4*25"), 1.0});
    makeTable(rows);
    const QByteArray stored = contents();

    const PricesCli::Result r = PricesCli().run({QStringLiteral("check")});
    EXPECT_EQ(r.status, 1);
    const QStringList lines = text(r.out).split(u'\n', Qt::SkipEmptyParts);
    EXPECT_TRUE(lines.contains(QStringLiteral("missing: 6742.13.00-21 (6742)"))) << r.out.constData();
    EXPECT_TRUE(lines.contains(QStringLiteral("missing: ЛИР-6741-24МL120 (6741)"))) << r.out.constData();
    EXPECT_TRUE(lines.contains(QStringLiteral("duplicate: DIN7982(4*25) (2 rows)"))) << r.out.constData();
    EXPECT_TRUE(lines.last().endsWith(QStringLiteral("missing; %1 rows, 1 designations held more than once")
                                          .arg(rows.size())))
        << lines.last().toStdString();
    // A check writes nothing.
    EXPECT_EQ(contents(), stored);
}

// Arguments that are no command never touch the table; help, version and usage.
TEST_F(PricesCliTest, BoundedFuzzOfTheArguments)
{
    makeTable({{QStringLiteral("A"), QString(), 1.0}});
    const QByteArray stored = contents();
    const QStringList tokens = {QStringLiteral("sync"), QStringLiteral("check"), QStringLiteral("--help"),
                                QStringLiteral("--version"), QStringLiteral("-h"), QString(),
                                QStringLiteral("SYNC"), QStringLiteral("sync "), QStringLiteral("--"),
                                QStringLiteral("ЛИР-6742-01ДМR"), QStringLiteral("zeni.db")};
    QRandomGenerator rng(1515);
    for (int i = 0; i < 300; ++i) {
        QStringList args;
        const int n = int(rng.bounded(4));
        for (int k = 0; k < n; ++k) {
            if (rng.bounded(4) == 0) {
                QString junk;
                for (int c = int(rng.bounded(8)); c > 0; --c)
                    junk += QChar(char16_t(1 + rng.bounded(0xD7FF)));
                args << junk;
            } else {
                args << tokens.at(int(rng.bounded(tokens.size())));
            }
        }
        if (args == QStringList{QStringLiteral("sync")} || args == QStringList{QStringLiteral("check")})
            continue;
        const PricesCli::Result r = PricesCli().run(args);
        ASSERT_TRUE(r.status == 0 || r.status == 2) << args.join(u'|').toStdString();
        ASSERT_EQ(r.status == 0, r.err.isEmpty());
    }
    EXPECT_EQ(contents(), stored);

    EXPECT_TRUE(PricesCli().run({QStringLiteral("--help")}).out.startsWith("usage: lircomplect-prices sync | check\n"));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^lircomplect-prices \\d+\\.\\d+\\.\\d+\n$"))
                    .match(text(PricesCli().run({QStringLiteral("--version")}).out))
                    .hasMatch());
    EXPECT_EQ(PricesCli().run({}).err, PricesCli::usage());
    EXPECT_TRUE(PricesCli().run({QStringLiteral("sync"), QStringLiteral("check")})
                    .err.startsWith("lircomplect-prices: unknown command: sync check\n"));
}

// import-paradox: a Paradox table by path into the directory's table, never over one.
TEST_F(PricesCliTest, ImportParadoxConvertsIntoTheDirectorysTable)
{
    LIR_FILES_ONLY();
    using lir::test::pxAlpha;
    QTemporaryDir elsewhere;
    const QString source = elsewhere.filePath(QStringLiteral("old.db"));
    lir::test::writeParadoxTable(
        source,
        {pxAlpha(QStringLiteral("OBOZNASHENIE"), 40), pxAlpha(QStringLiteral("NAZVANIE"), 100),
         lir::test::pxNumber(QStringLiteral("ZENA"))},
        {{QStringLiteral("ЛИР-6742-01ДМR"), QStringLiteral("Комплект"), 1520.5},
         {QStringLiteral("6742.15.00-20"), QStringLiteral("Петля откидная"), QVariant()}});
    const QByteArray original = lir::test::readFile(source);

    // Not while the program runs on the folder.
    {
        lir::WorkDirLock program(work.path());
        ASSERT_TRUE(program.tryLock());
        const PricesCli::Result r = PricesCli(0).run({QStringLiteral("import-paradox"), source});
        EXPECT_EQ(r.status, 1);
        EXPECT_TRUE(r.err.startsWith("lircomplect-prices: ")) << r.err.constData();
        EXPECT_FALSE(QFile::exists(table()));
    }

    const PricesCli::Result r = PricesCli().run({QStringLiteral("import-paradox"), source});
    EXPECT_EQ(r.status, 0) << r.err.constData();
    EXPECT_EQ(r.out, QByteArray("converted: zeni.db, 2 rows\n"));
    EXPECT_EQ(lir::test::readFile(source), original);
    lir::db::setNetFileDir(work.path());
    lir::db::Table& t = lir::db::Table::open(QStringLiteral("zeni.db"));
    ASSERT_EQ(t.rowCount(), 2);
    ASSERT_TRUE(t.last());
    EXPECT_EQ(t.text(QStringLiteral("nazvanie")), QStringLiteral("Петля откидная"));
    EXPECT_TRUE(t.isNull(QStringLiteral("zena")));
    lir::db::Table::closeAll();

    // Never over the table there: the error on two lines, the table as it was.
    const QByteArray converted = lir::test::readFile(table());
    const PricesCli::Result again = PricesCli().run({QStringLiteral("import-paradox"), source});
    EXPECT_EQ(again.status, 1);
    EXPECT_EQ(text(again.err),
              QStringLiteral(
                  "lircomplect-prices: Не удалось преобразовать таблицу zeni.db, исходный файл не изменён\n"
                  "Таблица zeni.db уже есть в каталоге ") +
                  QDir::toNativeSeparators(work.path()) + QStringLiteral(", она не перезаписывается\n"));
    EXPECT_EQ(lir::test::readFile(table()), converted);

    // The directory's own Paradox table, by a relative path: kept as <file>.paradox.
    QFile::remove(table());
    QFile::copy(source, table());
    const PricesCli::Result inPlace =
        PricesCli().run({QStringLiteral("import-paradox"), QStringLiteral("zeni.db")});
    EXPECT_EQ(inPlace.status, 0) << inPlace.err.constData();
    EXPECT_EQ(inPlace.out, QByteArray("converted: zeni.db, 2 rows\noriginal kept as: zeni.db.paradox\n"));
    EXPECT_EQ(lir::test::readFile(table() + QStringLiteral(".paradox")), original);

    EXPECT_EQ(PricesCli().run({QStringLiteral("import-paradox")}).status, 2);
    const PricesCli::Result missing =
        PricesCli().run({QStringLiteral("import-paradox"), QStringLiteral("none.db")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(
        text(missing.err)
            .startsWith(QStringLiteral(
                "lircomplect-prices: Не удалось преобразовать таблицу none.db, исходный файл не изменён\n")))
        << missing.err.constData();
}
