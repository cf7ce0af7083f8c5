#pragma once

#include <QDate>
#include <QLocale>

#include <functional>

namespace lir {

// What the program takes from its surroundings, replaceable in tests:
// today's date and the locale used to write numbers.
struct Environment
{
    std::function<QDate()> today = [] { return QDate::currentDate(); };
    std::function<QLocale()> numberLocale = [] { return QLocale::system(); };
};

Environment& environment();

} // namespace lir
