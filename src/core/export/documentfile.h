#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

// What every document writer (sheets, summaries, workbooks) shares about the
// file it writes: where it may write, and that the file appears whole or not
// at all.
namespace lir {

// Every sheet and workbook is written only where this allows: never over one
// of the program's tables (zeni.db, zakaz.db in the tables' directory, or any
// table open in this run), however the path reaches it (links, "..", a path
// relative to another folder), never over any other SQLite database file or
// a working directory's lock file, never at a path with a NUL, and never in
// place of anything that is not a regular file (a device, a pipe, a folder).
// Throws lir::Error with a message naming the file; nothing is written.
void checkExportTarget(const QString& path);

// Checks the target, builds the document in full before the file is touched,
// and writes it in one go: an error leaves the old file as it was and no
// half-written document behind. Throws lir::Error naming the file.
void writeDocumentFile(const QString& path, const std::function<QByteArray()>& build);

// A new file name for a workbook in the user's folder for kit sheets; no
// existing file is ever reused.
QString newWorkbookPath(const QString& kitDesignation);

} // namespace lir
