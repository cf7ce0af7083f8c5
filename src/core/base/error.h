#pragma once

#include <QString>

#include <stdexcept>

namespace lir {

// The one exception type for database, file and spreadsheet failures. It carries
// the underlying message; the application's standard error box shows it and the
// running handler stops.
class Error : public std::runtime_error
{
public:
    explicit Error(const QString& message)
        : std::runtime_error(message.toStdString()), m_message(message)
    {
    }
    const QString& message() const noexcept { return m_message; }

private:
    QString m_message;
};

} // namespace lir
