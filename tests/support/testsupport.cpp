#include "support/testsupport.h"

#include "core/base/codec.h"
#include "core/base/environment.h"
#include "core/db/storage.h"
#include "core/db/storesettings.h"
#include "core/prices/pricetable.h"
#include "support/testserver.h"

#ifdef LIR_TEST_WIDGETS
#include <QApplication>
#elif defined(LIR_TEST_GUI)
#include <QGuiApplication>
#else
#include <QCoreApplication>
#endif
#include <QFile>
#include <QFileInfo>
#include <QDir>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <cstdio>
#include <ostream>

namespace lir::test {

namespace {

const QString adminConnection = QStringLiteral("lir.test.admin");

std::optional<db::ServerSettings>& testServer()
{
    static std::optional<db::ServerSettings> s;
    return s;
}

// A fresh database of this test program's own on the test server. False,
// with the reason, where there is none.
bool connectTestServer(const QString& program, QString* reason)
{
    const auto s = freshServerDatabase(qEnvironmentVariable("LIR_TEST_PG_ENV"), QStringLiteral("lir_") + program.toLower(),
                                       reason);
    if (!s)
        return false;
    QSqlDatabase db = connectServer(adminConnection, *s, s->dbname);
    if (!db.isOpen()) {
        *reason = db.lastError().text();
        return false;
    }
    QSqlQuery(db).exec(QStringLiteral("SET client_min_messages = warning"));
    testServer() = s;
    db::setServer(s);
    return true;
}

} // namespace

bool onTestServer()
{
    return testServer().has_value();
}

namespace {

// A statement on a connection of the tests' own; a failure fails the test.
QVector<QVector<QVariant>> runOn(const QSqlDatabase& db, const QString& sql, const QVariantList& binds)
{
    QVector<QVector<QVariant>> rows;
    QSqlQuery q(db);
    bool ok = binds.isEmpty() ? q.exec(sql) : q.prepare(sql);
    for (int i = 0; ok && i < binds.size(); ++i)
        q.bindValue(i, binds[i]);
    ok = ok && (binds.isEmpty() || q.exec());
    EXPECT_TRUE(ok) << sql.toStdString() << ": " << q.lastError().text().toStdString();
    while (ok && q.isSelect() && q.next()) {
        QVector<QVariant> row;
        for (int i = 0; i < q.record().count(); ++i)
            row << (q.isNull(i) ? QVariant() : q.value(i));
        rows << row;
    }
    return rows;
}

} // namespace

QString serverShown()
{
    const db::ServerSettings& s = *testServer();
    return s.host + u':' + QString::number(s.port) + QStringLiteral(", база данных ") + s.dbname;
}

QVector<QVector<QVariant>> serverQuery(const QString& sql, const QVariantList& binds)
{
    return runOn(QSqlDatabase::database(adminConnection), sql, binds);
}

QString placeShown(const QString& dir)
{
    return onTestServer() ? QStringLiteral("на сервере ") + serverShown()
                          : QStringLiteral("в каталоге ") + QDir::toNativeSeparators(dir);
}

QString tableShown(const QString& dir, const QString& file)
{
    return onTestServer() ? file.chopped(3) + QStringLiteral(" на сервере ") + serverShown()
                          : QDir::toNativeSeparators(QDir(dir).filePath(file));
}

void writeAsAnotherUser(const QString& fileName, const QString& sql, const QVariantList& binds)
{
    if (onTestServer()) {
        serverQuery(sql, binds);
        return;
    }
    const QString name = QStringLiteral("lir.test.another");
    {
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        other.setDatabaseName(QDir(db::netFileDir()).filePath(fileName));
        other.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=2000"));
        EXPECT_TRUE(other.open());
        runOn(other, sql, binds);
        other.close();
    }
    QSqlDatabase::removeDatabase(name);
}

void useDeliveredPriceTable(const QString& dir)
{
    const QString file = QDir(dir).filePath(QStringLiteral("zeni.db"));
    QFile::remove(file);
    ASSERT_TRUE(QFile::copy(QStringLiteral(LIR_BINARY_DIR "/zeni.db"), file));
    if (onTestServer()) {
        const QString before = db::netFileDir();
        db::setNetFileDir(dir);
        db::copyToServer({{QStringLiteral("zeni.db"), prices::tableFields(), true}});
        db::setNetFileDir(before);
    }
}

QByteArray serverSettingsFile()
{
    const db::ServerSettings& s = *testServer();
    return "[database]\ndriver=postgresql\nhost=" + s.host.toUtf8() + "\nport=" + QByteArray::number(s.port) +
           "\ndbname=" + s.dbname.toUtf8() + "\nuser=" + s.user.toUtf8() + "\n";
}

RecordingDialogs& recorder()
{
    static RecordingDialogs r;
    return r;
}

ScopedWorkDir::ScopedWorkDir() : m_previous(QDir::currentPath())
{
    QDir::setCurrent(m_dir.path());
    if (onTestServer()) {
        db::Table::closeAll();
        db::setServer(testServer());
        serverQuery(QStringLiteral("DROP SCHEMA public CASCADE"));
        serverQuery(QStringLiteral("CREATE SCHEMA public"));
        QFile ini(m_dir.filePath(db::settingsFileName()));
        EXPECT_TRUE(ini.open(QIODevice::WriteOnly) && ini.write(serverSettingsFile()) > 0);
    }
}

ScopedWorkDir::~ScopedWorkDir()
{
    QDir::setCurrent(m_previous);
}

ScopedNumberLocale::ScopedNumberLocale(const QLocale& locale) : m_previous(environment().numberLocale)
{
    environment().numberLocale = [locale] { return locale; };
}

ScopedNumberLocale::~ScopedNumberLocale()
{
    environment().numberLocale = m_previous;
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    return f.readAll();
}

void expectSameDocument(const QByteArray& actual, const QByteArray& expected)
{
    const QList<QByteArray> a = actual.split('\n');
    const QList<QByteArray> e = expected.split('\n');
    for (int i = 0; i < std::min(a.size(), e.size()); ++i)
        ASSERT_EQ(fromWindows1251(a[i]), fromWindows1251(e[i])) << "line " << i + 1;
    EXPECT_EQ(a.size(), e.size());
    EXPECT_EQ(actual, expected);
}

PriceLookup priceTable(const QHash<QString, std::optional<double>>& prices)
{
    return [prices](const QString& d) {
        PriceResult r;
        if (auto it = prices.find(d); it != prices.end()) {
            r.found = true;
            r.price = *it;
        }
        return r;
    };
}

} // namespace lir::test

void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
#ifdef LIR_TEST_WIDGETS
    QApplication app(argc, argv);
#elif defined(LIR_TEST_GUI)
    QGuiApplication app(argc, argv);
#else
    QCoreApplication app(argc, argv);
#endif
    lir::setDialogs(&lir::test::recorder());
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariable("LIR_TEST_STORE") == QLatin1String("postgresql")) {
        QString reason;
        if (!lir::test::connectTestServer(QFileInfo(QString::fromLocal8Bit(argv[0])).fileName(), &reason)) {
            // ctest reports the program as skipped (SKIP_RETURN_CODE), with this line.
            std::printf("PostgreSQL tests skipped: %s\n", reason.toUtf8().constData());
            return 77;
        }
        std::printf("Running against the PostgreSQL test server\n");
    }
    return RUN_ALL_TESTS();
}
