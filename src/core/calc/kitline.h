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

// The same text, kept for the rest of the run and handed out as raw data, so
// that its copies (a rule's text, a grid cell, the restored catalogue) count
// no references. For the texts the rules make of their tables: a few hundred
// in all; past a bound the text is handed back as it is.
QString keptText(const QString& text);

} // namespace lir
