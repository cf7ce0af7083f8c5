// Where sheets may be written and how: never over a table, whole or not at
// all, failures that say what failed and where, and a spreadsheet program
// that fails is not silent.
#include "core/base/environment.h"
#include "core/base/error.h"
#include "core/db/storage.h"
#include "core/export/ProceduresAndFunctions.h"
#include "core/export/kitexport.h"
#include "core/export/kitsheet_html.h"
#include "core/export/kitsheet_xlsx.h"
#include "core/calc/turnkit.h"
#include "support/testsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <csignal>
#include <functional>

#include <sys/resource.h>

using namespace lir;

namespace {

const QLocale russian(QLocale::Russian);

KitSheet sheet()
{
    KitSheet s;
    s.kitDesignation = QStringLiteral("ЛИР-6741-14М");
    s.ffh = 400;
    s.ffb = 500;
    s.gh = 200;
    s.lines.push_back({QStringLiteral("6742.15.00-50"), QStringLiteral("Засов"), QStringLiteral("-"), 2,
                       QStringLiteral("8"), QString()});
    return s;
}

using Writer = std::function<void(const QString&)>;
const Writer html = [](const QString& p) { writeKitSheetHtml(p, sheet(), test::priceTable({}), russian); };
const Writer xlsx = [](const QString& p) { writeKitSheetXlsx(p, sheet(), test::priceTable({}), russian); };

QString errorOf(const Writer& write, const QString& path)
{
    try {
        write(path);
    } catch (const Error& e) {
        return e.message();
    }
    return QStringLiteral("<written>");
}

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

QStringList everything(const QString& dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

class ExportSafety : public ::testing::Test
{
protected:
    void SetUp() override
    {
        db::Table::closeAll();
        db::setNetFileDir(QString());
        test::recorder().clear();
    }
    void TearDown() override
    {
        db::Table::closeAll();
        test::recorder().clear();
    }
    test::ScopedWorkDir dir;
};

// Files may grow to `bytes` only, as under "ulimit -f"; writes beyond fail.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        m_previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_previous);
        rlimit limit = m_previous;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_previous);
        std::signal(SIGXFSZ, m_previousHandler);
    }

private:
    rlimit m_previous{};
    void (*m_previousHandler)(int) = nullptr;
};

} // namespace

TEST_F(ExportSafety, TheProgramsTablesAndOtherDatabasesAreNeverWrittenOver)
{
    ASSERT_TRUE(QFile::copy(QStringLiteral(LIR_BINARY_DIR "/zeni.db"), dir.file(QStringLiteral("zeni.db"))));
    db::Table::open(QStringLiteral("zeni.db"));
    const QByteArray zeni = test::readFile(dir.file(QStringLiteral("zeni.db")));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("sub")));
    ASSERT_TRUE(QFile::link(QStringLiteral("zeni.db"), dir.file(QStringLiteral("kit.html"))));
    ASSERT_TRUE(QFile::link(QStringLiteral("zakaz.db"), dir.file(QStringLiteral("order.html")))); // not there yet
    db::Table::create(QStringLiteral("other.db"), {{QStringLiteral("a"), db::FieldDef::Type::Text}});
    ASSERT_TRUE(QFile::rename(dir.file(QStringLiteral("other.db")), dir.file(QStringLiteral("book.xlsx"))));
    const QByteArray book = test::readFile(dir.file(QStringLiteral("book.xlsx")));
    const QStringList before = everything(dir.path());

    struct Case
    {
        QString path;
        QString table; // empty: another database file
    };
    const QVector<Case> cases = {
        {QStringLiteral("zeni.db"), QStringLiteral("zeni.db")},
        {QStringLiteral("sub/../zeni.db"), QStringLiteral("zeni.db")},
        {dir.file(QStringLiteral("zeni.db")), QStringLiteral("zeni.db")},
        {QStringLiteral("kit.html"), QStringLiteral("zeni.db")},
        {QStringLiteral("zakaz.db"), QStringLiteral("zakaz.db")},
        {QStringLiteral("order.html"), QStringLiteral("zakaz.db")},
        {QStringLiteral("book.xlsx"), QString()},
    };
    for (const Case& c : cases) {
        const QString expected =
            c.table.isEmpty()
                ? QStringLiteral("Лист не записан: файл %1 — это файл базы данных.").arg(shown(c.path))
                : QStringLiteral("Лист не записан: файл %1 — это таблица программы %2.").arg(shown(c.path), c.table);
        EXPECT_EQ(errorOf(html, c.path), expected);
        EXPECT_EQ(errorOf(xlsx, c.path), expected);
    }

    // The name chosen in the save dialog goes the same way.
    SpreadsheetApplication saved = spreadsheetApplication();
    spreadsheetApplication().find = [] { return QString(); };
    TurnKit turn;
    turn.setFFH(400);
    turn.setFFB(500);
    turn.RashetButtonClick();
    test::recorder().setNextFileName(QStringLiteral("zeni.db"));
    EXPECT_THROW(ExportButtonClick(turn, test::priceTable({})), Error);
    spreadsheetApplication() = saved;

    EXPECT_EQ(test::readFile(dir.file(QStringLiteral("zeni.db"))), zeni);
    EXPECT_EQ(test::readFile(dir.file(QStringLiteral("book.xlsx"))), book);
    EXPECT_EQ(everything(dir.path()), before); // no zakaz.db, no leftovers
}

TEST_F(ExportSafety, ASheetReplacesTheOldFileWholeOrNotAtAll)
{
    for (const QString& name : {QStringLiteral("a.html"), QStringLiteral("a.xlsx")}) {
        QFile old(dir.file(name));
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("the sheet of yesterday");
    }
    {
        // The writes stop at 2 KB, as with a small "ulimit -f" or a full quota.
        FileSizeLimit limit(2048);
        EXPECT_EQ(errorOf(html, QStringLiteral("a.html")),
                  QStringLiteral("Не удалось записать файл %1: превышен допустимый размер файла")
                      .arg(shown(QStringLiteral("a.html"))));
        EXPECT_EQ(errorOf(xlsx, QStringLiteral("a.xlsx")),
                  QStringLiteral("Не удалось записать файл %1: превышен допустимый размер файла")
                      .arg(shown(QStringLiteral("a.xlsx"))));
    }
    EXPECT_EQ(test::readFile(dir.file(QStringLiteral("a.html"))), QByteArray("the sheet of yesterday"));
    EXPECT_EQ(test::readFile(dir.file(QStringLiteral("a.xlsx"))), QByteArray("the sheet of yesterday"));
    EXPECT_EQ(everything(dir.path()), (QStringList{QStringLiteral("a.html"), QStringLiteral("a.xlsx")}));

    // Without the limit both are replaced, keeping no temporary file either.
    html(QStringLiteral("a.html"));
    xlsx(QStringLiteral("a.xlsx"));
    EXPECT_EQ(test::readFile(dir.file(QStringLiteral("a.html"))), kitSheetHtml(sheet(), test::priceTable({}), russian));
    EXPECT_TRUE(test::readFile(dir.file(QStringLiteral("a.xlsx"))).startsWith("PK"));
    EXPECT_EQ(everything(dir.path()), (QStringList{QStringLiteral("a.html"), QStringLiteral("a.xlsx")}));
}

TEST_F(ExportSafety, WriteFailuresSayWhatFailedAndWhere)
{
    QFile plain(dir.file(QStringLiteral("plain.txt")));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder")));
    for (const Writer& write : {html, xlsx}) {
        for (const QString& path : {dir.file(QStringLiteral("none/k.sheet")), dir.file(QStringLiteral("plain.txt/k.sheet"))})
            EXPECT_EQ(errorOf(write, path), QStringLiteral("Не удалось записать файл %1: нет такой папки").arg(path));
        EXPECT_EQ(errorOf(write, dir.file(QStringLiteral("folder"))),
                  QStringLiteral("Не удалось записать файл %1: это папка").arg(dir.file(QStringLiteral("folder"))));
    }
    EXPECT_EQ(everything(dir.path()), (QStringList{QStringLiteral("folder"), QStringLiteral("plain.txt")}));
}

TEST_F(ExportSafety, ASpreadsheetProgramThatEndsAtOnceWithAnErrorNamesTheSavedWorkbook)
{
    auto script = [this](const QString& name, const QByteArray& body) {
        QFile f(dir.file(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("#!/bin/sh\n" + body + "\n");
        f.close();
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return f.fileName();
    };
    const QString book = dir.file(QStringLiteral("ЛИР-6741-14М.xlsx"));
    const QString failing = script(QStringLiteral("nowindow"), "exit 3");
    openWatched(failing, book, 5000);
    // The watch runs in the event loop; the handler has returned long before.
    EXPECT_TRUE(test::recorder().shown().empty());
    ASSERT_TRUE(QTest::qWaitFor([] { return !test::recorder().errors().isEmpty(); }, 5000));
    EXPECT_EQ(test::recorder().errors(),
              QStringList{QStringLiteral("Программа nowindow завершилась с ошибкой (код 3) и не открыла книгу.\r"
                                         "Книга сохранена в файле %1")
                              .arg(book)});

    // A program that ends well, or fails only after the watch, says nothing.
    test::recorder().clear();
    openWatched(script(QStringLiteral("opens"), "exit 0"), book, 5000);
    openWatched(script(QStringLiteral("later"), "sleep 1; exit 3"), book, 300);
    QTest::qWait(2000);
    EXPECT_TRUE(test::recorder().shown().empty());

    // One that cannot start at all.
    try {
        openWatched(dir.file(QStringLiteral("nosuch")), book, 5000);
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(e.message(),
                  QStringLiteral("Не удалось запустить программу nosuch.\rКнига сохранена в файле %1").arg(book));
    }
}
