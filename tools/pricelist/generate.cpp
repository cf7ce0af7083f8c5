// Regenerates the delivered price list from the calculators: every part that
// a successful calculation can show, with its catalogue name, and the two
// screws the sheets price; prices 0.
//
//   lir-gen-pricelist <data/zeni.csv> [--quick | --exhaustive]
#include "pricelist.h"

#include "core/base/error.h"
#include "core/calc/kitsweep.h"
#include "core/export/kitsheet.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>

using namespace lir::pricelist;
using namespace lir::sweep;

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const bool exhaustive = args.removeAll(QStringLiteral("--exhaustive")) > 0;
    const bool quick = args.removeAll(QStringLiteral("--quick")) > 0;
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: lir-gen-pricelist <price list .csv> [--exhaustive]\n");
        return 2;
    }
    try {
        SweepSettings settings = quick ? SweepSettings::quick() : SweepSettings();
        settings.exhaustive = exhaustive;
        QElapsedTimer timer;
        timer.start();
        const SweepReport report = sweepCalculators(settings, [](const QString& model) {
            std::fprintf(stderr, "sweeping calculator %s\n", qPrintable(model));
        });
        for (const QString& c : report.conflicts)
            std::fprintf(stderr, "note: one designation, several names (the list takes one): %s\n",
                         qPrintable(c));

        QVector<PriceRow> rows;
        for (const KitPart& p : report.parts)
            rows.push_back({p.designation, p.preferredName(), 0.0});
        std::sort(rows.begin(), rows.end(),
                  [](const PriceRow& a, const PriceRow& b) { return a.designation < b.designation; });
        // Priced by the sheets for the screw totals.
        rows.push_back({lir::screwDesignation25(), QStringLiteral("Шуруп 4*25"), 0.0});
        rows.push_back({lir::screwDesignation40(), QStringLiteral("Шуруп 4*40"), 0.0});
        writePriceList(args.at(0), rows);
        std::fprintf(stderr, "%lld calculations, %d kit shapes, %d rows written to %s in %.1f s\n",
                     report.calculations, report.kitShapes, int(rows.size()), qPrintable(args.at(0)),
                     timer.elapsed() / 1000.0);
    } catch (const lir::Error& e) {
        std::fprintf(stderr, "lir-gen-pricelist: %s\n", qPrintable(e.message()));
        return 1;
    }
    return 0;
}
