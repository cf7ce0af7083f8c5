#pragma once

#include "core/calc/kitline.h"
#include "core/orders/ordersink.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVector>

#include <array>

namespace lir {

using GridRow = std::array<QString, 6>;

// The state of one calculator window without widgets: every input, the input
// handlers, the parts table, the result grid and the Last calculation. The
// window is a view of it; the command-line calculator and the order window
// drive the same object.
//
// Setting an input runs its handler exactly as a person's change does, and only
// when the value really changes. Every change is announced by changed().
class KitCalculator : public QObject
{
    Q_OBJECT

public:
    enum class Kind { Turn, TiltTurn, Tilt };

    ~KitCalculator() override;

    Kind kind() const { return m_kind; }
    // "6741", "6742" or "6741otkid"
    QString model() const;

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
    bool ghEnabled() const { return !m_ruchkaVcentre; }
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
    void setLirlText(const QString& text); // typing into LIRL (turn and tilt windows)
    bool saveChangesVisible() const { return m_saveChangesVisible; }
    bool saveChangesEnabled() const { return m_saveChangesEnabled; }
    void setSaveChangesVisible(bool on); // the order window opens an entry for editing

    // The result grid, row 0 being the header row.
    int gridRowCount() const { return int(m_grid.size()); }
    const GridRow& gridRow(int r) const { return m_grid.at(r); }
    QString gridCell(int r, int c) const { return m_grid.at(r).at(c); }
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

    // Handle at the centre: half of size, halves to the even neighbour.
    static int halfToEven(int size);

signals:
    void changed();

protected:
    KitCalculator(Kind kind, int gridRows, QObject* parent);
    void init(); // called by the subclass constructor once catalogue() works

    // The rules of one fitting system: run between step 2 and step 6 of the
    // calculation (size checks, kit choice, options, further checks).
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

    void notify() { emit changed(); }
    // Sets an input and, when its value really changes, runs its handler and
    // announces the change.
    template <class T, class Handler> void changeInput(T& member, const T& value, Handler handler)
    {
        if (member == value)
            return;
        member = value;
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
    void clearGrid();
    void writeGridAndLast();
    void writeTotals(bool success);

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
    QVector<GridRow> m_grid;
};

} // namespace lir
