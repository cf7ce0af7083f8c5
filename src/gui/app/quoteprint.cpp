#include "gui/app/quoteprint.h"

#include "core/base/dialogs.h"
#include "core/base/error.h"
#include "docs/quotedocument.h"
#include "gui/app/form_company.h"

#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include <optional>

namespace lir::gui {

namespace {

// The quote, or nothing after its error box; a logo that cannot be used is
// refused here, before a dialog opens.
std::optional<Quote> quoteOf(const QuoteSource& source)
{
    std::optional<Quote> q;
    runGuarded([&] {
        std::optional<Quote> made = source();
        if (!made)
            return;
        if (const QString problem = docs::logoProblem(made->company.logo); !problem.isEmpty())
            throw Error(problem);
        q = std::move(made);
    });
    return q;
}

void paintOn(const Quote& q, QPrinter* printer)
{
    runGuarded([&] { docs::paintQuote(q, *printer); });
}

// Runs `use` with the quote and a printer set to its page; nothing after the
// quote's error box.
void withPrinter(const QuoteSource& source, const std::function<void(const Quote&, QPrinter&)>& use)
{
    const std::optional<Quote> q = quoteOf(source);
    if (!q)
        return;
    QPrinter printer(QPrinter::HighResolution);
    docs::setQuotePage(printer);
    printer.setDocName(q->fileTitle);
    use(*q, printer);
}

} // namespace

void previewQuote(QWidget* parent, const QuoteSource& source)
{
    withPrinter(source, [parent](const Quote& q, QPrinter& printer) {
        QPrintPreviewDialog dialog(&printer, parent);
        dialog.setWindowTitle(QStringLiteral("Предварительный просмотр"));
        QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                         [&q](QPrinter* p) { paintOn(q, p); });
        dialog.resize(900, 900);
        dialog.exec();
    });
}

void printQuote(QWidget* parent, const QuoteSource& source)
{
    withPrinter(source, [parent](const Quote& q, QPrinter& printer) {
        QPrintDialog dialog(&printer, parent);
        if (dialog.exec() == QDialog::Accepted)
            paintOn(q, &printer);
    });
}

void saveQuotePdf(const QuoteSource& source)
{
    const std::optional<Quote> q = quoteOf(source);
    if (!q)
        return;
    const QString file = dialogs().saveFileName(QStringLiteral("PDF (*.pdf)"), QStringLiteral("pdf"));
    if (file.isEmpty())
        return;
    runGuarded([&] { docs::writeQuotePdf(file, *q); });
}

QMenu* quoteMenu(QWidget* parent, QuoteSource source)
{
    auto* menu = new QMenu(parent);
    menu->setObjectName(QStringLiteral("QuoteMenu"));
    menu->addAction(QStringLiteral("Предварительный просмотр..."), parent,
                    [parent, source] { previewQuote(parent, source); })
        ->setObjectName(QStringLiteral("QuotePreview"));
    menu->addAction(QStringLiteral("Печать..."), parent, [parent, source] { printQuote(parent, source); })
        ->setObjectName(QStringLiteral("QuotePrint"));
    menu->addAction(QStringLiteral("Сохранить в PDF..."), parent, [source] { saveQuotePdf(source); })
        ->setObjectName(QStringLiteral("QuotePdf"));
    menu->addSeparator();
    menu->addAction(QStringLiteral("Реквизиты..."), parent, [parent] { TCompanyDetails::edit(parent); })
        ->setObjectName(QStringLiteral("QuoteCompany"));
    return menu;
}

} // namespace lir::gui
