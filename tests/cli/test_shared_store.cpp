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
    const QList<std::tuple<QProcess*, QString, const QByteArray*>> runs{{&a, work.path(), &inA},
                                                                         {&b, secondDir, &inB}};
    for (const auto& [p, dir, in] : runs) {
        QFile f(other.filePath(p == &a ? QStringLiteral("a.jsonl") : QStringLiteral("b.jsonl")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(*in) == in->size());
        p->setStandardInputFile(f.fileName());
        p->setWorkingDirectory(dir);
    }
    a.start(QStringLiteral(LIR_BINARY_DIR "/lircomplect-kit"), {});
    b.start(QStringLiteral(LIR_BINARY_DIR "/lircomplect-kit"), {});
    ASSERT_TRUE(a.waitForFinished(180000) && b.waitForFinished(180000));
    EXPECT_EQ(a.exitCode(), 0) << a.readAllStandardError().constData();
    EXPECT_EQ(b.exitCode(), 0) << b.readAllStandardError().constData();
    for (QProcess* p : {&a, &b}) {
        const QByteArray out = p->readAllStandardOutput();
        EXPECT_EQ(out.count("\"ok\":false"), 0) << out.left(2000).constData();
    }

    db::Table::closeAll();
    const auto rows = db::Table::open(orders::tableFile())
                          .query(QStringLiteral(R"(SELECT "Id", "Name", "Parentid", "Designation" FROM zakaz ORDER BY "Id")"));
    // 50 orders of two kits and 50 of one: 250 rows numbered 1..250.
    ASSERT_EQ(rows.size(), 250);
    QHash<QString, int> headers;
    QHash<QChar, QStringList> kitsOf;
    int switches = 0;
    QChar lastWriter;
    for (int i = 0; i < rows.size();) {
        const auto& h = rows[i];
        EXPECT_EQ(h[0].toInt(), i + 1);
        ASSERT_EQ(h[2].toInt(), 0) << "row " << i + 1 << " should be a header";
        const QString name = h[1].toString();
        EXPECT_FALSE(headers.contains(name)) << name.toStdString();
        headers.insert(name, h[0].toInt());
        // Its kits follow it in one block, each pointing at it, the same
        // kits in every order of one program.
        const int kits = name.startsWith(u'A') ? 2 : 1;
        QStringList designations;
        for (int k = 0; k < kits; ++k) {
            ASSERT_LT(i + 1 + k, rows.size());
            const auto& kit = rows[i + 1 + k];
            EXPECT_EQ(kit[0].toInt(), i + 2 + k);
            EXPECT_EQ(kit[2].toInt(), h[0].toInt()) << name.toStdString();
            designations << kit[3].toString();
        }
        QStringList& expected = kitsOf[name[0]];
        if (expected.isEmpty())
            expected = designations;
        EXPECT_EQ(designations, expected) << name.toStdString();
        if (name[0] != lastWriter)
            ++switches;
        lastWriter = name[0];
        i += 1 + kits;
    }
    EXPECT_EQ(headers.size(), 100);
    // Each program's orders in the order it saved them.
    for (const char* who : {"A", "B"})
        for (int n = 1; n < 50; ++n)
            EXPECT_LT(headers.value(QStringLiteral("%1 %2").arg(QLatin1String(who)).arg(n - 1)),
                      headers.value(QStringLiteral("%1 %2").arg(QLatin1String(who)).arg(n)));
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
    QVector<QVariant> header(orders::tableFields().size());
    header[0] = 1;
    header[1] = QStringLiteral("Дача");
    header[2] = 0;
    QVector<QVariant> kit(orders::tableFields().size());
    kit[0] = 2;
    kit[2] = 1;
    kit[3] = QStringLiteral("ЛИР-6741-1R");
    kit[5] = 3;
    db::writeTableFile(work.file(QStringLiteral("zakaz.db")), QStringLiteral("zakaz"), orders::tableFields(),
                       {header, kit});

    const auto s = db::server();
    const QString server =
        s->host + u':' + QString::number(s->port) + QStringLiteral(", база данных ") + s->dbname;
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
