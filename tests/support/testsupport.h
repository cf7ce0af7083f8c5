#pragma once

#include "core/base/dialogs.h"
#include "core/prices/pricelookup.h"

#include <QHash>
#include <QLocale>

#include <QString>
#include <QTemporaryDir>
#include <QVariant>
#include <QVector>

#include <gtest/gtest.h>

#include <functional>
#include <iosfwd>

// Shared pieces of the test programs: every program runs with a QApplication on
// the offscreen platform and with recording dialogs installed.
namespace lir::test {

// The recording dialogs installed for the whole test program.
RecordingDialogs& recorder();

// The store the test program runs against. Run with LIR_TEST_STORE=postgresql
// (ctest's "_server" variants), every test works on a fresh database of the
// test server instead of the files of its working directory.
bool onTestServer();
// Runs a statement on the test server's database, outside the program's
// storage layer (what another tool or another user would do there).
QVector<QVector<QVariant>> serverQuery(const QString& sql, const QVariantList& binds = {});
// A statement of another connection to the table `fileName` ("zeni.db") of
// the store in use, as another copy of the program would write it.
void writeAsAnotherUser(const QString& fileName, const QString& sql, const QVariantList& binds = {});
// The delivered price table (the build's zeni.db) as the table of `dir`'s
// store: the file in `dir`, and on the test server its rows there too.
void useDeliveredPriceTable(const QString& dir);
// The connection settings of the test server, as lircomplect.ini writes them.
QByteArray serverSettingsFile();

// The test server as messages name it: "<host>:<port>, база данных <dbname>".
QString serverShown();
// Where the tables are as the program's messages name it: "в каталоге <dir>",
// or on the test server "на сервере <host>:<port>, база данных <dbname>".
QString placeShown(const QString& dir);
// A table as messages name it with its place: the file's path, or on the
// test server "<table> на сервере <host>:<port>, база данных <dbname>".
QString tableShown(const QString& dir, const QString& file);

// Skips the running test on the server: what it checks belongs to the files
// of the tables (their names, rights or bytes).
#define LIR_FILES_ONLY()                                                                                       \
    do {                                                                                                       \
        if (lir::test::onTestServer())                                                                         \
            GTEST_SKIP() << "checks the tables' files";                                                        \
    } while (0)
// Skips the running test over the files: it checks what only a server does.
#define LIR_SERVER_ONLY()                                                                                      \
    do {                                                                                                       \
        if (!lir::test::onTestServer())                                                                        \
            GTEST_SKIP() << "runs on the test server only";                                                    \
    } while (0)

// A fresh temporary directory made current for the life of the object. On
// the test server the tables there are dropped, and the directory gets a
// lircomplect.ini that names the server, so that the command-line programs
// started in it use the same store.
class ScopedWorkDir
{
public:
    ScopedWorkDir();
    ~ScopedWorkDir();
    QString path() const { return m_dir.path(); }
    QString file(const QString& name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
    QString m_previous;
};

// The locale of typed and written numbers for the life of the object.
class ScopedNumberLocale
{
public:
    explicit ScopedNumberLocale(const QLocale& locale);
    ~ScopedNumberLocale();

private:
    std::function<QLocale()> m_previous;
};

// The contents of a file the test needs (a failure when it cannot be read).
QByteArray readFile(const QString& path);

// Compares two Windows-1251 documents line by line, so that a failure names
// the first differing line, and then byte for byte.
void expectSameDocument(const QByteArray& actual, const QByteArray& expected);

// A price lookup over a fixed table: a missing key is not found, an empty
// price is a listed part without a price.
PriceLookup priceTable(const QHash<QString, std::optional<double>>& prices);

} // namespace lir::test

// Readable QString output in gtest messages.
void PrintTo(const QString& s, std::ostream* os);
