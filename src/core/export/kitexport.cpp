#include "core/export/kitexport.h"

#include "core/base/dialogs.h"
#include "core/base/environment.h"
#include "core/base/error.h"
#include "core/export/ProceduresAndFunctions.h"
#include "core/export/documentfile.h"
#include "core/export/kitsheet_html.h"
#include "core/export/kitsheet_xlsx.h"
#include "core/export/sheettexts.h"

#include <QFile>

namespace lir {

void ExportButtonClick(const KitCalculator& calc, const PriceLookup& prices)
{
    const QString progId = QStringLiteral("Excel.Application");
    if (!IsProgIDRegistered(progId)) {
        const QString file = dialogs().saveFileName(sheettexts::saveFilter(), sheettexts::saveSuffix());
        if (file.isEmpty())
            return;
        writeKitSheetHtml(file, KitSheet::fromCalculator(calc), prices, environment().numberLocale());
        return;
    }
    // A present spreadsheet application gets a new workbook and the user
    // continues there; a failing one does not fall back to the HTML file.
    const QString program = spreadsheetApplication().find();
    const QString path = newWorkbookPath(calc.KitDesignation);
    try {
        writeKitSheetXlsx(path, KitSheet::fromCalculator(calc), prices, environment().numberLocale());
    } catch (...) {
        QFile::remove(path); // the reserved name holds nothing of use
        throw;
    }
    spreadsheetApplication().open(program, path);
}

} // namespace lir
