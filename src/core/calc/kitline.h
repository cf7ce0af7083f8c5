#pragma once

#include <QString>
#include <QVector>

namespace lir {

// One part of a kit: one row of a calculator's parts table. Counts are 32-bit
// signed: a kit count of 100000 must not wrap, and a rule may take a count below
// zero for a moment before a later rule completes it.
struct TMyLIR
{
    QString Designation;
    QString Name;
    QString Marking;
    int Quantity = 0;
    int Screws25 = 0;
    int Screws40 = 0;

    bool operator==(const TMyLIR&) const = default;
};

using PartsTable = QVector<TMyLIR>;

} // namespace lir
