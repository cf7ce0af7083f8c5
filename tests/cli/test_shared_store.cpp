// One order table for two copies of the program: saves at the same moment,
// and moving a folder's tables to the server.
#include "cli/prices/pricescli.h"
#include "core/db/storage.h"
#include "core/db/storesettings.h"
#include "core/orders/ordertable.h"
#include "core/prices/pricetable.h"
#include "support/testsupport.h"

#include <QFile>
#include <QHash>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

using namespace lir;

namespace {

// A run of lircomplect-kit that saves `orders` orders of the kits given.
QByteArray savingLines(const char* who, int orders, const QList<QByteArray>& kits)
{
    QByteArray in;
    for (int i = 0; i < orders; ++i) {
        for (const QByteArray& kit : kits)
            in += kit + '\n';
        in += R"({"order":"save","description":")" + QByteArray(who) + ' ' + QByteArray::number(i) + "\"}\n";
        in += R"({"order":"clear"})" "\n";
    }
    return in;
}

} // namespace

TEST(SharedStore, TwoProgramsSavingAtOnceGetWholeOrdersInBlocksOfConsecutiveNumbers)
{
    test::ScopedWorkDir work;
    // On a server each copy works in a folder of its own, as on two
    // workstations; over the files both share one folder.
    QTemporaryDir other;
    QString secondDir = work.path();
    if (test::onTestServer()) {
        secondDir = other.path();
        QFile ini(other.filePath(db::settingsFileName()));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write(test::serverSettingsFile());
    }
    const QByteArray inA = savingLines("A", 50,
                                       {R"({"calculator":"6741","FFH":600,"FFB":500,"add_to_order":true})",
                                        R"({"calculator":"6741otkid","FFH":500,"FFB":800,"add_to_order":true})"});
    const QByteArray inB =
        savingLines("B", 50, {R"({"calculator":"6742","FFH":1400,"FFB":700,"add_to_order":true})"});

    // Input from files, so that both read theirs at once.
    QProcess a;
    QProcess b;
    for (auto [p, dir, in, file] : {std::tuple{&a, work.path(), &inA, "a.jsonl"}, {&b, secondDir, &inB, "b.jsonl"}}) {
        QFile f(other.filePath(QLatin1String(file)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(*in) == in->size());
        p->setStandardInputFile(f.fileName());
        p->setWorkingDirectory(dir);
        p->start(QStringLiteral(LIR_BINARY_DIR "/lircomplect-kit"), {});
    }
    ASSERT_TRUE(a.waitForFinished(180000) && b.waitForFinished(180000));
    for (QProcess* p : {&a, &b}) {
        EXPECT_EQ(p->exitCode(), 0) << p->readAllStandardError().constData();
        EXPECT_EQ(p->readAllStandardOutput().count("\"ok\":false"), 0);
    }

    db::Table::closeAll();
    const auto rows = db::Table::open(orders::tableFile())
                          .query(QStringLiteral(R"(SELECT "Id", "Name", "Parentid", "Designation" FROM zakaz ORDER BY "Id")"));
    // 50 orders of two kits and 50 of one: 250 rows numbered 1..250, each
    // header followed by its own kits (the same in every order of one
    // program), each program's orders in the order it saved them.
    ASSERT_EQ(rows.size(), 250);
    QHash<QChar, QStringList> kitsOf;
    QHash<QChar, int> saved;
    int switches = 0;
    QChar last;
    for (int i = 0; i < rows.size();) {
        const QString name = rows[i][1].toString();
        const QChar who = name.isEmpty() ? QChar() : name[0];
        ASSERT_EQ(rows[i][2].toInt(), 0) << "row " << i + 1 << " should be a header";
        EXPECT_EQ(name, QStringLiteral("%1 %2").arg(who).arg(saved[who]++));
        switches += who != last;
        last = who;
        const int kits = who == u'A' ? 2 : 1;
        QStringList designations;
        for (int k = 0; k < kits; ++k) {
            ASSERT_LT(i + 1 + k, rows.size());
            EXPECT_EQ(rows[i + 1 + k][2].toInt(), i + 1) << name.toStdString();
            designations << rows[i + 1 + k][3].toString();
        }
        if (kitsOf[who].isEmpty())
            kitsOf[who] = designations;
        EXPECT_EQ(designations, kitsOf[who]) << name.toStdString();
        for (int k = 0; k <= kits; ++k)
            EXPECT_EQ(rows[i + k][0].toInt(), i + k + 1);
        i += 1 + kits;
    }
    EXPECT_EQ(saved.value(u'A'), 50);
    EXPECT_EQ(saved.value(u'B'), 50);
    std::printf("the two programs' saves took turns %d times\n", switches);
}

TEST(SharedStore, CopyToServerMovesTheFolderTablesInOneTransactionOnlyIntoEmptyTables)
{
    test::ScopedWorkDir work;
    if (!test::onTestServer()) {
        const cli::PricesCli::Result r = cli::PricesCli().run({QStringLiteral("copy-to-server")});
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(QString::fromUtf8(r.err), QStringLiteral("lircomplect-prices: lircomplect.ini in %1 names no PostgreSQL "
                                                           "server to copy to\n")
                                                .arg(work.path()));
        return;
    }
    db::writeTableFile(work.file(QStringLiteral("zeni.db")), QStringLiteral("zeni"), prices::tableFields(),
                       {{QStringLiteral("6742.15.00-20"), QStringLiteral("Петля откидная"), 3.5},
                        {QStringLiteral("ЛИР-6741-1R"), QStringLiteral("Комплект"), QVariant()},
                        {QStringLiteral("Накладка декор.Н1"), QVariant(), 0.1}});
    // Id, Name, Parentid, Designation, Type, Count; the rest empty.
    auto orderRow = [](QVector<QVariant> first) {
        first.resize(orders::tableFields().size());
        return first;
    };
    db::writeTableFile(work.file(QStringLiteral("zakaz.db")), QStringLiteral("zakaz"), orders::tableFields(),
                       {orderRow({1, QStringLiteral("Дача"), 0}),
                        orderRow({2, QVariant(), 1, QStringLiteral("ЛИР-6741-1R"), QVariant(), 3})});
    const QString server = test::serverShown();
    cli::PricesCli::Result r = cli::PricesCli().run({QStringLiteral("copy-to-server")});
    EXPECT_EQ(r.status, 0) << r.err.constData();
    EXPECT_EQ(QString::fromUtf8(r.out), QStringLiteral("copied to %1: 3 rows of zeni, 2 rows of zakaz\n").arg(server));
    EXPECT_EQ(test::serverQuery(QStringLiteral("SELECT oboznashenie, nazvanie, zena FROM zeni ORDER BY rowid")),
              (QVector<QVector<QVariant>>{{QStringLiteral("6742.15.00-20"), QStringLiteral("Петля откидная"), 3.5},
                                          {QStringLiteral("ЛИР-6741-1R"), QStringLiteral("Комплект"), QVariant()},
                                          {QStringLiteral("Накладка декор.Н1"), QVariant(), 0.1}}));
    EXPECT_EQ(test::serverQuery(QStringLiteral(R"(SELECT "Id", "Name", "Parentid", "Designation", "Count" FROM zakaz ORDER BY rowid)")),
              (QVector<QVector<QVariant>>{{1, QStringLiteral("Дача"), 0, QVariant(), QVariant()},
                                          {2, QVariant(), 1, QStringLiteral("ЛИР-6741-1R"), 3}}));

    // A second copy is refused; with only the order table holding rows,
    // the price table stays empty: one transaction.
    r = cli::PricesCli().run({QStringLiteral("copy-to-server")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(QString::fromUtf8(r.err), QStringLiteral("lircomplect-prices: Таблица zeni на сервере %1 уже содержит записи: "
                                                       "копирование отменено, на сервере ничего не изменено\n")
                                            .arg(server));
    test::serverQuery(QStringLiteral("DELETE FROM zeni"));
    r = cli::PricesCli().run({QStringLiteral("copy-to-server")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(QString::fromUtf8(r.err).contains(QStringLiteral("Таблица zakaz на сервере"))) << r.err.constData();
    EXPECT_EQ(test::serverQuery(QStringLiteral("SELECT count(*) FROM zeni")).value(0).value(0).toInt(), 0);
    EXPECT_EQ(test::serverQuery(QStringLiteral("SELECT count(*) FROM zakaz")).value(0).value(0).toInt(), 2);
}
