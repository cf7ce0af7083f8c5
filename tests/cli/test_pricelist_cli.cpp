// lircomplect-prices import, bulk, undo, export and log: the preview as
// lines, nothing written by a dry run or a failure, all or nothing when the
// process is killed in the middle of an apply.
#include "cli/prices/pricescli.h"
#include "core/base/workdirlock.h"
#include "core/db/storage.h"
#include "pricelist.h"
#include "support/testsupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QThread>

using lir::cli::PricesCli;
using lir::pricelist::PriceRow;

namespace {

class PricesCliListTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        lir::db::Table::closeAll();
        lir::db::setNetFileDir(QString());
        lir::db::setNetFileDir(work.path());
        lir::pricelist::buildPriceTable({{QStringLiteral("ЛИР-1"), QStringLiteral("Петля"), 100.0},
                                         {QStringLiteral("ЛИР-2"), QStringLiteral("Ручка"), 50.0},
                                         {QStringLiteral("ЛИР-3"), QStringLiteral("Запор"), std::nullopt}});
        lir::db::Table::closeAll();
    }
    void TearDown() override
    {
        lir::db::Table::closeAll();
        lir::db::setNetFileDir(QString());
    }
    QString write(const QString& name, const QByteArray& bytes)
    {
        QFile f(work.file(name));
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return work.file(name);
    }
    // designation=price of every row, in table order.
    QStringList rows()
    {
        QStringList out;
        const auto all = lir::test::onTestServer()
                             ? lir::test::serverQuery(QStringLiteral("SELECT oboznashenie, zena FROM zeni ORDER BY rowid"))
                             : lir::db::Table::open(QStringLiteral("zeni.db"))
                                   .query(QStringLiteral("SELECT oboznashenie, zena FROM zeni ORDER BY rowid"));
        lir::db::Table::closeAll();
        for (const auto& r : all)
            out << r.value(0).toString() + u'=' + (r.value(1).isValid() ? QString::number(r.value(1).toDouble()) : QString());
        return out;
    }
    static QStringList lines(const QByteArray& out) { return QString::fromUtf8(out).split(u'\n', Qt::SkipEmptyParts); }

    lir::test::ScopedWorkDir work;
};

QStringList L(std::initializer_list<const char*> texts)
{
    QStringList out;
    for (const char* s : texts)
        out << QString::fromUtf8(s);
    return out;
}

} // namespace

TEST_F(PricesCliListTest, ImportDryRunThenApplyLogUndoExport)
{
    const QString list = write(QStringLiteral("list.csv"), QStringLiteral("Артикул;Наименование;Цена, руб.\n"
                                                                          "ЛИР-1;Петля;110\nЛИР-2;Ручка;50\n"
                                                                          "ЛИР-9;Новая;3,5\n;x;1\n")
                                                               .toUtf8());
    const QStringList before = rows();
    const PricesCli::Result dry = PricesCli().run({QStringLiteral("import"), list, QStringLiteral("--dry-run")});
    EXPECT_EQ(dry.status, 0) << dry.err.constData();
    EXPECT_EQ(lines(dry.out), L({"changed: ЛИР-1 100 -> 110 (+10.0%)", "new: ЛИР-9 3.5 Новая",
                                 "refused: line 5: нет обозначения",
                                 "1 changed, 1 new (not added), 1 unchanged, 1 not in the list, 1 refused",
                                 "dry run: nothing written"}));
    EXPECT_EQ(rows(), before);

    const PricesCli::Result applied = PricesCli().run({QStringLiteral("import"), list, QStringLiteral("--add-new")});
    EXPECT_EQ(applied.status, 0) << applied.err.constData();
    EXPECT_EQ(lines(applied.out).last(), QStringLiteral("applied: 1 prices changed, 1 rows added"));
    EXPECT_EQ(rows(), L({"ЛИР-1=110", "ЛИР-2=50", "ЛИР-3=", "ЛИР-9=3.5"}));

    const QStringList log = lines(PricesCli().run({QStringLiteral("log")}).out);
    ASSERT_EQ(log.size(), 2);
    EXPECT_TRUE(log[0].endsWith(QStringLiteral("\timport: list.csv\tЛИР-1\t100\t110"))) << log[0].toStdString();
    EXPECT_TRUE(log[1].endsWith(QStringLiteral("\timport-new: list.csv\tЛИР-9\t(none)\t3.5")));
    EXPECT_TRUE(PricesCli().run({QStringLiteral("log"), QStringLiteral("--since"), QStringLiteral("2999-01-01")}).out.isEmpty());

    const PricesCli::Result bulk = PricesCli().run({QStringLiteral("bulk"), QStringLiteral("--percent"),
                                                    QStringLiteral("-10"), QStringLiteral("--match"), QStringLiteral("ручка")});
    EXPECT_EQ(lines(bulk.out), L({"changed: ЛИР-2 50 -> 45 (-10.0%)",
                                  "1 changed, 0 new, 0 unchanged, 0 not in the list, 0 refused",
                                  "applied: 1 prices changed, 0 rows added"}));
    EXPECT_EQ(lines(PricesCli().run({QStringLiteral("undo")}).out),
              L({"undone: bulk: 1 prices restored, 0 rows removed"}));
    EXPECT_EQ(lines(PricesCli().run({QStringLiteral("undo")}).out),
              L({"undone: import: list.csv: 1 prices restored, 1 rows removed"}));
    EXPECT_EQ(rows(), before);
    const PricesCli::Result none = PricesCli().run({QStringLiteral("undo")});
    EXPECT_EQ(none.status, 1);
    EXPECT_EQ(none.err, QStringLiteral("lircomplect-prices: Отменять нечего: в журнале изменений цен нет импорта или "
                                       "изменения цен, которые ещё не отменены\n")
                            .toUtf8());

    const PricesCli::Result exported = PricesCli().run({QStringLiteral("export"), QStringLiteral("out.csv")});
    EXPECT_EQ(exported.out, "exported: 3 rows to out.csv\n");
    EXPECT_EQ(lir::test::readFile(work.file(QStringLiteral("out.csv"))),
              "\xEF\xBB\xBF" + QStringLiteral("Обозначение;Наименование;Цена\r\nЛИР-1;Петля;100\r\nЛИР-2;Ручка;50\r\n"
                                               "ЛИР-3;Запор;\r\n")
                                   .toUtf8());
}

TEST_F(PricesCliListTest, BadInputFailsWithTheReasonAndWritesNothing)
{
    const QStringList before = rows();
    const QString binary = write(QStringLiteral("list.csv"), QByteArray("\x00\x01\x02", 3).repeated(50));
    const PricesCli::Result r = PricesCli().run({QStringLiteral("import"), binary});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_EQ(r.err, QStringLiteral("lircomplect-prices: Не удалось прочитать файл %1: это не текстовый файл CSV (в нём "
                                    "есть двоичные данные)\n")
                         .arg(QDir::toNativeSeparators(binary))
                         .toUtf8());
    const QString plain = write(QStringLiteral("plain.csv"), "ЛИР-1;7\nЛИР-2;8\n");
    EXPECT_EQ(PricesCli().run({QStringLiteral("import"), plain}).status, 1);
    // The columns chosen by hand: a list without a header.
    const PricesCli::Result chosen = PricesCli().run(
        {QStringLiteral("import"), plain, QStringLiteral("--columns"), QStringLiteral("designation=A,price=B"),
         QStringLiteral("--dry-run")});
    EXPECT_EQ(chosen.status, 0) << chosen.err.constData();
    EXPECT_TRUE(chosen.out.startsWith(QStringLiteral("changed: ЛИР-1 100 -> 7").toUtf8()));
    EXPECT_EQ(PricesCli().run({QStringLiteral("import"), plain, QStringLiteral("--columns"), QStringLiteral("price=?")})
                  .status,
              2);
    // Not while the program runs on the folder.
    lir::WorkDirLock program(work.path());
    ASSERT_TRUE(program.tryLock());
    EXPECT_EQ(PricesCli(0).run({QStringLiteral("bulk"), QStringLiteral("--percent"), QStringLiteral("5")}).status, 1);
    EXPECT_EQ(rows(), before);
}

TEST_F(PricesCliListTest, AKilledApplyLeavesAllOrNothing)
{
    // A list that changes every price of a large table: the apply takes long
    // enough to be killed in its middle.
    QVector<PriceRow> many;
    QString list = QStringLiteral("Обозначение;Цена\n");
    for (int i = 0; i < 20000; ++i) {
        many.push_back({QStringLiteral("D-%1").arg(i), QString(), 1.0});
        list += QStringLiteral("D-%1;2\n").arg(i);
    }
    lir::db::Table::closeAll();
    if (lir::test::onTestServer())
        lir::test::serverQuery(QStringLiteral("DROP TABLE IF EXISTS zeni"));
    else
        QFile::remove(work.file(QStringLiteral("zeni.db")));
    lir::pricelist::buildPriceTable(many);
    lir::db::Table::closeAll();
    const QString path = write(QStringLiteral("big.csv"), list.toUtf8());
    for (const int delay : {0, 40, 120, 300}) {
        SCOPED_TRACE(delay);
        QProcess p;
        p.setWorkingDirectory(work.path());
        p.start(QStringLiteral(LIR_BINARY_DIR "/lircomplect-prices"), {QStringLiteral("import"), path});
        ASSERT_TRUE(p.waitForStarted());
        QThread::msleep(delay);
        p.kill();
        p.waitForFinished();
        const QStringList now = rows();
        ASSERT_EQ(now.size(), 20000);
        const qsizetype changed = now.filter(QStringLiteral("=2")).size();
        EXPECT_TRUE(changed == 0 || changed == 20000) << changed;
        // The next round starts from the old prices again.
        if (changed == 20000) {
            ASSERT_EQ(PricesCli().run({QStringLiteral("undo")}).status, 0);
        }
    }
}
