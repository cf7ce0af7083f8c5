// The windows as laid out for Tahoma: designed sizes, nothing cut, nothing
// on top of anything else, whatever the options show.
#include "core/calc/kitcalculator.h"
#include "gui/app/form_main.h"
#include "gui/app/widgets.h"
#include "gui/calc/mainmodule6741.h"
#include "gui/calc/mainmodule6741otkid.h"
#include "gui/calc/mainmodule6742.h"
#include "support/testsupport.h"

#include <QAbstractItemDelegate>
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFontInfo>
#include <QHeaderView>
#include <QLabel>
#include <QRadioButton>
#include <QStyleOptionHeader>
#include <QStyleOptionViewItem>

#include <memory>

using namespace lir;
using namespace lir::gui;

namespace {

std::unique_ptr<CalculatorWindow> makeWindow(int which)
{
    switch (which) {
    case 0:
        return std::make_unique<TMainForm6741>();
    case 1:
        return std::make_unique<TMainForm6742>();
    default:
        return std::make_unique<TMainForm6741otkid>();
    }
}

QRect inWindow(const QWidget* w)
{
    return QRect(w->mapTo(w->window(), QPoint(0, 0)), w->size());
}

// Every visible input of the window keeps the size it needs, lies inside the
// window and overlaps no other input.
void expectNothingCutOrCovered(QWidget* window, const char* state)
{
    SCOPED_TRACE(state);
    QList<QWidget*> inputs;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(window))
            continue;
        const bool text = qobject_cast<QLabel*>(w) || qobject_cast<QAbstractButton*>(w);
        const bool field = qobject_cast<QComboBox*>(w) || qobject_cast<QAbstractSpinBox*>(w);
        if (!text && !field)
            continue;
        // The labels inside the grid's header and the spin boxes' own parts are not inputs.
        if (qobject_cast<QAbstractSpinBox*>(w->parentWidget()) || w->objectName().startsWith(QLatin1String("qt_")))
            continue;
        const QString name = w->objectName().isEmpty() ? w->property("text").toString() : w->objectName();
        const QSize need = w->minimumSizeHint().expandedTo(text ? w->sizeHint() : QSize());
        EXPECT_GE(w->height(), need.height()) << name.toStdString();
        if (text) {
            EXPECT_GE(w->width(), need.width()) << name.toStdString();
        }
        EXPECT_TRUE(window->rect().contains(inWindow(w))) << name.toStdString();
        inputs << w;
    }
    for (int i = 0; i < inputs.size(); ++i)
        for (int j = i + 1; j < inputs.size(); ++j) {
            if (inputs[i]->isAncestorOf(inputs[j]) || inputs[j]->isAncestorOf(inputs[i]))
                continue;
            EXPECT_FALSE(inWindow(inputs[i]).intersects(inWindow(inputs[j])))
                << inputs[i]->objectName().toStdString() << " / " << inputs[j]->objectName().toStdString() << " "
                << inputs[i]->property("text").toString().toStdString() << " / "
                << inputs[j]->property("text").toString().toStdString();
        }
}

// The width a grid cell needs to show its text whole: what its text asks of
// the grid's delegate, and the pixel of the grid line.
int cellNeeds(QTableWidget* grid, int row, int col)
{
    QStyleOptionViewItem opt;
    opt.initFrom(grid);
    opt.font = grid->font();
    return grid->itemDelegate()->sizeHint(opt, grid->model()->index(row, col)).width() + (grid->showGrid() ? 1 : 0);
}

// Whether a header shows its text whole: the header elides what does not fit
// its label's place.
bool headerShowsWhole(QHeaderView* h, int col)
{
    QStyleOptionHeader opt;
    opt.initFrom(h);
    opt.section = col;
    opt.text = h->model()->headerData(col, Qt::Horizontal).toString();
    opt.rect = QRect(0, 0, h->sectionSize(col), h->height());
    const QRect label = h->style()->subElementRect(QStyle::SE_HeaderLabel, &opt, h);
    return opt.fontMetrics.elidedText(opt.text, Qt::ElideRight, label.width()) == opt.text;
}

class Layout : public ::testing::TestWithParam<int>
{
protected:
    static void SetUpTestSuite() { registerFonts(); }
    void TearDown() override { setScreenWidth(0); }
};

} // namespace

TEST(Fonts, TahomaIsTheWineFontWhereInstalledElseDejaVuCondensed)
{
    registerFonts();
    registerFonts(); // a second start-up registers nothing twice
    const bool wine = QFile::exists(QStringLiteral("/usr/share/wine/fonts/tahoma.ttf"));
    EXPECT_EQ(tahomaFamily(), wine ? QStringLiteral("Tahoma") : QStringLiteral("DejaVu Sans Condensed"));
    EXPECT_TRUE(QFontInfo(tahoma(12, true)).bold());
}

TEST(Fonts, LauncherStatusLineShowsEveryTextWhole)
{
    registerFonts();
    TMain m;
    for (const auto& b : m.buttons())
        EXPECT_LE(m.statusLine()->fontMetrics().horizontalAdvance(b.status), m.statusLine()->width())
            << b.status.toStdString();
}

// For each screen width: the calculator windows at their designed height and
// the width the screen gives them, in every state of their options.
TEST_P(Layout, CalculatorWindowsKeepTheirSizeAndCutNothing)
{
    const int screen = GetParam();
    setScreenWidth(screen);
    for (int which = 0; which < 3; ++which) {
        auto w = makeWindow(which);
        SCOPED_TRACE(w->objectName().toStdString());
        w->show();
        QApplication::processEvents();
        EXPECT_EQ(w->size(), QSize(KitCalculator::windowWidth(screen), 546));
        KitCalculator& c = w->calculator();
        c.setRuchkaOkon(true);
        QApplication::processEvents();
        expectNothingCutOrCovered(w.get(), "PVC, window handle");
        c.setProfilType(1);
        QApplication::processEvents();
        expectNothingCutOrCovered(w.get(), "wood");
        c.setProfilType(0);
        c.setRuchkaOkon(false);
        QApplication::processEvents();
        expectNothingCutOrCovered(w.get(), "PVC");
        EXPECT_EQ(w->size(), QSize(KitCalculator::windowWidth(screen), 546));
    }
}

TEST_P(Layout, GridShowsItsHeadersAndTheLargestKitsWhole)
{
    const int screen = GetParam();
    setScreenWidth(screen);
    struct Kit
    {
        int ffh, ffb;
    } kits[] = {{2300, 800}, {2300, 1300}, {1300, 2300}};
    for (int which = 0; which < 3; ++which) {
        auto w = makeWindow(which);
        SCOPED_TRACE(w->objectName().toStdString());
        QTableWidget* grid = w->grid();
        const QStringList headers = KitCalculator::gridHeaders(screen);
        for (int col = 0; col < 6; ++col) {
            EXPECT_EQ(grid->horizontalHeaderItem(col)->text(), headers.at(col));
            EXPECT_TRUE(headerShowsWhole(grid->horizontalHeader(), col)) << headers.at(col).toStdString();
            EXPECT_GE(grid->columnWidth(col), KitCalculator::gridColumnWidths(screen).at(col));
        }
        KitCalculator& c = w->calculator();
        c.setKolKomlektov(100000);
        c.setFFH(kits[which].ffh);
        c.setFFB(kits[which].ffb);
        c.setRuchkaOkon(true);
        c.setProvetrivatel(true);
        w->rashetButton()->click();
        ASSERT_FALSE(c.lastCalculationFailed());
        int longest = 0;
        for (int r = 0; r < grid->rowCount(); ++r)
            for (int col = 0; col < 6; ++col) {
                longest = std::max(longest, int(grid->item(r, col)->text().size()));
                EXPECT_LE(cellNeeds(grid, r, col), grid->columnWidth(col))
                    << grid->item(r, col)->text().toStdString();
            }
        EXPECT_GE(longest, 7); // a seven-digit total was among them
        if (screen >= 1000) {
            // The window is as wide as it gets: the six columns fit without scrolling.
            w->show();
            QApplication::processEvents();
            EXPECT_LE(grid->horizontalHeader()->length(), grid->viewport()->width());
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Screens, Layout, ::testing::Values(800, 1280));

TEST(GridCells, EveryDeliveredDesignationAndNameFits)
{
    registerFonts();
    for (int screen : {800, 1280}) {
        setScreenWidth(screen);
        TMainForm6742 w;
        QTableWidget* grid = w.grid();
        const QList<QByteArray> lines = test::readFile(QStringLiteral(LIR_SOURCE_DIR "/data/zeni.csv")).split('\n');
        ASSERT_GT(lines.size(), 100);
        for (const QByteArray& line : lines.mid(1)) {
            const QStringList f = QString::fromUtf8(line).split(QLatin1Char(';'));
            if (f.size() < 2)
                continue;
            grid->item(0, 0)->setText(f.at(0));
            grid->item(0, 1)->setText(f.at(1));
            EXPECT_LE(cellNeeds(grid, 0, 0), grid->columnWidth(0)) << f.at(0).toStdString();
            EXPECT_LE(cellNeeds(grid, 0, 1), grid->columnWidth(1)) << f.at(1).toStdString();
        }
    }
    setScreenWidth(0);
}
