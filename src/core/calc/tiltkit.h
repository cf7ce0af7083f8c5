#pragma once

#include "core/calc/kitcalculator.h"

namespace lir {

// Tilt fittings ЛИР-6741 (transoms): the state and rules of TMainForm6741otkid.
class TiltKit : public KitCalculator
{
    Q_OBJECT

public:
    explicit TiltKit(QObject* parent = nullptr);

    enum { PartCount = 23, GridRows = 35, HandleRow = 20 };

    // CheckBox1: "Фрамужные ножницы 2шт"
    bool checkBox1() const { return m_checkBox1; }
    void setCheckBox1(bool on);

    PartsTable catalogue() const override;
    void fill_the_komplect6741(const QVector<int>& q) { fillQuantities(q); }

protected:
    void applyRules() override;
    void applySuccessRules() override;
    QString orderType() const override;
    QString orderDopKomplekt() const override;
    int handleRow() const override { return HandleRow; }

private:
    bool m_checkBox1 = false;
};

} // namespace lir
