#include "gui/app/guidialogs.h"

#include "core/base/apptexts.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>
#include <QPushButton>
#include <QWidget>

namespace lir::gui {

QString screenText(const QString& text)
{
    QString s = text;
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return s;
}

namespace {
QWidget* owner()
{
    return QApplication::activeWindow();
}

QMessageBox::StandardButton box(QMessageBox::Icon icon, const QString& caption, const QString& text,
                                QMessageBox::StandardButtons buttons)
{
    QMessageBox mb(icon, caption, screenText(text), buttons, owner());
    return QMessageBox::StandardButton(mb.exec());
}
} // namespace

void GuiDialogs::errorBox(const QString& text)
{
    box(QMessageBox::Critical, apptexts::errorCaption(), text, QMessageBox::Ok);
}

void GuiDialogs::messageBox(const QString& text)
{
    box(QMessageBox::NoIcon, apptexts::applicationTitle(), text, QMessageBox::Ok);
}

namespace {
Dialogs::Answer ask(const QString& text, bool noByDefault)
{
    QMessageBox mb(QMessageBox::Question, apptexts::messageCaption(), screenText(text),
                   QMessageBox::Yes | QMessageBox::No, owner());
    mb.button(QMessageBox::Yes)->setText(apptexts::answerYes());
    mb.button(QMessageBox::No)->setText(apptexts::answerNo());
    if (noByDefault) {
        mb.setDefaultButton(QMessageBox::No);
        mb.setEscapeButton(QMessageBox::No);
    }
    return mb.exec() == QMessageBox::Yes ? Dialogs::Answer::Yes : Dialogs::Answer::No;
}
} // namespace

Dialogs::Answer GuiDialogs::question(const QString& text)
{
    return ask(text, false);
}

Dialogs::Answer GuiDialogs::confirm(const QString& text)
{
    return ask(text, true);
}

QString GuiDialogs::saveFileName(const QString& filter, const QString& defaultSuffix)
{
    QFileDialog dlg(owner());
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setFileMode(QFileDialog::AnyFile);
    dlg.setNameFilter(filter);
    dlg.setDefaultSuffix(defaultSuffix);
    dlg.setWindowTitle(QString());
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return {};
    return dlg.selectedFiles().constFirst();
}

void GuiUrlOpener::openUrl(const QUrl& url, const std::function<void()>& failed)
{
    // xdg-open is run here rather than through Qt, which starts it detached
    // and never learns that it found no browser or file manager.
    const QString xdgOpen = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (xdgOpen.isEmpty()) {
        if (!QDesktopServices::openUrl(url) && failed)
            failed();
        return;
    }
    // Not owned: a handler still running when the program ends is left
    // running (a QProcess that is destroyed kills its process).
    auto* p = new QProcess;
    p->setProgram(xdgOpen);
    p->setArguments({url.isLocalFile() ? url.toLocalFile() : url.toString()});
    p->setStandardOutputFile(QProcess::nullDevice());
    p->setStandardErrorFile(QProcess::nullDevice());
    QObject::connect(p, &QProcess::finished, [p, failed](int code, QProcess::ExitStatus status) {
        if ((status != QProcess::NormalExit || code != 0) && failed)
            failed();
        p->deleteLater();
    });
    QObject::connect(p, &QProcess::errorOccurred, [p, failed](QProcess::ProcessError e) {
        if (e != QProcess::FailedToStart)
            return;
        if (failed)
            failed();
        p->deleteLater();
    });
    p->start();
}

ActivationTracker& ActivationTracker::instance()
{
    static ActivationTracker* t = new ActivationTracker;
    return *t;
}

ActivationTracker::ActivationTracker() : QObject(qApp)
{
    m_current = QGuiApplication::focusWindow();
    connect(qApp, &QGuiApplication::focusWindowChanged, this, &ActivationTracker::onFocusWindowChanged);
}

bool ActivationTracker::isMainWindow(QWindow* w)
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->windowHandle() == w)
            return widget->windowType() == Qt::Window;
    return false;
}

void ActivationTracker::onFocusWindowChanged(QWindow* w)
{
    // Losing the focus to another program is no change of our own.
    if (!w || w == m_current)
        return;
    // Judged when each window got the focus: a closed box is gone by now.
    m_fromMainWindow = m_currentIsMain;
    m_current = w;
    m_currentIsMain = isMainWindow(w);
    m_unconsumed = true;
}

bool ActivationTracker::consumeActivation(QWindow* window)
{
    if (!window || window != m_current || !m_unconsumed)
        return false;
    m_unconsumed = false;
    return m_fromMainWindow;
}

} // namespace lir::gui
