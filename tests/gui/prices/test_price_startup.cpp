// The price editor at start-up: created hidden after the calculators, with
// the tables' directory set to the working directory before it opens zeni.db.
#include "support/pricefixture.h"

#include "gui/app/forms.h"
#include "app/startup.h"
#include "gui/prices/form_price.h"

#include <QDir>
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
