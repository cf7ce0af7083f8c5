#pragma once

#include <QApplication>

namespace lir {
class WorkDirLock;
}

namespace lir::gui {

// The application object: an error that escapes a handler is shown in the
// standard error box, and the handler stops where it was.
class LirApplication : public QApplication
{
public:
    LirApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// The start-up sequence: engine test (and installer), the windows, the
// tables, then the message loop. Returns the program's exit code.
int runProgram(QApplication& app);

// One run per working directory: takes the directory's lock, or shows
// "Программа уже запущена в этой папке." and returns false when another run
// holds it. A short write of a command-line program is waited for.
bool claimWorkingDirectory(WorkDirLock& lock);

// Creates every window of the program once, in the start-up order: the
// launcher, shown (with the tables' directory set and a Paradox table offered
// for conversion), then the windows that start hidden.
void createForms();
void createLauncher();
void createHiddenForms(); // once; nothing when they exist

// The start as the program runs it: the launcher, the price table and the
// catalogue update, then the hidden windows once the launcher has been
// painted. False when the update failed (its error shown, every window gone).
bool startWindows();
// Destroys them (end of the program, and tests).
void destroyForms();

// Brings the open price table up to the catalogue the program knows, once
// every window exists. A failure is shown in the error box and returns
// false: the program then ends before the launcher takes input.
bool synchroniseCatalogue();

} // namespace lir::gui
