#include "export/kitexport.h"

#include "app/dialogs.h"
#include "app/environment.h"
#include "app/error.h"
#include "export/ProceduresAndFunctions.h"
#include "export/kitsheet_html.h"
#include "export/kitsheet_xlsx.h"
#include "export/sheettexts.h"

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
