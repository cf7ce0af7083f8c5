#pragma once

#include <QString>
#include <QVector>

#include <optional>

// The delivered price list: kept as UTF-8 text, one row a line,
// "designation;name;price" under the header "oboznashenie;nazvanie;zena",
// and built into the price table zeni.db by the build.
namespace lir::pricelist {

struct PriceRow
{
    QString designation;
    QString name;
    std::optional<double> price; // empty: not priced

    bool operator==(const PriceRow&) const = default;
};

// Reads the text; throws lir::Error naming the line of a malformed row, a
// designation met twice, or a text too long for its field.
QVector<PriceRow> parsePriceList(const QByteArray& utf8);
QVector<PriceRow> readPriceList(const QString& path);

// The text of the rows; throws lir::Error for a text that cannot be kept in
// it (a separator or a line break inside a field).
QByteArray formatPriceList(const QVector<PriceRow>& rows);
void writePriceList(const QString& path, const QVector<PriceRow>& rows);

// Creates the price table in the tables' directory and writes the rows in
// table order, all in one transaction. The table must not exist yet; it is
// left open.
void buildPriceTable(const QVector<PriceRow>& rows);

} // namespace lir::pricelist
