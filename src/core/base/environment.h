#pragma once

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QString>

#include <functional>

namespace lir {

// What the program takes from its surroundings, replaceable in tests:
// today's date and the locale used to write numbers; the time and the login
// name that the order book records.
struct Environment
{
    std::function<QDate()> today = [] { return QDate::currentDate(); };
    std::function<QLocale()> numberLocale = [] { return QLocale::system(); };
    std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); };
    std::function<QString()> loginName = [] {
        const QString user = qEnvironmentVariable("USER");
        return user.isEmpty() ? qEnvironmentVariable("LOGNAME") : user;
    };
};

Environment& environment();

} // namespace lir
