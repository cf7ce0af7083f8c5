#pragma once

#include "core/calc/kitrules.h"

namespace lir {

// Turn fittings ЛИР-6741: the state and rules of TMainForm6741.
class TurnKit : public KitRules
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

    void fill_the_komplect6741(const QVector<int>& q) { fillQuantities(q); }

    // The codes of the 16 standard kits in table order, "ЛИР-6741-01М" to
    // "ЛИР-6741-24М" (without side letter and weight), and the quantity vector
    // of each (rows 1..33).
    static QStringList kitCodes();
    static QVector<int> kitQuantities(int index);

    SizeSpan allowedFFH() const override;
    SizeSpan allowedFFB(int ffh) const override;
    bool handleAccepted(int ffh, int ffb, int gh) const override;

protected:
    Designation checkSizes() override;
    void placeHandle() override;
    void systemPartTexts(const RebateSystem& system) override;
    QString orderTypeSuffix() const override;

private:
    void handleWithoutClamps();

    int m_complekt = 0;
    int m_ffbMaxLength = 4;
    bool m_balkonnaya = false;
    bool m_blokirator = false;
};

} // namespace lir
