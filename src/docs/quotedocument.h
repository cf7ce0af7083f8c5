#pragma once

#include "core/export/quote.h"

#include <QByteArray>
#include <QString>

class QPagedPaintDevice;

namespace lir::docs {

// Sets the page of a quote: A4 portrait with margins of 15 mm.
void setQuotePage(QPagedPaintDevice& device);

// Paints the quote on a paged device (a printer, the preview), from its
// first page on: the company block, the title, the table with its header
// row on every page, the totals, and "Стр. K из M" at the foot of each page.
// Throws lir::Error for a logo that cannot be used, before anything is painted.
void paintQuote(const Quote& quote, QPagedPaintDevice& device);

// The quote as a PDF document with its fonts embedded, written by the
// program's own writer: the same pages as paintQuote paints.
QByteArray quotePdf(const Quote& quote);
// Writes it to `path`: never over one of the program's tables, and whole or
// not at all. Throws lir::Error naming the file.
void writeQuotePdf(const QString& path, const Quote& quote);

// Checks the logo of the company details: nothing for a usable picture or
// no logo, else the message that says what is wrong with it.
QString logoProblem(const QString& path);

} // namespace lir::docs
