#pragma once

#include <QByteArray>
#include <QString>

// What the HTML documents share: the dialect that spreadsheet programs open
// as a worksheet, in Windows-1251. Written to a file by writeDocumentFile()
// (documentfile.h).
namespace lir {

// Inserted text must not become markup.
QString htmlEscape(const QString& text);

// The bytes of a document whose lines the writer ended with CR LF: in
// Windows-1251, as the document's meta line declares.
QByteArray htmlDocumentBytes(const QString& text);

} // namespace lir
