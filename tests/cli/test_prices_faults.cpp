// lircomplect-prices check on a table that is no price table: status 2 and
// the reason, never a list of missing rows; the engine's messages in
// Russian, as in lircomplect-kit.
#include "cli/prices/pricescli.h"
#include "core/db/storage.h"
#include "support/testsupport.h"

#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>

using lir::cli::PricesCli;

namespace {

void sqlite(const QString& file, const QStringList& statements)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("pricefaults"));
        db.setDatabaseName(file);
        ASSERT_TRUE(db.open());
        QSqlQuery q(db);
        for (const QString& s : statements)
            ASSERT_TRUE(q.exec(s)) << s.toStdString();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("pricefaults"));
}

} // namespace

TEST(PricesCheckFaults, ATableOfOtherFieldsCannotBeReadAsAPriceTable)
{
    LIR_FILES_ONLY();
    lir::test::ScopedWorkDir work;
    const QString zeni = work.file(QStringLiteral("zeni.db"));
    sqlite(zeni, {QStringLiteral("CREATE TABLE zeni (oboznashenie TEXT, name TEXT)"),
                  QStringLiteral("INSERT INTO zeni VALUES ('ЛИР-6741-02МR100', 'x')")});
    const PricesCli::Result r = PricesCli().run({QStringLiteral("check")});
    lir::db::Table::closeAll();
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, QByteArray());
    EXPECT_EQ(QString::fromUtf8(r.err),
              QStringLiteral("lircomplect-prices: Таблица %1 не является таблицей цен: в ней нет полей nazvanie, zena "
                             "(поля таблицы: oboznashenie, name)\n")
                  .arg(zeni));
}

TEST(PricesCheckFaults, TheEnginesMessagesAreRussianAsInTheKitProgram)
{
    LIR_FILES_ONLY();
    lir::test::ScopedWorkDir work;
    // A view whose table is gone: every reading of it fails in the engine.
    sqlite(work.file(QStringLiteral("zeni.db")),
           {QStringLiteral("CREATE TABLE t (oboznashenie TEXT, nazvanie TEXT, zena REAL)"),
            QStringLiteral("CREATE VIEW zeni AS SELECT * FROM t"), QStringLiteral("DROP TABLE t")});
    QProcess p;
    p.setWorkingDirectory(work.path());
    p.start(QStringLiteral(LIR_BINARY_DIR "/lircomplect-prices"), {QStringLiteral("check")});
    ASSERT_TRUE(p.waitForFinished(60000));
    const QString err = QString::fromUtf8(p.readAllStandardError());
    EXPECT_EQ(p.exitCode(), 2);
    EXPECT_TRUE(err.startsWith(QStringLiteral("lircomplect-prices: Ошибка при работе с таблицей "))) << err.toStdString();
    EXPECT_TRUE(err.contains(QStringLiteral("Невозможно получить строку"))) << err.toStdString();
}
