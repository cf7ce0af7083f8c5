#include "core/export/workbook.h"

#include "core/base/error.h"
#include "core/base/safefile.h"
#include "core/export/sheettexts.h"

#include <QFile>

#include <cerrno>

#include <xlsxwriter.h>

namespace lir::workbook {

namespace {

std::string utf8(const QString& s)
{
    return s.toStdString();
}

// The reason of a failed workbook: the system's, where the library failed
// on a file; otherwise the library's own, in Russian with its text after it.
QString workbookErrorReason(lxw_error e, int errnum)
{
    QString reason;
    switch (e) {
    case LXW_ERROR_CREATING_XLSX_FILE:
    case LXW_ERROR_CREATING_TMPFILE:
    case LXW_ERROR_READING_TMPFILE:
    case LXW_ERROR_ZIP_FILE_OPERATION:
    case LXW_ERROR_ZIP_FILE_ADD:
    case LXW_ERROR_ZIP_CLOSE:
        if (errnum != 0)
            return fileErrorReason(errnum);
        reason = e == LXW_ERROR_CREATING_XLSX_FILE ? QStringLiteral("не удалось создать файл")
                 : e == LXW_ERROR_CREATING_TMPFILE ? QStringLiteral("не удалось создать временный файл")
                 : e == LXW_ERROR_READING_TMPFILE  ? QStringLiteral("не удалось прочитать временный файл")
                                                   : QStringLiteral("не удалось упаковать книгу");
        break;
    case LXW_ERROR_MEMORY_MALLOC_FAILED:
        reason = QStringLiteral("недостаточно памяти");
        break;
    default:
        reason = QStringLiteral("ошибка при построении книги");
        break;
    }
    return reason + QStringLiteral(" (") + QString::fromUtf8(lxw_strerror(e)) + QLatin1Char(')');
}

} // namespace

double Sheet::sum(int col, int r1, int r2) const
{
    double s = 0;
    for (int r = r1; r <= r2; ++r)
        if (auto it = m_cells.find({r, col}); it != m_cells.end())
            if (const double* v = std::get_if<double>(&it->second.value))
                s += *v;
    return s;
}

void save(const QString& path, Sheet& sh)
{
    // The library writes a temporary file beside the target, which takes the
    // target's place only when the workbook is complete.
    AtomicFile out(path);
    const QByteArray file = QFile::encodeName(out.tempPath());
    lxw_workbook* wb = workbook_new(file.constData());
    if (!wb)
        out.fail(workbookErrorReason(LXW_ERROR_MEMORY_MALLOC_FAILED, 0));
    lxw_worksheet* ws = workbook_add_worksheet(wb, utf8(sheettexts::sheetName()).c_str());
    if (sh.landscape)
        worksheet_set_landscape(ws);
    worksheet_set_paper(ws, 9); // A4
    worksheet_fit_to_pages(ws, 1, 0);
    worksheet_set_margins(ws, 0.4, 0.4, 0.6, 0.6);
    if (sh.repeatedRows)
        worksheet_repeat_rows(ws, lxw_row_t(sh.repeatedRows->first - 1), lxw_row_t(sh.repeatedRows->second - 1));
    for (const auto& [c, w] : sh.columnWidths)
        worksheet_set_column(ws, lxw_col_t(c), lxw_col_t(c), w, nullptr);
    for (const auto& [r, h] : sh.rowHeights)
        worksheet_set_row(ws, lxw_row_t(r - 1), h, nullptr);

    std::map<Style, lxw_format*> formats;
    auto formatOf = [&](const Style& st) {
        auto it = formats.find(st);
        if (it != formats.end())
            return it->second;
        lxw_format* f = workbook_add_format(wb);
        if (st.bold)
            format_set_bold(f);
        if (st.size > 0)
            format_set_font_size(f, st.size);
        if (st.align)
            format_set_align(f, st.align);
        if (st.text)
            format_set_num_format(f, "@");
        if (st.money)
            format_set_num_format(f, "0.00");
        if (st.top)
            format_set_top(f, st.top);
        if (st.bottom)
            format_set_bottom(f, st.bottom);
        if (st.left)
            format_set_left(f, st.left);
        if (st.right)
            format_set_right(f, st.right);
        formats.emplace(st, f);
        return f;
    };
    // The first cell of a merge is written again below with its value.
    for (const auto& [r1, c1, r2, c2] : sh.merges()) {
        const Cell& first = sh.at(r1, c1);
        worksheet_merge_range(ws, lxw_row_t(r1 - 1), lxw_col_t(c1), lxw_row_t(r2 - 1), lxw_col_t(c2), "",
                              first.styled ? formatOf(first.style) : nullptr);
    }
    for (auto& [pos, cell] : sh.cells()) {
        const lxw_row_t r = lxw_row_t(pos.first - 1);
        const lxw_col_t c = lxw_col_t(pos.second);
        lxw_format* f = cell.styled ? formatOf(cell.style) : nullptr;
        if (const QString* text = std::get_if<QString>(&cell.value))
            worksheet_write_string(ws, r, c, utf8(*text).c_str(), f);
        else if (const double* v = std::get_if<double>(&cell.value))
            worksheet_write_number(ws, r, c, *v, f);
        else if (const Formula* fm = std::get_if<Formula>(&cell.value))
            worksheet_write_formula_num(ws, r, c, utf8(fm->text).c_str(), f, fm->result);
        else if (f)
            worksheet_write_blank(ws, r, c, f);
    }
    if (sh.selection)
        worksheet_set_selection(ws, lxw_row_t(sh.selection->first - 1), lxw_col_t(sh.selection->second),
                                lxw_row_t(sh.selection->first - 1), lxw_col_t(sh.selection->second));
    errno = 0;
    const lxw_error closed = workbook_close(wb);
    const int errnum = errno;
    if (closed != LXW_NO_ERROR)
        out.fail(workbookErrorReason(closed, errnum));
    out.commit();
}

} // namespace lir::workbook
