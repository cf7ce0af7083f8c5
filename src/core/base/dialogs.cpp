#include "core/base/dialogs.h"

#include "core/base/error.h"

namespace lir {

namespace {
RecordingDialogs& fallbackDialogs()
{
    static RecordingDialogs d;
    return d;
}
Dialogs* g_dialogs = nullptr;
} // namespace

Dialogs& dialogs()
{
    return g_dialogs ? *g_dialogs : fallbackDialogs();
}

Dialogs* setDialogs(Dialogs* d)
{
    Dialogs* previous = g_dialogs;
    g_dialogs = d;
    return previous;
}

bool agreed(const QString& question)
{
    return question.isEmpty() || dialogs().confirm(question) == Dialogs::Answer::Yes;
}

void showFailure(const std::exception& e)
{
    if (const auto* error = dynamic_cast<const Error*>(&e))
        dialogs().errorBox(error->message());
    else
        dialogs().errorBox(QString::fromLocal8Bit(e.what()));
}

bool runGuarded(const std::function<void()>& f)
{
    try {
        f();
        return true;
    } catch (const std::exception& e) {
        showFailure(e);
    }
    return false;
}

void RecordingDialogs::errorBox(const QString& text)
{
    m_shown.push_back({Shown::Error, text});
}

void RecordingDialogs::messageBox(const QString& text)
{
    m_shown.push_back({Shown::Message, text});
}

Dialogs::Answer RecordingDialogs::question(const QString& text)
{
    m_shown.push_back({Shown::Question, text});
    if (m_answers.empty())
        return Answer::No;
    Answer a = m_answers.front();
    m_answers.pop_front();
    return a;
}

QString RecordingDialogs::saveFileName(const QString& filter, const QString& defaultSuffix)
{
    m_shown.push_back({Shown::SaveFile, filter});
    if (m_fileNames.empty())
        return {};
    QString name = m_fileNames.front();
    m_fileNames.pop_front();
    // The real dialog adds the default suffix to a bare name.
    if (!name.isEmpty() && !defaultSuffix.isEmpty() && !name.section(QLatin1Char('/'), -1).contains(QLatin1Char('.')))
        name += QLatin1Char('.') + defaultSuffix;
    return name;
}

QStringList RecordingDialogs::errors() const
{
    QStringList out;
    for (const auto& s : m_shown)
        if (s.kind == Shown::Error)
            out << s.text;
    return out;
}

QStringList RecordingDialogs::messages() const
{
    QStringList out;
    for (const auto& s : m_shown)
        if (s.kind == Shown::Message)
            out << s.text;
    return out;
}

} // namespace lir
