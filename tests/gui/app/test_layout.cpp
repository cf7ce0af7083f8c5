// The windows as laid out for Tahoma: designed sizes, nothing cut, nothing
// on top of anything else, whatever the options show.
#include "gui/app/form_main.h"
#include "gui/app/widgets.h"
#include "gui/calc/mainmodule6741.h"
#include "gui/calc/mainmodule6741otkid.h"
#include "gui/calc/mainmodule6742.h"
#include "support/testsupport.h"

#include <QAbstractItemDelegate>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFontInfo>
#include <QHeaderView>
#include <QStyleOptionHeader>
#include <QStyleOptionViewItem>

#include <memory>

using namespace lir;
using namespace lir::gui;

namespace {

QRect inWindow(const QWidget* w)
{
    return QRect(w->mapTo(w->window(), QPoint(0, 0)), w->size());
}

// Every visible text and input keeps the size it asks for, inside the window,
// and overlaps no other.
void expectNothingCutOrCovered(QWidget* window, const char* state)
{
    SCOPED_TRACE(state);
    QApplication::processEvents();
    QList<QWidget*> shown;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        const bool text = qobject_cast<QLabel*>(w) || qobject_cast<QAbstractButton*>(w);
        if (!w->isVisibleTo(window) || !(text || qobject_cast<QComboBox*>(w) || qobject_cast<QAbstractSpinBox*>(w))
            || w->objectName().startsWith(QLatin1String("qt_")))
            continue;
        const std::string name = QString(w->objectName() + w->property("text").toString()).toStdString();
        EXPECT_GE(w->height(), w->minimumSizeHint().height()) << name;
        EXPECT_TRUE(!text || w->width() >= w->sizeHint().width()) << name;
        EXPECT_TRUE(window->rect().contains(inWindow(w))) << name;
        for (QWidget* other : shown)
            EXPECT_FALSE(inWindow(other).intersects(inWindow(w))) << name << " / " << other->objectName().toStdString();
        shown << w;
    }
}

// A cell shows its text whole when the grid's delegate and the grid line fit.
int cellNeeds(QTableWidget* grid, int row, int col)
{
    QStyleOptionViewItem opt;
    opt.initFrom(grid);
    opt.font = grid->font();
    return grid->itemDelegate()->sizeHint(opt, grid->model()->index(row, col)).width() + (grid->showGrid() ? 1 : 0);
}

// A header shows its text whole when nothing of it is elided in the label's place.
bool headerShowsWhole(QHeaderView* h, int col)
{
    QStyleOptionHeader opt;
    opt.initFrom(h);
    opt.text = h->model()->headerData(col, Qt::Horizontal).toString();
    opt.rect = QRect(0, 0, h->sectionSize(col), h->height());
    const int room = h->style()->subElementRect(QStyle::SE_HeaderLabel, &opt, h).width();
    return opt.fontMetrics.elidedText(opt.text, Qt::ElideRight, room) == opt.text;
}

class Layout : public ::testing::TestWithParam<int>
{
protected:
    void SetUp() override
    {
        registerFonts();
        setScreenWidth(GetParam());
    }
    void TearDown() override { setScreenWidth(0); }
};

} // namespace

TEST(Fonts, TahomaIsTheWineFontWhereInstalledAndTheStatusLineFits)
{
    registerFonts();
    registerFonts(); // a second call registers nothing twice
    const bool wine = QFile::exists(QStringLiteral("/usr/share/wine/fonts/tahoma.ttf"));
    EXPECT_EQ(tahomaFamily(), wine ? QStringLiteral("Tahoma") : QStringLiteral("DejaVu Sans Condensed"));
    EXPECT_TRUE(QFontInfo(tahoma(12, true)).bold());
    TMain m;
    for (const auto& b : m.buttons())
        EXPECT_LE(m.statusLine()->fontMetrics().horizontalAdvance(b.status), m.statusLine()->width())
            << b.status.toStdString();
}

// The three calculators on a narrow and on a wide screen: the designed height,
// the screen's width, every option state laid out; the headers, a kit of
// 100000 (seven-digit totals) and every delivered designation and name whole.
TEST_P(Layout, CalculatorWindowsKeepTheirSizeAndCutNothing)
{
    const int screen = GetParam();
    const int kits[3][2] = {{2300, 800}, {2300, 1300}, {1300, 2300}};
    const QList<QByteArray> prices = test::readFile(QStringLiteral(LIR_SOURCE_DIR "/data/zeni.csv")).split('\n');
    for (int which = 0; which < 3; ++which) {
        std::unique_ptr<CalculatorWindow> w(which == 0   ? static_cast<CalculatorWindow*>(new TMainForm6741)
                                            : which == 1 ? static_cast<CalculatorWindow*>(new TMainForm6742)
                                                         : new TMainForm6741otkid);
        SCOPED_TRACE(w->objectName().toStdString());
        KitCalculator& c = w->calculator();
        w->show();
        c.setRuchkaOkon(true);
        expectNothingCutOrCovered(w.get(), "PVC, window handle");
        c.setProfilType(1);
        expectNothingCutOrCovered(w.get(), "wood");
        c.setProfilType(0);
        c.setRuchkaOkon(false);
        expectNothingCutOrCovered(w.get(), "PVC");
        EXPECT_EQ(w->size(), QSize(KitCalculator::windowWidth(screen), 546));

        QTableWidget* grid = w->grid();
        for (int col = 0; col < 6; ++col) {
            EXPECT_TRUE(headerShowsWhole(grid->horizontalHeader(), col)) << col;
            EXPECT_GE(grid->columnWidth(col), KitCalculator::gridColumnWidths(screen).at(col));
        }
        c.setKolKomlektov(100000);
        c.setFFH(kits[which][0]);
        c.setFFB(kits[which][1]);
        c.setRuchkaOkon(true);
        c.setProvetrivatel(true);
        w->rashetButton()->click();
        ASSERT_FALSE(c.lastCalculationFailed());
        QApplication::processEvents();
        EXPECT_EQ(grid->item(c.LineCount, 3)->text().size(), 7); // the 4×25 total
        for (int r = 0; r < grid->rowCount(); ++r)
            for (int col = 0; col < 6; ++col)
                EXPECT_LE(cellNeeds(grid, r, col), grid->columnWidth(col)) << grid->item(r, col)->text().toStdString();
        if (screen >= 1000) { // the widest window shows the six columns without scrolling
            EXPECT_LE(grid->horizontalHeader()->length(), grid->viewport()->width());
        }
        for (const QByteArray& line : prices.mid(1)) {
            const QStringList f = QString::fromUtf8(line).split(QLatin1Char(';'));
            for (int col = 0; col < 2 && f.size() > 1; ++col) {
                grid->item(0, col)->setText(f.at(col));
                EXPECT_LE(cellNeeds(grid, 0, col), grid->columnWidth(col)) << f.at(col).toStdString();
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Screens, Layout, ::testing::Values(800, 1280));

// A window recalculated while hidden (an order being replayed) fits its
// columns to the result once it is shown.
TEST(Layout, HiddenWindowFitsItsColumnsWhenShown)
{
    TMainForm6741 w;
    KitCalculator& c = w.calculator();
    c.setKolKomlektov(100000);
    c.setFFH(2300);
    c.setFFB(800);
    c.RashetButtonClick();
    ASSERT_FALSE(c.lastCalculationFailed());
    QTableWidget* grid = w.grid();
    w.show();
    QApplication::processEvents();
    ASSERT_EQ(grid->item(c.LineCount, 3)->text().size(), 7);
    for (int r = 0; r < grid->rowCount(); ++r)
        for (int col = 0; col < 6; ++col)
            EXPECT_LE(cellNeeds(grid, r, col), grid->columnWidth(col)) << grid->item(r, col)->text().toStdString();
}
