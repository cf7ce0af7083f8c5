#include "core/calc/turnkit.h"

#include "core/calc/calctexts.h"

#include <algorithm>
#include <array>

namespace lir {

namespace t = calctexts;

namespace {

// ---------------------------------------------------------------- messages
// Every text the turn rules show; a two-line message joins its lines with one
// carriage return.
namespace msg {

QString twoLines(const QString& first, const QString& second)
{
    return first + QLatin1Char('\r') + second;
}

QString heightNoClamps()
{
    return twoLines(QStringLiteral("Неправильно задана высота для комплекта без верхнего и нижнего прижимов!"),
                    QStringLiteral("Измените высоту в интервале 300 мм - 2300 мм"));
}
QString widthNoClamps()
{
    return twoLines(QStringLiteral("Неправильно задана ширина для комплекта без верхнего и нижнего прижимов!"),
                    QStringLiteral("Измените ширину в интервале 200 мм - 800 мм"));
}
// The "c" before "верхним" is Latin in these two, as the program has always shown them.
QString heightClamps()
{
    return twoLines(QStringLiteral("Неправильно задана высота для комплекта c верхним и нижним прижимами!"),
                    QStringLiteral("Измените высоту в интервале 440 мм - 2300 мм"));
}
QString widthClamps()
{
    return twoLines(QStringLiteral("Неправильно задана ширина для для комплекта c верхним и нижним прижимами!"),
                    QStringLiteral("Измените ширину в интервале 650 мм - 1300 мм"));
}
QString handlePosition()
{
    return twoLines(QStringLiteral("Указаная высота не применяется!"),
                    QStringLiteral("Рекомендуется изменить высоту"));
}
QString handleDistance()
{
    return twoLines(QStringLiteral("Указаная высота ручки не применяется!"),
                    QStringLiteral("Рекомендуется изменить высоту ручки"));
}
QString ventilatorRefused()
{
    return QStringLiteral("Проветриватель ступенчатый не применим к данной комплектации");
}
QString balconyRefused()
{
    return QStringLiteral("Балконная защелка не применима к данной комплектации");
}
QString blockerRefused()
{
    return QStringLiteral("Блокиратор не применим к данной комплектации");
}

} // namespace msg

// ---------------------------------------------------------------- designations

QString kitPrefix() { return QStringLiteral("ЛИР-6741-"); }
QString kitLetter() { return QStringLiteral("М"); }
QString woodLetter() { return QStringLiteral("Д"); }
QString nonStandard() { return QStringLiteral("Нестандартный"); }
// The wooden letter goes before the "М" of the kit code.
constexpr int WoodLetterPos = 11;

QString kitCode(int number)
{
    return kitPrefix() + QStringLiteral("%1").arg(number, 2, 10, QLatin1Char('0')) + kitLetter();
}

// ---------------------------------------------------------------- parts and kits

TMyLIR part(const QString& designation, const QString& name, const QString& marking, int screws25,
            int screws40)
{
    return TMyLIR{designation, name, marking, 0, screws25, screws40};
}

// Rows of the parts table that the rules address.
enum Row {
    BoltTurn300 = 1,
    BoltTurn500 = 2,
    BoltTurn700 = 3,
    BoltTurn1000 = 4,
    Bolt440 = 7,
    Bolt620 = 8,
    Bolt800 = 9,
    Bolt1300 = 10,
    CornerSwitch = 11,
    Extension500 = 12,
    Extension250 = 13,
    Striker = 14,
    TopHingeSash = 16,
    TopHingeFrame = 17,
    BottomHingeSash = 18,
    BottomHingeFrame = 19,
    MiddleClamp = 20,
    MiddleClampKeeper = 21,
    Blocker = 22,
    BlockerStop = 23,
    Ventilator = 24,
    VentilatorKeeper = 25,
    Handle = 26,
    BalconyLatch = 27,
    Shim = 28,
    CapB1 = 29,
    CapH1 = 31,
};

struct StandardKit
{
    int number;
    QVector<int> quantities; // one per row of the parts table
    QString code; // filled in from number
};

const std::array<StandardKit, 16>& standardKits()
{
    // Rows 24 to 28 are options and 0 in every kit.
    static const std::array<StandardKit, 16> kits = [] {
        std::array<StandardKit, 16> k = {{
    { 1, {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1}, {}},
    { 2, {0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 1, 1, 1, 1, 0, 0, 1, 1, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1}, {}},
    { 3, {0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1}, {}},
    { 4, {0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 3, 0, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1}, {}},
    { 5, {0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 4, 0, 1, 1, 1, 1, 2, 2, 1, 1, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1}, {}},
    { 6, {0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 4, 0, 1, 1, 1, 1, 2, 2, 1, 1, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1}, {}},
    {10, {0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 2, 0, 2, 4, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1}, {}},
    {11, {0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 2, 0, 2, 4, 1, 1, 1, 1, 1, 0, 0, 1, 1, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1}, {}},
    {12, {0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 2, 0, 2, 5, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1}, {}},
    {13, {0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 2, 0, 2, 6, 1, 1, 1, 1, 1, 2, 2, 1, 1, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1}, {}},
    {14, {0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 2, 2, 2, 7, 1, 1, 1, 1, 1, 2, 2, 1, 1, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1}, {}},
    {20, {0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 2, 2, 0, 4, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1}, {}},
    {21, {0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 2, 2, 0, 4, 1, 1, 1, 1, 1, 0, 0, 1, 1, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1}, {}},
    {22, {0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 2, 2, 0, 5, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1}, {}},
    {23, {0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 2, 2, 0, 6, 1, 1, 1, 1, 1, 2, 2, 1, 1, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1}, {}},
    {24, {0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 2, 4, 0, 7, 1, 1, 1, 1, 1, 2, 2, 1, 1, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1}, {}},
        }};
        for (StandardKit& kit : k)
            kit.code = kitCode(kit.number);
        return k;
    }();
    return kits;
}

// ---------------------------------------------------------------- size classes

struct Range
{
    int lo;
    int hi;
    bool contains(int v) const { return v >= lo && v <= hi; }
};

// Without clamps: one width range, the height picks kit 01 to 06.
constexpr Range NoClampWidth{200, 800};
constexpr std::array<Range, 6> NoClampHeights{{{300, 500}, {501, 700}, {701, 1000},
                                               {1001, 1400}, {1401, 1800}, {1801, 2300}}};
// With clamps: the width gives the first digit (1 or 2), the height the second.
constexpr std::array<Range, 2> ClampWidths{{{650, 900}, {901, 1300}}};
constexpr std::array<Range, 5> ClampHeights{{{440, 620}, {621, 800}, {801, 1300}, {1301, 1800}, {1801, 2300}}};

// Where an off-centre handle may sit on the single turn bolt: either a fixed
// distance from both ends (margin), or within 100 mm of the middle (margin 0).
struct HandleBand
{
    Range ffh;
    int margin;
};
constexpr std::array<HandleBand, 10> HandleBands{{
    {{300, 500}, 150},
    {{501, 700}, 250},
    {{701, 900}, 350},
    {{901, 1000}, 0},
    {{1001, 1200}, 500},
    {{1201, 1400}, 0},
    {{1401, 1600}, 700},
    {{1601, 1800}, 0},
    {{1801, 2000}, 900},
    {{2001, 2300}, 0},
}};

// Bolt around an off-centre handle in the clamp kit, chosen by the shorter
// handle distance A; the longer distance B must fall into one of the windows
// that the extensions can bridge, 250 mm apart.
struct BoltClass
{
    Range a;
    int boltRow;
    int extra500; // Удлинитель 500 that come with the bolt
    Range firstWindow;
    int windows;
};
constexpr std::array<BoltClass, 5> BoltClasses{{
    {{220, 310}, Bolt440, 0, {220, 310}, 7},
    {{311, 399}, Bolt620, 0, {310, 400}, 7},
    {{400, 650}, Bolt800, 0, {400, 650}, 6},
    {{651, 900}, Bolt1300, 0, {651, 900}, 4},
    {{901, 1150}, Bolt800, 2, {901, 1150}, 2},
}};
constexpr int WindowStep = 250;

// ---------------------------------------------------------------- texts by system and profile

struct RebateTexts
{
    QChar digit; // of the top sash hinge designation
    QString marking;
    QString handleSuffix;
};

RebateTexts rebateTexts(int system, const QString& nazv)
{
    switch (system) {
    case t::Sys20_9:
        return {QLatin1Char('4'), QStringLiteral("20-9"), QStringLiteral("-01")};
    case t::Sys20_13:
        return {QLatin1Char('5'), QStringLiteral("20-13"),
                nazv == QStringLiteral("KBE Expert") ? QStringLiteral("-03") : QStringLiteral("-02")};
    case t::Sys21_13:
        return {QLatin1Char('6'), QStringLiteral("21-13"), QStringLiteral("-03")};
    default:
        break;
    }
    return {QLatin1Char('2'), QStringLiteral("18-9"), QStringLiteral("-01")};
}

struct SuffixMarking
{
    QString suffix;
    QString marking;
};

// Rows that carry the profile's own striker, keepers and shim.
constexpr std::array<int, 5> ProfileRows{Striker, MiddleClampKeeper, BlockerStop, VentilatorKeeper, Shim};

struct ProfileTexts
{
    QStringList profiles; // profile-system names, or rebate types of a wooden frame
    std::array<SuffixMarking, 5> rows; // in the order of ProfileRows
};

const std::array<ProfileTexts, 10>& profileTable()
{
    static const std::array<ProfileTexts, 10> table = {{
        {{QStringLiteral("ARtec PAD"), QStringLiteral("Plustec")},
         {{{QStringLiteral("-11"), QStringLiteral("009911")}, {QStringLiteral("-11"), QStringLiteral("01111")}, {QStringLiteral("-10"), QStringLiteral("21.10")}, {QStringLiteral("-01"), QStringLiteral("00301")}, {QStringLiteral("-12"), QStringLiteral("001412")}}}},
        {{QStringLiteral("KBE AD"), QStringLiteral("PROPLEX"), QStringLiteral("Novotex"), QStringLiteral("Exprof")},
         {{{QStringLiteral("-00"), QStringLiteral("009900")}, {QStringLiteral("-00"), QStringLiteral("01100")}, {QStringLiteral("-00"), QStringLiteral("21.00")}, {QStringLiteral("-02"), QStringLiteral("00302")}, {QStringLiteral("-00"), QStringLiteral("001400")}}}},
        {{QStringLiteral("Montblanc"), QStringLiteral("Rehau S730 AD")},
         {{{QStringLiteral("-10"), QStringLiteral("009910")}, {QStringLiteral("-10"), QStringLiteral("01110")}, {QStringLiteral("-10"), QStringLiteral("21.10")}, {QStringLiteral("-01"), QStringLiteral("00301")}, {QStringLiteral("-10"), QStringLiteral("001410")}}}},
        {{QStringLiteral("Salamander"), QStringLiteral("ВИЛАРТ-ЛИР")},
         {{{QStringLiteral("-10"), QStringLiteral("009910")}, {QStringLiteral("-10"), QStringLiteral("01110")}, {QStringLiteral("-10"), QStringLiteral("21.10")}, {QStringLiteral("-02"), QStringLiteral("00302")}, {QStringLiteral("-11"), QStringLiteral("001411")}}}},
        {{QStringLiteral("Veka Softline AD")},
         {{{QStringLiteral("-00"), QStringLiteral("009900")}, {QStringLiteral("-01"), QStringLiteral("01101")}, {QStringLiteral("-00"), QStringLiteral("21.00")}, {QStringLiteral("-00"), QStringLiteral("00300")}, {QStringLiteral("-01"), QStringLiteral("001401")}}}},
        {{QStringLiteral("COK")},
         {{{QStringLiteral("-10"), QStringLiteral("009910")}, {QStringLiteral("-10"), QStringLiteral("01110")}, {QStringLiteral("-10"), QStringLiteral("21.10")}, {QStringLiteral("-02"), QStringLiteral("00302")}, {QStringLiteral("-13"), QStringLiteral("001413")}}}},
        {{QStringLiteral("PLAFEN"), QStringLiteral("KBE Expert")},
         {{{QStringLiteral("-12"), QStringLiteral("009912")}, {QStringLiteral("-12"), QStringLiteral("01112")}, {QStringLiteral("-10"), QStringLiteral("21.10")}, {QStringLiteral("-02"), QStringLiteral("00302")}, {QStringLiteral("-15"), QStringLiteral("001415")}}}},
        {{QStringLiteral("Thyssen")},
         {{{QStringLiteral("-14"), QStringLiteral("009914")}, {QStringLiteral("-14"), QStringLiteral("001114")}, {QStringLiteral("-14"), QStringLiteral("012114")}, {QStringLiteral("-14"), QStringLiteral("000314")}, {QStringLiteral("-14"), QStringLiteral("001414")}}}},
        {{QStringLiteral("Еврофальц 18/8")},
         {{{QStringLiteral("-20"), QStringLiteral("009920")}, {QStringLiteral("-20"), QStringLiteral("001120")}, {QStringLiteral("-20"), QStringLiteral("012120")}, {QStringLiteral("-20"), QStringLiteral("000320")}, {QStringLiteral("-20"), QStringLiteral("001420")}}}},
        {{QStringLiteral("Еврофальц 20/8")},
         {{{QStringLiteral("-21"), QStringLiteral("009921")}, {QStringLiteral("-21"), QStringLiteral("001121")}, {QStringLiteral("-21"), QStringLiteral("012121")}, {QStringLiteral("-21"), QStringLiteral("000321")}, {QStringLiteral("-21"), QStringLiteral("001421")}}}},
    }};
    return table;
}

} // namespace

TurnKit::TurnKit(QObject* parent) : KitCalculator(Kind::Turn, GridRows, parent)
{
    init();
}

void TurnKit::setComplekt(int index)
{
    if (index < 0 || index > 1)
        return;
    changeInput(m_complekt, index, [this] { ComplektClick(); });
}

void TurnKit::ComplektClick()
{
    m_ffbMaxLength = m_complekt == 0 ? 3 : 4;
    notify();
}

void TurnKit::setBalkonnayaZaschelka(bool on)
{
    changeInput(m_balkonnaya, on, [this] { ImageUpdate(); });
}

void TurnKit::setBlokirator(bool on)
{
    changeInput(m_blokirator, on, [this] { ImageUpdate(); });
}

QString TurnKit::orderType() const
{
    return t::typeTurn + t::profilTypes.at(profilType()) + QLatin1Char(' ')
           + (m_complekt == 0 ? t::typeNoClamps : t::typeClamps);
}

QString TurnKit::orderDopKomplekt() const
{
    QString s;
    if (ruchkaOkon())
        s += t::dopHandle + t::tipRuchki.at(tipRuchki()) + t::dopComma;
    if (provetrivatel())
        s += t::dopVentilator;
    if (m_balkonnaya)
        s += t::dopBalconyComma;
    if (m_blokirator)
        s += t::dopBlocker;
    return s;
}

PartsTable TurnKit::catalogue() const
{
    // Built once; every copy shares it until a calculation writes to a row.
    static const PartsTable table = {
        part(QStringLiteral("6742.50.00-01"), QStringLiteral("Засов поворотный 300"), QStringLiteral("300-500"), 4, 0), // 1
        part(QStringLiteral("6742.50.00-02"), QStringLiteral("Засов поворотный 500"), QStringLiteral("501-700"), 6, 0), // 2
        part(QStringLiteral("6742.50.00-03"), QStringLiteral("Засов поворотный 700"), QStringLiteral("701-1000"), 6, 0), // 3
        part(QStringLiteral("6742.50.00-04"), QStringLiteral("Засов поворотный 1000"), QStringLiteral("1001-1400"), 8, 0), // 4
        part(QStringLiteral("6742.50.00-05"), QStringLiteral("Засов поворотный 1400"), QStringLiteral("1401-1800"), 10, 0), // 5
        part(QStringLiteral("6742.50.00-06"), QStringLiteral("Засов поворотный 1800"), QStringLiteral("1801-2300"), 12, 0), // 6
        part(QStringLiteral("6742.01.00"), QStringLiteral("Засов 440"), QStringLiteral("440-620"), 0, 0), // 7
        part(QStringLiteral("6742.01.00-01"), QStringLiteral("Засов 620"), QStringLiteral("621-800"), 3, 0), // 8
        part(QStringLiteral("6742.01.00-02"), QStringLiteral("Засов 800"), QStringLiteral("801-1300"), 4, 0), // 9
        part(QStringLiteral("6742.01.00-03"), QStringLiteral("Засов 1300"), QStringLiteral("1301-1800"), 6, 0), // 10
        part(QStringLiteral("6742.02.00"), QStringLiteral("Угловой переключатель"), QStringLiteral("-"), 4, 0), // 11
        part(QStringLiteral("6742.03.00"), QStringLiteral("Удлинитель 500"), QStringLiteral("500"), 3, 0), // 12
        part(QStringLiteral("6742.03.00-01"), QStringLiteral("Удлинитель 250"), QStringLiteral("250"), 2, 0), // 13
        part(QStringLiteral("0483.00.01"), QStringLiteral("Планка запорная"), QStringLiteral("-"), 1, 0), // 14
        part(QStringLiteral("6742.00.04"), QStringLiteral("Ограничитель хода"), QStringLiteral("00400"), 0, 0), // 15
        part(QStringLiteral("6742.08.00-B"), QStringLiteral("Петля на створке верхняя М"), QStringLiteral("-"), 4, 0), // 16
        part(QStringLiteral("6742.09.00"), QStringLiteral("Петля верхняя на раме М"), QStringLiteral("-"), 0, 4), // 17
        part(QStringLiteral("6742.10.00"), QStringLiteral("Петля нижняя на створке М"), QStringLiteral("-"), 0, 3), // 18
        part(QStringLiteral("6742.11.00"), QStringLiteral("Петля нижняя на раме М"), QStringLiteral("-"), 0, 4), // 19
        part(QStringLiteral("6742.00.10"), QStringLiteral("Прижим средний скрытый"), QStringLiteral("01000"), 1, 0), // 20
        part(QStringLiteral("6742.00.11"), QStringLiteral("Зацеп прижима среднего"), QStringLiteral("-"), 2, 0), // 21
        part(QStringLiteral("6742.20.00"), QStringLiteral("Блокиратор "), QStringLiteral("20.00"), 0, 0), // 22
        part(QStringLiteral("6742.21.00"), QStringLiteral("Упор блокиратора"), QStringLiteral("-"), 2, 0), // 23
        part(QStringLiteral("6742.22.00"), QStringLiteral("Проветриватель ступенчатый"), QStringLiteral("12200"), 0, 0), // 24
        part(QStringLiteral("6742.00.03"), QStringLiteral("Зацеп проветривателя"), QStringLiteral("-"), 2, 0), // 25
        part(QStringLiteral("0317.00-01"), QStringLiteral("Ручка оконная"), QStringLiteral("-"), 0, 0), // 26
        part(QStringLiteral("6742.23.00"), QStringLiteral("Балконная защелка"), QStringLiteral("012300"), 2, 0), // 27
        part(QStringLiteral("6742.00.14"), QStringLiteral("Подкладка"), QStringLiteral("-"), 0, 0), // 28
        part(QStringLiteral("6742.00.05"), QStringLiteral("Накладка декор.В1"), QStringLiteral("-"), 0, 0), // 29
        part(QStringLiteral("6742.00.06"), QStringLiteral("Накладка декор.В2"), QStringLiteral("-"), 0, 0), // 30
        part(QStringLiteral("6742.00.07"), QStringLiteral("Накладка декор.H1"), QStringLiteral("-"), 0, 0), // 31
        part(QStringLiteral("6742.00.08"), QStringLiteral("Накладка декор.H2"), QStringLiteral("-"), 0, 0), // 32
        part(QStringLiteral("6742.00.09"), QStringLiteral("Накладка декор.H3"), QStringLiteral("-"), 0, 0), // 33
    };
    return table;
}

// ---------------------------------------------------------------- the rules

void TurnKit::applyRules()
{
    const Designation designation = checkSizes();
    hingeTexts();
    if (designation != Designation::Void)
        matchKit();
    fill_default_value_screw();
    // Only a designation formed now gets the wooden letter: a kept one already
    // has it, or is not a standard designation at all.
    if (isWooden() && designation == Designation::Formed)
        KitDesignation.insert(WoodLetterPos, woodLetter());
    options();
    if (!error()) {
        if (m_complekt == 0)
            handleWithoutClamps();
        else
            handleWithClamps();
    }
    optionChecks();
}

TurnKit::Designation TurnKit::checkSizes()
{
    const int h = ffh();
    const int b = ffb();
    const QString tail = m_sideLetter + m_weightText;

    if (m_complekt == 0) {
        if (!NoClampWidth.contains(b)) {
            fail(msg::widthNoClamps());
            return Designation::Kept;
        }
        for (size_t i = 0; i < NoClampHeights.size(); ++i) {
            if (NoClampHeights[i].contains(h)) {
                KitDesignation = kitCode(int(i) + 1) + tail;
                return Designation::Formed;
            }
        }
        fail(msg::heightNoClamps());
        return Designation::Kept;
    }

    int digit = -1;
    for (size_t i = 0; i < ClampHeights.size(); ++i)
        if (ClampHeights[i].contains(h))
            digit = int(i);
    if (digit < 0)
        fail(msg::heightClamps());
    // The width is checked even after a bad height, so both messages can show.
    for (size_t i = 0; i < ClampWidths.size(); ++i) {
        if (ClampWidths[i].contains(b)) {
            if (digit < 0)
                return Designation::Void;
            KitDesignation = kitCode(10 * (int(i) + 1) + digit) + tail;
            return Designation::Formed;
        }
    }
    fail(msg::widthClamps());
    return Designation::Kept;
}

void TurnKit::hingeTexts()
{
    if (isWooden()) {
        TMyLIR& top = row(TopHingeFrame);
        top.Name = QStringLiteral("Петля верхняя на раме ДМ");
        top.Designation += QStringLiteral("-20");
        top.Marking = QStringLiteral("12/18");
        TMyLIR& sash = row(BottomHingeSash);
        sash.Name = QStringLiteral("Петля нижняя на створке ДМ");
        sash.Designation += QStringLiteral("-20") + m_sideLetter;
        sash.Marking = QStringLiteral("12/18-9");
        TMyLIR& frame = row(BottomHingeFrame);
        frame.Name = QStringLiteral("Петля нижняя на раме ДМ");
        frame.Designation += QStringLiteral("-20") + m_sideLetter;
        frame.Marking = QStringLiteral("12/18");
        return;
    }
    const bool heavy = radioGroup1() == 1;
    const QString suffix = heavy ? QStringLiteral("-01") : QStringLiteral("-00");
    row(TopHingeFrame).Designation += suffix;
    row(BottomHingeSash).Designation += suffix;
    row(BottomHingeFrame).Designation += suffix;
    row(TopHingeFrame).Marking = heavy ? QStringLiteral("09.01") : QStringLiteral("09.00");
    row(BottomHingeSash).Marking = heavy ? QStringLiteral("10.01") : QStringLiteral("10.00");
    row(BottomHingeFrame).Marking = heavy ? QStringLiteral("11.01") : QStringLiteral("11.00");
}

void TurnKit::matchKit()
{
    // After a failed size check this still finds the previous calculation's kit,
    // whose parts then take part in the option checks.
    const QString tail = m_sideLetter + m_weightText;
    if (!KitDesignation.endsWith(tail))
        return;
    const QStringView code = QStringView(KitDesignation).chopped(tail.size());
    for (const StandardKit& kit : standardKits()) {
        if (code == kit.code) {
            fill_the_komplect6741(kit.quantities);
            return;
        }
    }
}

void TurnKit::options()
{
    row(Handle).Quantity = ruchkaOkon() ? 1 : 0;
    row(Ventilator).Quantity = provetrivatel() ? 1 : 0;
    row(VentilatorKeeper).Quantity = provetrivatel() ? 1 : 0;
    row(BalconyLatch).Quantity = m_balkonnaya ? 1 : 0;
    row(Shim).Quantity = m_balkonnaya ? 2 : 0;
    // A PVC sash keeps the blocker of its kit; on wood it is an option.
    if (isWooden()) {
        row(Blocker).Quantity = m_blokirator ? 1 : 0;
        row(BlockerStop).Quantity = m_blokirator ? 1 : 0;
    }
}

void TurnKit::handleWithoutClamps()
{
    const int h = ffh();
    const int g = gh();
    LastFFH = h;
    LastFFB = ffb();
    LastGH = g;
    // Exactly half: an odd height has no centre here.
    if (2 * g == h)
        setRuchkaVcentre(true);
    if (ruchkaVcentre())
        return;
    // Compared in half millimetres, since half the height may end in .5.
    for (const HandleBand& band : HandleBands) {
        if (!band.ffh.contains(h))
            continue;
        const int lo = band.margin > 0 ? 2 * band.margin : h - 200;
        const int hi = band.margin > 0 ? 2 * (h - band.margin) : h + 200;
        if (2 * g < lo || 2 * g > hi)
            fail(msg::handlePosition());
        return;
    }
    fail(msg::handlePosition());
}

void TurnKit::handleWithClamps()
{
    const int h = ffh();
    const int g = gh();
    LastFFH = h;
    LastFFB = ffb();
    LastGH = g;
    // The centre as the window computes it, halves to the even neighbour.
    if (g == halfToEven(h))
        setRuchkaVcentre(true);
    if (ruchkaVcentre())
        return;

    // Rebuild the locking around the handle; the corner switches stay.
    for (int r = BoltTurn300; r <= Bolt1300; ++r)
        row(r).Quantity = 0;
    row(Extension500).Quantity = 0;
    row(Extension250).Quantity = 0;
    row(Striker).Quantity = 0;
    if (ffb() <= 900) {
        row(Extension250).Quantity = 2;
        row(Striker).Quantity = 2;
    } else {
        row(Extension500).Quantity = 2;
    }

    const int a = std::min(g, h - g);
    const int b = std::max(g, h - g);
    const auto cls = std::find_if(BoltClasses.begin(), BoltClasses.end(),
                                  [a](const BoltClass& c) { return c.a.contains(a); });
    if (cls == BoltClasses.end()) {
        fail(msg::handlePosition());
        return;
    }
    row(cls->boltRow).Quantity += 1;
    row(Extension500).Quantity += cls->extra500;
    // Windows that touch share their bound; the shorter bridge is taken.
    for (int k = 0; k < cls->windows; ++k) {
        const Range window{cls->firstWindow.lo + WindowStep * k, cls->firstWindow.hi + WindowStep * k};
        if (window.contains(b)) {
            row(Extension500).Quantity += k / 2;
            row(Extension250).Quantity += k % 2;
            return;
        }
    }
    fail(msg::handleDistance());
}

void TurnKit::optionChecks()
{
    auto has = [this](int r) { return row(r).Quantity != 0; };
    if (has(Ventilator) && (has(Bolt440) || has(Bolt620))) {
        fail(msg::ventilatorRefused());
        setProvetrivatel(false);
    }
    if (has(BalconyLatch)
        && (has(BoltTurn300) || has(BoltTurn500) || has(BoltTurn700) || has(BoltTurn1000) || has(Bolt440)
            || has(Bolt620) || (has(Bolt800) && row(Striker).Quantity == 5))) {
        fail(msg::balconyRefused());
        setBalkonnayaZaschelka(false);
    }
    if (isWooden() && m_blokirator && (has(BoltTurn300) || has(Bolt440))) {
        fail(msg::blockerRefused());
        setBlokirator(false);
    }
}

void TurnKit::applySuccessRules()
{
    rebateSystemTexts();
    profileTexts();
    if (!ruchkaVcentre()) {
        // The rebuilt clamp kit gets the strikers that its bolts, switches and
        // extensions need, as the standard kits have them.
        if (m_complekt == 1)
            row(Striker).Quantity += row(Bolt800).Quantity + 2 * row(Bolt1300).Quantity
                                     + row(CornerSwitch).Quantity + row(Extension500).Quantity;
        KitDesignation = nonStandard();
    }
}

void TurnKit::rebateSystemTexts()
{
    const RebateTexts texts = rebateTexts(systemProfiles(), nazvSystemProfilesText());
    TMyLIR& hinge = row(TopHingeSash);
    hinge.Designation = QStringLiteral("6742.08.00-") + texts.digit + QLatin1Char('0') + m_sideLetter;
    hinge.Marking = texts.marking;
    row(Handle).Designation += texts.handleSuffix;
    if (systemProfiles() == t::Sys18_9) {
        row(MiddleClamp).Designation += QStringLiteral("-20");
        row(MiddleClamp).Marking = QStringLiteral("001020");
        row(Ventilator).Designation += QStringLiteral("-20");
        row(Ventilator).Marking = QStringLiteral("012220");
        row(CapB1).Designation += QStringLiteral("-20");
        row(CapH1).Designation += QStringLiteral("-20") + m_sideLetter;
    }
}

void TurnKit::profileTexts()
{
    const QString profile = isWooden() ? ramaTypeText() : nazvSystemProfilesText();
    for (const ProfileTexts& entry : profileTable()) {
        if (!entry.profiles.contains(profile))
            continue;
        for (size_t i = 0; i < ProfileRows.size(); ++i) {
            TMyLIR& line = row(ProfileRows[i]);
            line.Designation += entry.rows[i].suffix;
            line.Marking = entry.rows[i].marking;
        }
        return;
    }
}

} // namespace lir
