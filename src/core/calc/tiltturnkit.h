#pragma once

#include "core/calc/kitcalculator.h"

namespace lir {

// Tilt-turn fittings ЛИР-6742: the state and rules of TMainForm6742.
class TiltTurnKit : public KitCalculator
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

    PartsTable catalogue() const override;
    // Quantities of rows 1..40; rows 41 and 42 follow "Запор поворотно-откидной".
    void fill_the_komplect6742(const QVector<int>& q);

    // Size classes (-1: outside every class). Height classes count 0, 1, 2, 3А, 3, 4.
    static int widthClass(int w);
    static int heightClass(int h);
    // The 36 standard kits in table order: codes and quantity vectors (rows 1..40).
    static QStringList kitCodes();
    static QVector<int> kitQuantities(int index);

protected:
    void applyRules() override;
    void applySuccessRules() override;
    QString orderType() const override;
    QString orderDopKomplekt() const override;
    bool orderLock() const override { return m_cbZapor; }
    int handleRow() const override { return HandleRow; }
    void fill_default_value_screw() override;
    void profileTypeExtras() override;

private:
    void setHingeTexts();
    void placeHandle();  // handle position: bolt, extensions, screws per piece
    void checkOptions(); // options that do not go with the kit
    void applyZapor();   // "Запор поворотно-откидной"
    void setSystemTexts();
    void setProfileTexts();

    bool m_cbZapor = false;
    bool m_plankaMicrovent = false;
    bool m_checkBox1 = false;
};

} // namespace lir
