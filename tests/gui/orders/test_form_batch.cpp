// The batch entry window: a pasted block is calculated row by row, failing
// rows show their messages, inputs of another system are greyed, and
// "Добавить в заказ" adds the good rows only after the question.
#include "core/base/dialogs.h"
#include "core/orders/ordermodel.h"
#include "core/calc/tiltkit.h"
#include "core/calc/tiltturnkit.h"
#include "core/calc/turnkit.h"
#include "gui/orders/form_batch.h"
#include "support/testsupport.h"

#include <QDir>
#include <QFile>

using lir::gui::TBatch;

namespace {

// 40 sashes, every tenth with a height that is no number.
QString fortyRows()
{
    QString text;
    const char* systems[] = {"6742", "6741", "6741otkid"};
    for (int i = 0; i < 40; ++i) {
        const QString height = i % 10 == 7 ? QStringLiteral("1,4 м") : QString::number(900 + 10 * i);
        text += QStringLiteral("%1\tПВХ\t\t\t\t\t\t\t\t\t%2\t%3\n").arg(QString::fromUtf8(systems[i % 3]), height).arg(600 + 5 * i);
    }
    return text;
}

} // namespace

TEST(BatchWindow, PastedRowsAreCalculatedAndTheGoodOnesAdded)
{
    lir::TurnKit turn;
    lir::TiltTurnKit tiltTurn;
    lir::TiltKit tilt;
    lir::OrderModel order;
    order.setCalculators(&turn, &tiltTurn, &tilt);
    TBatch w(order);
    w.table()->setCurrentCell(0, 0);
    w.pasteText(fortyRows());
    const QVector<lir::batch::RowResult>& results = w.results();
    ASSERT_EQ(results.size(), 40);
    EXPECT_EQ(w.statusLine()->text(), QStringLiteral("Рассчитано строк: 36, с ошибками: 4, комплектов всего: 36"));
    const int result = int(lir::batch::columns().size());
    EXPECT_EQ(w.table()->item(7, result)->text(), QStringLiteral("«Высота FFH»: «1,4 м» — не целое число"));
    EXPECT_EQ(w.table()->item(0, result)->text(), results[0].designation);
    // The sash side of the tilt window is not read: its cell is greyed.
    const int side = lir::batch::columnOf(QStringLiteral("PolStvorki"));
    EXPECT_NE(w.table()->item(2, side)->background(), w.table()->item(0, side)->background());

    if (const QByteArray dir = qgetenv("LIR_SCREENSHOT_DIR"); !dir.isEmpty()) {
        w.show();
        w.grab().save(QDir(QString::fromLocal8Bit(dir)).filePath(QStringLiteral("batch.png")));
    }

    // "Нет" adds nothing; "Да" adds the 36 good rows in table order.
    lir::test::recorder().setNextAnswer(lir::Dialogs::Answer::No);
    w.addToOrder();
    EXPECT_EQ(order.EntryCount(), 0);
    lir::test::recorder().setNextAnswer(lir::Dialogs::Answer::Yes);
    w.addToOrder();
    ASSERT_EQ(order.EntryCount(), 36) << lir::test::recorder().errors().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(order.entries().first().Designation, results[0].designation);
    EXPECT_EQ(order.entries().last().Designation, results[39].designation);

    // A block beyond the limit is refused whole, with a message.
    lir::test::recorder().clear();
    w.pasteText(QString(TBatch::maxPasteCells + 1, QLatin1Char('\t')));
    EXPECT_EQ(lir::test::recorder().errors(),
              QStringList{QStringLiteral("Вставка не выполнена: больше 20000 ячеек или 5000 строк в таблице. "
                                         "Вставьте данные частями или импортируйте файл.")});
    EXPECT_EQ(w.table()->rowCount(), 40);
}

TEST(BatchWindow, ABlockCopiedWithItsHeaderRowGoesByTheHeader)
{
    lir::OrderModel order;
    TBatch w(order);
    // The header in another order than the table's, pasted at an inner cell:
    // its values land under the columns it names, from the selected row.
    w.table()->setCurrentCell(0, 0);
    w.pasteText(QStringLiteral("6741\t\t\t\t\t\t\t\t\t\t1000\t700\n"));
    w.table()->setCurrentCell(1, 5);
    w.pasteText(QStringLiteral("Ширина FFB\tcalculator\t\tffh\r\n800\t6742\t\t1300\r\n650\tнет такой\t\t900\r\n"));
    ASSERT_GE(w.table()->rowCount(), 3);
    const int system = 0;
    const int height = lir::batch::columnOf(QStringLiteral("FFH"));
    const int width = lir::batch::columnOf(QStringLiteral("FFB"));
    EXPECT_EQ(w.table()->item(1, system)->text(), QStringLiteral("6742"));
    EXPECT_EQ(w.table()->item(1, height)->text(), QStringLiteral("1300"));
    EXPECT_EQ(w.table()->item(1, width)->text(), QStringLiteral("800"));
    EXPECT_TRUE(w.table()->item(1, 5)->text().isEmpty());
    const QVector<lir::batch::RowResult>& results = w.results();
    ASSERT_GE(results.size(), 4);
    EXPECT_TRUE(results[3].empty);
    lir::batch::Row direct;
    direct.cells.resize(qsizetype(lir::batch::columns().size()));
    direct.cells[system] = QStringLiteral("6742");
    direct.cells[height] = QStringLiteral("1300");
    direct.cells[width] = QStringLiteral("800");
    EXPECT_TRUE(results[1].ok);
    EXPECT_EQ(results[1].designation, lir::batch::calculate(direct).designation);
    EXPECT_FALSE(results[2].ok);
    // A first line that is partly data is data: pasted where the cell is.
    w.table()->setCurrentCell(3, 0);
    w.pasteText(QStringLiteral("6742\tFFH\n"));
    EXPECT_EQ(w.table()->item(3, 0)->text(), QStringLiteral("6742"));
    EXPECT_EQ(w.table()->item(3, 1)->text(), QStringLiteral("FFH"));
}

TEST(BatchWindow, APastedScheduleGivesTheOrderItsFileGives)
{
    // The schedule as a spreadsheet copies it (tabs, the header in its own
    // order, an empty line) and the same cells as a file: the file's order is
    // the one the sashes give one by one through the calculators (the command
    // line's tests show that), so the paste must give it too.
    const QStringList lines{
        QStringLiteral("FFB\tcalculator\tFFH\tGH\tPolStvorki\tKolKomlektov\tblokirator\tcb_ramaType\tProfilType\tRAL"),
        QStringLiteral("700\t6742\t1400\tв центре\tЛевое\t2\t\t\t\t"),
        QStringLiteral("600\t6741\t1200\t500\t\t1\tда\t\t\t"),
        QStringLiteral("\t\t\t\t\t\t\t\t\t"),
        QStringLiteral("800\t6741otkid\t600\t\t\t3\t\t\t\t"),
        QStringLiteral("900\tповоротно-откидная 6742\t1800\t900\tПравое\t1\t0\tЕврофальц 20/8\tдеревянный\t8017")};
    lir::test::ScopedWorkDir work;
    const QString csv = QDir::current().filePath(QStringLiteral("schedule.csv"));
    {
        QFile f(csv);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(lines.join(QLatin1Char('\n')).replace(QLatin1Char('\t'), QLatin1Char(';')).toUtf8());
    }
    struct Order
    {
        lir::TurnKit turn;
        lir::TiltTurnKit tiltTurn;
        lir::TiltKit tilt;
        lir::OrderModel model;
        Order() { model.setCalculators(&turn, &tiltTurn, &tilt); }
    };
    Order pasted, imported;
    TBatch a(pasted.model), b(imported.model);
    a.table()->setCurrentCell(0, 3);
    a.pasteText(lines.join(QLatin1Char('\n')));
    ASSERT_TRUE(b.importFile(csv));
    a.addToOrder();
    b.addToOrder();
    ASSERT_EQ(pasted.model.EntryCount(), 4) << lir::test::recorder().errors().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(pasted.model.entries(), imported.model.entries());
    for (auto view : {lir::OrderModel::Components, lir::OrderModel::Kits, lir::OrderModel::KitsAndComponents}) {
        ASSERT_EQ(pasted.model.grid(view).rowCount(), imported.model.grid(view).rowCount());
        for (int r = 0; r < pasted.model.grid(view).rowCount(); ++r)
            EXPECT_EQ(pasted.model.grid(view).row(r), imported.model.grid(view).row(r)) << int(view) << " " << r;
    }
}
