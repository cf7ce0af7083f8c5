#pragma once

#include "core/calc/kitcalculator.h"
#include "gui/calc/sashview.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QWidget>

namespace lir::gui {

class CommandPanel;
class Picture;
class SpinEdit;

// The frame shared by the three calculator windows: a view bound to a
// calculator state object. Every change a person makes goes to the state
// object, whose handlers run; every change of the state is shown here.
class CalculatorWindow : public QWidget
{
    Q_OBJECT

public:
    ~CalculatorWindow() override;

    KitCalculator& calculator() const { return *m_calc; }

    // Controls, by the names the program gives them.
    SpinEdit* kolKomlektov() const { return m_kolKomlektov; }
    SpinEdit* ral() const { return m_ral; }
    SpinEdit* ffh() const { return m_ffh; }
    SpinEdit* ffb() const { return m_ffb; }
    SpinEdit* gh() const { return m_gh; }
    QCheckBox* ruchkaVcentre() const { return m_ruchkaVcentre; }
    QComboBox* nazvSystemProfiles() const { return m_nazv; }
    QComboBox* systemProfiles() const { return m_system; }
    QTableWidget* grid() const { return m_grid; }
    QLineEdit* lirl() const { return m_lirl; }
    CommandPanel* rashetButton() const { return m_rashet; }
    CommandPanel* exportButton() const { return m_export; }
    CommandPanel* sumButton() const { return m_sum; }
    CommandPanel* printButton() const { return m_print; }
    CommandPanel* saveChangesButton() const { return m_panel1; }
    SashView* image1() const { return m_image1; }
    Picture* image3() const { return m_image3; }

    // Brings every control in line with the state object.
    void syncFromState();

    // While one lives, the calculator windows show the changes of their
    // calculators once, when the last one goes: a replay of an order restores
    // and calculates every entry in turn, and only the last state is seen.
    class HeldSync
    {
    public:
        HeldSync();
        ~HeldSync();
        HeldSync(const HeldSync&) = delete;
        HeldSync& operator=(const HeldSync&) = delete;
    };
    // Shows the window for an entry that the order opens for editing; the
    // calculation that follows stays visible when the window is activated.
    void showOpenedEntry();

protected:
    CalculatorWindow(KitCalculator* calc, const QString& caption, QWidget* parent);
    // Builds the window; subclasses add their own inputs through the hooks.
    void build();

    // The kit-variant input under the profile type (turn: Complekt; tilt-turn: cb_zapor).
    virtual void addKitVariant(QVBoxLayout*) {}
    // The window's own option boxes after the stepped ventilator.
    virtual void addOptions(QVBoxLayout*) {}
    virtual void syncExtras() {}
    virtual QString saveChangesCaption() const;
    virtual QString ghLabel() const;

    // Helpers for subclasses: a check box or radio group whose clicks go to an input.
    QCheckBox* addCheckBox(QVBoxLayout* into, const QString& objectName, const QString& text,
                           KitCalculator::Input input);
    void forwardClicks(QCheckBox* box, KitCalculator::Input input);
    void forwardClicks(QButtonGroup* group, KitCalculator::Input input);
    static void showChecked(QCheckBox* box, bool on);
    QString suffix() const; // "6741" or "6742" in the control names

    bool event(QEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void layoutPictures();
    void syncGrid();
    void fitColumns(bool atCreation);
    bool m_columnsStale = false; // the grid changed while the window was hidden
    bool m_syncHeld = false;     // a change came while a HeldSync lived
    void addKeys();

    KitCalculator* m_calc;
    bool m_activationHandled = false;

    QWidget* m_panel = nullptr;
    SpinEdit* m_kolKomlektov = nullptr;
    SpinEdit* m_ral = nullptr;
    QButtonGroup* m_profilType = nullptr;
    QGroupBox* m_weightGroup = nullptr;
    QButtonGroup* m_weight = nullptr;
    SpinEdit* m_ffh = nullptr;
    SpinEdit* m_ffb = nullptr;
    SpinEdit* m_gh = nullptr;
    QCheckBox* m_ruchkaVcentre = nullptr;
    QLabel* m_polLabel = nullptr;
    QComboBox* m_pol = nullptr;
    QComboBox* m_system = nullptr;
    QLabel* m_nazvLabel = nullptr;
    QComboBox* m_nazv = nullptr;
    QLabel* m_ramaLabel = nullptr;
    QComboBox* m_rama = nullptr;
    QCheckBox* m_ruchkaOkon = nullptr;
    QComboBox* m_tipRuchki = nullptr;
    CommandPanel* m_panel2 = nullptr;
    QCheckBox* m_provetrivatel = nullptr;

    QLabel* m_lirlLabel = nullptr;
    QLineEdit* m_lirl = nullptr;
    QWidget* m_pictureArea = nullptr;
    SashView* m_image1 = nullptr;
    Picture* m_image3 = nullptr;
    QTableWidget* m_grid = nullptr;
    QList<int> m_designedWidths;

    CommandPanel* m_rashet = nullptr;
    CommandPanel* m_panel1 = nullptr;
    CommandPanel* m_export = nullptr;
    CommandPanel* m_sum = nullptr;
    CommandPanel* m_print = nullptr;
    CommandPanel* m_close = nullptr;

    // The lists whose mouse press is forwarded as a click into their input.
    QHash<QObject*, KitCalculator::Input> m_clickInputs;
};

} // namespace lir::gui
