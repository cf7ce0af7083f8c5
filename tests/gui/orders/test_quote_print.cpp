// "ПЕЧАТЬ" of the summation window and of a calculator, and the company
// details dialog "Реквизиты" reached from the launcher.
#include "core/export/companydetails.h"
#include "gui/app/form_company.h"
#include "gui/app/form_main.h"
#include "gui/calc/mainmodule6742.h"
#include "gui/orders/form_sum.h"
#include "support/formsfixture.h"
#include "support/programs.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QMenu>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

using namespace lir;
using namespace lir::gui;

namespace {

QString pdfText(const QString& path)
{
    QString text =
        test::runProgram(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    text.replace(QRegularExpression(QStringLiteral("[ \\t]+")), QStringLiteral(" "));
    return text;
}

QAction* action(QPushButton* button, const char* name)
{
    return button->menu() ? button->menu()->findChild<QAction*>(QLatin1String(name)) : nullptr;
}

class QuotePrint : public test::FormsTest
{
protected:
    void SetUp() override
    {
        FormsTest::SetUp();
        forms::TotalSum->order().bt_clearClick();
        QFile::remove(workDir->file(QStringLiteral("lircomplect.ini")));
    }
};

} // namespace

TEST_F(QuotePrint, TheSummationWindowSavesTheShownViewWithItsMarkupAsPdf)
{
    TTotalSum* sum = forms::TotalSum;
    QStringList actions;
    for (QAction* a : sum->printButton()->menu()->actions())
        actions << a->text();
    EXPECT_EQ(actions,
              (QStringList{QStringLiteral("Предварительный просмотр..."), QStringLiteral("Печать..."),
                           QStringLiteral("Сохранить в PDF..."), QString(), QStringLiteral("Реквизиты...")}));

    // An empty order: the error box, no save dialog.
    action(sum->printButton(), "QuotePdf")->trigger();
    EXPECT_EQ(test::recorder().errors(),
              QStringList{QStringLiteral(
                  "В заказе нет ни одного комплекта: коммерческое предложение не составлено.")});

    test::addKit(forms::MainForm6742, QStringLiteral("1200"), QStringLiteral("700"));
    sum->radioButton(OrderModel::Kits)->click();
    test::recorder().clear();
    sum->edit1()->selectAll();
    QTest::keyClicks(sum->edit1(), QStringLiteral("1x"));
    action(sum->printButton(), "QuotePdf")->trigger();
    EXPECT_EQ(test::recorder().errors(),
              QStringList{QStringLiteral("'1x' не является допустимым целым числом")});
    EXPECT_EQ(test::recorder().shown().size(), 1u);

    test::recorder().clear();
    sum->edit1()->selectAll();
    QTest::keyClicks(sum->edit1(), QStringLiteral("0"));
    const QString file = workDir->file(QStringLiteral("order.pdf"));
    test::recorder().setNextFileName(file);
    action(sum->printButton(), "QuotePdf")->trigger();
    EXPECT_TRUE(test::recorder().errors().isEmpty()) << test::recorder().errors().join(u'\n').toStdString();
    const QString text = pdfText(file);
    EXPECT_TRUE(text.contains(QStringLiteral("Заказчик: ") + sum->ledName()->text())) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("1 ") + sum->order().StringGrid2().cell(1, 0) +
                              QStringLiteral(" Комплект фурнитуры, RAL 9016 1 компл.")))
        << text.toStdString();
}

TEST_F(QuotePrint, TheCalculatorPrintsItsKitAfterASuccessfulCalculation)
{
    auto* w = forms::MainForm6742;
    TMain::showWindow(w);
    test::type(w->ffh(), QStringLiteral("5000"));
    w->rashetButton()->click();
    EXPECT_FALSE(w->printButton()->isVisibleTo(w));
    test::recorder().clear();
    test::type(w->ffh(), QStringLiteral("1200"));
    test::type(w->ffb(), QStringLiteral("700"));
    w->rashetButton()->click();
    ASSERT_TRUE(w->printButton()->isVisibleTo(w));
    const QString file = workDir->file(QStringLiteral("kit.pdf"));
    test::recorder().setNextFileName(file);
    action(w->printButton(), "QuotePdf")->trigger();
    EXPECT_TRUE(test::recorder().errors().isEmpty());
    const QString text = pdfText(file);
    EXPECT_TRUE(text.contains(QStringLiteral("Комплект фурнитуры ") + w->kit().KitDesignation))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Створка по фальцу (высота × ширина): 1200 × 700 мм")));
    EXPECT_TRUE(text.contains(QStringLiteral("FFH 1200")) && text.contains(QStringLiteral("FFB 700")));

    // Changed inputs are calculated first; a failed calculation's own message
    // is the only one, and no file is written.
    test::type(w->ffh(), QStringLiteral("5000"));
    test::recorder().clear();
    const QString none = workDir->file(QStringLiteral("none.pdf"));
    test::recorder().setNextFileName(none);
    action(w->printButton(), "QuotePdf")->trigger();
    EXPECT_EQ(test::recorder().errors().size(), 1) << test::recorder().errors().join(u'\n').toStdString();
    EXPECT_FALSE(test::recorder().errors().contains(
        QStringLiteral("Нет рассчитанного комплекта: нажмите «РАСЧЕТ», затем печатайте предложение.")));
    EXPECT_FALSE(QFile::exists(none));
}

TEST_F(QuotePrint, TheDetailsDialogWritesTheCompanySection)
{
    ASSERT_TRUE(forms::Main->companyButton());
    EXPECT_EQ(forms::Main->companyButton()->text(), QStringLiteral("Реквизиты..."));
    const QString ini = workDir->file(QStringLiteral("lircomplect.ini"));
    {
        QFile f(ini);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[database]\ndriver=sqlite\n");
    }
    TCompanyDetails dialog(workDir->path());
    dialog.field("name")->setText(QStringLiteral("ООО «Окна»"));
    dialog.field("address")->setText(QStringLiteral("г. Тверь, ул. Советская, 1"));
    dialog.bank()->setPlainText(QStringLiteral("р/с 407\nБИК 044"));
    dialog.vat()->setCurrentIndex(2);
    dialog.validDays()->setValue(10);

    // A rate that is no number and a logo that is not there are refused.
    dialog.vatRate()->setText(QStringLiteral("двадцать"));
    EXPECT_FALSE(dialog.save());
    EXPECT_EQ(test::recorder().errors(),
              QStringList{QStringLiteral("Ставка НДС «двадцать» — не число от 0 до 100.")});
    dialog.vatRate()->setText(QStringLiteral("10"));
    dialog.field("logo")->setText(workDir->file(QStringLiteral("none.png")));
    test::recorder().clear();
    EXPECT_FALSE(dialog.save());
    EXPECT_EQ(test::recorder().errors().size(), 1);
    EXPECT_EQ(test::readFile(ini), QByteArray("[database]\ndriver=sqlite\n"));

    dialog.field("logo")->clear();
    EXPECT_TRUE(dialog.save());
    const CompanyDetails d = readCompanyDetails(workDir->path());
    EXPECT_EQ(d.name, QStringLiteral("ООО «Окна»"));
    EXPECT_EQ(d.address, QStringLiteral("г. Тверь, ул. Советская, 1"));
    EXPECT_EQ(d.bank, QStringLiteral("р/с 407\nБИК 044"));
    EXPECT_EQ(d.vat, CompanyDetails::Vat::OnTop);
    EXPECT_EQ(d.vatRate, 1000);
    EXPECT_EQ(d.validDays, 10);
    EXPECT_TRUE(test::readFile(ini).startsWith("[database]\ndriver=sqlite\n\n[company]\n"));

    // Opened again, the dialog shows what was saved.
    TCompanyDetails again(workDir->path());
    EXPECT_EQ(again.details(), d);
}

TEST_F(QuotePrint, ThePreviewShowsThePagesTheFileHas)
{
    // Four kits with their parts: a quote of several pages.
    TTotalSum* sum = forms::TotalSum;
    for (const char* ffh : {"1200", "1400", "900", "1600"})
        test::addKit(forms::MainForm6742, QString::fromLatin1(ffh), QStringLiteral("700"));
    sum->radioButton(OrderModel::KitsAndComponents)->click();
    const QString file = workDir->file(QStringLiteral("preview.pdf"));
    test::recorder().setNextFileName(file);
    action(sum->printButton(), "QuotePdf")->trigger();
    ASSERT_TRUE(test::recorder().errors().isEmpty()) << test::recorder().errors().join(u'\n').toStdString();
    const QRegularExpressionMatch pages = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)"))
                                              .match(test::runProgram(QStringLiteral("pdfinfo"), {file}));
    ASSERT_TRUE(pages.hasMatch());
    ASSERT_GT(pages.captured(1).toInt(), 1) << pdfText(file).toStdString();

    int shown = -1;
    QString title;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        title = dialog->windowTitle();
        if (auto* preview = dialog->findChild<QPrintPreviewWidget*>())
            shown = preview->pageCount();
        dialog->reject();
    });
    action(sum->printButton(), "QuotePreview")->trigger();
    EXPECT_EQ(title, QStringLiteral("Предварительный просмотр"));
    EXPECT_EQ(shown, pages.captured(1).toInt());
    EXPECT_TRUE(test::recorder().errors().isEmpty()) << test::recorder().errors().join(u'\n').toStdString();
}
