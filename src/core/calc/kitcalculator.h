#pragma once

#include "core/calc/kitline.h"
#include "core/calc/ordersink.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVector>

#include <array>
#include <functional>
#include <vector>

namespace lir {

using GridRow = std::array<QString, 6>;

// A closed range of sizes in millimetres that the rules accept; empty when
// lo > hi.
struct SizeSpan
{
    int lo = 0;
    int hi = -1;
    constexpr bool contains(int v) const { return v >= lo && v <= hi; }
    constexpr bool empty() const { return lo > hi; }
};

// The state of one calculator window without widgets: every input, the input
// handlers, the parts table, the result grid and the Last calculation. The
// window is a view of it; the command-line calculator and the order window
// drive the same object.
//
// Two ways change an input:
// - A person's change (userSet, userClick, userChange) goes only to an input
//   that is shown and enabled at that moment, and runs what the click into the
//   control runs (ImageUpdate for most inputs) as well as its handler. The
//   window forwards its widget signals here; the command-line calculator maps
//   its keys here. Nothing else decides these rules.
// - A change from code (the setters below, or setInput) sets the input even
//   when it is hidden or disabled. Setting a spin edit, check box or radio
//   group runs its handler when the value really changes; selecting a list item
//   runs none (the profile-system name, the one list with a change handler, is
//   selected from code by selectNazvSystemProfiles).
// Every change is announced by changed().
class KitCalculator : public QObject
{
    Q_OBJECT

public:
    enum class Kind { Turn, TiltTurn, Tilt };

    // The inputs of the three windows, named after their controls.
    enum class Input {
        KolKomlektov,
        RAL,
        ProfilType,
        Complekt, // turn
        CbZapor,  // tilt-turn
        FFH,
        FFB,
        GH,
        RuchkaVcentre, // turn and tilt-turn
        PolStvorki,    // turn and tilt-turn
        NazvSystemProfiles,
        RamaType, // cb_ramaType
        RuchkaOkon,
        TipRuchki,
        Provetrivatel,
        BalkonnayaZaschelka, // turn
        Blokirator,          // turn
        PlankaMicrovent,     // tilt-turn
        CheckBox1,           // tilt-turn "Балконная защелка", tilt "Фрамужные ножницы 2шт"
        RadioGroup1,
    };

    ~KitCalculator() override;

    Kind kind() const { return m_kind; }
    // "6741", "6742" or "6741otkid"
    QString model() const;

    // ------------------------------------------------------------ a person's change
    // Whether this window has the input at all. The tilt window has no sash
    // side, and its "Ручка в центре" is hidden for good.
    bool hasInput(Input in) const;
    // Whether a person can change the input now: the window has it, and it is
    // shown and enabled.
    bool inputAvailable(Input in) const;
    // A whole change: the click into the input and its new value (a box
    // clicked, a list item chosen, a click into a spin edit and typing). False,
    // and nothing changes, when the input is not available now.
    bool userSet(Input in, int value);
    // The click alone, for a window that reports it apart from the value: runs
    // ImageUpdate where that is the control's click handler.
    bool userClick(Input in);
    // The new value alone (the text of a spin edit changed, a list item chosen).
    bool userChange(Input in, int value);
    // Typing into LIRL; false where it is read-only or hidden.
    bool userSetLirl(const QString& text);

    // ------------------------------------------------------------ a change from code
    // Sets any input of this window by code, as the order replay does (see
    // above); an input the window lacks is left alone.
    void setInput(Input in, int value);
    // The value of an input: the number, the item index (-1: none) or 0/1 for a box.
    int inputValue(Input in) const;
    // The items of a list or radio input, in index order; empty for the others.
    const QStringList& inputItems(Input in) const;

    // ------------------------------------------------------------ inputs
    int kolKomlektov() const { return m_kolKomlektov; }
    void setKolKomlektov(int v); // clamped to 1..100000
    int ral() const { return m_ral; }
    void setRal(int v); // clamped to 0..9999

    int profilType() const { return m_profilType; } // 0 "ПВХ", 1 "деревянный"
    void setProfilType(int index);                  // runs ProfilTypeClick
    bool isWooden() const { return m_profilType == 1; }

    int ffh() const { return m_ffh; }
    void setFFH(int v);
    int ffb() const { return m_ffb; }
    void setFFB(int v);
    int gh() const { return m_gh; }
    void setGH(int v);

    bool ruchkaVcentre() const { return m_ruchkaVcentre; }
    void setRuchkaVcentre(bool on); // runs RuchkaVcentreClick

    int polStvorki() const { return m_polStvorki; } // 0 "Правое", 1 "Левое"
    void setPolStvorki(int index);

    // Display only: follows the profile-system name or the profile type.
    int systemProfiles() const { return m_systemProfiles; }
    QString systemProfilesText() const;

    // The window's own list of profile-system names and the selected index (-1: none).
    const QStringList& nazvItems() const;
    int nazvSystemProfiles() const { return m_nazv; }
    QString nazvSystemProfilesText() const;
    void setNazvSystemProfiles(int index);    // a person's choice: runs the change handler
    void selectNazvSystemProfiles(int index); // a selection from code: runs nothing

    int ramaType() const { return m_ramaType; } // cb_ramaType, -1: none
    QString ramaTypeText() const;
    void setRamaType(int index);

    bool ruchkaOkon() const { return m_ruchkaOkon; }
    void setRuchkaOkon(bool on); // runs RuchkaOkonClick
    int tipRuchki() const { return m_tipRuchki; } // 0 "ЛИР-0317.00", 1 "ЛИР-1938.00"
    void setTipRuchki(int index);

    bool provetrivatel() const { return m_provetrivatel; }
    void setProvetrivatel(bool on);

    int radioGroup1() const { return m_radioGroup1; } // sash weight, 0 up to 100 kg, 1 up to 120 kg
    void setRadioGroup1(int index);

    // ------------------------------------------------------------ view state
    // GH is typed only for an off-centre handle; the tilt window's handle is always centred.
    bool ghEnabled() const { return !m_ruchkaVcentre && m_kind != Kind::Tilt; }
    bool ramaTypeVisible() const { return isWooden(); }
    bool nazvVisible() const { return !isWooden(); }
    bool weightVisible() const { return !isWooden(); }
    bool handleTypeVisible() const { return m_ruchkaOkon; } // TipRuchki and "показать"
    bool image1Visible() const { return m_image1Visible; }  // sash drawing
    bool image3Visible() const { return m_image3Visible; }  // handle types
    bool resultVisible() const { return m_resultVisible; }  // the result grid
    // "EXCEL" and "В ЗАКАЗ": shown with the grid of a successful calculation,
    // hidden from the start of every calculation, so that after a failed one
    // they never act on an earlier kit with the failed attempt's inputs.
    bool commandsVisible() const { return m_commandsVisible; }
    bool lirlVisible() const { return m_lirlVisible; }
    bool lirlReadOnly() const { return m_kind == Kind::TiltTurn; }
    QString lirlText() const { return m_lirlText; }
    void setLirlText(const QString& text); // LIRL's text from code
    bool saveChangesVisible() const { return m_saveChangesVisible; }
    bool saveChangesEnabled() const { return m_saveChangesEnabled; }
    void setSaveChangesVisible(bool on); // the order window opens an entry for editing

    // The result grid, row 0 being the header row.
    int gridRowCount() const { return int(m_grid.size()); }
    const GridRow& gridRow(int r) const;
    QString gridCell(int r, int c) const { return gridRow(r).at(c); }
    static QStringList gridHeaders(int screenWidth);
    static QList<int> gridColumnWidths(int screenWidth);
    static int windowWidth(int screenWidth);

    // ------------------------------------------------------------ Last calculation
    QString KitDesignation;
    int LastFFH = 0;
    int LastFFB = 0;
    int LastGH = 0;
    int LineCount = 0;
    PartsTable KitLines; // element r of the grid is KitLines[r - 1]

    // ------------------------------------------------------------ handlers
    void FormActivate();
    void ImageUpdate();
    void FFHChange(); // turn and tilt-turn: GH follows FFH
    void FFBChange(); // tilt: GH follows FFB
    void RuchkaVcentreClick();
    void NazvSystemProfilesChange();
    void ProfilTypeClick();
    void RuchkaOkonClick();
    void Panel2Click();
    void RashetButtonClick();
    // "В ЗАКАЗ": adds the kit to the order; a person can press it only while it is visible.
    void SumButtonClick();
    void Panel1Click();
    // Hands the current inputs to the order as entry number index.
    void fill_the_order(int index);
    TOrder orderEntry() const;

    // The parts table with its catalogue texts, for tests and the price list.
    virtual PartsTable catalogue() const = 0;
    const PartsTable& parts() const { return Komplekt; }
    // Whether the last RashetButtonClick ended with the error flag set.
    bool lastCalculationFailed() const { return m_error; }
    // Whether the grid and the Last calculation are the kit of the inputs as
    // they stand: the last calculation succeeded and no input changed since.
    bool resultCurrent() const;
    // What "В ЗАКАЗ", "Сохранить изменения" and "EXCEL" act on: when an input
    // changed since the last successful calculation, calculates first. True
    // when the result is current; false when that calculation failed (its
    // messages are shown) and the command must do nothing.
    bool calculateIfChanged();

    // Handle at the centre: half of size, halves to the even neighbour.
    static int halfToEven(int size);

    // ------------------------------------------------------------ what the rules accept
    // Asked by the sash drawing, which marks a size before "РАСЧЕТ" would.
    // A calculator without size rules accepts every size (an empty span).
    // The heights the size checks accept with the other inputs as they are.
    virtual SizeSpan allowedFFH() const { return {}; }
    // The widths they accept for a sash of the (accepted) height ffh.
    virtual SizeSpan allowedFFB(int /*ffh*/) const { return {}; }
    // Whether the handle checks accept a handle at gh on a sash of ffh x ffb
    // with "Ручка в центре" unchecked (the centre itself counts as accepted).
    virtual bool handleAccepted(int /*ffh*/, int /*ffb*/, int /*gh*/) const { return true; }
    // Whether the kit of the last calculation stands for the inputs as they
    // are: the calculation succeeded and no input changed since.
    bool kitCurrent() const { return !m_error && LineCount > 0 && m_calculatedRevision == m_inputRevision; }

signals:
    void changed();

protected:
    KitCalculator(Kind kind, int gridRows, QObject* parent);
    void init(); // called by the subclass constructor once catalogue() works

    // The rules of one fitting system: run once the values derived from the
    // inputs are set and before the success rules (size checks, kit choice,
    // options, further checks).
    virtual void applyRules() = 0;
    // Texts by profile system and profile, and final corrections; runs only
    // when no check failed, before the quantities are multiplied by the count.
    virtual void applySuccessRules() = 0;
    // Order entry pieces that differ by window.
    virtual QString orderType() const = 0;
    virtual QString orderDopKomplekt() const = 0;
    // Whether the kit carries the tilt-turn lock ("Запор поворотно-откидной").
    virtual bool orderLock() const { return false; }
    // What the profile type changes beyond the common inputs.
    virtual void profileTypeExtras() {}
    // Row of "Ручка оконная" in the parts table (1-based).
    virtual int handleRow() const = 0;
    // Sets Screws25 and Screws40 of every row to the defaults per piece.
    virtual void fill_default_value_screw();
    // Quantity of row k := q[k-1] for every row.
    void fillQuantities(const QVector<int>& q);

    // Row k of the parts table, counted from 1 as the rules count.
    TMyLIR& row(int k) { return Komplekt[k - 1]; }
    const TMyLIR& row(int k) const { return Komplekt[k - 1]; }

    // Shows the message in the error box and sets the error flag.
    void fail(const QString& message);
    bool error() const { return m_error; }

    // Handle at the centre: GH := half of size, halves to the even neighbour.
    void followHalf(int size);

    // An input of one window only, which the subclass holds: how it is read,
    // set from code and, when it can be hidden, whether it is shown.
    void addOwnInput(Input in, std::function<int()> value, std::function<void(int)> set,
                     std::function<bool()> shown = {});

    void notify() { emit changed(); }
    // Sets an input and, when its value really changes, runs its handler and
    // announces the change.
    template <class T, class Handler> void changeInput(T& member, const T& value, Handler handler)
    {
        if (member == value)
            return;
        member = value;
        ++m_inputRevision;
        handler();
        notify();
    }
    template <class T> void changeInput(T& member, const T& value)
    {
        changeInput(member, value, [] {});
    }

    PartsTable Komplekt;
    QString m_weightText; // "100", "120" or empty for a wooden sash
    QString m_sideLetter; // "R", "L" or empty in the tilt window

private:
    struct OwnInput
    {
        Input input;
        std::function<int()> value;
        std::function<void(int)> set;
        std::function<bool()> shown;
    };
    const OwnInput* ownInput(Input in) const;

    void clearGrid();
    void writeGridRow(int r, const QString& designation, const QString& name, const QString& marking,
                      const QString& quantity, const QString& screws25, const QString& screws40);
    void restoreCatalogue();
    void writeGridAndLast();
    void writeTotals(bool success);
    // Every input of the Input list, 0 where the window lacks it.
    void inputValues(std::vector<int>& values) const;

    Kind m_kind;
    int m_gridRows;

    int m_kolKomlektov = 1;
    int m_ral = 9016;
    int m_profilType = 0;
    int m_ffh = 0;
    int m_ffb = 0;
    int m_gh = 0;
    bool m_ruchkaVcentre = true;
    int m_polStvorki = 0;
    int m_systemProfiles = 1;
    int m_nazv = 0;
    int m_ramaType = 0;
    bool m_ruchkaOkon = false;
    int m_tipRuchki = 0;
    bool m_provetrivatel = false;
    int m_radioGroup1 = 0;

    bool m_image1Visible = true;
    bool m_image3Visible = false;
    bool m_resultVisible = false;
    bool m_commandsVisible = false;
    bool m_lirlVisible = false;
    QString m_lirlText;
    bool m_saveChangesVisible = false;
    bool m_saveChangesEnabled = false;

    bool m_error = false;
    // Counts the changes of inputs, so that a kit knows whether it is still current.
    quint64 m_inputRevision = 0;
    quint64 m_calculatedRevision = 0;
    QVector<GridRow> m_grid;
    int m_gridShown = 0; // rows 1 to this one hold the result; those below read as empty
    int m_gridLines = 0; // rows 1 to this one hold the lines of KitLines, as written from them
    std::vector<OwnInput> m_ownInputs;
    // The inputs of the last successful calculation; empty after a failed one.
    std::vector<int> m_resultInputs;
};

} // namespace lir
