#pragma once

#include "core/export/quote.h"

#include <QMenu>

#include <functional>
#include <optional>

namespace lir::gui {

// Builds the quote of what a window shows at the moment of the click; throws
// lir::Error for what cannot be quoted (a bad markup, no kit). None: nothing
// to quote, and the person has been told why already.
using QuoteSource = std::function<std::optional<Quote>()>;

// The three ways a quote leaves the office, and the company details that
// head it: the menu of "ПЕЧАТЬ".
//   "Предварительный просмотр..."  Qt's print preview, printing from there;
//   "Печать..."                    the print dialog with the system's printers;
//   "Сохранить в PDF..."           a PDF file chosen in the save dialog;
//   "Реквизиты..."                 the company details dialog.
QMenu* quoteMenu(QWidget* parent, QuoteSource source);

// Each of the actions on its own; a failure shows the error box.
void previewQuote(QWidget* parent, const QuoteSource& source);
void printQuote(QWidget* parent, const QuoteSource& source);
void saveQuotePdf(const QuoteSource& source);

} // namespace lir::gui
