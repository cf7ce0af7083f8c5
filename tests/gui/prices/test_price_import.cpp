// The price window's commands of price lists: the import preview, the bulk
// change, the undo and the export, as a person uses them.
#include "support/pricefixture.h"

#include "core/prices/pricelog.h"
#include "core/prices/pricetable.h"
#include "gui/prices/form_price.h"
#include "gui/prices/importdialog.h"
#include "gui/prices/pricemodel.h"
#include "gui/prices/pricepreview.h"

#include <QFile>
#include <QTest>

using namespace lir;
using namespace lir::gui;

namespace {

class PriceImportWindowTest : public PriceTableTest
{
protected:
    void SetUp() override
    {
        PriceTableTest::SetUp();
        makeTable({{QStringLiteral("ЛИР-1"), QStringLiteral("Петля"), 100.0},
                   {QStringLiteral("ЛИР-2"), QStringLiteral("Ручка"), 50.0},
                   {QStringLiteral("ЛИР-3"), QStringLiteral("Запор"), 10.0}});
        db::Table::closeAll();
        form = std::make_unique<TPrice>();
        form->show();
        commands = form->listCommands();
    }
    void TearDown() override
    {
        PriceListCommands::chooseListFile() = nullptr;
        form.reset();
        PriceTableTest::TearDown();
    }
    QString write(const QString& name, const QByteArray& bytes)
    {
        QFile f(work.file(name));
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return work.file(name);
    }
    QString price(const QString& designation)
    {
        const std::optional<double> p = LookupPrice(designation).price;
        return p ? QString::number(*p) : QString();
    }

    std::unique_ptr<TPrice> form;
    PriceListCommands* commands = nullptr;
};

} // namespace

TEST_F(PriceImportWindowTest, PreviewThenApplyThenUndo)
{
    const test::ScopedNumberLocale russian(QLocale(QLocale::Russian));
    EXPECT_EQ(commands->importButton()->text(), QStringLiteral("Импорт…"));
    EXPECT_EQ(commands->bulkButton()->text(), QStringLiteral("Изменить цены…"));
    EXPECT_EQ(commands->undoButton()->text(), QStringLiteral("Отменить последний импорт"));
    EXPECT_EQ(commands->exportButton()->text(), QStringLiteral("Экспорт…"));
    EXPECT_FALSE(commands->undoButton()->isEnabled()); // nothing to take back yet

    const QString path = write(QStringLiteral("list.csv"), QStringLiteral("Обозначение;Наименование;Цена\n"
                                                                          "ЛИР-1;Петля;1000\nЛИР-2;Ручка;50\n"
                                                                          "ЛИР-7;Новая;5\nЛИР-8;;x\n")
                                                               .toUtf8());
    PriceImportDialog dialog(*form->table(), path, form.get());
    EXPECT_EQ(dialog.columnChoice(0)->currentText(), QStringLiteral("A: Обозначение"));
    EXPECT_EQ(dialog.columnChoice(2)->currentText(), QStringLiteral("C: Цена"));
    EXPECT_FALSE(dialog.sheetChoice()->isVisibleTo(&dialog));
    PricePreviewView* view = dialog.preview();
    EXPECT_EQ(view->summary()->text(),
              QStringLiteral("Изменится цен: 1. Новых позиций: 1 (не добавляются). Без изменений: 1. Нет в списке: 1 "
                             "(не удаляются). Отклонено строк: 1."));
    EXPECT_EQ(view->tabs()->tabText(0), QStringLiteral("Изменятся (1)"));
    EXPECT_EQ(view->changed()->item(0, 4)->text(), QStringLiteral("+900,0"));
    EXPECT_EQ(view->refused()->item(0, 2)->text(), QStringLiteral("цена «x» не является числом"));
    EXPECT_EQ(view->notInList()->item(0, 0)->text(), QStringLiteral("ЛИР-3"));
    // Nothing is written by the preview.
    EXPECT_EQ(price(QStringLiteral("ЛИР-1")), QStringLiteral("100"));

    // No price column: nothing to apply.
    dialog.columnChoice(2)->setCurrentIndex(0);
    EXPECT_FALSE(dialog.applyButton()->isEnabled());
    EXPECT_EQ(view->summary()->text(), QStringLiteral("Заголовок не распознан: выберите столбцы обозначения и цены."));
    dialog.columnChoice(2)->setCurrentIndex(3);
    dialog.addNewCheck()->setChecked(true);
    EXPECT_TRUE(view->summary()->text().contains(u"Новых позиций: 1 (будут добавлены)"));
    dialog.applyClick();
    EXPECT_EQ(test::recorder().messages(), QStringList{QStringLiteral("Изменено цен: 1, добавлено позиций: 1.")});
    EXPECT_EQ(price(QStringLiteral("ЛИР-1")), QStringLiteral("1000"));
    EXPECT_EQ(price(QStringLiteral("ЛИР-7")), QStringLiteral("5"));
    EXPECT_EQ(form->model()->rowCount(), 4);
    EXPECT_TRUE(commands->undoButton()->isEnabled());

    test::recorder().clear();
    test::recorder().setNextAnswer(Dialogs::Answer::Yes);
    commands->undoClick();
    ASSERT_EQ(test::recorder().shown().size(), 2u);
    EXPECT_EQ(test::recorder().shown()[0].text,
              QStringLiteral("Отменить последнее изменение цен (импорт файла list.csv) и вернуть прежние цены?"));
    EXPECT_EQ(test::recorder().shown()[1].text,
              QStringLiteral("Восстановлено цен: 1, удалено добавленных позиций: 1."));
    EXPECT_EQ(price(QStringLiteral("ЛИР-1")), QStringLiteral("100"));
    EXPECT_EQ(form->model()->rowCount(), 3);
    EXPECT_FALSE(commands->undoButton()->isEnabled());
}

TEST_F(PriceImportWindowTest, BulkChangeAndExport)
{
    const test::ScopedNumberLocale russian(QLocale(QLocale::Russian));
    BulkPriceDialog dialog(*form->table(), form.get());
    EXPECT_FALSE(dialog.applyButton()->isEnabled()); // by 0 %: nothing changes
    dialog.matchingRows()->setChecked(true);
    dialog.matchEdit()->setText(QStringLiteral("петл"));
    dialog.valueEdit()->setValue(-12.5);
    ASSERT_EQ(dialog.preview()->changed()->rowCount(), 1);
    EXPECT_EQ(dialog.preview()->changed()->item(0, 3)->text(), QStringLiteral("87,5"));
    dialog.applyClick();
    EXPECT_EQ(price(QStringLiteral("ЛИР-1")), QStringLiteral("87.5"));
    EXPECT_EQ(price(QStringLiteral("ЛИР-2")), QStringLiteral("50"));
    EXPECT_EQ(prices::readLog(*form->table()).value(0).source, QStringLiteral("bulk"));

    test::recorder().clear();
    const QString target = work.file(QStringLiteral("prices.xlsx"));
    test::recorder().setNextFileName(target);
    commands->exportClick();
    EXPECT_EQ(test::recorder().messages(),
              QStringList{QStringLiteral("Записано позиций: 3 в файл %1").arg(QDir::toNativeSeparators(target))});
    EXPECT_TRUE(QFile::exists(target));
}

TEST_F(PriceImportWindowTest, AFileThatIsNoListIsNamedInAnErrorAndNothingOpens)
{
    const QString bad = write(QStringLiteral("book.xlsx"), "not a workbook");
    PriceListCommands::chooseListFile() = [bad](QWidget*) { return bad; };
    commands->importClick();
    EXPECT_EQ(test::recorder().errors(),
              QStringList{QStringLiteral("Не удалось прочитать файл %1: это не файл .xlsx (файл не является архивом "
                                         "ZIP или архив повреждён)")
                              .arg(QDir::toNativeSeparators(bad))});
    test::recorder().clear();
    commands->undoClick();
    EXPECT_EQ(test::recorder().messages(),
              QStringList{QStringLiteral("Отменять нечего: в журнале изменений цен нет импорта или изменения цен, "
                                         "которые ещё не отменены")});
}
