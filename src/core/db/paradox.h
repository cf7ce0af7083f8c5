#pragma once

#include <QString>
#include <QVariant>
#include <QVector>

// Tables in the Paradox format, read through pxlib: the price and order tables
// that other tools keep in that format under the same file names.
namespace lir::db::paradox {

enum class FieldType { Alpha, Short, Long, AutoInc, Number, Currency, Bcd, Logical, Date, Time, Timestamp };

struct Field
{
    QString name;
    FieldType type = FieldType::Alpha;
    int length = 0; // bytes in the record; the characters of an Alpha field
};

struct Table
{
    QVector<Field> fields;
    // Every row in the file's order. An empty field is an invalid QVariant;
    // otherwise Alpha is a QString (from Windows-1251), Short, Long and
    // AutoInc a qlonglong, Number, Currency and Bcd a double, Logical a bool,
    // Date, Time and Timestamp their ISO text ("2004-05-01", "13:05:00",
    // "2004-05-01 13:05:00").
    QVector<QVector<QVariant>> rows;
};

// Whether the file starts with the header of a Paradox data table. An SQLite
// file, a file too short for a header and one that cannot be read are not.
bool isParadoxTable(const QString& path);

// Reads the whole table. Throws lir::Error, whose first line names the file,
// for a file that is not a Paradox table, is cut short or damaged, is
// encrypted, or has a field of a kind that is not carried over (memo,
// binary, picture).
Table readTable(const QString& path);

// The name of a field type as Paradox calls it ("Alpha", "Number" ...).
QString typeName(FieldType type);

} // namespace lir::db::paradox
