// The price window as the server's rights and the change log make it: an
// estimator's editor is read-only and says who may change prices, and
// "Журнал цен" shows the log narrowed by its filters.
#include "core/base/environment.h"
#include "support/pricefixture.h"

#include "core/db/storebackend.h"
#include "core/db/storesettings.h"
#include "core/prices/pricelog.h"
#include "core/prices/pricetable.h"
#include "core/prices/serveraccess.h"
#include "gui/app/widgets.h"
#include "gui/prices/form_price.h"
#include "gui/prices/importdialog.h"
#include "gui/prices/pricelogdialog.h"

#include <QFile>
#include <QTest>

using namespace lir;
using namespace lir::gui;

namespace {

class PriceRolesWindowTest : public PriceTableTest
{
protected:
    void TearDown() override
    {
        form.reset();
        PriceTableTest::TearDown();
    }
    std::unique_ptr<TPrice> form;
};

} // namespace

TEST_F(PriceRolesWindowTest, AnEstimatorsEditorIsReadOnlyAndSaysWhoMayChangePrices)
{
    LIR_SERVER_ONLY();
    // The server set up as its owner would, and an estimator's account.
    db::serverStore().create(prices::tableFile(), QStringLiteral("zeni"), prices::tableFields(), false);
    test::serverQuery(QStringLiteral("INSERT INTO zeni (oboznashenie, nazvanie, zena) VALUES ('ЛИР-1', 'Петля', 100)"));
    prices::setupServer(db::Table::open(prices::tableFile()));
    db::Table::closeAll();
    if (test::serverQuery(QStringLiteral("SELECT 1 FROM pg_roles WHERE rolname = 'lir_gui_est'")).isEmpty())
        test::serverQuery(QStringLiteral("CREATE ROLE lir_gui_est LOGIN"));
    test::serverQuery(QStringLiteral("GRANT lircomplect_estimator TO lir_gui_est"));
    QByteArray ini = test::serverSettingsFile();
    ini.replace(QByteArray("\nuser=postgres\n"), QByteArray("\nuser=lir_gui_est\n"));
    QFile f(work.file(db::settingsFileName()));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(ini) == ini.size());
    f.close();
    db::useStoreOf(work.path());

    form = std::make_unique<TPrice>();
    form->show();
    EXPECT_TRUE(form->readOnly());
    EXPECT_TRUE(form->readOnlyNote()->isVisible());
    EXPECT_EQ(form->readOnlyNote()->text(), QStringLiteral("Цены может менять только группа lircomplect_pricing"));
    EXPECT_TRUE(form->priceEdit()->isReadOnly());
    for (QPushButton* b : {form->listCommands()->importButton(), form->listCommands()->bulkButton(),
                           form->listCommands()->undoButton()}) {
        EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();
        EXPECT_EQ(b->toolTip(), QStringLiteral("Цены может менять только группа lircomplect_pricing"));
    }
    EXPECT_TRUE(form->listCommands()->exportButton()->isEnabled());
    EXPECT_TRUE(form->logButton()->isEnabled());
    // Typing is refused by the edit itself; nothing pends.
    form->priceEdit()->setFocus();
    form->priceEdit()->selectAll();
    QTest::keyClicks(form->priceEdit(), QStringLiteral("5"));
    EXPECT_EQ(form->table()->state(), db::Table::State::Browse);
    EXPECT_TRUE(test::recorder().errors().isEmpty());
    form.reset();
    db::Table::closeAll();
    test::serverQuery(QStringLiteral("REVOKE lircomplect_estimator FROM lir_gui_est"));
}

TEST_F(PriceRolesWindowTest, TheLogWindowFiltersByDesignationUserAndDays)
{
    LIR_FILES_ONLY();
    makeTable({{QStringLiteral("ЛИР-1"), QStringLiteral("Петля"), 100.0},
               {QStringLiteral("ЛИР-2"), QStringLiteral("Ручка"), 50.0}});
    db::Table::closeAll();
    form = std::make_unique<TPrice>();
    form->show();
    EXPECT_FALSE(form->readOnly());
    EXPECT_FALSE(form->readOnlyNote()->isVisible());
    db::Table& t = *form->table();
    for (auto [designation, price] : {std::pair{"ЛИР-1", 110.0}, {"ЛИР-2", 55.0}, {"ЛИР-1", 120.0}}) {
        ASSERT_TRUE(t.locate(prices::fieldDesignation(), QString::fromUtf8(designation)));
        t.edit();
        t.setValue(prices::fieldPrice(), price);
        t.post();
    }
    // A name changed is a line of the log too.
    ASSERT_TRUE(t.locate(prices::fieldDesignation(), QStringLiteral("ЛИР-2")));
    t.edit();
    t.setValue(prices::fieldName(), QStringLiteral("Ручка оконная"));
    t.post();

    PriceLogDialog all(t, QString());
    ASSERT_EQ(all.rows()->rowCount(), 4);
    EXPECT_EQ(all.rows()->item(0, 6)->text(), QStringLiteral("Ручка → Ручка оконная"));
    EXPECT_EQ(all.rows()->item(3, 2)->text(), QStringLiteral("редактор цен"));
    EXPECT_EQ(all.rows()->item(3, 4)->text(), QStringLiteral("100,00"));
    EXPECT_EQ(all.rows()->item(3, 5)->text(), QStringLiteral("110,00"));
    EXPECT_EQ(all.summary()->text(), QStringLiteral("Записей: 4"));

    // The selected row's history: the window opens on its designation.
    ASSERT_TRUE(t.locate(prices::fieldDesignation(), QStringLiteral("ЛИР-1")));
    PriceLogDialog history(t, t.text(prices::fieldDesignation()));
    ASSERT_EQ(history.rows()->rowCount(), 2);
    EXPECT_EQ(history.rows()->item(0, 5)->text(), QStringLiteral("120,00"));

    // A user who changed nothing, and days after today, find no rows.
    ASSERT_EQ(all.userFilter()->count(), 2); // "все" and the one user
    EXPECT_EQ(all.userFilter()->itemText(1), environment().loginName());
    all.fromDate()->setDate(QDate::currentDate().addDays(1));
    all.fromCheck()->setChecked(true);
    EXPECT_EQ(all.rows()->rowCount(), 0);
    EXPECT_EQ(all.summary()->text(), QStringLiteral("Записей нет."));
    all.fromCheck()->setChecked(false);
    all.toDate()->setDate(QDate::currentDate());
    all.toCheck()->setChecked(true);
    EXPECT_EQ(all.rows()->rowCount(), 4);
    all.designationFilter()->setText(QStringLiteral("ЛИР-2"));
    all.refresh();
    EXPECT_EQ(all.rows()->rowCount(), 2);
}
