#pragma once

#include <QString>
#include <QStringList>

#include <deque>
#include <exception>
#include <functional>

namespace lir {

// The modal dialogs of the program behind one small interface, so that every
// handler can run headless: the GUI installs the real boxes, tests and the
// command-line calculator install a recording one.
class Dialogs
{
public:
    enum class Answer { Ok, Yes, No, Cancel };

    virtual ~Dialogs() = default;

    // Error box: caption "Error", error icon, one OK.
    virtual void errorBox(const QString& text) = 0;
    // Plain message box: application title as caption, one OK.
    virtual void messageBox(const QString& text) = 0;
    // The start-up question: caption "Сообщение", Yes/No, question icon.
    virtual Answer question(const QString& text) = 0;
    // A question before something is lost: as question(), but "Нет" is the
    // default and Esc answers "Нет", so that a hurried Enter loses nothing.
    virtual Answer confirm(const QString& text) { return question(text); }
    // File save dialog; an empty result means the user cancelled. The default
    // suffix is added to a name typed without one, and the user is asked
    // before an existing file is overwritten.
    virtual QString saveFileName(const QString& filter, const QString& defaultSuffix) = 0;
};

// The dialogs in use; never null (a recording instance until someone installs one).
Dialogs& dialogs();
// Installs d (not owned) and returns the previous one; nullptr restores the default.
Dialogs* setDialogs(Dialogs* d);

// Installs a dialogs object for the life of a block and puts the previous one
// back when the block ends, however it ends.
class ScopedDialogs
{
public:
    explicit ScopedDialogs(Dialogs& d) : m_previous(setDialogs(&d)) {}
    ~ScopedDialogs() { setDialogs(m_previous); }
    ScopedDialogs(const ScopedDialogs&) = delete;
    ScopedDialogs& operator=(const ScopedDialogs&) = delete;

private:
    Dialogs* m_previous;
};

// Before something is lost: true when there is no question to ask (empty
// text) or it is answered "Да" (confirm()).
bool agreed(const QString& question);

// Shows what a failed operation threw in the standard error box: the message
// of a lir::Error, the text of any other exception.
void showFailure(const std::exception& e);

// Runs f; when it throws, shows the failure in the standard error box, so that
// the running handler stops there, and returns false.
bool runGuarded(const std::function<void()>& f);

// Records every box and answers from queues; used headless.
class RecordingDialogs : public Dialogs
{
public:
    struct Shown
    {
        enum Kind { Error, Message, Question, SaveFile } kind;
        QString text;
    };

    void errorBox(const QString& text) override;
    void messageBox(const QString& text) override;
    Answer question(const QString& text) override;
    QString saveFileName(const QString& filter, const QString& defaultSuffix) override;

    void setNextAnswer(Answer a) { m_answers.push_back(a); }
    // An empty name cancels the dialog.
    void setNextFileName(const QString& name) { m_fileNames.push_back(name); }

    const std::vector<Shown>& shown() const { return m_shown; }
    // Texts of the error boxes shown since the last clear().
    QStringList errors() const;
    QStringList messages() const;
    void clear() { m_shown.clear(); }
    // Drops the answers and file names no box has taken.
    void dropQueued()
    {
        m_answers.clear();
        m_fileNames.clear();
    }

private:
    std::vector<Shown> m_shown;
    std::deque<Answer> m_answers;
    std::deque<QString> m_fileNames;
};

} // namespace lir
