// Where sheets may be written and how: never over a table, whole or not at
// all, failures that say what failed and where, and a spreadsheet program
// that fails is not silent.
#include "core/base/error.h"
#include "core/db/storage.h"
#include "core/export/ProceduresAndFunctions.h"
#include "core/export/kitsheet_html.h"
#include "core/export/kitsheet_xlsx.h"
#include "support/testsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <csignal>
#include <functional>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

using namespace lir;

namespace {

using Writer = std::function<void(const QString&)>;
const QLocale ru(QLocale::Russian);
const Writer html = [](const QString& p) { writeKitSheetHtml(p, KitSheet{}, test::priceTable({}), ru); };
const Writer xlsx = [](const QString& p) { writeKitSheetXlsx(p, KitSheet{}, test::priceTable({}), ru); };

QString errorOf(const Writer& write, const QString& path)
{
    try {
        write(path);
    } catch (const Error& e) {
        return e.message();
    }
    return QStringLiteral("<written>");
}

QString cannotWrite(const QString& path, const char* reason)
{
    return QStringLiteral("Не удалось записать файл %1: %2").arg(QFileInfo(path).absoluteFilePath(), QString::fromUtf8(reason));
}

QStringList everything(const QString& dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

void writeFile(const QString& path, const QByteArray& data)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
}

} // namespace

TEST(ExportSafety, TheProgramsTablesAndOtherDatabasesAreNeverWrittenOver)
{
    test::ScopedWorkDir dir;
    ASSERT_TRUE(QFile::copy(QStringLiteral(LIR_BINARY_DIR "/zeni.db"), dir.file(QStringLiteral("zeni.db"))));
    const QByteArray zeni = test::readFile(dir.file(QStringLiteral("zeni.db")));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("sub")));
    ASSERT_TRUE(QFile::link(QStringLiteral("zeni.db"), dir.file(QStringLiteral("kit.html"))));
    ASSERT_TRUE(QFile::link(QStringLiteral("zakaz.db"), dir.file(QStringLiteral("order.html")))); // not there yet
    ASSERT_TRUE(QFile::copy(dir.file(QStringLiteral("zeni.db")), dir.file(QStringLiteral("book.xlsx"))));
    const QStringList before = everything(dir.path());
    const QString table = QStringLiteral("Лист не записан: файл %1 — это таблица программы %2.");
    for (const Writer& write : {html, xlsx}) {
        for (const QString& path : {QStringLiteral("zeni.db"), QStringLiteral("sub/../zeni.db"), QStringLiteral("kit.html")})
            EXPECT_EQ(errorOf(write, path), table.arg(QFileInfo(path).absoluteFilePath(), QStringLiteral("zeni.db")));
        for (const QString& path : {QStringLiteral("zakaz.db"), QStringLiteral("order.html")})
            EXPECT_EQ(errorOf(write, path), table.arg(QFileInfo(path).absoluteFilePath(), QStringLiteral("zakaz.db")));
        EXPECT_EQ(errorOf(write, QStringLiteral("book.xlsx")),
                  QStringLiteral("Лист не записан: файл %1 — это файл базы данных.").arg(dir.file(QStringLiteral("book.xlsx"))));
    }
    EXPECT_EQ(test::readFile(dir.file(QStringLiteral("zeni.db"))), zeni);
    EXPECT_EQ(everything(dir.path()), before); // no zakaz.db, nothing left over
}

TEST(ExportSafety, ASheetReplacesTheOldFileWholeOrNotAtAll)
{
    test::ScopedWorkDir dir;
    writeFile(dir.file(QStringLiteral("a.html")), "yesterday");
    writeFile(dir.file(QStringLiteral("a.xlsx")), "yesterday");
    // Files may grow to 2 KB only, as under "ulimit -f".
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit previous{};
    getrlimit(RLIMIT_FSIZE, &previous);
    rlimit small = previous;
    small.rlim_cur = 2048;
    setrlimit(RLIMIT_FSIZE, &small);
    const QString htmlError = errorOf(html, QStringLiteral("a.html"));
    const QString xlsxError = errorOf(xlsx, QStringLiteral("a.xlsx"));
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, handler);
    EXPECT_EQ(htmlError, cannotWrite(QStringLiteral("a.html"), "превышен допустимый размер файла"));
    EXPECT_EQ(xlsxError, cannotWrite(QStringLiteral("a.xlsx"), "превышен допустимый размер файла"));
    EXPECT_EQ(test::readFile(dir.file(QStringLiteral("a.html"))), QByteArray("yesterday"));
    EXPECT_EQ(test::readFile(dir.file(QStringLiteral("a.xlsx"))), QByteArray("yesterday"));
    EXPECT_EQ(everything(dir.path()), (QStringList{QStringLiteral("a.html"), QStringLiteral("a.xlsx")}));

    html(QStringLiteral("a.html"));
    xlsx(QStringLiteral("a.xlsx"));
    EXPECT_EQ(test::readFile(dir.file(QStringLiteral("a.html"))), kitSheetHtml(KitSheet{}, test::priceTable({}), ru));
    EXPECT_TRUE(test::readFile(dir.file(QStringLiteral("a.xlsx"))).startsWith("PK"));
    EXPECT_EQ(everything(dir.path()), (QStringList{QStringLiteral("a.html"), QStringLiteral("a.xlsx")}));
}

TEST(ExportSafety, FailuresSayWhatFailedAndWhere)
{
    test::ScopedWorkDir dir;
    writeFile(dir.file(QStringLiteral("plain.txt")), "");
    for (const Writer& write : {html, xlsx}) {
        EXPECT_EQ(errorOf(write, QStringLiteral("none/k")), cannotWrite(QStringLiteral("none/k"), "нет такой папки"));
        EXPECT_EQ(errorOf(write, QStringLiteral("plain.txt/k")), cannotWrite(QStringLiteral("plain.txt/k"), "нет такой папки"));
        EXPECT_EQ(errorOf(write, dir.path()), cannotWrite(dir.path(), "это папка"));
    }
    // The storage engine's English text comes after a line that names the file.
    writeFile(dir.file(QStringLiteral("zeni.db")), QByteArray(4096, 'x'));
    try {
        db::Table::open(QStringLiteral("zeni.db"));
        FAIL() << "no error";
    } catch (const Error& e) {
        const QStringList lines = e.message().split(u'\r');
        ASSERT_EQ(lines.size(), 2) << e.message().toStdString();
        EXPECT_EQ(lines[0], QStringLiteral("Ошибка при работе с таблицей ") + dir.file(QStringLiteral("zeni.db")));
        EXPECT_TRUE(lines[1].contains(QStringLiteral("not a database"))) << e.message().toStdString();
    }
}

TEST(ExportSafety, ASpreadsheetProgramThatEndsAtOnceWithAnErrorNamesTheSavedWorkbook)
{
    test::ScopedWorkDir dir;
    test::recorder().clear();
    auto script = [&dir](const QString& name, const QByteArray& body) {
        writeFile(dir.file(name), "#!/bin/sh\n" + body + "\n");
        QFile::setPermissions(dir.file(name), QFile::ReadOwner | QFile::ExeOwner);
        return dir.file(name);
    };
    const QString book = dir.file(QStringLiteral("k.xlsx"));
    openWatched(script(QStringLiteral("nowindow"), "exit 3"), book, 5000);
    // Watched from the event loop: nothing is shown while the handler runs.
    EXPECT_TRUE(test::recorder().shown().empty());
    ASSERT_TRUE(QTest::qWaitFor([] { return !test::recorder().errors().isEmpty(); }, 5000));
    EXPECT_EQ(test::recorder().errors(),
              QStringList{QStringLiteral("Программа nowindow завершилась с ошибкой (код 3) и не открыла книгу.\r"
                                         "Книга сохранена в файле ") + book});

    // Ending well, or failing after the watch, says nothing.
    test::recorder().clear();
    openWatched(script(QStringLiteral("opens"), "exit 0"), book, 5000);
    openWatched(script(QStringLiteral("later"), "sleep 1; exit 3"), book, 300);
    QTest::qWait(2000);
    EXPECT_TRUE(test::recorder().shown().empty());
    EXPECT_EQ(errorOf([](const QString& b) { openWatched(QStringLiteral("/nosuch"), b); }, book),
              QStringLiteral("Не удалось запустить программу nosuch.\rКнига сохранена в файле ") + book);
}

TEST(ExportSafety, ANulInTheNameALockFileAndWhatIsNoPlainFileAreRefusedAndKept)
{
    test::ScopedWorkDir dir;
    writeFile(dir.file(QStringLiteral("db")), "SQLite? no, but kept");
    writeFile(dir.file(QStringLiteral("LIRComplect.lock")), "4711\nLIRComplect\nhost\n");
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.file(QStringLiteral("pipe.html"))).constData(), 0644), 0);
    // A device node of our own where we may make one, else the system's through a link.
    const bool ownDevice = ::mknod(QFile::encodeName(dir.file(QStringLiteral("dev.xlsx"))).constData(),
                                   S_IFCHR | 0666, makedev(1, 3)) == 0;
    if (!ownDevice) {
        ASSERT_TRUE(QFile::link(QStringLiteral("/dev/null"), dir.file(QStringLiteral("dev.xlsx"))));
    }
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("sub")));
    const QStringList before = everything(dir.path());
    const QString nulName = QStringLiteral("db") + QChar(0) + QStringLiteral(".html");
    for (const Writer& write : {html, xlsx}) {
        EXPECT_EQ(errorOf(write, nulName),
                  cannotWrite(QStringLiteral("db\uFFFD.html"), "недопустимое имя: в нём знак NUL"));
        EXPECT_EQ(errorOf(write, QStringLiteral("pipe.html")), cannotWrite(QStringLiteral("pipe.html"), "это не файл, а именованный канал"));
        EXPECT_EQ(errorOf(write, QStringLiteral("dev.xlsx")), cannotWrite(QStringLiteral("dev.xlsx"), "это не файл, а устройство"));
        EXPECT_EQ(errorOf(write, QStringLiteral("sub/../LIRComplect.lock")),
                  QStringLiteral("Лист не записан: файл %1 — это файл блокировки программы LIRComplect.lock.")
                      .arg(QFileInfo(QStringLiteral("sub/../LIRComplect.lock")).absoluteFilePath()));
    }
    EXPECT_EQ(everything(dir.path()), before);
    EXPECT_EQ(test::readFile(dir.file(QStringLiteral("db"))), QByteArray("SQLite? no, but kept"));
    EXPECT_EQ(QFileInfo(dir.file(QStringLiteral("pipe.html"))).isFile(), false);
    EXPECT_EQ(QFileInfo(dir.file(QStringLiteral("dev.xlsx"))).isFile(), false);
    EXPECT_EQ(test::readFile(dir.file(QStringLiteral("LIRComplect.lock"))), QByteArray("4711\nLIRComplect\nhost\n"));
}
