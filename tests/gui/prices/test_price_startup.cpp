// The price editor at start-up: created hidden after the calculators, with
// the tables' directory set to the working directory before it opens zeni.db.
#include "support/pricefixture.h"

#include "gui/app/forms.h"
#include "app/startup.h"
#include "gui/app/form_main.h"
#include "gui/app/widgets.h"
#include "gui/calc/mainmodule6742.h"
#include "gui/prices/form_price.h"
#include "gui/prices/pricemodel.h"
#include "core/prices/pricetable.h"
#include "core/db/storesettings.h"
#include "support/paradoxfixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMouseEvent>
#include <QTest>
#include <QTemporaryDir>

using namespace lir;

TEST_F(PriceTableTest, StartUpOpensTheTableOfTheWorkingDirectory)
{
    makeTable({{QStringLiteral("6742.15.00-20"), QStringLiteral("Петля откидная"), 3.0}});
    db::Table::closeAll();
    // A directory left over from before must not be where the table is looked for.
    QTemporaryDir elsewhere;
    db::setNetFileDir(elsewhere.path());

    gui::createForms();
    ASSERT_TRUE(forms::Price);
    EXPECT_TRUE(test::recorder().shown().empty());
    EXPECT_FALSE(forms::Price->isVisible());
    ASSERT_TRUE(forms::Price->table());
    EXPECT_EQ(forms::Price->table()->filePath(), QDir::current().filePath(QStringLiteral("zeni.db")));
    EXPECT_EQ(forms::Price->grid()->model()->rowCount(), 1);
    gui::destroyForms();
    EXPECT_EQ(forms::Price, nullptr);
    // The table outlives the window until the program closes it.
    EXPECT_TRUE(db::Table::isOpen(QStringLiteral("zeni.db")));
}

TEST_F(PriceTableTest, StartUpWithoutTheTableGoesOnWithAnEmptyEditor)
{
    gui::createForms();
    ASSERT_EQ(test::recorder().errors().size(), 1);
    EXPECT_EQ(test::recorder().errors().first(),
              QStringLiteral("Таблица zeni.db не найдена в каталоге ") + QDir::toNativeSeparators(QDir::currentPath()));
    ASSERT_TRUE(forms::Price);
    EXPECT_EQ(forms::Price->table(), nullptr);
    EXPECT_EQ(forms::Price->grid()->model()->rowCount(), 0);
    EXPECT_TRUE(forms::Main && forms::MainForm6742);
    gui::destroyForms();
}

namespace {

QVector<QVector<QVariant>> rowsOf(db::Table& t)
{
    return t.query(QStringLiteral("SELECT rowid, oboznashenie, nazvanie, zena FROM zeni ORDER BY rowid"));
}

} // namespace

TEST_F(PriceTableTest, StartOnTheDeliveredTableShowsNothingAndChangesNothing)
{
    const QString file = work.file(QStringLiteral("zeni.db"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(LIR_BINARY_DIR "/zeni.db"), file));
    const QByteArray delivered = test::readFile(file);

    gui::createForms();
    ASSERT_TRUE(forms::Price && forms::Price->table());
    const auto before = rowsOf(*forms::Price->table());
    EXPECT_TRUE(gui::synchroniseCatalogue());
    EXPECT_TRUE(test::recorder().shown().empty());
    EXPECT_EQ(rowsOf(*forms::Price->table()), before);
    EXPECT_EQ(forms::Price->model()->currentRow(), 0);
    gui::destroyForms();
    db::Table::closeAll();
    // Not a byte of the file was written.
    EXPECT_EQ(test::readFile(file), delivered);
}

TEST_F(PriceTableTest, StartOnAnOldTableAddsTheCatalogueBeforeTheLauncherTakesInput)
{
    makeTable({{QStringLiteral("6742.08.00-20L"), QStringLiteral("Петля верхняя"), 120.0}});
    db::Table::closeAll();

    gui::createForms();
    ASSERT_TRUE(forms::Price && forms::Price->table());
    EXPECT_TRUE(forms::Main->isVisible());
    EXPECT_TRUE(gui::synchroniseCatalogue());
    const QString a = QStringLiteral("В таблицу цен будет добавлена новая номенклатура\r  (без указания цены)!");
    EXPECT_EQ(test::recorder().messages(),
              (QStringList{a, a, QStringLiteral("В таблицу будет добавлена новая номенклатура\r  (без указания цены)!"),
                           QStringLiteral("Таблица цен будет обновлена."), a}));
    EXPECT_TRUE(test::recorder().errors().isEmpty());
    // The editor shows every row, on the first one: the hinge renamed with its price.
    EXPECT_EQ(forms::Price->grid()->model()->rowCount(), 612);
    EXPECT_EQ(forms::Price->model()->currentRow(), 0);
    EXPECT_EQ(forms::Price->priceEdit()->text(), QStringLiteral("120"));
    EXPECT_EQ(forms::Price->grid()->model()->index(0, 1).data().toString(),
              QStringLiteral("Петля на створке верхняя М"));
    gui::destroyForms();
}

TEST_F(PriceTableTest, StartUpFailuresEndWithAnErrorNamingTheTableAndItsDirectory)
{
    const QString dir = QDir::toNativeSeparators(QDir::currentPath());
    const QString head = QStringLiteral("Не удалось обновить таблицу цен zeni.db в каталоге ") + dir + u'\r';
    // No table: the editor's error, then the update's.
    gui::createForms();
    EXPECT_FALSE(gui::synchroniseCatalogue());
    EXPECT_EQ(test::recorder().errors(), (QStringList{QStringLiteral("Таблица zeni.db не найдена в каталоге ") + dir,
                                                      head + QStringLiteral("Таблица цен zeni.db не открыта")}));
    gui::destroyForms();

    // A write the engine refuses: the notice came before it, nothing of the batch is there.
    test::recorder().clear();
    makeTable({}).query(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON zeni BEGIN SELECT "
                                       "RAISE(ABORT, 'read-only medium'); END"));
    db::Table::closeAll();
    gui::createForms();
    EXPECT_FALSE(gui::synchroniseCatalogue());
    ASSERT_EQ(test::recorder().errors().size(), 1);
    const QString error = test::recorder().errors().first();
    EXPECT_TRUE(error.startsWith(head) && error.contains(QStringLiteral("read-only medium"))) << error.toStdString();
    EXPECT_EQ(test::recorder().messages().size(), 1);
    EXPECT_EQ(forms::Price->grid()->model()->rowCount(), 0);
    gui::destroyForms();
}

namespace {

// A Paradox price list of three rows, as another tool leaves it in the working directory.
void writeParadoxPrices()
{
    test::writeParadoxTable(QDir::current().filePath(QStringLiteral("zeni.db")),
                            {test::pxAlpha(QStringLiteral("Oboznashenie"), 40),
                             test::pxAlpha(QStringLiteral("Nazvanie"), 100), test::pxNumber(QStringLiteral("Zena"))},
                            {{QStringLiteral("ЛИР-6742-01ДМR"), QStringLiteral("Комплект"), 1520.5},
                             {QStringLiteral("6742.15.00-20"), QStringLiteral("Петля откидная"), QVariant()},
                             {QStringLiteral("DIN7982(4*25)"), QStringLiteral("Шуруп 4*25"), 0.25}});
}

const QString kQuestion = QStringLiteral(
    "Таблица zeni.db записана в формате Paradox. Преобразовать её? Исходный файл сохранится как zeni.db.paradox.");

} // namespace

TEST_F(PriceTableTest, StartUpConvertsAParadoxPriceListBeforeTheEditorOpensIt)
{
    writeParadoxPrices();
    test::recorder().setNextAnswer(Dialogs::Answer::Yes);
    gui::createForms();
    ASSERT_EQ(test::recorder().shown().size(), 1u);
    EXPECT_EQ(test::recorder().shown()[0].kind, RecordingDialogs::Shown::Question);
    EXPECT_EQ(test::recorder().shown()[0].text, kQuestion);
    ASSERT_TRUE(forms::Price->table());
    EXPECT_EQ(forms::Price->grid()->model()->rowCount(), 3);
    EXPECT_EQ(LookupPrice(QStringLiteral("ЛИР-6742-01ДМR")).price, 1520.5);
    EXPECT_TRUE(QFileInfo::exists(QStringLiteral("zeni.db.paradox")));
    gui::destroyForms();
}

TEST_F(PriceTableTest, StartUpAnsweredNoOpensNothingAndChangesNothing)
{
    writeParadoxPrices();
    const QByteArray original = test::readFile(QStringLiteral("zeni.db"));
    test::recorder().setNextAnswer(Dialogs::Answer::No);
    gui::createForms();
    ASSERT_EQ(test::recorder().shown().size(), 2u);
    EXPECT_EQ(test::recorder().shown()[0].text, kQuestion);
    // Then as for any table that cannot be opened.
    ASSERT_EQ(test::recorder().errors().size(), 1);
    EXPECT_TRUE(test::recorder().errors()[0].startsWith(QStringLiteral("Не удалось открыть таблицу цен zeni.db в каталоге ") +
                                                       QDir::toNativeSeparators(QDir::currentPath()) + u'\r'));
    EXPECT_EQ(forms::Price->table(), nullptr);
    gui::destroyForms();
    EXPECT_EQ(test::readFile(QStringLiteral("zeni.db")), original);
    EXPECT_FALSE(QFileInfo::exists(QStringLiteral("zeni.db.paradox")));
}

TEST_F(PriceTableTest, StartUpWithTheServerUnreachableNamesHostAndDatabaseAndEnds)
{
    const QString host = work.file(QStringLiteral("no-server"));
    QFile ini(work.file(QStringLiteral("lircomplect.ini")));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[database]\ndriver=postgresql\nhost=" + host.toUtf8() + "\ndbname=lircomplect\n");
    ini.close();
    db::useStoreOf(QDir::currentPath());

    gui::createForms();
    EXPECT_FALSE(gui::synchroniseCatalogue());
    const QString server = host + QStringLiteral(":5432, база данных lircomplect");
    const QStringList errors = test::recorder().errors();
    ASSERT_EQ(errors.size(), 3);
    // The editor's, the history's (the order table cannot be made), then the update's, which ends the start.
    for (int i : {0, 1})
        EXPECT_TRUE(errors[i].startsWith(QStringLiteral("Не удалось подключиться к серверу базы данных ") + server + u'\r'))
            << errors[i].toStdString();
    EXPECT_EQ(errors[2], QStringLiteral("Не удалось обновить таблицу цен zeni на сервере ") + server +
                             QStringLiteral("\rТаблица цен zeni не открыта"));
    gui::destroyForms();
    db::setServer(std::nullopt);
}

// The start as the program runs it: the launcher and the update first, the
// windows it does not show once it has been painted, or at a click on it.
TEST_F(PriceTableTest, TheStartShowsTheLauncherBeforeItMakesTheHiddenWindows)
{
    ASSERT_TRUE(QFile::copy(QStringLiteral(LIR_BINARY_DIR "/zeni.db"), work.file(QStringLiteral("zeni.db"))));
    ASSERT_TRUE(gui::startWindows());
    EXPECT_TRUE(forms::Main->isVisible());
    EXPECT_TRUE(test::recorder().shown().empty());
    EXPECT_EQ(forms::Price, nullptr);
    EXPECT_EQ(forms::History, nullptr);
    EXPECT_FALSE(QFileInfo::exists(QStringLiteral("zakaz.db")));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(forms::Main));
    ASSERT_TRUE(QTest::qWaitFor([] { return forms::History != nullptr; }, 5000));
    ASSERT_TRUE(forms::Price && forms::TotalSum && forms::MainForm6741otkid && forms::Batch);
    EXPECT_EQ(forms::Price->table(), &prices::open());
    EXPECT_FALSE(forms::Price->isVisible());
    EXPECT_TRUE(QFileInfo::exists(QStringLiteral("zakaz.db")));
    gui::destroyForms();

    // A click that comes first makes them before it shows its window.
    ASSERT_TRUE(gui::startWindows());
    ASSERT_EQ(forms::MainForm6742, nullptr);
    QWidget* picture = forms::Main->buttons().at(0).picture;
    const QPointF p(5, 5);
    QMouseEvent press(QEvent::MouseButtonPress, p, picture->mapToGlobal(p), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, p, picture->mapToGlobal(p), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(picture, &press);
    QCoreApplication::sendEvent(picture, &release);
    ASSERT_TRUE(forms::MainForm6742);
    EXPECT_TRUE(forms::MainForm6742->isVisible());
    EXPECT_TRUE(forms::History);
    gui::destroyForms();
}

TEST_F(PriceTableTest, TheStartWithoutAPriceTableSaysSoTwiceAndEnds)
{
    EXPECT_FALSE(gui::startWindows());
    const QString dir = QDir::toNativeSeparators(QDir::currentPath());
    EXPECT_EQ(test::recorder().errors(),
              (QStringList{QStringLiteral("Таблица zeni.db не найдена в каталоге ") + dir,
                           QStringLiteral("Не удалось обновить таблицу цен zeni.db в каталоге ") + dir +
                               QStringLiteral("\rТаблица цен zeni.db не открыта")}));
    EXPECT_EQ(forms::Main, nullptr);
}
