#include "core/export/ProceduresAndFunctions.h"

#include "core/base/error.h"

#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

namespace lir {

namespace {

QString findSpreadsheetProgram()
{
    // Programs of Debian that open .xlsx workbooks, in order of preference.
    static const QStringList candidates = {QStringLiteral("localc"), QStringLiteral("libreoffice"),
                                           QStringLiteral("soffice"), QStringLiteral("gnumeric"),
                                           QStringLiteral("onlyoffice-desktopeditors")};
    for (const QString& c : candidates) {
        const QString path = QStandardPaths::findExecutable(c);
        if (!path.isEmpty())
            return path;
    }
    return {};
}

void openDetached(const QString& program, const QString& file)
{
    QStringList args;
    const QString base = program.section(QLatin1Char('/'), -1);
    if (base == QLatin1String("libreoffice") || base == QLatin1String("soffice"))
        args << QStringLiteral("--calc");
    args << file;
    if (!QProcess::startDetached(program, args))
        throw Error(QStringLiteral("Не удалось запустить программу %1").arg(program));
}

} // namespace

SpreadsheetApplication& spreadsheetApplication()
{
    static SpreadsheetApplication app{findSpreadsheetProgram, openDetached};
    return app;
}

bool IsProgIDRegistered(const QString& progId)
{
    if (progId != QLatin1String("Excel.Application"))
        return false;
    return !spreadsheetApplication().find().isEmpty();
}

} // namespace lir
