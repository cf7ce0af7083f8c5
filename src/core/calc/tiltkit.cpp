#include "core/calc/tiltkit.h"

#include "core/calc/calctexts.h"
#include "core/calc/tiltmessages.h"

#include <array>

namespace lir {

namespace t = calctexts;
namespace msg = tiltmessages;

namespace {

// Rows of the parts table that the rules address.
enum Row {
    RowZasov440 = 7,
    RowZasov620 = 8,
    RowPlanka = 13,
    RowPetlyaOtkid = 15,
    RowPetlyaVerh = 16,
    RowNozhnicy = 17,
    RowProvetrivatel = 18,
    RowZacep = 19,
    RowRuchka = 20,
    RowPodkladka = 21,
    RowNakladkaB1 = 22,
};

// The "KBE Expert" item of this window's list of profile-system names.
constexpr int NazvKbeExpert = 13;

// Height bands: without side presses and with side presses. Every class is
// closed; the widths of a band's kits join without a gap, so the band's outer
// width range is also the range its message names.
struct Band
{
    int hMin, hMax;
    int wMin, wMax;
};
constexpr std::array<Band, 2> bands = {{{300, 800, 300, 2300}, {801, 1300, 440, 2300}}};

// One standard kit: its band, its width class, the row of its bolt (always one
// piece) and the quantities of the rows listed in kitColumns. Row 20 (the
// handle) is 1 in every kit; rows 18 to 20 are then set by the options.
constexpr std::array<int, 10> kitColumns = {11, 12, 13, 14, 15, 16, 17, 21, 22, 23};
struct KitSpec
{
    int band;
    int wMin, wMax;
    int boltRow;
    std::array<int, 10> q;
};
constexpr std::array<KitSpec, 12> kitSpecs = {{
    // band 0: without side presses           11 12 13 14 15 16 17 21 22 23
    {0, 300, 500, 1, {0, 0, 2, 0, 2, 2, 2, 2, 2, 2}},   // 51
    {0, 501, 700, 2, {0, 0, 2, 0, 2, 2, 1, 1, 2, 2}},   // 52
    {0, 701, 1000, 3, {0, 0, 2, 0, 2, 2, 1, 1, 2, 2}},  // 53
    {0, 1001, 1400, 4, {0, 0, 3, 0, 3, 3, 1, 1, 3, 3}}, // 54
    {0, 1401, 1800, 5, {0, 0, 4, 0, 3, 3, 2, 2, 3, 3}}, // 55
    {0, 1801, 2300, 6, {0, 0, 4, 0, 4, 4, 2, 2, 4, 4}}, // 56
    // band 1: with side presses
    {1, 440, 620, 7, {2, 2, 4, 1, 2, 2, 2, 2, 2, 2}},    // 60
    {1, 621, 800, 8, {2, 2, 4, 1, 2, 2, 1, 1, 2, 2}},    // 61
    {1, 801, 1300, 9, {2, 2, 5, 1, 3, 3, 1, 1, 3, 3}},   // 62
    {1, 1301, 1400, 10, {2, 2, 6, 1, 3, 3, 1, 1, 3, 3}}, // 63
    {1, 1401, 1800, 10, {2, 2, 6, 1, 3, 3, 2, 2, 3, 3}}, // 64
    {1, 1801, 2300, 9, {2, 4, 7, 1, 4, 4, 2, 2, 4, 4}},  // 65
}};

const QStringList& kitCodes()
{
    static const QStringList codes = {
        QStringLiteral("ЛИР-6741-51М"), QStringLiteral("ЛИР-6741-52М"), QStringLiteral("ЛИР-6741-53М"),
        QStringLiteral("ЛИР-6741-54М"), QStringLiteral("ЛИР-6741-55М"), QStringLiteral("ЛИР-6741-56М"),
        QStringLiteral("ЛИР-6741-60М"), QStringLiteral("ЛИР-6741-61М"), QStringLiteral("ЛИР-6741-62М"),
        QStringLiteral("ЛИР-6741-63М"), QStringLiteral("ЛИР-6741-64М"), QStringLiteral("ЛИР-6741-65М")};
    return codes;
}

// The 23 quantities of each kit, as fill_the_komplect6741 takes them.
const std::array<QVector<int>, 12>& kitVectors()
{
    static const std::array<QVector<int>, 12> vectors = [] {
        std::array<QVector<int>, 12> v;
        for (size_t i = 0; i < kitSpecs.size(); ++i) {
            QVector<int> q(TiltKit::PartCount, 0);
            q[kitSpecs[i].boltRow - 1] = 1;
            for (size_t c = 0; c < kitColumns.size(); ++c)
                q[kitColumns[c] - 1] = kitSpecs[i].q[c];
            q[RowRuchka - 1] = 1;
            v[i] = q;
        }
        return v;
    }();
    return vectors;
}

int bandOf(int h)
{
    for (size_t b = 0; b < bands.size(); ++b)
        if (h >= bands[b].hMin && h <= bands[b].hMax)
            return int(b);
    return -1;
}

int kitOf(int band, int w)
{
    for (size_t i = 0; i < kitSpecs.size(); ++i)
        if (kitSpecs[i].band == band && w >= kitSpecs[i].wMin && w <= kitSpecs[i].wMax)
            return int(i);
    return -1;
}

// A suffix appended to a designation together with the marking that replaces
// the catalogue one.
struct Variant
{
    QString suffix;
    QString marking;
};

void applyVariant(TMyLIR& line, const Variant& v)
{
    line.Designation += v.suffix;
    line.Marking = v.marking;
}

// The tilt hinge and the handle by rebate system (index into the system list).
struct SystemTexts
{
    Variant hinge;
    QString handleSuffix;
};
const std::array<SystemTexts, 4>& systemTexts()
{
    static const std::array<SystemTexts, 4> texts = {{
        {{QStringLiteral("-40"), QStringLiteral("011500 20-9")}, QStringLiteral("-01")},
        {{QStringLiteral("-50"), QStringLiteral("011500 20-13")}, QStringLiteral("-02")},
        {{QStringLiteral("-60"), QStringLiteral("011500 21-13")}, QStringLiteral("-03")},
        {{QStringLiteral("-20"), QStringLiteral("011500 18-9")}, QStringLiteral("-01")},
    }};
    return texts;
}

// Striker, ventilator catch and packing by the profile they sit on.
struct ProfileTexts
{
    Variant planka, zacep, podkladka;
};

enum Group { A, B, C, D, E, F, G, H };

const std::array<ProfileTexts, 8>& groupTexts()
{
    static const std::array<ProfileTexts, 8> texts = {{
        {{QStringLiteral("-11"), QStringLiteral("009911")},
         {QStringLiteral("-01"), QStringLiteral("00301")},
         {QStringLiteral("-12"), QStringLiteral("001412")}}, // A
        {{QStringLiteral("-00"), QStringLiteral("009900")},
         {QStringLiteral("-02"), QStringLiteral("00302")},
         {QStringLiteral("-00"), QStringLiteral("001400")}}, // B
        {{QStringLiteral("-10"), QStringLiteral("009910")},
         {QStringLiteral("-01"), QStringLiteral("00301")},
         {QStringLiteral("-10"), QStringLiteral("001410")}}, // C
        {{QStringLiteral("-10"), QStringLiteral("009910")},
         {QStringLiteral("-02"), QStringLiteral("00302")},
         {QStringLiteral("-11"), QStringLiteral("001411")}}, // D
        {{QStringLiteral("-00"), QStringLiteral("009900")},
         {QStringLiteral("-00"), QStringLiteral("00300")},
         {QStringLiteral("-01"), QStringLiteral("001401")}}, // E
        {{QStringLiteral("-10"), QStringLiteral("009910")},
         {QStringLiteral("-02"), QStringLiteral("00302")},
         {QStringLiteral("-13"), QStringLiteral("001413")}}, // F
        {{QStringLiteral("-12"), QStringLiteral("009912")},
         {QStringLiteral("-02"), QStringLiteral("00302")},
         {QStringLiteral("-15"), QStringLiteral("001415")}}, // G
        {{QStringLiteral("-14"), QStringLiteral("009914")},
         {QStringLiteral("-14"), QStringLiteral("000314")},
         {QStringLiteral("-14"), QStringLiteral("001414")}}, // H
    }};
    return texts;
}

// Group of each item of this window's 14-name list ("Thyssen" is item 10).
constexpr std::array<Group, 14> groupOfNazv = {A, B, C, A, B, C, D, E, B, B, H, F, G, G};

// Wooden frames: by rebate type, "Еврофальц 18/8" and "Еврофальц 20/8".
const std::array<ProfileTexts, 2>& ramaTexts()
{
    static const std::array<ProfileTexts, 2> texts = {{
        {{QStringLiteral("-20"), QStringLiteral("009920")},
         {QStringLiteral("-20"), QStringLiteral("000320")},
         {QStringLiteral("-20"), QStringLiteral("001420")}},
        {{QStringLiteral("-21"), QStringLiteral("009921")},
         {QStringLiteral("-21"), QStringLiteral("000321")},
         {QStringLiteral("-21"), QStringLiteral("001421")}},
    }};
    return texts;
}

} // namespace

TiltKit::TiltKit(QObject* parent) : KitCalculator(Kind::Tilt, GridRows, parent)
{
    init();
}

void TiltKit::setCheckBox1(bool on)
{
    changeInput(m_checkBox1, on, [this] { ImageUpdate(); });
}

QString TiltKit::orderType() const
{
    return t::typeTilt + t::profilTypes.at(profilType());
}

QString TiltKit::orderDopKomplekt() const
{
    QString s;
    if (ruchkaOkon())
        s += t::dopHandle + t::tipRuchki.at(tipRuchki()) + t::dopComma;
    if (provetrivatel())
        s += t::dopVentilator;
    if (m_checkBox1)
        s += t::dopScissors;
    return s;
}

PartsTable TiltKit::catalogue() const
{
    // Built once and shared: every calculation starts from it and returns to it.
    static const PartsTable table = [] {
        auto line = [](const QString& d, const QString& n, const QString& m, int s25, int s40) {
            TMyLIR l;
            l.Designation = d;
            l.Name = n;
            l.Marking = m;
            l.Screws25 = s25;
            l.Screws40 = s40;
            return l;
        };
        // Quantities are 0 outside a calculation; the screws are the defaults
        // per piece, which fill_default_value_screw restores.
        // clang-format off
        return PartsTable{
            line(QStringLiteral("6742.50.00-01"), QStringLiteral("Засов поворотный 300"), QStringLiteral("300-500"), 4, 0),
            line(QStringLiteral("6742.50.00-02"), QStringLiteral("Засов поворотный 500"), QStringLiteral("501-700"), 6, 0),
            line(QStringLiteral("6742.50.00-03"), QStringLiteral("Засов поворотный 700"), QStringLiteral("701-1000"), 6, 0),
            line(QStringLiteral("6742.50.00-04"), QStringLiteral("Засов поворотный 1000"), QStringLiteral("1001-1400"), 8, 0),
            line(QStringLiteral("6742.50.00-05"), QStringLiteral("Засов поворотный 1400"), QStringLiteral("1401-1800"), 10, 0),
            line(QStringLiteral("6742.50.00-06"), QStringLiteral("Засов поворотный 1800"), QStringLiteral("1801-2300"), 12, 0),
            line(QStringLiteral("6742.01.00"), QStringLiteral("Засов 440"), QStringLiteral("440-620"), 0, 0),
            line(QStringLiteral("6742.01.00-01"), QStringLiteral("Засов 620"), QStringLiteral("621-800"), 3, 0),
            line(QStringLiteral("6742.01.00-02"), QStringLiteral("Засов 800"), QStringLiteral("801-1300"), 4, 0),
            line(QStringLiteral("6742.01.00-03"), QStringLiteral("Засов 1300"), QStringLiteral("1301-1800"), 6, 0),
            line(QStringLiteral("6742.02.00"), QStringLiteral("Угловой переключатель"), QStringLiteral("-"), 4, 0),
            line(QStringLiteral("6742.03.00"), QStringLiteral("Удлинитель 500"), QStringLiteral("500"), 3, 0),
            line(QStringLiteral("0483.00.01"), QStringLiteral("Планка запорная"), QStringLiteral("-"), 1, 0),
            line(QStringLiteral("6742.00.04"), QStringLiteral("Ограничитель хода"), QStringLiteral("00400"), 0, 0),
            line(QStringLiteral("6742.15.00"), QStringLiteral("Петля откидная"), QStringLiteral("-"), 4, 0),
            line(QStringLiteral("6742.09.00"), QStringLiteral("Петля верхняя на раме М"), QStringLiteral("-"), 0, 4),
            line(QStringLiteral("6742.14.00"), QStringLiteral("Ножницы фрамужные"), QStringLiteral("011400"), 2, 0),
            line(QStringLiteral("6742.22.00"), QStringLiteral("Проветриватель ступенчатый"), QStringLiteral("12200"), 0, 0),
            line(QStringLiteral("6742.00.03"), QStringLiteral("Зацеп проветривателя"), QStringLiteral("-"), 2, 0),
            line(QStringLiteral("0317.00-01"), QStringLiteral("Ручка оконная"), QStringLiteral("-"), 0, 0),
            line(QStringLiteral("6742.00.14"), QStringLiteral("Подкладка"), QStringLiteral("-"), 0, 0),
            line(QStringLiteral("6742.00.05"), QStringLiteral("Накладка декор.В1"), QStringLiteral("-"), 0, 0),
            line(QStringLiteral("6742.00.06"), QStringLiteral("Накладка декор.В2"), QStringLiteral("-"), 0, 0),
        };
        // clang-format on
    }();
    return table;
}

void TiltKit::applyRules()
{
    const int h = ffh();
    const int w = ffb();

    // Sizes: the height picks the band, the width the kit. Only one size
    // message per calculation: a bad height says nothing about the width.
    const int band = bandOf(h);
    const int kit = band < 0 ? -1 : kitOf(band, w);
    if (band < 0)
        fail(msg::height());
    else if (kit < 0)
        fail(band == 0 ? msg::widthWithoutPresses() : msg::widthWithPresses());
    else
        KitDesignation = kitCodes().at(kit) + m_weightText;

    // The top hinge on the frame follows the sash weight, or is the wooden one.
    TMyLIR& hinge = row(RowPetlyaVerh);
    if (isWooden()) {
        hinge.Designation += QStringLiteral("-20");
        hinge.Marking = QStringLiteral("12/18");
        hinge.Name = QStringLiteral("Петля верхняя на раме ДМ");
    } else if (radioGroup1() == 1) {
        hinge.Designation += QStringLiteral("-01");
        hinge.Marking = QStringLiteral("09.01");
    } else {
        hinge.Designation += QStringLiteral("-00");
        hinge.Marking = QStringLiteral("09.00");
    }

    // The kit is found by its designation, so after a bad size the kit of the
    // previous calculation (same weight) is filled in and still meets the
    // ventilator check below.
    for (int i = 0; i < int(kitSpecs.size()); ++i) {
        if (KitDesignation == kitCodes().at(i) + m_weightText) {
            fill_the_komplect6741(kitVectors()[i]);
            break;
        }
    }
    fill_default_value_screw();

    // Wooden kits carry "Д" before the "М" of the kit code. Only a kit code with
    // its "М" in place gets it: a designation kept from a failed wooden attempt
    // already has its "Д" and must not collect another at every retry.
    if (isWooden() && KitDesignation.size() >= 12 && KitDesignation.at(11) == QChar(u'М'))
        KitDesignation.insert(11, QChar(u'Д'));

    // Options.
    row(RowRuchka).Quantity = ruchkaOkon() ? 1 : 0;
    if (m_checkBox1) {
        // Two transom scissors: a single pair becomes two, with its packing.
        if (row(RowNozhnicy).Quantity == 1)
            row(RowNozhnicy).Quantity = 2;
        if (row(RowPodkladka).Quantity == 1)
            row(RowPodkladka).Quantity = 2;
    }
    const int vent = provetrivatel() ? 1 : 0;
    row(RowProvetrivatel).Quantity = vent;
    row(RowZacep).Quantity = vent;

    if (!error()) {
        LastFFH = h;
        LastFFB = w;
        LastGH = gh();
    }

    // The stepped ventilator has no room beside the short side-press bolts.
    if (row(RowProvetrivatel).Quantity != 0 &&
        (row(RowZasov440).Quantity != 0 || row(RowZasov620).Quantity != 0)) {
        fail(msg::ventilatorNotApplicable());
        setProvetrivatel(false);
    }
}

void TiltKit::applySuccessRules()
{
    // Hinge and handle by the rebate system.
    const int sys = systemProfiles();
    if (sys >= 0 && sys < int(systemTexts().size())) {
        const SystemTexts& s = systemTexts()[sys];
        applyVariant(row(RowPetlyaOtkid), s.hinge);
        if (sys == t::Sys20_13 && nazvSystemProfiles() == NazvKbeExpert)
            row(RowRuchka).Designation += QStringLiteral("-03");
        else
            row(RowRuchka).Designation += s.handleSuffix;
        if (sys == t::Sys18_9) {
            row(RowProvetrivatel).Designation += QStringLiteral("-20");
            row(RowProvetrivatel).Marking = QStringLiteral("012220");
            row(RowNakladkaB1).Designation += QStringLiteral("-20");
        }
    }

    // Striker, ventilator catch and packing by the profile or, for wood, by the
    // rebate of the frame. No selection in the list leaves them as they are.
    const ProfileTexts* p = nullptr;
    if (isWooden()) {
        const int r = ramaType();
        if (r >= 0 && r < int(ramaTexts().size()))
            p = &ramaTexts()[r];
    } else {
        const int n = nazvSystemProfiles();
        if (n >= 0 && n < int(groupOfNazv.size()))
            p = &groupTexts()[groupOfNazv[n]];
    }
    if (p) {
        applyVariant(row(RowPlanka), p->planka);
        applyVariant(row(RowZacep), p->zacep);
        applyVariant(row(RowPodkladka), p->podkladka);
    }
}

} // namespace lir
