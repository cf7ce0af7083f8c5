#pragma once

#include "core/db/storebackend.h"

// The tables as SQLite files of the tables' directory, one table a file.
namespace lir::db {

// The rows of the table in the file at `path`, in their order, as `fields`
// name them (a field the file lacks reads empty), each value converted as
// post() converts it. Throws the file's or the first refused value's error.
QVector<QVariantList> readTableFile(const QString& path, const QString& fileName, const QString& table,
                                    const QVector<FieldDef>& fields);

} // namespace lir::db
