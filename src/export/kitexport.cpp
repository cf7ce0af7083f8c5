#include "export/kitexport.h"

#include "app/dialogs.h"
#include "app/environment.h"
#include "app/error.h"
#include "export/ProceduresAndFunctions.h"
#include "export/kitsheet_html.h"
#include "export/sheettexts.h"

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
    throw Error(QStringLiteral("Книга электронной таблицы пока не поддерживается"));
}

} // namespace lir
