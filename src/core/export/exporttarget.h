#pragma once

#include <QString>

namespace lir {

// Every sheet and workbook is written only where this allows: never over one
// of the program's tables (zeni.db, zakaz.db in the tables' directory, or any
// table open in this run), however the path reaches it (links, "..", a path
// relative to another folder), never over any other SQLite database file or
// a working directory's lock file, never at a path with a NUL, and never in
// place of anything that is not a regular file (a device, a pipe, a folder).
// Throws lir::Error with a message naming the file; nothing is written.
void checkExportTarget(const QString& path);

} // namespace lir
