#include "core/export/ProceduresAndFunctions.h"

#include "core/base/dialogs.h"
#include "core/base/error.h"
#include "core/export/sheettexts.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

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

} // namespace

void openWatched(const QString& program, const QString& file, int watchMs)
{
    QStringList args;
    const QString base = program.section(QLatin1Char('/'), -1);
    if (base == QLatin1String("libreoffice") || base == QLatin1String("soffice"))
        args << QStringLiteral("--calc");
    args << file;

    // Not detached, so that its end can be seen. The object has no owner and
    // is deleted only when the program has ended: deleting it earlier, or at
    // the end of this program, would kill the spreadsheet the user works in.
    auto* process = new QProcess;
    process->setProgram(program);
    process->setArguments(args);
    // Nothing of it is read, and closed pipes would stop it once we are gone.
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    const QString shown = QDir::toNativeSeparators(QFileInfo(file).absoluteFilePath());
    QElapsedTimer running;
    running.start();
    QObject::connect(process, &QProcess::finished, process,
                     [process, running, watchMs, base, shown](int exitCode, QProcess::ExitStatus status) {
                         process->deleteLater();
                         if (running.elapsed() > watchMs)
                             return;
                         if (status == QProcess::CrashExit)
                             dialogs().errorBox(sheettexts::spreadsheetCrashed(base, shown));
                         else if (exitCode != 0)
                             dialogs().errorBox(sheettexts::spreadsheetFailed(base, exitCode, shown));
                     });
    process->start();
    // Only the start itself is awaited (the exec of the program), not its window.
    if (!process->waitForStarted(10000)) {
        delete process;
        throw Error(sheettexts::spreadsheetNotStarted(base, shown));
    }
}

SpreadsheetApplication& spreadsheetApplication()
{
    static SpreadsheetApplication app{findSpreadsheetProgram,
                                      [](const QString& program, const QString& file) { openWatched(program, file); }};
    return app;
}

bool IsProgIDRegistered(const QString& progId)
{
    if (progId != QLatin1String("Excel.Application"))
        return false;
    return !spreadsheetApplication().find().isEmpty();
}

} // namespace lir
