#pragma once

#include "core/base/dialogs.h"

#include <QString>

#include <functional>

// The start-up check of the storage engine and, when it fails, the offer to
// install it: the installer file is copied from the working directory into the
// user's application data folder and handed to the registration program, whose
// end is awaited while the application keeps processing its events.
namespace lir::bde {

// Where the installer comes from and what runs it; tests replace these.
struct InstallerSetup
{
    QString installerFileName = QStringLiteral("lircomplect-storage-setup.sh");
    QString registrationProgram = QStringLiteral("/bin/sh");
    QString targetDirectory; // empty: the per-user application data folder
};
InstallerSetup& installerSetup();

// The engine self-test: the SQLite driver is there and opens an in-memory database.
bool IsBDEInstalled();
// Replaces the self-test (tests inject a failing one); an empty function restores it.
void setEngineTest(std::function<bool()> test);

// The start-up question box (caption "Сообщение", Yes/No, question icon).
Dialogs::Answer ShowMessageBox(const QString& text);

// Copies source over target and gives the target the source's modification time.
// Throws lir::Error naming the file that failed.
void CopyFileKeepDate(const QString& target, const QString& source);

// Copies the installer from the current directory into the target folder and
// returns the target path. Throws lir::Error.
QString PrepareBDEInstaller();

// Starts the registration program with the installer path as its one argument
// and waits for it: 100 ms at a time, processing pending events in between,
// and at once no longer when the application has been told to quit.
// Throws lir::Error when the program cannot be started.
void RunBDEInstaller(const QString& installerPath);

// The start-up test of the storage engine: when it is missing, ask, and on
// Yes install it. Errors of the installer path propagate as lir::Error.
void EnsureStorageEngine();

// Set when the application is asked to quit (a Quit event, or SIGTERM/SIGINT
// while the installer runs); ends the wait for the installer.
bool terminationRequested();
void requestTermination();
void clearTerminationRequest(); // tests
// Installs the Quit-event filter; call once after the application object exists.
void watchForTermination();

} // namespace lir::bde
