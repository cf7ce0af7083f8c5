#include "core/export/kitsheet.h"

namespace lir {

QString screwDesignation25()
{
    return QStringLiteral("DIN7982(4*25)");
}

QString screwDesignation40()
{
    return QStringLiteral("DIN7982(4*40)");
}

KitSheet KitSheet::fromCalculator(const KitCalculator& calc)
{
    KitSheet s;
    s.kitDesignation = calc.KitDesignation;
    s.ffh = calc.LastFFH;
    s.ffb = calc.LastFFB;
    s.gh = calc.LastGH;
    s.handleAlongWidth = calc.kind() == KitCalculator::Kind::Tilt;
    s.quantityAsNumber = calc.kind() == KitCalculator::Kind::TiltTurn;
    s.profileSystem = calc.systemProfilesText();
    s.profileSystemName = calc.nazvSystemProfilesText();
    s.ral = calc.ral();
    s.kitCount = calc.kolKomlektov();
    auto cell = [&calc](int r, int c) { return r < calc.gridRowCount() ? calc.gridCell(r, c) : QString(); };
    for (int i = 1; i <= calc.LineCount && i <= calc.KitLines.size(); ++i) {
        const TMyLIR& k = calc.KitLines.at(i - 1);
        s.lines.push_back({k.Designation, k.Name, k.Marking, k.Quantity, cell(i, 4), cell(i, 5)});
    }
    const int n = int(s.lines.size());
    s.screws25 = {cell(n + 1, 1), cell(n + 1, 3)};
    s.screws40 = {cell(n + 2, 1), cell(n + 2, 3)};
    return s;
}

} // namespace lir
