#pragma once

#include "core/calc/kitrules.h"

namespace lir {

// Tilt fittings ЛИР-6741 (transoms): the state and rules of TMainForm6741otkid.
class TiltKit : public KitRules
{
    Q_OBJECT

public:
    explicit TiltKit(QObject* parent = nullptr);

    enum { PartCount = 23, GridRows = 35, HandleRow = 20 };

    // CheckBox1: "Фрамужные ножницы 2шт"
    bool checkBox1() const { return m_checkBox1; }
    void setCheckBox1(bool on);

    void fill_the_komplect6741(const QVector<int>& q) { fillQuantities(q); }

    // The codes of the 12 standard kits in table order, "ЛИР-6741-51М" to
    // "ЛИР-6741-65М" (without weight), and the quantity vector of each (rows 1..23).
    static QStringList kitCodes();
    static QVector<int> kitQuantities(int index);

    SizeSpan allowedFFH() const override;
    // The widths of the kits of the height band of ffh (of both bands for a
    // height outside them).
    SizeSpan allowedFFB(int ffh) const override;
    // The handle always sits in the middle of the width; no rule checks it.
    bool handleAccepted(int, int, int) const override { return true; }

protected:
    Designation checkSizes() override;
    void systemPartTexts(const RebateSystem& system) override;

private:
    bool m_checkBox1 = false;
};

} // namespace lir
