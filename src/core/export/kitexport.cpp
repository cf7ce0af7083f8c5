#include "core/export/kitexport.h"

#include "core/base/dialogs.h"
#include "core/base/environment.h"
#include "core/base/error.h"
#include "core/export/ProceduresAndFunctions.h"
#include "core/export/documentfile.h"
#include "core/export/kitsheet_html.h"
#include "core/export/kitsheet_xlsx.h"
#include "core/export/sheettexts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace lir {

void ExportButtonClick(KitCalculator& calc, const PriceLookup& prices)
{
    // The sheet's header rows show the inputs as they stand: its kit lines
    // must be the kit of those inputs.
    if (!calc.calculateIfChanged())
        return;
    const QString progId = QStringLiteral("Excel.Application");
    if (!IsProgIDRegistered(progId)) {
        const QString file = dialogs().saveFileName(sheettexts::saveFilter(), sheettexts::saveSuffix());
        if (file.isEmpty())
            return;
        writeKitSheetHtml(file, KitSheet::fromCalculator(calc), prices, environment().numberLocale());
        // Nothing opens the file: the user is told where it is.
        dialogs().messageBox(sheettexts::sheetSaved(QDir::toNativeSeparators(QFileInfo(file).absoluteFilePath())));
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
