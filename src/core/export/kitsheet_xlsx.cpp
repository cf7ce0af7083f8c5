#include "core/export/kitsheet_xlsx.h"

#include "core/base/error.h"
#include "core/base/environment.h"
#include "core/base/numberformat.h"
#include "core/base/safefile.h"
#include "core/export/exporttarget.h"
#include "core/export/sheettexts.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QStandardPaths>

#include <cerrno>
#include <map>
#include <optional>
#include <tuple>
#include <variant>

#include <xlsxwriter.h>

#include <fcntl.h>
#include <unistd.h>

namespace lir {

namespace {

// What the sheet asks of one cell; formats are built from it at the end.
struct Style
{
    bool bold = false;
    double size = 0;      // 0: the default
    uint8_t align = 0;    // LXW_ALIGN_*
    bool text = false;    // number format "@"
    uint8_t top = 0, bottom = 0, left = 0, right = 0; // LXW_BORDER_*
    bool operator<(const Style& o) const
    {
        return std::tie(bold, size, align, text, top, bottom, left, right)
               < std::tie(o.bold, o.size, o.align, o.text, o.top, o.bottom, o.left, o.right);
    }
};

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
    std::map<std::pair<int, int>, Cell>& cells() { return m_cells; }

private:
    std::map<std::pair<int, int>, Cell> m_cells;
};

enum Col { A, B, C, D, E, F, G, H, I };

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

void writeKitSheetXlsx(const QString& path, const KitSheet& s, const PriceLookup& prices, const QLocale& locale)
{
    checkExportTarget(path);
    Sheet sh;
    const int n = int(s.lines.size());

    // Header items: bold labels in column A, text values in column C.
    sh.range(1, A, 8, A, [](Style& st) { st.bold = true; });
    sh.range(1, A, 1, A, [](Style& st) { st.size = 18; });
    sh.range(1, C, 8, C, [](Style& st) {
        st.align = LXW_ALIGN_LEFT;
        st.text = true;
    });
    sh.at(1, A).value = s.kitDesignation;
    sh.at(3, A).value = sheettexts::sashSize(s.ffh, s.ffb);
    sh.at(4, A).value = (s.handleAlongWidth ? sheettexts::handleWidth() : sheettexts::handleHeight()) + QLatin1Char(' ');
    sh.at(4, C).value = QString::number(s.gh) + QStringLiteral(" mm");
    sh.at(5, A).value = sheettexts::profileSystemLabel();
    sh.at(5, C).value = s.profileSystem;
    sh.at(6, A).value = sheettexts::profileSystemNameLabel();
    sh.at(6, C).value = s.profileSystemName;
    sh.at(7, A).value = sheettexts::ralLabel();
    sh.at(7, C).value = QString::number(s.ral);
    sh.at(8, A).value = sheettexts::kitCountLabel();
    sh.at(8, C).value = QString::number(s.kitCount);

    // Column headers in row 10.
    sh.range(10, A, 10, I, [](Style& st) { st.bold = true; });
    sh.allBorders(10, A, 10, I, LXW_BORDER_MEDIUM);
    const QStringList headers = sheettexts::workbookHeaders();
    for (int c = A; c <= I; ++c)
        sh.at(10, c).value = headers.at(c);

    // Kit lines from row 11, thin frames.
    auto number = [&locale](const QString& text) -> Value {
        double v = 0;
        if (numfmt::parse(text, locale, &v))
            return v;
        return std::monostate{};
    };
    for (int i = 0; i < n; ++i) {
        const KitSheet::Line& l = s.lines.at(i);
        const int r = i + 11;
        sh.allBorders(r, A, r, I, LXW_BORDER_THIN);
        for (int c : {A, B, C, D})
            sh.range(r, c, r, c, [](Style& st) { st.text = true; });
        for (int c : {A, D, E, F, G, H, I})
            sh.range(r, c, r, c, [](Style& st) { st.align = LXW_ALIGN_CENTER; });
        for (int c : {B, C})
            sh.range(r, c, r, c, [](Style& st) { st.align = LXW_ALIGN_LEFT; });
        sh.at(r, A).value = QString::number(i + 1) + QLatin1Char('.');
        sh.at(r, B).value = l.designation;
        sh.at(r, C).value = l.name;
        sh.at(r, D).value = l.marking;
        sh.at(r, E).value = double(l.quantity);
        sh.at(r, F).value = number(l.screws25);
        sh.at(r, G).value = number(l.screws40);
        const PriceResult p = prices(l.designation);
        // A listed part without a price keeps its price and sum cells empty.
        if (p.found && p.price) {
            sh.at(r, H).value = *p.price;
            sh.at(r, I).value = *p.price * l.quantity;
        }
    }
    // The header row's lower edge is the top of the first kit line.
    if (n > 0)
        sh.range(11, A, 11, I, [](Style& st) { st.top = LXW_BORDER_MEDIUM; });

    // Screw rows, priced only when they hold screws.
    auto screwRow = [&](int r, const KitSheet::ScrewRow& row, const QString& designation) {
        sh.at(r, E).value = number(row.count);
        if (!row.label.isEmpty())
            sh.at(r, C).value = row.label;
        double screws = 0;
        if (numfmt::parse(row.count, locale, &screws)) {
            const PriceResult p = prices(designation);
            if (p.found && p.price) {
                sh.at(r, H).value = *p.price;
                sh.at(r, I).value = *p.price * screws;
            }
        }
    };
    screwRow(n + 12, s.screws25, screwDesignation25());
    screwRow(n + 13, s.screws40, screwDesignation40());

    // Totals as formulas over the kit lines and the screw rows.
    const int t = n + 15;
    sh.range(t, B, t, I, [](Style& st) { st.bold = true; });
    sh.at(t, B).value = sheettexts::total();
    for (int c : {H, I}) {
        double sum = 0;
        for (int r = 11; r <= n + 13; ++r)
            if (auto it = sh.cells().find({r, c}); it != sh.cells().end())
                if (const double* v = std::get_if<double>(&it->second.value))
                    sum += *v;
        const QString letter = QChar(u'A' + c);
        sh.at(t, c).value = Formula{QStringLiteral("=SUM(%1%2:%1%3)").arg(letter).arg(11).arg(n + 13), sum};
    }

    // The medium outer frame of the table.
    sh.range(10, A, 10, I, [](Style& st) { st.top = LXW_BORDER_MEDIUM; });
    sh.range(n + 10, A, n + 10, I, [](Style& st) { st.bottom = LXW_BORDER_MEDIUM; });
    sh.range(10, I, n + 10, I, [](Style& st) { st.right = LXW_BORDER_MEDIUM; });
    sh.range(10, A, n + 10, A, [](Style& st) { st.left = LXW_BORDER_MEDIUM; });

    // ---------------------------------------------------------------- the file
    // The library writes a temporary file beside the target, which takes the
    // target's place only when the workbook is complete.
    AtomicFile out(path);
    const QByteArray file = QFile::encodeName(out.tempPath());
    lxw_workbook* wb = workbook_new(file.constData());
    if (!wb)
        out.fail(workbookErrorReason(LXW_ERROR_MEMORY_MALLOC_FAILED, 0));
    lxw_worksheet* ws = workbook_add_worksheet(wb, utf8(sheettexts::sheetName()).c_str());
    worksheet_set_landscape(ws);
    const double widths[] = {5.71, 21.86, 27.86, 11.5, 11.5, 12.71, 12.71, 7, 7};
    for (int c = A; c <= I; ++c)
        worksheet_set_column(ws, lxw_col_t(c), lxw_col_t(c), widths[c], nullptr);
    worksheet_set_row(ws, 9, 22, nullptr);

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
    worksheet_set_selection(ws, lxw_row_t(t - 1), E, lxw_row_t(t - 1), E);
    errno = 0;
    const lxw_error closed = workbook_close(wb);
    const int errnum = errno;
    if (closed != LXW_NO_ERROR)
        out.fail(workbookErrorReason(closed, errnum));
    out.commit();
}

QString newWorkbookPath(const QString& kitDesignation)
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (dir.isEmpty())
        dir = QDir::homePath();
    dir += QStringLiteral("/LIRComplect");
    errno = 0;
    if (!QDir().mkpath(dir))
        throw Error(cannotWriteFile(dir, fileErrorReason(errno != 0 ? errno : EACCES)));
    QString stem = kitDesignation.trimmed();
    for (QChar& ch : stem)
        if (ch == QLatin1Char('/') || ch == QLatin1Char('\\') || ch.category() == QChar::Other_Control)
            ch = QLatin1Char('_');
    if (stem.isEmpty())
        stem = QStringLiteral("Комплект");
    stem += QLatin1Char(' ') + QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH-mm-ss"));
    // Reserve the name: an existing file is never touched.
    for (int k = 1;; ++k) {
        const QString name = dir + QLatin1Char('/') + stem
                             + (k > 1 ? QStringLiteral(" (%1)").arg(k) : QString()) + QStringLiteral(".xlsx");
        const int fd = ::open(QFile::encodeName(name).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            ::close(fd);
            return name;
        }
        if (errno != EEXIST || k > 1000)
            throw Error(cannotWriteFile(name, fileErrorReason(errno)));
    }
}

} // namespace lir
