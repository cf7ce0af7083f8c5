// The companion of the price table: sync prints the notices and the rows
// added, check reports what the table lacks and holds twice, and no other
// argument touches the table.
#include "cli/prices/pricescli.h"
#include "core/base/workdirlock.h"
#include "core/db/storage.h"
#include "core/prices/catalogue.h"
#include "pricelist.h"
#include "support/testsupport.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>

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
    EXPECT_EQ(text(r.err), QStringLiteral("lircomplect-prices: Таблица zeni.db не найдена в каталоге ") +
                               QDir::toNativeSeparators(work.path()) + u'\n');
    EXPECT_FALSE(QFile::exists(table()));
}

TEST_F(PricesCliTest, SyncWritesNothingWhileTheProgramRunsOnTheTables)
{
    makeTable({});
    const QByteArray stored = lir::test::readFile(table());
    lir::WorkDirLock program(work.path());
    ASSERT_TRUE(program.tryLock());
    const PricesCli::Result r = PricesCli(0).run({QStringLiteral("sync")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_TRUE(r.err.startsWith("lircomplect-prices: ")) << r.err.constData();
    EXPECT_EQ(lir::test::readFile(table()), stored);
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
    const QByteArray stored = lir::test::readFile(table());

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
    EXPECT_EQ(lir::test::readFile(table()), stored);
}

// Arguments that are no command never touch the table; help, version and usage.
TEST_F(PricesCliTest, BoundedFuzzOfTheArguments)
{
    makeTable({{QStringLiteral("A"), QString(), 1.0}});
    const QByteArray stored = lir::test::readFile(table());
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
    EXPECT_EQ(lir::test::readFile(table()), stored);

    EXPECT_TRUE(PricesCli().run({QStringLiteral("--help")}).out.startsWith("usage: lircomplect-prices sync | check\n"));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^lircomplect-prices \\d+\\.\\d+\\.\\d+\n$"))
                    .match(text(PricesCli().run({QStringLiteral("--version")}).out))
                    .hasMatch());
    EXPECT_EQ(PricesCli().run({}).err, PricesCli::usage());
    EXPECT_TRUE(PricesCli().run({QStringLiteral("sync"), QStringLiteral("check")})
                    .err.startsWith("lircomplect-prices: unknown command: sync check\n"));
}
