#include "cli/kit/sheetlocale.h"

#include <QByteArray>
#include <QString>

namespace lir::cli {

QLocale sheetLocale()
{
    for (const char* var : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
        const QByteArray value = qgetenv(var);
        if (value.isEmpty())
            continue;
        if (value == "C" || value == "POSIX" || value.startsWith("C."))
            return QLocale::c();
        return QLocale(QString::fromLatin1(value));
    }
    return QLocale::c();
}

} // namespace lir::cli
