#include "core/export/orderexport.h"

#include "core/base/dialogs.h"
#include "core/base/environment.h"
#include "core/export/ProceduresAndFunctions.h"
#include "core/export/documentfile.h"
#include "core/export/ordersummary.h"
#include "core/export/sheettexts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace lir {

void ExportButtonClick(const OrderModel& order, const PriceLookup& prices)
{
    // The markup is read first: a bad one stops the export before any dialog.
    readMarkup(order.markup());
    const SummaryView view = order.view();
    const OrderGrid& grid = order.grid(view);
    if (!IsProgIDRegistered(QStringLiteral("Excel.Application"))) {
        const QString file = dialogs().saveFileName(sheettexts::saveFilter(), sheettexts::saveSuffix());
        if (file.isEmpty())
            return;
        writeOrderSummaryHtml(file, view, grid, order.markup(), prices, environment().numberLocale());
        // Nothing opens the file: the user is told where it is.
        dialogs().messageBox(sheettexts::sheetSaved(QDir::toNativeSeparators(QFileInfo(file).absoluteFilePath())));
        return;
    }
    const QString program = spreadsheetApplication().find();
    const QString path = newWorkbookPath(summaryWorkbookTitle(view));
    try {
        writeOrderSummaryXlsx(path, view, grid, order.markup(), prices);
    } catch (...) {
        QFile::remove(path); // the reserved name holds nothing of use
        throw;
    }
    spreadsheetApplication().open(program, path);
}

} // namespace lir
