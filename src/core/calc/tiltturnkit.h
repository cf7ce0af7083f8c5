#pragma once

#include "core/calc/kitrules.h"

namespace lir {

// Tilt-turn fittings ЛИР-6742: the state and rules of TMainForm6742.
class TiltTurnKit : public KitRules
{
    Q_OBJECT

public:
    explicit TiltTurnKit(QObject* parent = nullptr);

    enum { PartCount = 42, GridRows = 30, HandleRow = 40 };

    // "Запор поворотно-откидной": no handler, read by the rules.
    bool cbZapor() const { return m_cbZapor; }
    void setCbZapor(bool on);
    bool plankaMicrovent() const { return m_plankaMicrovent; }
    void setPlankaMicrovent(bool on);
    bool plankaMicroventVisible() const { return !isWooden(); }
    // CheckBox1: "Балконная защелка"
    bool checkBox1() const { return m_checkBox1; }
    void setCheckBox1(bool on);

    // Quantities of rows 1..40; rows 41 and 42 follow "Запор поворотно-откидной".
    void fill_the_komplect6742(const QVector<int>& q);

    // Size classes (-1: outside every class). Height classes count 0, 1, 2, 3А, 3, 4.
    static int widthClass(int w);
    static int heightClass(int h);
    // The codes of the 36 standard kits in table order, "ЛИР-6742М" to
    // "ЛИР-6742-45М" (without side letter and weight), and the quantity vector
    // of each (rows 1..40).
    static QStringList kitCodes();
    static QVector<int> kitQuantities(int index);

    SizeSpan allowedFFH() const override;
    SizeSpan allowedFFB(int ffh) const override;
    bool handleAccepted(int ffh, int ffb, int gh) const override;

protected:
    Designation checkSizes() override;
    void placeHandle() override;
    void systemPartTexts(const RebateSystem& system) override;
    void finishRules() override; // "Запор поворотно-откидной"
    void fillKit(const QVector<int>& quantities) override { fill_the_komplect6742(quantities); }
    bool orderLock() const override { return m_cbZapor; }
    void fill_default_value_screw() override;
    void profileTypeExtras() override;

private:
    bool m_cbZapor = false;
    bool m_plankaMicrovent = false;
    bool m_checkBox1 = false;
};

} // namespace lir
