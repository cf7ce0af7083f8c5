#pragma once

// The standard kits of the three fitting systems as the fitting catalogue
// lists them, typed here for the tests and not taken from the calculators'
// own tables: the name and the screws per piece of every parts-table row, and
// the quantity of every row in every kit.

#include "core/calc/kitcalculator.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace kittables {

struct Part
{
    const char16_t* name;
    int screws25; // per piece
    int screws40;
};

// ---------------------------------------------------------------- turn ЛИР-6741

inline const std::array<Part, 33> turnParts = {{
    {u"Засов поворотный 300", 4, 0},       {u"Засов поворотный 500", 6, 0},
    {u"Засов поворотный 700", 6, 0},       {u"Засов поворотный 1000", 8, 0},
    {u"Засов поворотный 1400", 10, 0},     {u"Засов поворотный 1800", 12, 0},
    {u"Засов 440", 0, 0},                  {u"Засов 620", 3, 0},
    {u"Засов 800", 4, 0},                  {u"Засов 1300", 6, 0},
    {u"Угловой переключатель", 4, 0},      {u"Удлинитель 500", 3, 0},
    {u"Удлинитель 250", 2, 0},             {u"Планка запорная", 1, 0},
    {u"Ограничитель хода", 0, 0},          {u"Петля на створке верхняя М", 4, 0},
    {u"Петля верхняя на раме М", 0, 4},    {u"Петля нижняя на створке М", 0, 3},
    {u"Петля нижняя на раме М", 0, 4},     {u"Прижим средний скрытый", 1, 0},
    {u"Зацеп прижима среднего", 2, 0},     {u"Блокиратор ", 0, 0},
    {u"Упор блокиратора", 2, 0},           {u"Проветриватель ступенчатый", 0, 0},
    {u"Зацеп проветривателя", 2, 0},       {u"Ручка оконная", 0, 0},
    {u"Балконная защелка", 2, 0},          {u"Подкладка", 0, 0},
    {u"Накладка декор.В1", 0, 0},          {u"Накладка декор.В2", 0, 0},
    {u"Накладка декор.H1", 0, 0},          {u"Накладка декор.H2", 0, 0},
    {u"Накладка декор.H3", 0, 0},
}};

inline constexpr std::array<int, 16> turnKitNumbers = {1, 2, 3, 4, 5, 6, 10, 11, 12, 13, 14, 20, 21, 22, 23, 24};

// Quantity of each row (1 to 33) in the kits, in the order of turnKitNumbers.
inline constexpr std::array<std::array<int, 16>, 33> turnKitRows = {{
    //01 02 03 04 05 06 10 11 12 13 14 20 21 22 23 24
    {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, // 1
    {0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, // 2
    {0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, // 3
    {0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, // 4
    {0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, // 5
    {0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, // 6
    {0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0}, // 7 Засов 440
    {0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0}, // 8 Засов 620
    {0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 0, 0, 1, 0, 1}, // 9 Засов 800
    {0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0}, // 10 Засов 1300
    {0, 0, 0, 0, 0, 0, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2}, // 11
    {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 2, 2, 2, 2, 4}, // 12 Удлинитель 500
    {0, 0, 0, 0, 0, 0, 2, 2, 2, 2, 2, 0, 0, 0, 0, 0}, // 13 Удлинитель 250
    {2, 2, 2, 3, 4, 4, 4, 4, 5, 6, 7, 4, 4, 5, 6, 7}, // 14 Планка запорная
    {0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}, // 15
    {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}, // 16
    {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}, // 17
    {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}, // 18
    {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}, // 19
    {0, 0, 1, 1, 2, 2, 0, 0, 1, 2, 2, 0, 0, 1, 2, 2}, // 20
    {0, 0, 1, 1, 2, 2, 0, 0, 1, 2, 2, 0, 0, 1, 2, 2}, // 21
    {0, 1, 1, 1, 1, 1, 0, 1, 1, 1, 1, 0, 1, 1, 1, 1}, // 22 Блокиратор
    {0, 1, 1, 1, 1, 1, 0, 1, 1, 1, 1, 0, 1, 1, 1, 1}, // 23
    {}, {}, {}, {}, {},                               // 24 to 28: options
    {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}, // 29
    {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}, // 30
    {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}, // 31
    {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}, // 32
    {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}, // 33
}};

// Rows 1 to 33 of the turn kit with this number (01 ... 24).
inline std::vector<int> turnKit(int number)
{
    std::vector<int> q(33, 0);
    for (size_t c = 0; c < turnKitNumbers.size(); ++c)
        if (turnKitNumbers[c] == number)
            for (size_t r = 0; r < q.size(); ++r)
                q[r] = turnKitRows[r][c];
    return q;
}

// ---------------------------------------------------------------- tilt ЛИР-6741

inline const std::array<Part, 23> tiltParts = {{
    {u"Засов поворотный 300", 4, 0},   {u"Засов поворотный 500", 6, 0},  {u"Засов поворотный 700", 6, 0},
    {u"Засов поворотный 1000", 8, 0},  {u"Засов поворотный 1400", 10, 0}, {u"Засов поворотный 1800", 12, 0},
    {u"Засов 440", 0, 0},              {u"Засов 620", 3, 0},              {u"Засов 800", 4, 0},
    {u"Засов 1300", 6, 0},             {u"Угловой переключатель", 4, 0},  {u"Удлинитель 500", 3, 0},
    {u"Планка запорная", 1, 0},        {u"Ограничитель хода", 0, 0},      {u"Петля откидная", 4, 0},
    {u"Петля верхняя на раме М", 0, 4}, {u"Ножницы фрамужные", 2, 0},     {u"Проветриватель ступенчатый", 0, 0},
    {u"Зацеп проветривателя", 2, 0},   {u"Ручка оконная", 0, 0},          {u"Подкладка", 0, 0},
    {u"Накладка декор.В1", 0, 0},      {u"Накладка декор.В2", 0, 0},
}};

struct TiltKitRow
{
    int number;
    int hMin, hMax, wMin, wMax;
    int bolt; // row of the bolt, quantity 1
    // rows 11, 12, 13, 14, 15, 16, 17, 21, 22, 23
    std::array<int, 10> q;
};

inline constexpr std::array<int, 10> tiltKitColumns = {11, 12, 13, 14, 15, 16, 17, 21, 22, 23};

inline constexpr std::array<TiltKitRow, 12> tiltKits = {{
    {51, 300, 800, 300, 500, 1, {0, 0, 2, 0, 2, 2, 2, 2, 2, 2}},
    {52, 300, 800, 501, 700, 2, {0, 0, 2, 0, 2, 2, 1, 1, 2, 2}},
    {53, 300, 800, 701, 1000, 3, {0, 0, 2, 0, 2, 2, 1, 1, 2, 2}},
    {54, 300, 800, 1001, 1400, 4, {0, 0, 3, 0, 3, 3, 1, 1, 3, 3}},
    {55, 300, 800, 1401, 1800, 5, {0, 0, 4, 0, 3, 3, 2, 2, 3, 3}},
    {56, 300, 800, 1801, 2300, 6, {0, 0, 4, 0, 4, 4, 2, 2, 4, 4}},
    {60, 801, 1300, 440, 620, 7, {2, 2, 4, 1, 2, 2, 2, 2, 2, 2}},
    {61, 801, 1300, 621, 800, 8, {2, 2, 4, 1, 2, 2, 1, 1, 2, 2}},
    {62, 801, 1300, 801, 1300, 9, {2, 2, 5, 1, 3, 3, 1, 1, 3, 3}},
    {63, 801, 1300, 1301, 1400, 10, {2, 2, 6, 1, 3, 3, 1, 1, 3, 3}},
    {64, 801, 1300, 1401, 1800, 10, {2, 2, 6, 1, 3, 3, 2, 2, 3, 3}},
    {65, 801, 1300, 1801, 2300, 9, {2, 4, 7, 1, 4, 4, 2, 2, 4, 4}},
}};

// Rows 1 to 23 of a tilt kit, the options left out.
inline std::vector<int> tiltKit(const TiltKitRow& kit)
{
    std::vector<int> q(23, 0);
    q[size_t(kit.bolt - 1)] = 1;
    for (size_t i = 0; i < tiltKitColumns.size(); ++i)
        q[size_t(tiltKitColumns[i] - 1)] = kit.q[i];
    return q;
}

// ---------------------------------------------------------------- tilt-turn ЛИР-6742

inline const std::array<Part, 42> tiltTurnParts = {{
    {u"Засов 440", 0, 0},                  {u"Засов 620", 3, 0},
    {u"Засов 800", 4, 0},                  {u"Засов 1300А", 6, 0},
    {u"Засов 1300", 6, 0},                 {u"Угловой переключатель", 4, 0},
    {u"Угловой переключатель малый", 3, 0}, {u"Удлинитель 500", 3, 0},
    {u"Удлинитель 250", 2, 0},             {u"Шина 280", 0, 0},
    {u"Шина 460", 0, 0},                   {u"Шина 550", 0, 0},
    {u"Шина 800", 0, 0},                   {u"Шина 1050", 0, 0},
    {u"Запор средний 800", 0, 0},          {u"Запор средний 1300А", 0, 0},
    {u"Запор средний 1300", 0, 0},         {u"Запор средний 1800", 0, 0},
    {u"Кронштейн 280", 0, 0},              {u"Кронштейн 550", 0, 0},
    {u"Кронштейн 800", 0, 0},              {u"Петля верхняя на раме М", 0, 4},
    {u"Петля нижняя на створке М", 0, 3},  {u"Петля нижняя на раме М", 0, 4},
    {u"Накладка декор.В1", 0, 0},          {u"Накладка декор.В2", 0, 0},
    {u"Накладка декор.H1", 0, 0},          {u"Накладка декор.H2", 0, 0},
    {u"Накладка декор.H3", 0, 0},          {u"Фиксатор", 0, 0},
    {u"Планка запорная", 1, 0},            {u"Планка запорная пов.откидная", 2, 0},
    {u"Блокиратор", 0, 0},                 {u"Упор блокиратора", 2, 0},
    {u"Проветриватель ступенчатый", 0, 0}, {u"Зацеп проветривателя", 2, 0},
    {u"Планка микровентиляции", 1, 0},     {u"Балконная защелка", 2, 0},
    {u"Подкладка", 0, 0},                  {u"Ручка оконная", 0, 0},
    {u"Запор поворотно-откидной", 2, 0},   {u"Планка пов.-откидная", 2, 0},
}};

struct Range
{
    int lo, hi;
};

// Height classes 0, 1, 2, 3А, 3, 4 and width classes 0 to 5.
inline constexpr std::array<Range, 6> tiltTurnHeights = {{{440, 620}, {621, 800}, {801, 1300}, {1301, 1500},
                                                          {1501, 1800}, {1801, 2300}}};
inline constexpr std::array<Range, 6> tiltTurnWidths = {{{280, 385}, {386, 460}, {461, 550}, {551, 800},
                                                         {801, 1050}, {1051, 1300}}};

inline const std::array<std::array<const char16_t*, 6>, 6> tiltTurnCodes = {{
    {u"ЛИР-6742М", u"ЛИР-6742-01М", u"ЛИР-6742-02М", u"ЛИР-6742-03М", u"ЛИР-6742-04М", u"ЛИР-6742-05М"},
    {u"ЛИР-6742-10М", u"ЛИР-6742-11М", u"ЛИР-6742-12М", u"ЛИР-6742-13М", u"ЛИР-6742-14М", u"ЛИР-6742-15М"},
    {u"ЛИР-6742-20М", u"ЛИР-6742-21М", u"ЛИР-6742-22М", u"ЛИР-6742-23М", u"ЛИР-6742-24М", u"ЛИР-6742-25М"},
    {u"ЛИР-6742-30АМ", u"ЛИР-6742-31АМ", u"ЛИР-6742-32АМ", u"ЛИР-6742-33АМ", u"ЛИР-6742-34АМ", u"ЛИР-6742-35АМ"},
    {u"ЛИР-6742-30М", u"ЛИР-6742-31М", u"ЛИР-6742-32М", u"ЛИР-6742-33М", u"ЛИР-6742-34М", u"ЛИР-6742-35М"},
    {u"ЛИР-6742-40М", u"ЛИР-6742-41М", u"ЛИР-6742-42М", u"ЛИР-6742-43М", u"ЛИР-6742-44М", u"ЛИР-6742-45М"},
}};

// What a height class puts into every kit of its row of the kit table.
struct TiltTurnHeightPart
{
    int bolt, ext500, middle, fiksator, blocker, striker; // middle 0: none
};
inline constexpr std::array<TiltTurnHeightPart, 6> tiltTurnHeightParts = {{
    {1, 0, 0, 1, 0, 2},
    {2, 0, 0, 0, 1, 2},
    {3, 0, 15, 0, 1, 5},
    {4, 0, 16, 0, 1, 7},
    {5, 0, 17, 0, 1, 7},
    {3, 2, 18, 0, 1, 8},
}};

// What a width class puts into every kit of its column.
struct TiltTurnWidthPart
{
    int corner, cornerSmall, rail, bracket, ext500, striker;
};
inline constexpr std::array<TiltTurnWidthPart, 6> tiltTurnWidthParts = {{
    {1, 1, 10, 19, 0, 0},
    {2, 0, 10, 19, 0, 0},
    {2, 0, 11, 19, 0, 0},
    {2, 0, 12, 20, 0, 0},
    {2, 0, 13, 21, 1, 2},
    {2, 0, 14, 21, 1, 2},
}};

// Rows 1 to 42 of the tilt-turn kit of height class hc and width class wc:
// the height part, the width part and what every kit has, the options left out.
inline std::vector<int> tiltTurnKit(int hc, int wc)
{
    std::vector<int> q(42, 0);
    auto at = [&q](int row) -> int& { return q[size_t(row - 1)]; };
    const TiltTurnHeightPart& h = tiltTurnHeightParts[size_t(hc)];
    const TiltTurnWidthPart& w = tiltTurnWidthParts[size_t(wc)];
    at(h.bolt) += 1;
    at(8) += h.ext500 + w.ext500;
    if (h.middle)
        at(h.middle) += 1;
    at(30) += h.fiksator;
    at(33) += h.blocker;
    at(34) += h.blocker;
    at(31) += h.striker + w.striker;
    at(6) += w.corner;
    at(7) += w.cornerSmall;
    at(w.rail) += 1;
    at(w.bracket) += 1;
    for (int r = 22; r <= 29; ++r)
        at(r) = 1; // three hinges and five covers
    at(32) = 1;    // Планка запорная пов.откидная
    return q;
}

// Screws 4×25 per piece of the rails (rows 10 to 14) and the middle locks
// (rows 15 to 18), which follow the sash size.
inline int tiltTurnScrews25(int row, int h, int w)
{
    if (row >= 10 && row <= 14)
        return (h <= 800 ? std::array{3, 4, 4, 6, 7} : std::array{2, 3, 3, 5, 6})[size_t(row - 10)];
    if (row >= 15 && row <= 18)
        return (w <= 550 ? std::array{5, 7, 7, 9} : std::array{4, 6, 6, 8})[size_t(row - 15)];
    return tiltTurnParts[size_t(row - 1)].screws25;
}

// ---------------------------------------------------------------- reading a result

// The quantity of every parts-table row in the kit lines of the last successful
// calculation, each line found by its name (a wooden hinge's "ДМ" read as "М").
// The lines must come in the order of the rows.
template <size_t N>
std::vector<int> rowQuantities(const lir::KitCalculator& k, const std::array<Part, N>& parts)
{
    std::vector<int> q(N, 0);
    size_t next = 0;
    for (int i = 0; i < k.LineCount; ++i) {
        QString name = k.KitLines.at(i).Name;
        if (name.endsWith(QStringView(u"ДМ")))
            name.replace(name.size() - 2, 2, QChar(u'М'));
        size_t r = next;
        while (r < N && name != QString::fromUtf16(parts[r].name))
            ++r;
        if (r == N) {
            ADD_FAILURE() << "line " << i + 1 << " " << name.toStdString() << " is no row after row " << next;
            return q;
        }
        q[r] = k.KitLines.at(i).Quantity;
        next = r + 1;
    }
    return q;
}

} // namespace kittables
