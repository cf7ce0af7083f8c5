// The command-line calculator drives the same rules as the windows: each line
// gives the grid, the messages and the designation that the same inputs give
// when a person sets them in the calculator.
#include "cli/kit/kitcli.h"
#include "support/kitinputs.h"
#include "support/testsupport.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <vector>

using lir::GridRow;
using lir::TiltKit;
using lir::TurnKit;
using lir::test::apply;
using lir::test::calculate;
using lir::test::gridRows;
using lir::test::messages;
using lir::test::TiltInputs;
using lir::test::TiltTurnInputs;
using lir::test::TurnInputs;

TEST(TurnCli, SameGridAsTheCalculator)
{
    struct Case
    {
        const char* json;
        TurnInputs in;
    };
    TurnInputs a{.ffh = 400, .ffb = 500, .handle = true, .tip = 1, .count = 10};
    TurnInputs b{.complekt = 1, .ffh = 1000, .ffb = 800, .centre = false, .gh = 280};
    TurnInputs c{.ffh = 600, .ffb = 500, .profil = 1, .pol = 1, .blocker = true};
    TurnInputs d{.complekt = 1, .ffh = 300, .ffb = 600};
    const Case cases[] = {
        {R"({"calculator":"6741","FFH":400,"FFB":500,"RuchkaOkon":true,"TipRuchki":"ЛИР-1938.00","KolKomlektov":10})", a},
        {R"({"calculator":"6741","Complekt":1,"FFH":1000,"FFB":800,"RuchkaVcentre":false,"GH":280})", b},
        {R"({"calculator":"6741","ProfilType":"деревянный","PolStvorki":"Левое","FFH":600,"FFB":500,"blokirator":true})",
         c},
        {R"({"calculator":"6741","Complekt":1,"FFH":300,"FFB":600})", d},
    };
    for (const Case& cs : cases) {
        SCOPED_TRACE(cs.json);
        lir::cli::KitCli cli;
        const QJsonObject out = QJsonDocument::fromJson(cli.processLine(QByteArray(cs.json))).object();
        ASSERT_FALSE(out.contains(QStringLiteral("error"))) << out.value(QStringLiteral("error")).toString().toStdString();

        TurnKit k;
        apply(k, cs.in);
        const QStringList shown = calculate(k);
        const std::vector<GridRow> cliGrid = gridRows(out);
        EXPECT_EQ(cliGrid, gridRows(k));
        EXPECT_EQ(out.value(QStringLiteral("ok")).toBool(), !k.lastCalculationFailed());
        EXPECT_EQ(out.value(QStringLiteral("LIRL")).toString(), k.lirlText());
        EXPECT_EQ(out.value(QStringLiteral("KitDesignation")).toString(), k.KitDesignation);
        EXPECT_EQ(messages(out), shown);
        EXPECT_EQ(cliGrid.empty(), !shown.isEmpty());
    }
}

TEST(TiltCli, CommandLineGivesTheWindowsGrid)
{
    struct Case
    {
        const char* json;
        TiltInputs in;
    };
    TiltInputs wood;
    wood.wood = true;
    wood.h = 1200;
    wood.w = 2000;
    wood.rama = 1;
    wood.handle = true;
    wood.count = 4;
    TiltInputs vent61;
    vent61.wood = false;
    vent61.h = 900;
    vent61.w = 700;
    vent61.vent = true;
    vent61.nazv = u"Thyssen"_qs;
    TiltInputs thyssen = vent61;
    thyssen.vent = false;
    thyssen.scissors = true;
    const Case cases[] = {
        {R"({"calculator":"6741otkid","FFH":700,"FFB":600})", TiltInputs{}},
        {R"({"calculator":"6741otkid","ProfilType":"деревянный","cb_ramaType":"Еврофальц 20/8",)"
         R"("FFH":1200,"FFB":2000,"RuchkaOkon":true,"KolKomlektov":4})",
         wood},
        {R"({"calculator":"6741otkid","ProfilType":"ПВХ","NazvSystemProfiles":"Thyssen",)"
         R"("FFH":900,"FFB":700,"RuchkaOkon":false,"KolKomlektov":1,"Provetrivatel":true})",
         vent61},
        {R"({"calculator":"6741otkid","Provetrivatel":false,"CheckBox1":true})", thyssen},
        {R"({"calculator":"6741otkid","FFH":1301})",
         [&] {
             TiltInputs i = thyssen;
             i.h = 1301;
             return i;
         }()},
    };
    lir::cli::KitCli cli;
    TiltKit k;
    int kits = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.json);
        const QJsonObject out = QJsonDocument::fromJson(cli.processLine(QByteArray(c.json))).object();
        apply(k, c.in);
        EXPECT_EQ(messages(out), calculate(k));
        EXPECT_EQ(out.value(u"ok"_qs).toBool(), !k.lastCalculationFailed());
        EXPECT_EQ(out.value(u"LIRL"_qs).toString(), k.lirlText());
        const std::vector<GridRow> cliGrid = gridRows(out);
        EXPECT_EQ(cliGrid, gridRows(k));
        kits += cliGrid.empty() ? 0 : 1;
        EXPECT_EQ(out.value(u"state"_qs).toObject().value(u"Provetrivatel"_qs).toBool(), k.provetrivatel());
    }
    EXPECT_EQ(kits, 3);
}

TEST(TiltTurnCli, CommandLineGivesTheSameGrid)
{
    lir::cli::KitCli cli;
    lir::TiltTurnKit k;
    struct Case
    {
        QByteArray line;
        TiltTurnInputs in;
    };
    TiltTurnInputs offCentre;
    offCentre.h = 1200;
    offCentre.g = 220;
    offCentre.wooden = true;
    offCentre.rama = 1;
    offCentre.side = 1;
    TiltTurnInputs zapor;
    zapor.h = 2000;
    zapor.w = 900;
    zapor.zapor = true;
    zapor.nazv = 14;
    zapor.balcony = true;
    zapor.count = 2;
    TiltTurnInputs refused;
    refused.h = 700;
    refused.ventilator = true;
    const std::vector<Case> cases = {
        {R"({"calculator":"6742","FFH":1400,"FFB":700})", TiltTurnInputs{}},
        {R"({"calculator":"6742","ProfilType":"деревянный","cb_ramaType":"Еврофальц 20/8","PolStvorki":"Левое","FFH":1200,"FFB":700,"RuchkaVcentre":false,"GH":220})",
         offCentre},
        {R"({"calculator":"6742","ProfilType":"ПВХ","PolStvorki":"Правое","RuchkaVcentre":true,"NazvSystemProfiles":"Thyssen","cb_zapor":true,"CheckBox1":true,"KolKomlektov":2,"FFH":2000,"FFB":900})",
         zapor},
        {R"({"calculator":"6742","NazvSystemProfiles":"ARtec PAD","cb_zapor":false,"CheckBox1":false,"KolKomlektov":1,"FFH":700,"FFB":700,"Provetrivatel":true})",
         refused},
    };
    for (const Case& c : cases) {
        const QJsonObject out = QJsonDocument::fromJson(cli.processLine(c.line)).object();
        apply(k, c.in);
        const QStringList errors = calculate(k);
        ASSERT_EQ(out.value(QStringLiteral("ok")).toBool(), errors.isEmpty()) << c.line.toStdString();
        EXPECT_EQ(messages(out), errors);
        EXPECT_EQ(out.value(QStringLiteral("KitDesignation")).toString(), k.KitDesignation);
        EXPECT_EQ(gridRows(out), gridRows(k)) << c.line.toStdString();
    }
}
