// "EXCEL" of the calculator windows: the sheet of a real calculation, and the
// choice between the HTML file and the workbook.
#include "core/base/error.h"
#include "core/calc/tiltkit.h"
#include "core/calc/tiltturnkit.h"
#include "core/calc/turnkit.h"
#include "core/export/kitexport.h"
#include "core/export/kitsheet_html.h"
#include "exportsupport.h"

#include <QDir>

using namespace lir;
using test::calculateSizes;

namespace {

// The prices that the expected document was made with.
PriceLookup pricesOf(const QString& caseName)
{
    const QByteArray json =
        test::readFile(QStringLiteral(LIR_TEST_DATA "/export/") + caseName + QStringLiteral(".json"));
    return test::priceTableOf(QJsonDocument::fromJson(json).object()[QStringLiteral("prices")].toObject());
}

void expectGolden(const KitCalculator& calc, const QString& caseName)
{
    const QByteArray doc = kitSheetHtml(KitSheet::fromCalculator(calc), pricesOf(caseName), QLocale(QLocale::Russian));
    const QByteArray expected = test::readFile(QStringLiteral(LIR_TEST_DATA "/export/kit_") + caseName + QStringLiteral(".html"));
    SCOPED_TRACE(caseName.toStdString());
    test::expectSameDocument(doc, expected);
}

using KitExport = test::ExportTest;

} // namespace

TEST_F(KitExport, SheetsOfRealCalculationsMatchTheExpectedDocuments)
{
    TurnKit turn;
    calculateSizes(turn, 400, 500);
    ASSERT_FALSE(turn.lastCalculationFailed());
    expectGolden(turn, QStringLiteral("turn"));

    TiltKit tilt;
    calculateSizes(tilt, 700, 600);
    ASSERT_FALSE(tilt.lastCalculationFailed());
    expectGolden(tilt, QStringLiteral("tilt"));

    TiltTurnKit tt;
    tt.setProfilType(1);
    tt.setPolStvorki(1);
    tt.setKolKomlektov(2);
    tt.setRal(8017);
    tt.setProvetrivatel(true);
    calculateSizes(tt, 1400, 700);
    ASSERT_FALSE(tt.lastCalculationFailed());
    expectGolden(tt, QStringLiteral("tiltturn_wood"));
}

TEST_F(KitExport, HeaderFollowsTheInputsWhileKitLinesFollowTheLastCalculation)
{
    TurnKit turn;
    calculateSizes(turn, 400, 500);
    turn.setRal(1015);
    turn.setKolKomlektov(7);
    turn.setNazvSystemProfiles(1); // KBE AD, system 12/20-9
    turn.setFFH(1900);             // not calculated
    const KitSheet s = KitSheet::fromCalculator(turn);
    EXPECT_EQ(s.ral, 1015);
    EXPECT_EQ(s.kitCount, 7);
    EXPECT_EQ(s.profileSystem, QStringLiteral("12/20-9"));
    EXPECT_EQ(s.profileSystemName, QStringLiteral("KBE AD"));
    EXPECT_EQ(s.ffh, 400);
    EXPECT_EQ(s.lines.size(), 11);
    EXPECT_EQ(s.lines.at(0).quantity, 1);
    EXPECT_EQ(s.lines.at(1).designation, QStringLiteral("0483.00.01-11"));
    EXPECT_EQ(s.screws25.count, QStringLiteral("10"));
}

TEST_F(KitExport, ChangedInputsAreCalculatedBeforeTheSheetIsWritten)
{
    noSpreadsheet();
    test::ScopedWorkDir dir;
    TurnKit turn;
    calculateSizes(turn, 400, 500);
    turn.setKolKomlektov(7);
    turn.setFFH(1900);
    test::recorder().setNextFileName(dir.file(QStringLiteral("changed.html")));
    ExportButtonClick(turn, pricesOf(QStringLiteral("turn")));
    EXPECT_EQ(turn.LastFFH, 1900);
    EXPECT_EQ(turn.KitDesignation, QStringLiteral("ЛИР-6741-06МR100"));
    const KitSheet s = KitSheet::fromCalculator(turn);
    EXPECT_EQ(s.lines.at(0).quantity, 7);
    EXPECT_EQ(test::readFile(dir.file(QStringLiteral("changed.html"))),
              kitSheetHtml(s, pricesOf(QStringLiteral("turn")), environment().numberLocale()));

    // A change that fails the checks: its message, no dialog and no file.
    turn.setFFH(100);
    test::recorder().clear();
    ExportButtonClick(turn, pricesOf(QStringLiteral("turn")));
    EXPECT_EQ(test::recorder().errors(),
              QStringList{QStringLiteral("Неправильно задана высота для комплекта без верхнего и нижнего прижимов!\r"
                                         "Измените высоту в интервале 300 мм - 2300 мм")});
    EXPECT_EQ(test::recorder().shown().size(), 1u);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("changed.html")});
}

TEST_F(KitExport, WithoutASpreadsheetTheSheetIsAnHtmlFileChosenInTheDialog)
{
    noSpreadsheet();
    test::ScopedWorkDir dir;
    TiltKit tilt;
    calculateSizes(tilt, 700, 600);

    // Cancel writes nothing.
    test::recorder().setNextFileName(QString());
    ExportButtonClick(tilt, pricesOf(QStringLiteral("tilt")));
    ASSERT_EQ(test::recorder().shown().size(), 1u);
    EXPECT_EQ(test::recorder().shown()[0].kind, RecordingDialogs::Shown::SaveFile);
    EXPECT_EQ(test::recorder().shown()[0].text, QStringLiteral("*.htm (*html)"));
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());

    // A name without extension gets ".html".
    test::recorder().setNextFileName(dir.file(QStringLiteral("kit")));
    ExportButtonClick(tilt, pricesOf(QStringLiteral("tilt")));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("kit.html")});
    EXPECT_EQ(test::recorder().messages(),
              QStringList{QStringLiteral("Таблица сохранена в файле ") + QDir::toNativeSeparators(dir.file(QStringLiteral("kit.html")))});
    EXPECT_EQ(test::readFile(dir.file(QStringLiteral("kit.html"))), test::readFile(QStringLiteral(LIR_TEST_DATA "/export/kit_tilt.html")));
}

TEST_F(KitExport, WithASpreadsheetANewWorkbookIsOpenedThereWithoutDialog)
{
    test::ScopedWorkDir dir;
    QStringList opened;
    recordingSpreadsheet(dir, &opened);
    TurnKit turn;
    calculateSizes(turn, 400, 500);
    ExportButtonClick(turn, pricesOf(QStringLiteral("turn")));
    ExportButtonClick(turn, pricesOf(QStringLiteral("turn")));
    EXPECT_TRUE(test::recorder().shown().empty()); // no dialog
    ASSERT_EQ(opened.size(), 4);
    EXPECT_EQ(opened[0], QStringLiteral("/usr/bin/localc"));
    EXPECT_NE(opened[1], opened[3]); // a fresh file every time
    for (const QString& f : {opened[1], opened[3]}) {
        EXPECT_TRUE(f.endsWith(QStringLiteral(".xlsx")));
        EXPECT_TRUE(test::readFile(f).startsWith("PK")); // a zip container
    }
    EXPECT_TRUE(QDir(dir.path()).entryList({QStringLiteral("*.html")}, QDir::Files).isEmpty());

    // An application that cannot be started is an error; there is no HTML fallback.
    spreadsheetApplication().open = [](const QString&, const QString&) { throw Error(QStringLiteral("cannot start")); };
    EXPECT_THROW(ExportButtonClick(turn, pricesOf(QStringLiteral("turn"))), Error);
    EXPECT_TRUE(test::recorder().shown().empty());
}
