#pragma once

#include "core/calc/kitcalculator.h"

namespace lir {

// Turn fittings ЛИР-6741: the state and rules of TMainForm6741.
class TurnKit : public KitCalculator
{
    Q_OBJECT

public:
    explicit TurnKit(QObject* parent = nullptr);

    enum { PartCount = 33, GridRows = 35, HandleRow = 26 };

    int complekt() const { return m_complekt; } // 0 without clamps, 1 with clamps
    void setComplekt(int index);                // runs ComplektClick
    void ComplektClick();
    // The width input takes 3 characters without clamps, 4 with them (4 at start).
    int ffbMaxLength() const { return m_ffbMaxLength; }

    bool balkonnayaZaschelka() const { return m_balkonnaya; }
    void setBalkonnayaZaschelka(bool on);
    bool blokirator() const { return m_blokirator; }
    void setBlokirator(bool on);
    bool blokiratorVisible() const { return isWooden(); }

    PartsTable catalogue() const override;
    void fill_the_komplect6741(const QVector<int>& q) { fillQuantities(q); }

protected:
    void applyRules() override;
    void applySuccessRules() override;
    QString orderType() const override;
    QString orderDopKomplekt() const override;
    int handleRow() const override { return HandleRow; }

private:
    // What the size checks did to KitDesignation.
    enum class Designation {
        Formed, // this calculation wrote a new designation
        Kept,   // a size check failed; the previous designation stays and is matched
        Void,   // the height is invalid but the width is not: nothing to match
    };
    Designation checkSizes();
    void hingeTexts();
    void matchKit();
    void options();
    void handleWithoutClamps();
    void handleWithClamps();
    void optionChecks();
    void rebateSystemTexts();
    void profileTexts();

    int m_complekt = 0;
    int m_ffbMaxLength = 4;
    bool m_balkonnaya = false;
    bool m_blokirator = false;
};

} // namespace lir
