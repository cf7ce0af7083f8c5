#include "app/startup.h"

#include "app/BDEInstallModule.h"
#include "core/db/storage.h"
#include "core/db/storesettings.h"
#include "core/base/dialogs.h"
#include "core/base/apptexts.h"
#include "core/base/error.h"
#include "core/base/qttranslation.h"
#include "core/base/workdirlock.h"
#include "core/prices/catalogue.h"
#include "core/prices/paradoximport.h"
#include "gui/app/form_about.h"
#include "gui/app/form_main.h"
#include "gui/app/forms.h"
#include "gui/app/guidialogs.h"
#include "gui/app/widgets.h"
#include "gui/calc/mainmodule6741.h"
#include "gui/calc/mainmodule6741otkid.h"
#include "gui/calc/mainmodule6742.h"
#include "core/orders/customerbook.h"
#include "gui/orders/form_batch.h"
#include "gui/orders/form_customers.h"
#include "gui/orders/form_history.h"
#include "gui/orders/form_sum.h"
#include "gui/prices/form_price.h"

#include <QDir>

namespace lir::gui {

LirApplication::LirApplication(int& argc, char** argv) : QApplication(argc, argv)
{
}

bool LirApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        showFailure(e);
    }
    return false;
}

bool claimWorkingDirectory(WorkDirLock& lock)
{
    if (lock.tryLock())
        return true;
    // Another run of this program: say so at once. A command-line program
    // that writes a table holds the lock only for that write.
    if (!lock.heldBySameProgram() && !lock.cannotCreate() && lock.tryLock(5000))
        return true;
    // Where no lock can be made, no table can be written either: the
    // program goes on for reading.
    if (lock.cannotCreate())
        return true;
    dialogs().messageBox(apptexts::alreadyRunning());
    return false;
}

void createLauncher()
{
    registerFonts();
    initPictures();
    forms::Main = new TMain;
    forms::Main->show();
    // The tables are found in the working directory; set before the first is opened.
    db::setNetFileDir(QDir::currentPath());
    // A table left in the Paradox format is offered for conversion before it
    // is opened; tables kept on a server have no such files.
    if (!db::usesServer())
        prices::offerParadoxConversions();
}

void createHiddenForms()
{
    if (forms::MainForm6741)
        return;
    forms::MainForm6741 = new TMainForm6741;
    forms::MainForm6742 = new TMainForm6742;
    forms::MainForm6741otkid = new TMainForm6741otkid;
    forms::Price = new TPrice;
    forms::About = new TAbout;
    forms::TotalSum = new TTotalSum;
    setOrderSink(&forms::TotalSum->order());
    // The history creates the order table when it is missing and keeps it open.
    forms::History = new Thistory;
    forms::Customers = new TCustomers(CustomerBook::shared());
    forms::Batch = new TBatch(forms::TotalSum->order());
}

void createForms()
{
    createLauncher();
    createHiddenForms();
}

bool startWindows()
{
    createLauncher();
    // The price table is opened first, as the price editor opens it, so that
    // a table that cannot be opened is reported before the update fails on it.
    TPrice::openPrices();
    if (!synchroniseCatalogue()) {
        destroyForms();
        return false;
    }
    forms::Main->makeAfterFirstPaint(&createHiddenForms);
    return true;
}

void destroyForms()
{
    setOrderSink(nullptr);
    delete forms::Batch;
    forms::Batch = nullptr;
    delete forms::Customers;
    forms::Customers = nullptr;
    delete forms::History;
    forms::History = nullptr;
    delete forms::TotalSum;
    forms::TotalSum = nullptr;
    delete forms::About;
    forms::About = nullptr;
    delete forms::Price;
    forms::Price = nullptr;
    delete forms::MainForm6741otkid;
    forms::MainForm6741otkid = nullptr;
    delete forms::MainForm6742;
    forms::MainForm6742 = nullptr;
    delete forms::MainForm6741;
    forms::MainForm6741 = nullptr;
    delete forms::Main;
    forms::Main = nullptr;
}

bool synchroniseCatalogue()
{
    return runGuarded([] { catalogue::synchronise(); });
}

int runProgram(QApplication& app)
{
    installQtTranslation(app);
    registerFonts();
    static GuiDialogs guiDialogs;
    setDialogs(&guiDialogs);
    static GuiUrlOpener guiUrlOpener;
    setUrlOpener(&guiUrlOpener);
    bde::watchForTermination();
    app.setQuitOnLastWindowClosed(false);

    // Two runs on one working directory would write over each other's prices.
    static WorkDirLock lock(QDir::currentPath());
    if (!claimWorkingDirectory(lock))
        return 0;

    // lircomplect.ini may keep the tables on a server; a file that cannot be
    // used ends the program with a message saying what to mend.
    if (!runGuarded([] { db::useStoreOf(QDir::currentPath()); }))
        return 1;

    // Without a working storage engine the program offers to install it; a
    // failure of the installer itself ends the program.
    if (!runGuarded([] { bde::EnsureStorageEngine(); }))
        return 1;

    if (!startWindows()) {
        db::Table::closeAll();
        return 1;
    }

    const int rc = app.exec();
    destroyForms();
    db::Table::closeAll();
    return rc;
}

} // namespace lir::gui
