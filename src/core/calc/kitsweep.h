#pragma once

#include <QString>
#include <QVector>

#include <functional>

// The walk of the three calculators over their inputs: what the delivered
// price list is generated from (tools/pricelist) and what
// `lircomplect-prices check` compares a price table with.
namespace lir::sweep {

// One line that a successful calculation put into a result grid.
struct KitPart
{
    QString designation;
    QStringList names;  // every name shown with it, in the order met
    QString calculator; // "6741", "6742" or "6741otkid": the first that produced it

    // The name for the price list: the first without blanks around it (one
    // catalogue writes "Блокиратор " where another writes "Блокиратор"),
    // else the first.
    QString preferredName() const;
};

// How finely the sweep walks the sizes. Every other input (profile systems,
// rebate types, sides, weights, handle types, every option) is always taken
// in every combination.
struct SweepSettings
{
    int minSize = 100;
    int maxSize = 2700;
    int sizeStep = 25;      // heights and widths with the handle in the centre
    int offCentreStep = 50; // heights and widths with the handle off the centre
    int handleStep = 25;    // handle heights off the centre
    // A wooden sash after every choice of the (hidden) list of profile
    // systems, not only after the first.
    bool everyHiddenChoice = true;
    // The size walk in every combination of options and at every size point,
    // and every kit it finds in every combination of the other inputs; the
    // ordinary walk takes the options one by one and prices only as few kits
    // as show every part.
    bool exhaustive = false;

    // A coarse walk for the tests, which still meets the size classes of the rules.
    static SweepSettings quick() { return {200, 2600, 100, 200, 100, false, false}; }
};

struct SweepReport
{
    QVector<KitPart> parts;  // one per designation, in the order found
    QStringList conflicts;   // designations met with more than one name, and their names
    long long calculations = 0;
    int kitShapes = 0;       // distinct kits found by the size walk
    int representatives = 0; // kits taken through every other input
};

// Drives the three calculators over their inputs and collects every
// designation, with its name, that a successful calculation shows. Message
// boxes of failed calculations are swallowed while it runs. `progress`, when
// given, is told the calculator that is being swept.
SweepReport sweepCalculators(const SweepSettings& settings,
                             const std::function<void(const QString&)>& progress = {});

// One kit designation that a calculation can show, and the calculator ("6741",
// "6742" or "6741otkid") that first showed it.
struct KitCode
{
    QString designation;
    QString calculator;
};

// Every standard kit designation the three calculators can show: the size
// walk with the handle in the centre (off the centre a kit is
// "Нестандартный"), on both profile types and both sides, in every way of
// picking a kit, with no option and with each option alone. In the order found.
QVector<KitCode> sweepKitDesignations(const SweepSettings& settings, long long* calculations = nullptr);

} // namespace lir::sweep
