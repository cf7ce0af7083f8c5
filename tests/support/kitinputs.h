#pragma once

#include "core/calc/calctexts.h"
#include "core/calc/tiltkit.h"
#include "core/calc/tiltturnkit.h"
#include "core/calc/turnkit.h"
#include "support/testsupport.h"

#include <QJsonArray>
#include <QJsonObject>

#include <initializer_list>
#include <utility>
#include <vector>

// The inputs of one calculation of each calculator, set the way a person fills
// its window (hidden inputs left alone), for the rule tests and the tests of
// the command-line calculator that compare with them.
namespace lir::test {

// ---------------------------------------------------------------- turn
struct TurnInputs
{
    int complekt = 0; // 0 without clamps, 1 with clamps
    int ffh = 0;
    int ffb = 0;
    bool centre = true;
    int gh = 0; // typed only when off-centre
    int profil = 0;
    QString nazv = QStringLiteral("ARtec PAD");
    int rama = 0;
    int pol = 0;
    int weight = 0;
    bool handle = false;
    int tip = 0;
    bool vent = false;
    bool balcony = false;
    bool blocker = false;
    int count = 1;
};

inline void apply(TurnKit& k, const TurnInputs& in)
{
    k.setProfilType(in.profil);
    if (!k.isWooden())
        k.setNazvSystemProfiles(int(calctexts::nazvTurn.indexOf(in.nazv)));
    k.setRamaType(in.rama);
    k.setComplekt(in.complekt);
    k.setPolStvorki(in.pol);
    k.setRadioGroup1(in.weight);
    k.setKolKomlektov(in.count);
    k.setFFH(in.ffh);
    k.setFFB(in.ffb);
    k.setRuchkaVcentre(in.centre);
    if (!in.centre)
        k.setGH(in.gh);
    k.setRuchkaOkon(in.handle);
    k.setTipRuchki(in.tip);
    k.setProvetrivatel(in.vent);
    k.setBalkonnayaZaschelka(in.balcony);
    k.setBlokirator(in.blocker);
}

// ---------------------------------------------------------------- tilt-turn
struct TiltTurnInputs
{
    int h = 1400;
    int w = 700;
    int g = -1; // -1: "Ручка в центре"
    bool wooden = false;
    int weight = 0;
    int side = 0;
    int nazv = 0;
    int rama = 0;
    bool zapor = false;
    bool ventilator = false;
    bool microvent = false;
    bool balcony = false;
    bool handle = false;
    int count = 1;
};

inline void apply(TiltTurnKit& k, const TiltTurnInputs& in)
{
    k.setProfilType(in.wooden ? 1 : 0);
    k.setRuchkaVcentre(in.g < 0);
    k.setFFH(in.h);
    k.setFFB(in.w);
    if (in.g >= 0)
        k.setGH(in.g);
    k.setRadioGroup1(in.weight);
    k.setPolStvorki(in.side);
    if (!in.wooden) // the list is hidden for a wooden sash
        k.setNazvSystemProfiles(in.nazv);
    k.setRamaType(in.rama);
    k.setCbZapor(in.zapor);
    k.setProvetrivatel(in.ventilator);
    if (!in.wooden)
        k.setPlankaMicrovent(in.microvent);
    k.setCheckBox1(in.balcony);
    k.setRuchkaOkon(in.handle);
    k.setKolKomlektov(in.count);
}

// ---------------------------------------------------------------- tilt
struct TiltInputs
{
    int h = 700, w = 600;
    bool wood = false;
    int weight = 0; // RadioGroup1
    QString nazv = QStringLiteral("ARtec PAD");
    int rama = 0;
    bool handle = false;
    int tip = 0;
    bool vent = false;
    bool scissors = false;
    int count = 1;
};

inline void apply(TiltKit& k, const TiltInputs& in)
{
    k.setProfilType(in.wood ? 1 : 0);
    k.setKolKomlektov(in.count);
    if (!in.wood) {
        k.setNazvSystemProfiles(int(calctexts::nazvTilt.indexOf(in.nazv)));
        k.setRadioGroup1(in.weight);
    } else {
        k.setRamaType(in.rama);
    }
    k.setFFH(in.h);
    k.setFFB(in.w);
    k.setRuchkaOkon(in.handle);
    if (in.handle)
        k.setTipRuchki(in.tip);
    k.setProvetrivatel(in.vent);
    k.setCheckBox1(in.scissors);
}

// Runs "РАСЧЕТ" and returns the error boxes it showed.
inline QStringList calculate(KitCalculator& k)
{
    recorder().clear();
    k.RashetButtonClick();
    return recorder().errors();
}

// Messages that the rules of more than one system show.
inline const QString msgHandle = QStringLiteral("Указаная высота не применяется!\rРекомендуется изменить высоту");
inline const QString msgHandleDistance =
    QStringLiteral("Указаная высота ручки не применяется!\rРекомендуется изменить высоту ручки");
inline const QString msgVentilator = QStringLiteral("Проветриватель ступенчатый не применим к данной комплектации");
inline const QString msgBalcony = QStringLiteral("Балконная защелка не применима к данной комплектации");

// Sets the inputs as a person does and runs "РАСЧЕТ"; returns the error boxes it showed.
template <class Kit, class Inputs>
QStringList run(Kit& k, const Inputs& in)
{
    apply(k, in);
    return calculate(k);
}

// The quantity the grid shows on the kit line of this designation, 0 where
// there is none.
inline int quantityOf(const KitCalculator& k, const QString& designation)
{
    for (int r = 1; r <= k.LineCount; ++r)
        if (k.gridCell(r, 0) == designation)
            return k.gridCell(r, 3).toInt();
    return 0;
}

// Whether the grid shows these quantities (0: no such line); a failure names
// every line that differs.
inline ::testing::AssertionResult showsQuantities(const KitCalculator& k,
                                                  std::initializer_list<std::pair<const char16_t*, int>> lines)
{
    QStringList wrong;
    for (const auto& [designation, expected] : lines) {
        const int shown = quantityOf(k, QString::fromUtf16(designation));
        if (shown != expected)
            wrong << QStringLiteral("%1: %2, not %3").arg(QString::fromUtf16(designation)).arg(shown).arg(expected);
    }
    if (wrong.isEmpty())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << wrong.join(QStringLiteral("; ")).toStdString();
}

// The grid rows 1 .. up to the last non-empty one.
inline std::vector<GridRow> gridRows(const KitCalculator& k)
{
    int last = 0;
    for (int r = 1; r < k.gridRowCount(); ++r)
        for (const QString& c : k.gridRow(r))
            if (!c.isEmpty())
                last = r;
    std::vector<GridRow> rows;
    for (int r = 1; r <= last; ++r)
        rows.push_back(k.gridRow(r));
    return rows;
}

// The grid and the messages of a command-line answer.
inline std::vector<GridRow> gridRows(const QJsonObject& answer)
{
    std::vector<GridRow> rows;
    for (const QJsonValue& row : answer.value(QStringLiteral("grid")).toArray()) {
        GridRow g;
        for (int col = 0; col < 6; ++col)
            g[size_t(col)] = row.toArray().at(col).toString();
        rows.push_back(g);
    }
    return rows;
}
inline QStringList messages(const QJsonObject& answer)
{
    QStringList out;
    for (const QJsonValue& m : answer.value(QStringLiteral("messages")).toArray())
        out << m.toString();
    return out;
}

} // namespace lir::test
