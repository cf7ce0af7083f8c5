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
QString systemLoginName();

struct Environment
{
    std::function<QDate()> today = [] { return QDate::currentDate(); };
    std::function<QLocale()> numberLocale = [] { return QLocale::system(); };
    std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); };
    // The account running the program: the system's name for it, then
    // USER or LOGNAME, then its number (a service started without a passwd
    // entry still leaves a name in the logs).
    std::function<QString()> loginName = systemLoginName;
};

Environment& environment();

} // namespace lir
