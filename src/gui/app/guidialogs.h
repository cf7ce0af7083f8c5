#pragma once

#include "core/base/dialogs.h"
#include "core/base/urlopener.h"

#include <QPointer>
#include <QWindow>

namespace lir::gui {

// The real message boxes and file dialog.
class GuiDialogs : public Dialogs
{
public:
    void errorBox(const QString& text) override;
    void messageBox(const QString& text) override;
    Answer question(const QString& text) override;
    Answer confirm(const QString& text) override;
    QString saveFileName(const QString& filter, const QString& defaultSuffix) override;
};

// The desktop's default handler (the browser, the file manager). It starts the
// handler and returns at once; a handler that gives up is heard of later.
class GuiUrlOpener : public UrlOpener
{
public:
    void openUrl(const QUrl& url, const std::function<void()>& failed = {}) override;
};

// Two-line texts keep a lone carriage return; on screen it is a line break.
QString screenText(const QString& text);

// Decides whether a window's activation counts as activating it: it does when
// the focus comes from another main window of the program (or from none), and
// not when it returns from one of the program's modal boxes, a popup, or from
// another program.
class ActivationTracker : public QObject
{
    Q_OBJECT
public:
    static ActivationTracker& instance();
    // Call once the event loop has delivered the activation of `window`;
    // true at most once per focus change to it.
    bool consumeActivation(QWindow* window);

private:
    ActivationTracker();
    void onFocusWindowChanged(QWindow* w);
    static bool isMainWindow(QWindow* w);

    QPointer<QWindow> m_current;
    bool m_currentIsMain = true; // no window at all counts as a main window
    bool m_fromMainWindow = true;
    bool m_unconsumed = false;
};

} // namespace lir::gui
