// A person's change and a change from code: which inputs each window has,
// which of them a person can reach at a given moment, what a click into them
// runs, and that an input a person cannot reach stays as it was.
#include "core/calc/calctexts.h"
#include "core/calc/tiltkit.h"
#include "core/calc/tiltturnkit.h"
#include "core/calc/turnkit.h"
#include "support/testsupport.h"

#include <array>
#include <map>

using namespace lir;
using In = KitCalculator::Input;

namespace {

const In allInputs[] = {In::KolKomlektov, In::RAL, In::ProfilType, In::Complekt, In::CbZapor, In::FFH, In::FFB,
                        In::GH, In::RuchkaVcentre, In::PolStvorki, In::NazvSystemProfiles, In::RamaType,
                        In::RuchkaOkon, In::TipRuchki, In::Provetrivatel, In::BalkonnayaZaschelka,
                        In::Blokirator, In::PlankaMicrovent, In::CheckBox1, In::RadioGroup1};

// Shows the handle-type drawing, so that a click which shows the sash again is seen.
void hideSash(KitCalculator& k)
{
    k.ImageUpdate();
    k.Panel2Click();
    ASSERT_FALSE(k.image1Visible());
}

} // namespace

TEST(UserSet, EachWindowHasItsOwnInputs)
{
    // The inputs only some windows have; all others are in every window.
    const std::map<In, std::array<bool, 3>> some = {
        //                    turn   tilt-turn tilt
        {In::Complekt, {true, false, false}},
        {In::CbZapor, {false, true, false}},
        {In::RuchkaVcentre, {true, true, false}},
        {In::PolStvorki, {true, true, false}},
        {In::BalkonnayaZaschelka, {true, false, false}},
        {In::Blokirator, {true, false, false}},
        {In::PlankaMicrovent, {false, true, false}},
        {In::CheckBox1, {false, true, true}},
    };
    TurnKit turn;
    TiltTurnKit tiltTurn;
    TiltKit tilt;
    const KitCalculator* calcs[] = {&turn, &tiltTurn, &tilt};
    for (In in : allInputs) {
        const auto it = some.find(in);
        for (size_t c = 0; c < 3; ++c)
            EXPECT_EQ(calcs[c]->hasInput(in), it == some.end() || it->second[c]) << int(in) << " in " << c;
    }
}

TEST(UserSet, HiddenInputsAreRefusedAndStayAsTheyWere)
{
    TurnKit k;
    ASSERT_TRUE(k.userSet(In::NazvSystemProfiles, 14)); // Thyssen
    ASSERT_TRUE(k.userSet(In::RadioGroup1, 1));
    EXPECT_EQ(k.systemProfilesText(), QStringLiteral("12/21-13"));
    // PVC: no rebate type, no blocker, no handle type before the handle.
    EXPECT_FALSE(k.userSet(In::RamaType, 1));
    EXPECT_EQ(k.ramaType(), 0);
    EXPECT_FALSE(k.userSet(In::Blokirator, 1));
    EXPECT_FALSE(k.blokirator());
    EXPECT_FALSE(k.userSet(In::TipRuchki, 1));
    EXPECT_EQ(k.tipRuchki(), 0);
    ASSERT_TRUE(k.userSet(In::RuchkaOkon, 1));
    EXPECT_TRUE(k.userSet(In::TipRuchki, 1));
    EXPECT_EQ(k.tipRuchki(), 1);

    // Wood: the profile-system list and the weight are hidden.
    ASSERT_TRUE(k.userSet(In::ProfilType, 1));
    EXPECT_FALSE(k.userSet(In::NazvSystemProfiles, 1));
    EXPECT_EQ(k.nazvSystemProfiles(), 14);
    EXPECT_EQ(k.systemProfilesText(), QStringLiteral("12/18-9"));
    EXPECT_FALSE(k.userChange(In::RadioGroup1, 0));
    EXPECT_EQ(k.radioGroup1(), 1);
    EXPECT_TRUE(k.userSet(In::RamaType, 1));
    EXPECT_TRUE(k.userSet(In::Blokirator, 1));
    EXPECT_TRUE(k.blokirator());

    TiltTurnKit tt;
    EXPECT_TRUE(tt.userSet(In::PlankaMicrovent, 1));
    ASSERT_TRUE(tt.userSet(In::ProfilType, 1)); // wood takes the strip away and hides it
    EXPECT_FALSE(tt.userSet(In::PlankaMicrovent, 1));
    EXPECT_FALSE(tt.plankaMicrovent());

    // An input the window lacks is refused as well.
    EXPECT_FALSE(tt.userSet(In::Blokirator, 1));
    EXPECT_FALSE(k.userSet(In::CbZapor, 1));
}

TEST(UserSet, HandleHeightOnlyOffCentreAndNeverInTheTiltWindow)
{
    TiltTurnKit k;
    ASSERT_TRUE(k.userSet(In::FFH, 1400));
    EXPECT_FALSE(k.userSet(In::GH, 300));
    EXPECT_EQ(k.gh(), 700);
    ASSERT_TRUE(k.userSet(In::RuchkaVcentre, 0));
    EXPECT_TRUE(k.userSet(In::GH, 300));
    EXPECT_EQ(k.gh(), 300);

    TiltKit tilt;
    ASSERT_TRUE(tilt.userSet(In::FFB, 900));
    EXPECT_FALSE(tilt.userSet(In::RuchkaVcentre, 0));
    EXPECT_FALSE(tilt.userSet(In::GH, 100));
    // Even its hidden box unchecked by code leaves the tilt window's handle where it is.
    tilt.setRuchkaVcentre(false);
    EXPECT_FALSE(tilt.inputAvailable(In::GH));
    EXPECT_EQ(tilt.gh(), 450);
}

TEST(UserSet, AClickIntoMostInputsShowsTheSashAgain)
{
    TurnKit k;
    for (In in : {In::KolKomlektov, In::RAL, In::FFH, In::FFB, In::PolStvorki, In::NazvSystemProfiles}) {
        hideSash(k);
        EXPECT_TRUE(k.userClick(in));
        EXPECT_TRUE(k.image1Visible()) << int(in);
        EXPECT_FALSE(k.image3Visible()) << int(in);
    }
    // Their own handlers, or nothing, for the others.
    for (In in : {In::ProfilType, In::Complekt, In::RamaType, In::TipRuchki, In::RadioGroup1, In::Provetrivatel}) {
        hideSash(k);
        k.userClick(in);
        EXPECT_FALSE(k.image1Visible()) << int(in);
    }
    // A disabled input takes no click at all.
    hideSash(k);
    EXPECT_FALSE(k.userClick(In::GH));
    EXPECT_FALSE(k.image1Visible());
    // A box shows the sash through its value: only a real change runs it.
    EXPECT_TRUE(k.userSet(In::Provetrivatel, 0));
    EXPECT_FALSE(k.image1Visible());
    EXPECT_TRUE(k.userSet(In::Provetrivatel, 1));
    EXPECT_TRUE(k.image1Visible());

    // The rebate type shows the sash in the tilt window only.
    TiltKit tilt;
    tilt.setInput(In::ProfilType, 1);
    hideSash(tilt);
    EXPECT_TRUE(tilt.userSet(In::RamaType, 1));
    EXPECT_TRUE(tilt.image1Visible());
    TiltTurnKit tt;
    tt.setInput(In::ProfilType, 1);
    hideSash(tt);
    EXPECT_TRUE(tt.userSet(In::RamaType, 1));
    EXPECT_FALSE(tt.image1Visible());
}

TEST(UserSet, ChangesFromCodeReachHiddenInputsAndListsRunNoHandler)
{
    TurnKit k;
    k.setInput(In::ProfilType, 1);
    // Set although hidden; the list's choice from code runs no handler.
    k.setInput(In::NazvSystemProfiles, 14);
    k.setInput(In::RadioGroup1, 1);
    EXPECT_EQ(k.inputValue(In::NazvSystemProfiles), 14);
    EXPECT_EQ(k.inputValue(In::RadioGroup1), 1);
    EXPECT_EQ(k.systemProfilesText(), QStringLiteral("12/18-9"));
    k.setInput(In::ProfilType, 0); // back on PVC the name's system shows
    EXPECT_EQ(k.systemProfilesText(), QStringLiteral("12/21-13"));
    k.setInput(In::NazvSystemProfiles, 1); // "KBE AD", from code: no handler
    EXPECT_EQ(k.systemProfilesText(), QStringLiteral("12/21-13"));
    EXPECT_TRUE(k.userChange(In::NazvSystemProfiles, 0)); // a person's choice runs it
    EXPECT_EQ(k.systemProfilesText(), QStringLiteral("12/20-13"));

    // A radio group and a box from code run their handlers.
    k.setInput(In::Complekt, 1);
    k.setInput(In::Complekt, 0);
    EXPECT_EQ(k.ffbMaxLength(), 3);
    k.setInput(In::FFH, 1001);
    k.setInput(In::RuchkaVcentre, 0);
    k.setInput(In::GH, 300);
    k.setInput(In::RuchkaVcentre, 1);
    EXPECT_EQ(k.gh(), 500);
    EXPECT_EQ(k.inputValue(In::Complekt), 0);
    EXPECT_EQ(k.inputItems(In::Complekt), lir::calctexts::complektItems);
}

TEST(UserSet, TypingIntoTheKitDesignation)
{
    TurnKit turn;
    EXPECT_FALSE(turn.userSetLirl(QStringLiteral("x"))); // hidden before the first calculation
    turn.RashetButtonClick();
    EXPECT_TRUE(turn.userSetLirl(QStringLiteral("ЛИР-свой")));
    EXPECT_EQ(turn.lirlText(), QStringLiteral("ЛИР-свой"));
    TiltTurnKit tt;
    tt.RashetButtonClick();
    EXPECT_FALSE(tt.userSetLirl(QStringLiteral("x"))); // read-only there
    EXPECT_EQ(tt.lirlText(), QString());
}
