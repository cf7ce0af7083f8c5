// The shared store as an office runs it: the database owner sets the server
// up, estimators may read prices only, the pricing group changes them, and
// the server itself records every change, whichever client makes it.
#include "cli/prices/pricescli.h"
#include "core/base/error.h"
#include "core/db/storage.h"
#include "core/db/storebackend.h"
#include "core/db/storesettings.h"
#include "core/prices/catalogue.h"
#include "core/prices/pricelog.h"
#include "core/prices/pricetable.h"
#include "core/prices/serveraccess.h"
#include "support/testsupport.h"

#include <QFile>
#include <QProcess>

using lir::cli::PricesCli;
using namespace lir;

namespace {

const QStringList accounts{QStringLiteral("lir_owner"), QStringLiteral("lir_est"), QStringLiteral("lir_pri")};

class SharedStoreRoles : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!test::onTestServer())
            GTEST_SKIP() << "runs on the test server only";
        work.emplace();
        // Roles belong to the cluster: those of an earlier run go first.
        for (const QString& role : QStringList{prices::pricingRole(), prices::estimatorRole()} + accounts)
            if (!test::serverQuery(QStringLiteral("SELECT 1 FROM pg_roles WHERE rolname = ?"), {role}).isEmpty()) {
                test::serverQuery(QStringLiteral("DROP OWNED BY ") + role);
                test::serverQuery(QStringLiteral("DROP ROLE ") + role);
            }
        // The owner is no superuser: CREATEROLE and the schema are all it has.
        test::serverQuery(QStringLiteral("CREATE ROLE lir_owner LOGIN CREATEROLE"));
        test::serverQuery(QStringLiteral("ALTER SCHEMA public OWNER TO lir_owner"));
        test::serverQuery(QStringLiteral("CREATE ROLE lir_est LOGIN"));
        test::serverQuery(QStringLiteral("CREATE ROLE lir_pri LOGIN"));
        as(QStringLiteral("lir_owner"));
    }
    void TearDown() override
    {
        db::Table::closeAll();
        work.reset();
    }

    // The program, and the command-line programs started here, log in as `user`.
    void as(const QString& user)
    {
        db::Table::closeAll();
        QByteArray ini = test::serverSettingsFile();
        ini.replace(QByteArray("\nuser=postgres\n"), QByteArray("\nuser=" + user.toUtf8() + '\n'));
        QFile f(work->file(db::settingsFileName()));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(ini) == ini.size());
        f.close();
        db::useStoreOf(work->path());
        ASSERT_EQ(db::server()->user, user);
    }

    // psql as `user`: the exit status, and what it printed on standard error.
    std::pair<int, QString> psql(const QString& user, const QString& sql)
    {
        const db::ServerSettings& s = *db::server();
        QProcess p;
        p.start(QStringLiteral("psql"), {QStringLiteral("-X"), QStringLiteral("-v"), QStringLiteral("ON_ERROR_STOP=1"),
                                        QStringLiteral("-h"), s.host, QStringLiteral("-p"), QString::number(s.port),
                                        QStringLiteral("-U"), user, QStringLiteral("-d"), s.dbname,
                                        QStringLiteral("-c"), sql});
        EXPECT_TRUE(p.waitForFinished(60000));
        return {p.exitCode(), QString::fromUtf8(p.readAllStandardError())};
    }

    static QString run(const QStringList& args, int status = 0)
    {
        const PricesCli::Result r = PricesCli().run(args);
        EXPECT_EQ(r.status, status) << r.err.constData() << r.out.constData();
        return QString::fromUtf8(r.out + r.err);
    }

    void setUpOffice()
    {
        run({QStringLiteral("setup-server")});
        run({QStringLiteral("grant"), QStringLiteral("estimator"), QStringLiteral("lir_est")});
        run({QStringLiteral("grant"), QStringLiteral("pricing"), QStringLiteral("lir_pri")});
    }

    // The log as the server keeps it: "login|source|designation|old|new|old name|new name".
    static QStringList serverLog()
    {
        QStringList out;
        for (const auto& r : test::serverQuery(QStringLiteral(
                 "SELECT login, source, designation, old_price, new_price, old_name, new_name FROM zeni_log ORDER BY id"))) {
            QStringList f;
            for (const QVariant& v : r)
                f << (v.isNull() ? QStringLiteral("-") : v.toString());
            out << f.join(u'|');
        }
        return out;
    }

    std::optional<test::ScopedWorkDir> work;
};

} // namespace

TEST_F(SharedStoreRoles, SetupIsRepeatableAndAMissingGroupNamesTheCommand)
{
    const QString early = run({QStringLiteral("grant"), QStringLiteral("estimator"), QStringLiteral("lir_est")}, 1);
    EXPECT_TRUE(early.contains(QStringLiteral("На сервере нет таблицы zeni: владелец базы данных должен один раз "
                                              "выполнить команду «lircomplect-prices setup-server».")))
        << early.toStdString();
    // The tables there, the groups not yet (copy-to-server made the tables).
    db::serverStore().create(prices::tableFile(), QStringLiteral("zeni"), prices::tableFields(), false);
    const QString noGroup = run({QStringLiteral("grant"), QStringLiteral("estimator"), QStringLiteral("lir_est")}, 1);
    EXPECT_TRUE(noGroup.contains(QStringLiteral("На сервере нет группы lircomplect_estimator: владелец базы данных "
                                                "должен один раз выполнить команду «lircomplect-prices setup-server».")))
        << noGroup.toStdString();

    const QString first = run({QStringLiteral("setup-server")});
    for (const char* step : {"table zeni: exists", "table zakaz: created", "role lircomplect_estimator: created",
                             "role lircomplect_pricing: created", "trigger zeni_log_change on zeni: created",
                             "table zeni: read by lircomplect_estimator, changed by lircomplect_pricing",
                             "table zeni_log: read by lircomplect_estimator and lircomplect_pricing, written by the "
                             "trigger only"})
        EXPECT_TRUE(first.contains(QString::fromUtf8(step))) << step << '\n' << first.toStdString();
    const QString second = run({QStringLiteral("setup-server")});
    EXPECT_FALSE(second.contains(QStringLiteral("created"))) << second.toStdString();
    for (const char* step : {"table zeni: exists", "role lircomplect_pricing: exists",
                             "trigger zeni_log_change on zeni: exists"})
        EXPECT_TRUE(second.contains(QString::fromUtf8(step))) << step;

    EXPECT_EQ(run({QStringLiteral("grant"), QStringLiteral("pricing"), QStringLiteral("lir_pri")}),
              QStringLiteral("granted lircomplect_pricing to lir_pri\n"));
    const QString unknown = run({QStringLiteral("grant"), QStringLiteral("estimator"), QStringLiteral("nobody\"; --")}, 1);
    EXPECT_TRUE(unknown.contains(QStringLiteral("На сервере нет учётной записи «nobody\"; --»"))) << unknown.toStdString();
    EXPECT_EQ(run({QStringLiteral("revoke"), QStringLiteral("lir_pri")}),
              QStringLiteral("revoked lircomplect_estimator and lircomplect_pricing from lir_pri\n"));
    EXPECT_TRUE(test::serverQuery(QStringLiteral("SELECT 1 FROM pg_auth_members m JOIN pg_roles r ON r.oid = m.member "
                                                 "WHERE r.rolname = 'lir_pri'"))
                    .isEmpty());
}

TEST_F(SharedStoreRoles, TheTriggerRecordsEveryChangeWithItsSourceAndAccount)
{
    setUpOffice();
    as(QStringLiteral("lir_pri"));
    // The catalogue update adds its rows as the pricing group.
    prices::open();
    catalogue::synchronise();
    const int catalogueRows = int(catalogue::allRows().size());
    EXPECT_EQ(test::serverQuery(QStringLiteral("SELECT COUNT(*) FROM zeni_log WHERE source = 'update' AND login = "
                                               "'lir_pri' AND old_price IS NULL AND old_name IS NULL"))
                  .value(0)
                  .value(0)
                  .toInt(),
              catalogueRows);
    test::serverQuery(QStringLiteral("DELETE FROM zeni_log"));

    // The editor: a crafted designation arrives as a value, and so does its price.
    const QString crafted = QStringLiteral("X'); DELETE FROM zeni_log; --\"");
    {
        db::Table& t = prices::open();
        ASSERT_TRUE(prices::mayChangePrices(t));
        t.insert();
        t.setValue(prices::fieldDesignation(), crafted);
        t.setValue(prices::fieldName(), QStringLiteral("Петля; 'угловая'"));
        t.setValue(prices::fieldPrice(), 12.5);
        t.post();
        t.edit();
        t.setValue(prices::fieldPrice(), 14.0);
        t.post();
        t.edit();
        t.setValue(prices::fieldName(), QStringLiteral("Петля"));
        t.post();
    }
    db::Table::closeAll();
    for (const auto& [file, price] : {std::pair{"list.csv", "3"}, {"list2.csv", "5"}}) {
        QFile f(work->file(QLatin1String(file)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray("Артикул;Наименование;Цена\nЛИР-NEW;Новая;") + price + '\n');
        f.close();
        run({QStringLiteral("import"), f.fileName(), QStringLiteral("--add-new")});
    }
    run({QStringLiteral("bulk"), QStringLiteral("--amount"), QStringLiteral("1"), QStringLiteral("--match"),
         QStringLiteral("ЛИР-NEW")});

    const QString e = QStringLiteral("lir_pri|editor|") + crafted;
    EXPECT_EQ(serverLog(), QStringList({
                               e + QStringLiteral("|-|12.5|-|Петля; 'угловая'"),
                               e + QStringLiteral("|12.5|14|Петля; 'угловая'|Петля; 'угловая'"),
                               e + QStringLiteral("|14|14|Петля; 'угловая'|Петля"),
                               QStringLiteral("lir_pri|import-new: list.csv|ЛИР-NEW|-|3|-|Новая"),
                               QStringLiteral("lir_pri|import: list2.csv|ЛИР-NEW|3|5|Новая|Новая"),
                               QStringLiteral("lir_pri|bulk|ЛИР-NEW|5|6|Новая|Новая"),
                           }));
    // The program's own log command reads the server's rows, one designation at a time.
    const QString log = run({QStringLiteral("log"), QStringLiteral("--designation"), QStringLiteral("ЛИР-NEW")});
    EXPECT_EQ(log.count(u'\n'), 3) << log.toStdString();
    EXPECT_TRUE(log.contains(QStringLiteral("\tlir_pri\tbulk\tЛИР-NEW\t5\t6\n"))) << log.toStdString();
    EXPECT_FALSE(log.contains(crafted));
}

TEST_F(SharedStoreRoles, AnEstimatorReadsPricesAndTheServerRefusesTheRest)
{
    setUpOffice();
    test::serverQuery(QStringLiteral("INSERT INTO zeni (oboznashenie, nazvanie, zena) VALUES ('ЛИР-1', 'Петля', 100)"));

    // Straight to the server with psql: refused there, not by a client's check.
    for (const QString& sql : {QStringLiteral("UPDATE zeni SET zena = 1"), QStringLiteral("DELETE FROM zeni_log"),
                               QStringLiteral("INSERT INTO zeni_log (changed_at, login, source, designation) VALUES "
                                              "('x', 'x', 'x', 'x')"),
                               QStringLiteral("ALTER TABLE zeni DISABLE TRIGGER zeni_log_change")}) {
        const auto [status, err] = psql(QStringLiteral("lir_est"), sql);
        EXPECT_NE(status, 0) << sql.toStdString();
        EXPECT_TRUE(err.contains(QStringLiteral("permission denied")) || err.contains(QStringLiteral("must be owner")))
            << err.toStdString();
    }
    for (const QString& sql : {QStringLiteral("DELETE FROM zeni_log"), QStringLiteral("UPDATE zeni_log SET login = 'x'")})
        EXPECT_NE(psql(QStringLiteral("lir_pri"), sql).first, 0) << sql.toStdString();
    EXPECT_EQ(psql(QStringLiteral("lir_est"), QStringLiteral("SELECT zena FROM zeni, zeni_log")).first, 0);
    EXPECT_EQ(test::serverQuery(QStringLiteral("SELECT zena FROM zeni")).value(0).value(0).toDouble(), 100.0);

    // The program as the estimator: reads, is told, and the update at start goes on.
    as(QStringLiteral("lir_est"));
    test::recorder().clear();
    db::Table& t = prices::open();
    EXPECT_FALSE(prices::mayChangePrices(t));
    EXPECT_NO_THROW(catalogue::synchronise());
    EXPECT_NO_THROW(catalogue::synchronise());
    EXPECT_EQ(test::recorder().messages(), QStringList{prices::updateNeedsPricing()});
    EXPECT_EQ(t.rowCount(), 1);
    try {
        t.query(QStringLiteral("UPDATE zeni SET zena = ?"), {1.0});
        ADD_FAILURE() << "the estimator's update was written";
    } catch (const Error& e) {
        EXPECT_TRUE(e.message().startsWith(QStringLiteral("Сервер не разрешил эту запись в таблицу zeni"))) << e.message().toStdString();
    }

    // The pricing group loses its right while the program runs: the next write is refused whole.
    as(QStringLiteral("lir_pri"));
    db::Table& p = prices::open();
    ASSERT_TRUE(prices::mayChangePrices(p));
    test::serverQuery(QStringLiteral("REVOKE lircomplect_pricing FROM lir_pri"));
    p.edit();
    p.setValue(prices::fieldPrice(), 5.0);
    EXPECT_THROW(p.post(), Error);
    p.cancel();
    EXPECT_FALSE(prices::mayChangePrices(p));
    EXPECT_EQ(test::serverQuery(QStringLiteral("SELECT zena FROM zeni")).value(0).value(0).toDouble(), 100.0);
}
