#include "core/calc/tiltturnkit.h"

#include "core/calc/calctexts.h"
#include "core/calc/tiltturnmessages.h"

#include <QtGlobal>

#include <algorithm>
#include <array>

namespace lir {

namespace t = calctexts;
namespace msg = tiltturnmessages;

namespace {

// Rows of the parts table, counted from 1 as the kit vectors count them.
enum Row : int {
    Zasov440 = 1,
    Zasov620 = 2,
    Zasov800 = 3,
    Zasov1300A = 4,
    Zasov1300 = 5,
    Corner = 6,
    CornerSmall = 7,
    Ext500 = 8,
    Ext250 = 9,
    Rail280 = 10,
    Rail460 = 11,
    Rail550 = 12,
    Rail800 = 13,
    Rail1050 = 14,
    Middle800 = 15,
    Middle1300A = 16,
    Middle1300 = 17,
    Middle1800 = 18,
    Bracket280 = 19,
    Bracket550 = 20,
    Bracket800 = 21,
    HingeTop = 22,
    HingeSash = 23,
    HingeFrame = 24,
    CoverB1 = 25,
    CoverH1 = 27,
    CoverH3 = 29,
    Fiksator = 30,
    Striker = 31,
    StrikerTiltTurn = 32,
    Blocker = 33,
    BlockerStop = 34,
    Ventilator = 35,
    VentilatorCatch = 36,
    MicroventStrip = 37,
    BalconyLatch = 38,
    Shim = 39,
    Handle = 40,
    ZaporLock = 41,
    ZaporStrip = 42,
};

constexpr int VectorLength = 40; // rows set by fill_the_komplect6742

struct HeightClass
{
    int lo, hi;
    int digit;
    bool letterA; // height class 3А
    int bolt;
    int ext500;
    int middle; // middle lock row, 0 for none
    int fiksator;
    int blocker; // Блокиратор and its stop, each
    int striker;
};

// Height classes in the order of the kit table: 0, 1, 2, 3А, 3, 4.
constexpr std::array<HeightClass, 6> heightClasses{{
    {440, 620, 0, false, Zasov440, 0, 0, 1, 0, 2},
    {621, 800, 1, false, Zasov620, 0, 0, 0, 1, 2},
    {801, 1300, 2, false, Zasov800, 0, Middle800, 0, 1, 5},
    {1301, 1500, 3, true, Zasov1300A, 0, Middle1300A, 0, 1, 7},
    {1501, 1800, 3, false, Zasov1300, 0, Middle1300, 0, 1, 7},
    {1801, 2300, 4, false, Zasov800, 2, Middle1800, 0, 1, 8},
}};

struct WidthClass
{
    int lo, hi;
    int corner;
    int cornerSmall;
    int rail;
    int bracket;
    int ext500;
    int striker;
};

constexpr std::array<WidthClass, 6> widthClasses{{
    {280, 385, 1, 1, Rail280, Bracket280, 0, 0},
    {386, 460, 2, 0, Rail280, Bracket280, 0, 0},
    {461, 550, 2, 0, Rail460, Bracket280, 0, 0},
    {551, 800, 2, 0, Rail550, Bracket550, 0, 0},
    {801, 1050, 2, 0, Rail800, Bracket800, 1, 2},
    {1051, 1300, 2, 0, Rail1050, Bracket800, 1, 2},
}};

// Off-centre handle: the near distance picks the bolt, the far distance the
// extensions that bring the locking points to the handle.
struct FarWindow
{
    int lo, hi;
    int ext500, ext250;
};

struct NearClass
{
    int lo, hi;
    int bolt;
    int ext500; // extensions that come with the bolt itself
    int windowCount;
    std::array<FarWindow, 7> windows;
};

constexpr std::array<NearClass, 5> nearClasses{{
    {220, 310, Zasov440, 0, 7,
     {{{220, 310, 0, 0}, {470, 560, 0, 1}, {720, 810, 1, 0}, {970, 1060, 1, 1},
       {1220, 1310, 2, 0}, {1470, 1560, 2, 1}, {1720, 1810, 3, 0}}}},
    {311, 399, Zasov620, 0, 7,
     {{{310, 400, 0, 0}, {560, 650, 0, 1}, {810, 900, 1, 0}, {1060, 1150, 1, 1},
       {1310, 1400, 2, 0}, {1560, 1650, 2, 1}, {1810, 1900, 3, 0}}}},
    {400, 650, Zasov800, 0, 6,
     {{{400, 650, 0, 0}, {651, 900, 0, 1}, {901, 1150, 1, 0}, {1151, 1400, 1, 1},
       {1401, 1650, 2, 0}, {1651, 1900, 2, 1}}}},
    {651, 900, Zasov1300, 0, 4,
     {{{651, 900, 0, 0}, {901, 1150, 0, 1}, {1151, 1400, 1, 0}, {1401, 1650, 1, 1}}}},
    {901, 1150, Zasov800, 2, 2, {{{901, 1150, 0, 0}, {1151, 1400, 0, 1}}}},
}};

template <class Classes> int classOf(const Classes& classes, int size)
{
    for (size_t i = 0; i < classes.size(); ++i)
        if (size >= classes[i].lo && size <= classes[i].hi)
            return int(i);
    return -1;
}

// The kit code of a height class and a width class. Without a width class the
// width digit is left out, so that the code matches no kit.
QString kitCode(int hc, int wc)
{
    if (hc == 0 && wc == 0)
        return msg::kitSmallest();
    const HeightClass& h = heightClasses[size_t(hc)];
    QString code = msg::kitPrefix() + QString::number(h.digit);
    if (wc >= 0)
        code += QString::number(wc);
    if (h.letterA)
        code += msg::kitLetterA();
    return code + msg::kitM();
}

struct StandardKit
{
    QString code;
    QVector<int> quantities; // rows 1..40
};

// The 36 standard kits, in the order of the kit table. Every quantity vector is
// the sum of its height-class part, its width-class part and the fixed part.
const QVector<StandardKit>& standardKits()
{
    static const QVector<StandardKit> kits = [] {
        QVector<StandardKit> all;
        for (int hc = 0; hc < int(heightClasses.size()); ++hc) {
            const HeightClass& h = heightClasses[size_t(hc)];
            for (int wc = 0; wc < int(widthClasses.size()); ++wc) {
                const WidthClass& w = widthClasses[size_t(wc)];
                QVector<int> q(VectorLength, 0);
                auto at = [&q](int row) -> int& { return q[row - 1]; };
                at(h.bolt) += 1;
                at(Ext500) += h.ext500;
                if (h.middle != 0)
                    at(h.middle) += 1;
                at(Fiksator) += h.fiksator;
                at(Blocker) += h.blocker;
                at(BlockerStop) += h.blocker;
                at(Striker) += h.striker;

                at(Corner) += w.corner;
                at(CornerSmall) += w.cornerSmall;
                at(w.rail) += 1;
                at(w.bracket) += 1;
                at(Ext500) += w.ext500;
                at(Striker) += w.striker;

                for (int r = HingeTop; r <= CoverH3; ++r)
                    at(r) += 1;
                at(StrikerTiltTurn) += 1;
                all.append({kitCode(hc, wc), q});
            }
        }
        return all;
    }();
    return kits;
}

struct Variant
{
    QString suffix;
    QString marking;
};

// Striker, tilt-turn striker, blocker stop, micro-ventilation strip, ventilator
// catch, shim and tilt-turn strip by group of PVC profile systems.
struct PvcVariants
{
    int row;
    Variant byGroup[8]; // groups A..H
};

const QVector<PvcVariants>& pvcVariants()
{
    static const QVector<PvcVariants> v = {
        {31, {{QStringLiteral("-11"), QStringLiteral("009911")}, {QStringLiteral("-00"), QStringLiteral("009900")}, {QStringLiteral("-10"), QStringLiteral("009910")}, {QStringLiteral("-10"), QStringLiteral("009910")}, {QStringLiteral("-00"), QStringLiteral("009900")}, {QStringLiteral("-10"), QStringLiteral("009910")}, {QStringLiteral("-12"), QStringLiteral("009912")}, {QStringLiteral("-14"), QStringLiteral("009914")}}},
        {32, {{QStringLiteral("-10"), QStringLiteral("13")}, {QStringLiteral("-00"), QStringLiteral("9")}, {QStringLiteral("-10"), QStringLiteral("13")}, {QStringLiteral("-10"), QStringLiteral("13")}, {QStringLiteral("-00"), QStringLiteral("9")}, {QStringLiteral("-10"), QStringLiteral("13")}, {QStringLiteral("-10"), QStringLiteral("13")}, {QStringLiteral("-14"), QStringLiteral("001214")}}},
        {34, {{QStringLiteral("-10"), QStringLiteral("21.10")}, {QStringLiteral("-00"), QStringLiteral("21.00")}, {QStringLiteral("-10"), QStringLiteral("21.10")}, {QStringLiteral("-10"), QStringLiteral("21.10")}, {QStringLiteral("-00"), QStringLiteral("21.00")}, {QStringLiteral("-10"), QStringLiteral("21.10")}, {QStringLiteral("-10"), QStringLiteral("21.10")}, {QStringLiteral("-14"), QStringLiteral("012114")}}},
        {37, {{QStringLiteral("-10"), QStringLiteral("01.10")}, {QStringLiteral("-00"), QStringLiteral("01.00")}, {QStringLiteral("-10"), QStringLiteral("01.10")}, {QStringLiteral("-11"), QStringLiteral("01.11")}, {QStringLiteral("-00"), QStringLiteral("01.00")}, {QStringLiteral("-10"), QStringLiteral("01.10")}, {QStringLiteral("-10"), QStringLiteral("01.10")}, {QStringLiteral("-14"), QStringLiteral("000114")}}},
        {36, {{QStringLiteral("-01"), QStringLiteral("00301")}, {QStringLiteral("-02"), QStringLiteral("00302")}, {QStringLiteral("-01"), QStringLiteral("00301")}, {QStringLiteral("-02"), QStringLiteral("00302")}, {QStringLiteral("-00"), QStringLiteral("00300")}, {QStringLiteral("-02"), QStringLiteral("00302")}, {QStringLiteral("-02"), QStringLiteral("00302")}, {QStringLiteral("-14"), QStringLiteral("000314")}}},
        {39, {{QStringLiteral("-12"), QStringLiteral("001412")}, {QStringLiteral("-00"), QStringLiteral("001400")}, {QStringLiteral("-10"), QStringLiteral("001410")}, {QStringLiteral("-11"), QStringLiteral("001411")}, {QStringLiteral("-01"), QStringLiteral("001401")}, {QStringLiteral("-13"), QStringLiteral("001413")}, {QStringLiteral("-15"), QStringLiteral("001415")}, {QStringLiteral("-14"), QStringLiteral("001414")}}},
        {42, {{QStringLiteral("-11"), QStringLiteral("011311")}, {QStringLiteral("-00"), QStringLiteral("011300")}, {QStringLiteral("-10"), QStringLiteral("011310")}, {QStringLiteral("-10"), QStringLiteral("011310")}, {QStringLiteral("-00"), QStringLiteral("011300")}, {QStringLiteral("-10"), QStringLiteral("011310")}, {QStringLiteral("-12"), QStringLiteral("011312")}, {QStringLiteral("-14"), QStringLiteral("011314")}}},
    };
    return v;
}

// Group A..H (0..7) of each profile-system name of this window's list.
constexpr std::array<int, 15> groupOfNazv{0, 1, 2, 0, 1, 2, 3, 4, 1, 1, 3, 5, 6, 6, 7};

// The same rows for a wooden sash, by rebate type of the frame.
struct WoodVariants
{
    int row;
    QString euro18; // "Еврофальц 18/8", suffix "-20"
    QString euro20; // "Еврофальц 20/8", suffix "-21"
};

const QVector<WoodVariants>& woodVariants()
{
    static const QVector<WoodVariants> v = {
        {31, QStringLiteral("009920"), QStringLiteral("009921")},
        {32, QStringLiteral("011220"), QStringLiteral("011221")},
        {34, QStringLiteral("012120"), QStringLiteral("012121")},
        {36, QStringLiteral("000320"), QStringLiteral("000321")},
        {39, QStringLiteral("001420"), QStringLiteral("001421")},
        {42, QStringLiteral("011320"), QStringLiteral("011321")},
    };
    return v;
}

// Brackets and handle by rebate system (index of SystemProfiles).
struct SystemTexts
{
    QChar bracketDigit;
    QString bracketMarking;
    QString handleSuffix;
};

SystemTexts systemTexts(int system, int nazv)
{
    switch (system) {
    case t::Sys20_9:
        return {QLatin1Char('4'), QStringLiteral(" 20-9"), QStringLiteral("-01")};
    case t::Sys20_13:
        // KBE Expert takes the handle of the 21-13 system.
        return {QLatin1Char('5'), QStringLiteral(" 20-13"),
                nazv == 13 ? QStringLiteral("-03") : QStringLiteral("-02")};
    case t::Sys21_13:
        return {QLatin1Char('6'), QStringLiteral(" 21-13"), QStringLiteral("-03")};
    default:
        break;
    }
    return {QLatin1Char('2'), QStringLiteral(" (18-9)"), QStringLiteral("-01")};
}

} // namespace

TiltTurnKit::TiltTurnKit(QObject* parent) : KitCalculator(Kind::TiltTurn, GridRows, parent)
{
    init();
}

void TiltTurnKit::setCbZapor(bool on)
{
    changeInput(m_cbZapor, on);
}

void TiltTurnKit::setPlankaMicrovent(bool on)
{
    changeInput(m_plankaMicrovent, on, [this] { ImageUpdate(); });
}

void TiltTurnKit::setCheckBox1(bool on)
{
    changeInput(m_checkBox1, on, [this] { ImageUpdate(); });
}

void TiltTurnKit::profileTypeExtras()
{
    // A wooden sash takes no micro-ventilation strip.
    setPlankaMicrovent(false);
}

void TiltTurnKit::fill_the_komplect6742(const QVector<int>& q)
{
    fillQuantities(q);
    if (m_cbZapor) {
        row(ZaporLock).Quantity = 1;
        row(ZaporStrip).Quantity = 1;
    }
}

void TiltTurnKit::fill_default_value_screw()
{
    KitCalculator::fill_default_value_screw();
    // The lower sash hinge takes more screws in wood.
    row(HingeSash).Screws40 = isWooden() ? 6 : 3;
}

QString TiltTurnKit::orderType() const
{
    return t::typeTiltTurn + t::profilTypes.at(profilType());
}

QString TiltTurnKit::orderDopKomplekt() const
{
    QString s;
    if (ruchkaOkon())
        s += t::dopHandle + t::tipRuchki.at(tipRuchki()) + t::dopComma;
    if (provetrivatel())
        s += t::dopVentilator;
    if (m_plankaMicrovent)
        s += t::dopMicrovent;
    if (m_checkBox1)
        s += t::dopBalcony;
    return s;
}

PartsTable TiltTurnKit::catalogue() const
{
    // Designation, name, marking, quantity, 4×25 and 4×40 screws per piece.
    // Row 23's 4×40 screws are those of a PVC sash; fill_default_value_screw
    // gives a wooden sash its own.
    static const PartsTable table = {
        {QStringLiteral("6742.01.00"), QStringLiteral("Засов 440"), QStringLiteral("440-620"), 0, 0, 0},
        {QStringLiteral("6742.01.00-01"), QStringLiteral("Засов 620"), QStringLiteral("621-800"), 0, 3, 0},
        {QStringLiteral("6742.01.00-02"), QStringLiteral("Засов 800"), QStringLiteral("801-1300"), 0, 4, 0},
        {QStringLiteral("6742.01.00-03А"), QStringLiteral("Засов 1300А"), QStringLiteral("1301-1500"), 0, 6, 0},
        {QStringLiteral("6742.01.00-03"), QStringLiteral("Засов 1300"), QStringLiteral("1501-1800"), 0, 6, 0},
        {QStringLiteral("6742.02.00"), QStringLiteral("Угловой переключатель"), QStringLiteral("-"), 0, 4, 0},
        {QStringLiteral("6742.02.00-05"), QStringLiteral("Угловой переключатель малый"), QStringLiteral("02.05"), 0, 3, 0},
        {QStringLiteral("6742.03.00"), QStringLiteral("Удлинитель 500"), QStringLiteral("500 (250)"), 0, 3, 0},
        {QStringLiteral("6742.03.00-01"), QStringLiteral("Удлинитель 250"), QStringLiteral("500 (250)"), 0, 2, 0},
        {QStringLiteral("6742.04.00"), QStringLiteral("Шина 280"), QStringLiteral("280-460"), 0, 0, 0},
        {QStringLiteral("6742.04.00-01"), QStringLiteral("Шина 460"), QStringLiteral("461-550"), 0, 0, 0},
        {QStringLiteral("6742.04.00-02"), QStringLiteral("Шина 550"), QStringLiteral("551-800"), 0, 0, 0},
        {QStringLiteral("6742.04.00-03"), QStringLiteral("Шина 800"), QStringLiteral("801-1050"), 0, 0, 0},
        {QStringLiteral("6742.04.00-04"), QStringLiteral("Шина 1050"), QStringLiteral("1050-1300"), 0, 0, 0},
        {QStringLiteral("6742.05.00"), QStringLiteral("Запор средний 800"), QStringLiteral("801-1300"), 0, 0, 0},
        {QStringLiteral("6742.05.00-01А"), QStringLiteral("Запор средний 1300А"), QStringLiteral("1301-1500"), 0, 0, 0},
        {QStringLiteral("6742.05.00-01"), QStringLiteral("Запор средний 1300"), QStringLiteral("1301-1800"), 0, 0, 0},
        {QStringLiteral("6742.05.00-02"), QStringLiteral("Запор средний 1800"), QStringLiteral("1801-2300"), 0, 0, 0},
        {QStringLiteral("6742.07.00-X1B"), QStringLiteral("Кронштейн 280"), QStringLiteral("280"), 0, 0, 0},
        {QStringLiteral("6742.07.00-X2B"), QStringLiteral("Кронштейн 550"), QStringLiteral("550"), 0, 0, 0},
        {QStringLiteral("6742.07.00-X3B"), QStringLiteral("Кронштейн 800"), QStringLiteral("800"), 0, 0, 0},
        {QStringLiteral("6742.09.00"), QStringLiteral("Петля верхняя на раме М"), QStringLiteral("-"), 0, 0, 4},
        {QStringLiteral("6742.10.00"), QStringLiteral("Петля нижняя на створке М"), QStringLiteral("-"), 0, 0, 3},
        {QStringLiteral("6742.11.00"), QStringLiteral("Петля нижняя на раме М"), QStringLiteral("-"), 0, 0, 4},
        {QStringLiteral("6742.00.05"), QStringLiteral("Накладка декор.В1"), QStringLiteral("-"), 0, 0, 0},
        {QStringLiteral("6742.00.06"), QStringLiteral("Накладка декор.В2"), QStringLiteral("-"), 0, 0, 0},
        {QStringLiteral("6742.00.07"), QStringLiteral("Накладка декор.H1"), QStringLiteral("-"), 0, 0, 0},
        {QStringLiteral("6742.00.08"), QStringLiteral("Накладка декор.H2"), QStringLiteral("-"), 0, 0, 0},
        {QStringLiteral("6742.00.09"), QStringLiteral("Накладка декор.H3"), QStringLiteral("-"), 0, 0, 0},
        {QStringLiteral("6742.00.02"), QStringLiteral("Фиксатор"), QStringLiteral("00200"), 0, 0, 0},
        {QStringLiteral("0483.00.01"), QStringLiteral("Планка запорная"), QStringLiteral("-"), 0, 1, 0},
        {QStringLiteral("0483.12.00"), QStringLiteral("Планка запорная пов.откидная"), QStringLiteral("-"), 0, 2, 0},
        {QStringLiteral("6742.20.00"), QStringLiteral("Блокиратор"), QStringLiteral("20.00"), 0, 0, 0},
        {QStringLiteral("6742.21.00"), QStringLiteral("Упор блокиратора"), QStringLiteral("-"), 0, 2, 0},
        {QStringLiteral("6742.22.00"), QStringLiteral("Проветриватель ступенчатый"), QStringLiteral("12200"), 0, 0, 0},
        {QStringLiteral("6742.00.03"), QStringLiteral("Зацеп проветривателя"), QStringLiteral("-"), 0, 2, 0},
        {QStringLiteral("6742.00.01"), QStringLiteral("Планка микровентиляции"), QStringLiteral("-"), 0, 1, 0},
        {QStringLiteral("6742.23.00"), QStringLiteral("Балконная защелка"), QStringLiteral("012300"), 0, 2, 0},
        {QStringLiteral("6742.00.14"), QStringLiteral("Подкладка"), QStringLiteral("-"), 0, 0, 0},
        {QStringLiteral("0317.00-01"), QStringLiteral("Ручка оконная"), QStringLiteral("-"), 0, 0, 0},
        {QStringLiteral("6742.06.00"), QStringLiteral("Запор поворотно-откидной"), QStringLiteral("06.00"), 0, 2, 0},
        {QStringLiteral("6742.13.00"), QStringLiteral("Планка пов.-откидная"), QStringLiteral("-"), 0, 2, 0},
    };
    return table;
}

int TiltTurnKit::widthClass(int w)
{
    return classOf(widthClasses, w);
}

int TiltTurnKit::heightClass(int h)
{
    return classOf(heightClasses, h);
}

QStringList TiltTurnKit::kitCodes()
{
    QStringList codes;
    for (const StandardKit& kit : standardKits())
        codes.append(kit.code);
    return codes;
}

QVector<int> TiltTurnKit::kitQuantities(int index)
{
    return standardKits().value(index).quantities;
}

void TiltTurnKit::applyRules()
{
    // A failed calculation leaves the kit designation of the last good one, so
    // that it always belongs with the grid, LIRL and the kit lines kept.
    const QString previousDesignation = KitDesignation;
    const int h = ffh();
    const int w = ffb();

    const int wc = widthClass(w);
    if (wc < 0)
        fail(msg::widthWrong());
    const int hc = heightClass(h);
    if (hc < 0)
        fail(msg::heightWrong());
    else
        KitDesignation = kitCode(hc, wc) + m_sideLetter + m_weightText;
    const bool sizesFound = !error();

    setHingeTexts();

    // The kit is found by its designation, which a failed size check may have
    // left over from an earlier calculation; nothing of it is shown then.
    for (const StandardKit& kit : standardKits()) {
        if (KitDesignation == kit.code + m_sideLetter + m_weightText) {
            fill_the_komplect6742(kit.quantities);
            break;
        }
    }

    fill_default_value_screw();

    row(Ventilator).Quantity = provetrivatel() ? 1 : 0;
    row(VentilatorCatch).Quantity = provetrivatel() ? 1 : 0;
    row(MicroventStrip).Quantity = m_plankaMicrovent ? 1 : 0;
    row(BalconyLatch).Quantity = m_checkBox1 ? 1 : 0;
    row(Shim).Quantity = m_checkBox1 ? 2 : 0;
    row(Handle).Quantity = ruchkaOkon() ? 1 : 0;

    if (!error())
        placeHandle();
    if (sizesFound)
        checkOptions();

    if (isWooden()) {
        const qsizetype m = KitDesignation.indexOf(msg::kitM());
        if (m >= 0)
            KitDesignation.insert(m, msg::kitWood());
    }
    if (m_cbZapor)
        applyZapor();

    if (error())
        KitDesignation = previousDesignation;
}

void TiltTurnKit::setHingeTexts()
{
    TMyLIR& top = row(HingeTop);
    TMyLIR& sash = row(HingeSash);
    TMyLIR& frame = row(HingeFrame);
    if (isWooden()) {
        top.Name = msg::hingeTopWood();
        top.Designation += QStringLiteral("-20");
        top.Marking = QStringLiteral("12/18");
        sash.Name = msg::hingeSashWood();
        sash.Designation += QStringLiteral("-20") + m_sideLetter;
        sash.Marking = QStringLiteral("12/18-9");
        frame.Name = msg::hingeFrameWood();
        frame.Designation += QStringLiteral("-20") + m_sideLetter;
        frame.Marking = QStringLiteral("12/18");
        return;
    }
    const bool heavy = radioGroup1() == 1;
    const QString suffix = heavy ? QStringLiteral("-01") : QStringLiteral("-00");
    top.Designation += suffix;
    top.Marking = heavy ? QStringLiteral("09.01") : QStringLiteral("09.00");
    sash.Designation += suffix;
    sash.Marking = heavy ? QStringLiteral("10.01") : QStringLiteral("10.00");
    frame.Designation += suffix;
    frame.Marking = heavy ? QStringLiteral("11.01") : QStringLiteral("11.00");
}

void TiltTurnKit::placeHandle()
{
    const int h = ffh();
    const int w = ffb();
    const int g = gh();
    LastFFH = h;
    LastFFB = w;
    LastGH = g;

    if (g == halfToEven(h))
        setRuchkaVcentre(true);
    const bool offCentre = !ruchkaVcentre();

    if (offCentre) {
        // The standard bolt and extensions give way to those the handle position needs.
        for (int r = Zasov440; r <= Zasov1300; ++r)
            row(r).Quantity = 0;
        row(Ext500).Quantity = 0;
        row(Ext250).Quantity = 0;
        row(Striker).Quantity = 0;
        if (w > 800 && w <= 1300)
            row(Ext500).Quantity += 1;
    }

    const bool narrow = w <= 550;
    const std::array<int, 4> middleScrews = narrow ? std::array<int, 4>{5, 7, 7, 9} : std::array<int, 4>{4, 6, 6, 8};
    for (int i = 0; i < 4; ++i)
        row(Middle800 + i).Screws25 = middleScrews[size_t(i)];
    const bool low = h <= 800;
    const std::array<int, 5> railScrews = low ? std::array<int, 5>{3, 4, 4, 6, 7} : std::array<int, 5>{2, 3, 3, 5, 6};
    for (int i = 0; i < 5; ++i)
        row(Rail280 + i).Screws25 = railScrews[size_t(i)];

    if (!offCentre)
        return;
    const int nearDistance = std::min(g, h - g);
    const int farDistance = std::max(g, h - g);
    const int nc = classOf(nearClasses, nearDistance);
    if (nc < 0) {
        fail(msg::nearDistanceWrong());
        return;
    }
    const NearClass& near = nearClasses[size_t(nc)];
    row(near.bolt).Quantity += 1;
    row(Ext500).Quantity += near.ext500;
    for (int i = 0; i < near.windowCount; ++i) {
        const FarWindow& win = near.windows[size_t(i)];
        if (farDistance >= win.lo && farDistance <= win.hi) {
            row(Ext500).Quantity += win.ext500;
            row(Ext250).Quantity += win.ext250;
            return;
        }
    }
    fail(msg::farDistanceWrong());
}

void TiltTurnKit::checkOptions()
{
    auto has = [this](int r) { return row(r).Quantity != 0; };
    if (has(Ventilator) && (has(Zasov440) || has(Zasov620))) {
        fail(msg::ventilatorRefused());
        setProvetrivatel(false);
    }
    if (has(BalconyLatch) && (has(Zasov440) || has(Zasov620) || has(Zasov1300A) || has(Middle800))) {
        fail(msg::balconyLatchRefused());
        setCheckBox1(false);
    }
    // The blocker does not go with the shortest bolt: it is left out without a word.
    if (has(Blocker) && has(Zasov440)) {
        row(Blocker).Quantity = 0;
        row(BlockerStop).Quantity = 0;
    }
}

void TiltTurnKit::applyZapor()
{
    // The tilt-turn lock is marked by a "1" after "ЛИР-6742-".
    if (KitDesignation.size() >= 9)
        KitDesignation.insert(9, msg::kitZapor());
    // The lock replaces the tilt-turn striker, one corner drive and one striker.
    row(StrikerTiltTurn).Quantity = 0;
    row(Corner).Quantity -= 1;
    row(Striker).Quantity -= 1;
    if (!isWooden() && KitDesignation.contains(msg::kitLetterA()))
        row(Striker).Quantity -= 1;
    row(Ext500).Quantity = KitDesignation.contains(msg::kitHeight4()) ? 2 : 0;
    const int h = ffh();
    if (ffb() > 800)
        row(Middle800).Quantity = (h > 800 && h <= 1300) ? 2 : 1;
}

void TiltTurnKit::applySuccessRules()
{
    setSystemTexts();
    setProfileTexts();
    if (!ruchkaVcentre()) {
        // A kit rebuilt around an off-centre handle counts the strikers of its parts.
        TMyLIR& striker = row(Striker);
        striker.Quantity += row(Zasov800).Quantity + 2 * row(Zasov1300A).Quantity + 2 * row(Zasov1300).Quantity
                            + row(Corner).Quantity + row(CornerSmall).Quantity + row(Ext500).Quantity
                            + row(Rail800).Quantity + row(Rail1050).Quantity + 2 * row(Middle800).Quantity
                            + 3 * (row(Middle1300A).Quantity + row(Middle1300).Quantity + row(Middle1800).Quantity);
        KitDesignation = msg::nonStandard();
    }
}

void TiltTurnKit::setSystemTexts()
{
    const SystemTexts sys = systemTexts(systemProfiles(), nazvSystemProfiles());
    for (int r = Bracket280; r <= Bracket800; ++r) {
        TMyLIR& bracket = row(r);
        bracket.Marking = bracket.Marking.left(3) + sys.bracketMarking;
        bracket.Designation.replace(13, 1, m_sideLetter);
        bracket.Designation[11] = sys.bracketDigit;
    }
    row(Handle).Designation += sys.handleSuffix;
    if (systemProfiles() == t::Sys18_9) {
        row(CoverB1).Designation += QStringLiteral("-20");
        row(CoverH1).Designation += QStringLiteral("-20") + m_sideLetter;
        row(Ventilator).Designation += QStringLiteral("-20");
        row(Ventilator).Marking = QStringLiteral("012220");
    }
}

void TiltTurnKit::setProfileTexts()
{
    if (!isWooden()) {
        const int nazv = nazvSystemProfiles();
        if (nazv < 0 || nazv >= int(groupOfNazv.size()))
            return;
        const size_t group = size_t(groupOfNazv[size_t(nazv)]);
        for (const PvcVariants& v : pvcVariants()) {
            row(v.row).Designation += v.byGroup[group].suffix;
            row(v.row).Marking = v.byGroup[group].marking;
        }
        return;
    }
    const int rama = ramaType();
    if (rama != 0 && rama != 1)
        return;
    const QString suffix = rama == 0 ? QStringLiteral("-20") : QStringLiteral("-21");
    for (const WoodVariants& v : woodVariants()) {
        row(v.row).Designation += suffix;
        row(v.row).Marking = rama == 0 ? v.euro18 : v.euro20;
    }
}

} // namespace lir
