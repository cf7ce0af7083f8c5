#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <tuple>
#include <utility>
#include <variant>
#include <vector>

namespace lir::workbook {

// What a sheet asks of one cell; the library's formats are built from it
// when the file is written, one per distinct style.
struct Style
{
    bool bold = false;
    double size = 0;      // 0: the default
    uint8_t align = 0;    // LXW_ALIGN_*
    bool text = false;    // number format "@"
    bool money = false;   // number format "0.00"
    uint8_t top = 0, bottom = 0, left = 0, right = 0; // LXW_BORDER_*
    bool operator<(const Style& o) const
    {
        return std::tie(bold, size, align, text, money, top, bottom, left, right)
               < std::tie(o.bold, o.size, o.align, o.text, o.money, o.top, o.bottom, o.left, o.right);
    }
};

// A formula with the value it has when the workbook is opened.
struct Formula
{
    QString text;
    double result;
};
using Value = std::variant<std::monostate, QString, double, Formula>;

struct Cell
{
    Style style;
    bool styled = false;
    Value value;
};

// One worksheet as cells, built in memory and written whole by save().
class Sheet
{
public:
    Cell& at(int row, int col) { return m_cells[{row, col}]; } // 1-based row, 0-based column
    template <class F> void range(int r1, int c1, int r2, int c2, F f)
    {
        for (int r = r1; r <= r2; ++r)
            for (int c = c1; c <= c2; ++c) {
                Cell& cell = at(r, c);
                cell.styled = true;
                f(cell.style);
            }
    }
    void allBorders(int r1, int c1, int r2, int c2, uint8_t weight)
    {
        range(r1, c1, r2, c2, [weight](Style& s) { s.top = s.bottom = s.left = s.right = weight; });
    }
    // The sum of the numbers in column col, rows r1 to r2: the value of a
    // =SUM formula over them.
    double sum(int col, int r1, int r2) const;
    std::map<std::pair<int, int>, Cell>& cells() { return m_cells; }

    // Merged cells: the value and style of the first, across to the last.
    void merge(int r1, int c1, int r2, int c2) { m_merges.push_back({r1, c1, r2, c2}); }
    const std::vector<std::array<int, 4>>& merges() const { return m_merges; }

    // Every sheet prints on A4, one page wide and as many pages tall as its
    // rows need; these rows (1-based) head every page.
    std::optional<std::pair<int, int>> repeatedRows;
    bool landscape = false;
    std::map<int, double> columnWidths; // 0-based column, in characters
    std::map<int, double> rowHeights;   // 1-based row, in points
    std::optional<std::pair<int, int>> selection; // 1-based row, 0-based column

private:
    std::map<std::pair<int, int>, Cell> m_cells;
    std::vector<std::array<int, 4>> m_merges;
};

// The column letter of a 0-based column (up to Z).
inline QString columnLetter(int col)
{
    return QString(QChar(char16_t(u'A' + col)));
}

// Writes the sheet as the only worksheet, named "Лист1", of a new workbook
// at path; the file is complete or not there at all. Throws lir::Error
// naming the file.
void save(const QString& path, Sheet& sheet);

} // namespace lir::workbook
