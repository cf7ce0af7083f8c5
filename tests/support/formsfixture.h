#pragma once

#include "app/startup.h"
#include "core/db/storage.h"
#include "gui/app/form_main.h"
#include "gui/app/forms.h"
#include "gui/app/widgets.h"
#include "gui/calc/calculatorwindow.h"
#include "support/testsupport.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>

namespace lir::test {

// Types into a spin edit as a person does: the text changes, the value follows.
inline void type(gui::SpinEdit* s, const QString& text)
{
    s->findChild<QLineEdit*>()->setText(text);
}

// A person types the sizes, presses "РАСЧЕТ" and "В ЗАКАЗ".
inline void addKit(gui::CalculatorWindow* w, const QString& ffh, const QString& ffb)
{
    gui::TMain::showWindow(w);
    type(w->ffh(), ffh);
    type(w->ffb(), ffb);
    w->rashetButton()->click();
    ASSERT_TRUE(w->sumButton()->isVisibleTo(w));
    w->sumButton()->click();
}

// The delivered price table in a working directory, where the windows open it.
inline void copyDeliveredPrices(const ScopedWorkDir& dir)
{
    QFile::copy(QStringLiteral(LIR_BINARY_DIR "/zeni.db"), dir.file(QStringLiteral("zeni.db")));
}

// Undoes gui::createForms(): the windows, the tables they opened, and the
// tables' folder.
inline void closeForms()
{
    gui::destroyForms();
    db::Table::closeAll();
    db::setNetFileDir(QString());
}

// Every window of the program, made once for the suite as start-up makes
// them, in a working directory with the delivered price table. Each test
// starts with no message recorded and leaves only the launcher shown.
class FormsTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        workDir = new ScopedWorkDir;
        copyDeliveredPrices(*workDir);
        gui::createForms();
    }
    static void TearDownTestSuite()
    {
        closeForms();
        delete workDir;
        workDir = nullptr;
    }
    void SetUp() override
    {
        // An answer or file name meant for a box that did not open must not
        // answer the next test's.
        recorder().dropQueued();
        recorder().clear();
    }
    void TearDown() override
    {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w != static_cast<QWidget*>(forms::Main))
                w->hide();
    }

    static inline ScopedWorkDir* workDir = nullptr;
};

} // namespace lir::test
