#include "core/orders/batch.h"

#include "core/base/dialogs.h"
#include "core/base/error.h"
#include "core/base/safefile.h"
#include "core/calc/ordersink.h"
#include "core/calc/tiltkit.h"
#include "core/calc/tiltturnkit.h"
#include "core/calc/turnkit.h"
#include "core/export/workbook.h"
#include "core/orders/ordermodel.h"

#include <QFileInfo>

#include <algorithm>
#include <array>

namespace lir::batch {

namespace {

using In = KitCalculator::Input;

struct System
{
    const char* model;
    QString title;
};

const std::array<System, 3>& systems()
{
    static const std::array<System, 3> s = {{
        {"6741", QStringLiteral("поворотная 6741")},
        {"6741otkid", QStringLiteral("откидная 6741")},
        {"6742", QStringLiteral("поворотно-откидная 6742")},
    }};
    return s;
}

std::unique_ptr<KitCalculator> newCalculator(int system)
{
    switch (system) {
    case 0:
        return std::make_unique<TurnKit>();
    case 1:
        return std::make_unique<TiltKit>();
    default:
        break;
    }
    return std::make_unique<TiltTurnKit>();
}

QString titleOf(const char* key)
{
    static const std::vector<std::pair<const char*, QString>> titles = {
        {"ProfilType", QStringLiteral("Тип профиля")},
        {"Complekt", QStringLiteral("Комплект 6741")},
        {"cb_zapor", QStringLiteral("Запор поворотно-откидной")},
        {"KolKomlektov", QStringLiteral("Количество комплектов")},
        {"RAL", QStringLiteral("Цвет RAL")},
        {"NazvSystemProfiles", QStringLiteral("Система профиля")},
        {"cb_ramaType", QStringLiteral("Фальц рамы")},
        {"RadioGroup1", QStringLiteral("Вес створки")},
        {"PolStvorki", QStringLiteral("Положение створки")},
        {"FFH", QStringLiteral("Высота FFH")},
        {"FFB", QStringLiteral("Ширина FFB")},
        {"RuchkaVcentre", QStringLiteral("Ручка в центре")},
        {"GH", QStringLiteral("Высота ручки GH")},
        {"RuchkaOkon", QStringLiteral("Ручка оконная")},
        {"TipRuchki", QStringLiteral("Тип ручки")},
        {"Provetrivatel", QStringLiteral("Проветриватель")},
        {"BalkonnayaZaschelka", QStringLiteral("Балконная защелка 6741")},
        {"blokirator", QStringLiteral("Блокиратор")},
        {"PlankaMicrovent", QStringLiteral("Планка микровентиляции")},
        {"CheckBox1", QStringLiteral("Балконная защелка 6742 / ножницы 2шт")},
    };
    for (const auto& [name, title] : titles)
        if (qstrcmp(name, key) == 0)
            return title;
    return QLatin1String(key);
}

const QString inCentre = QStringLiteral("в центре");

QString normalized(const QString& header)
{
    QString s = header.simplified().toLower();
    while (s.endsWith(QLatin1Char(':')))
        s.chop(1);
    return s.trimmed();
}

// A whole number as a person or a spreadsheet writes it: "1250", "1250.0",
// "1 250".
bool wholeNumber(const QString& text, qint64& out)
{
    QString s = text;
    s.remove(QLatin1Char(' ')).remove(QChar(0xA0));
    s.replace(QLatin1Char(','), QLatin1Char('.'));
    const qsizetype dot = s.indexOf(QLatin1Char('.'));
    if (dot >= 0) {
        for (qsizetype i = dot + 1; i < s.size(); ++i)
            if (s[i] != QLatin1Char('0'))
                return false;
        s.truncate(dot);
    }
    bool ok = false;
    out = s.toLongLong(&ok, 10);
    return ok && s.size() <= 15;
}

// 1/0, да/нет, true/false; -1 for anything else.
int boolOf(const QString& text)
{
    const QString s = text.trimmed().toLower();
    if (s == QLatin1String("1") || s == QStringLiteral("да") || s == QLatin1String("true") || s == QLatin1String("1.0"))
        return 1;
    if (s == QLatin1String("0") || s == QStringLiteral("нет") || s == QLatin1String("false") || s == QLatin1String("0.0"))
        return 0;
    return -1;
}

// The value of a cell as the calculator takes it; an empty string on success,
// else the message of the cell.
QString valueOf(const Key& key, const QString& title, const QString& cell, const KitCalculator& c, int& value)
{
    switch (key.value) {
    case Key::Value::Item: {
        const QStringList& items = c.inputItems(key.input);
        for (int i = 0; i < items.size(); ++i)
            if (items.at(i).compare(cell.trimmed(), Qt::CaseInsensitive) == 0) {
                value = i;
                return {};
            }
        return QStringLiteral("«%1»: «%2» — ожидается одно из: %3").arg(title, cell, items.join(QStringLiteral(", ")));
    }
    case Key::Value::Bool:
        value = boolOf(cell);
        if (value < 0)
            return QStringLiteral("«%1»: «%2» — ожидается да или нет (1 или 0)").arg(title, cell);
        return {};
    case Key::Value::Whole:
    case Key::Value::Clamped:
        break;
    case Key::Value::Path:
        return QStringLiteral("«%1»: не вводится в таблице").arg(title);
    }
    qint64 n = 0;
    if (!wholeNumber(cell, n))
        return QStringLiteral("«%1»: «%2» — не целое число").arg(title, cell);
    if (key.value == Key::Value::Clamped)
        n = n < key.lo ? key.lo : (n > key.hi ? key.hi : n);
    if (n < key.lo || n > key.hi)
        return QStringLiteral("«%1»: %2 — вне пределов от %3 до %4").arg(title).arg(n).arg(key.lo).arg(key.hi);
    value = int(n);
    return {};
}

// Fills a new calculator of the row's system with the row's cells, as a person
// fills in its window, key by key. Null when the row cannot be calculated; its
// messages say why.
std::unique_ptr<KitCalculator> prepare(const Row& row, RowResult& r)
{
    const int system = systemOf(row);
    const QString systemCell = row.cells.value(0).trimmed();
    if (system < 0) {
        r.messages << (systemCell.isEmpty() ? QStringLiteral("Не указана система")
                                            : QStringLiteral("Неизвестная система «%1»: ожидается 6741, 6741otkid "
                                                             "или 6742")
                                                  .arg(systemCell));
        return nullptr;
    }
    auto calc = newCalculator(system);
    const auto& cols = columns();
    struct Change
    {
        In input;
        int value;
    };
    std::vector<Change> changes;
    const int ghColumn = columnOf(QStringLiteral("GH"));
    const bool ghInCentre = normalized(row.cells.value(ghColumn)) == inCentre;
    for (int c = 1; c < int(cols.size()); ++c) {
        const Key& key = *cols[size_t(c)].key;
        QString cell = row.cells.value(c).trimmed();
        if (key.input == In::RuchkaVcentre && ghInCentre && cell.isEmpty())
            cell = QStringLiteral("1");
        if (key.input == In::GH && ghInCentre)
            continue;
        if (cell.isEmpty())
            continue;
        if (!takesKey(*calc, key)) {
            // An option of another system: refused rather than dropped, so
            // that a kit is never calculated without what its line asked for.
            if (key.value != Key::Value::Bool || boolOf(cell) != 0)
                r.messages << QStringLiteral("«%1» не относится к системе %2").arg(cols[size_t(c)].title,
                                                                                   systems()[size_t(system)].title);
            continue;
        }
        int value = 0;
        const QString error = valueOf(key, cols[size_t(c)].title, cell, *calc, value);
        if (!error.isEmpty())
            r.messages << error;
        else
            changes.push_back({key.input, value});
    }
    if (!r.messages.isEmpty())
        return nullptr;
    // Inputs hidden or disabled by an earlier one stay as they are, as in the window.
    for (const Change& ch : changes)
        calc->userSet(ch.input, ch.value);
    return calc;
}

// Calculates a prepared calculator with its boxes recorded.
void run(KitCalculator& calc, RowResult& r)
{
    RecordingDialogs recorder;
    {
        const ScopedDialogs recording(recorder);
        calc.RashetButtonClick();
    }
    for (const RecordingDialogs::Shown& s : recorder.shown())
        r.messages << s.text;
    r.ok = !calc.lastCalculationFailed() && calc.commandsVisible();
    if (r.ok) {
        r.designation = calc.KitDesignation;
        r.kits = calc.kolKomlektov();
    }
}

} // namespace

const std::vector<Column>& columns()
{
    static const std::vector<Column> cols = [] {
        std::vector<Column> c;
        c.push_back({nullptr, QStringLiteral("Система"), QStringLiteral("calculator")});
        for (const Key& key : calculatorKeys())
            if (key.command == Key::Command::None)
                c.push_back({&key, titleOf(key.name), QLatin1String(key.name)});
        return c;
    }();
    return cols;
}

int columnOf(const QString& header)
{
    const QString h = normalized(header);
    const auto& cols = columns();
    for (int c = 0; c < int(cols.size()); ++c)
        if (h == normalized(cols[size_t(c)].title) || h == cols[size_t(c)].name.toLower())
            return c;
    return -1;
}

bool Row::isEmpty() const
{
    for (const QString& c : cells)
        if (!c.trimmed().isEmpty())
            return false;
    return true;
}

int systemOf(const Row& row)
{
    const QString s = normalized(row.cells.value(0));
    for (int i = 0; i < int(systems().size()); ++i)
        if (s == QLatin1String(systems()[size_t(i)].model) || s == systems()[size_t(i)].title)
            return i;
    return -1;
}

bool applies(const Row& row, int column)
{
    if (column == 0)
        return true;
    const int system = systemOf(row);
    if (system < 0 || column < 0 || column >= int(columns().size()))
        return false;
    // Which inputs a window has depends on the system alone.
    static const std::array<std::unique_ptr<KitCalculator>, 3> probes = {newCalculator(0), newCalculator(1),
                                                                          newCalculator(2)};
    return takesKey(*probes[size_t(system)], *columns()[size_t(column)].key);
}

RowResult calculate(const Row& row)
{
    RowResult r;
    if (row.isEmpty()) {
        r.empty = true;
        return r;
    }
    if (auto calc = prepare(row, r))
        run(*calc, r);
    return r;
}

QVector<int> headerOf(const QStringList& cells)
{
    QVector<int> target;
    for (const QString& cell : cells) {
        const QString h = cell.trimmed();
        const int c = h.isEmpty() ? -1 : columnOf(h);
        if (!h.isEmpty() && (c < 0 || target.contains(c)))
            return {};
        target << c;
    }
    return target.contains(0) ? target : QVector<int>();
}

QVector<Row> rowsOf(const io::SheetData& sheet, const QString& shownName)
{
    if (sheet.rows.isEmpty())
        throw Error(QStringLiteral("В файле %1 нет строки заголовка").arg(shownName));
    const io::SheetRow& head = sheet.rows.front();
    QVector<int> target; // the batch column of each file column, -1 for an empty header cell
    bool hasSystem = false;
    for (int i = 0; i < head.cells.size(); ++i) {
        const QString h = head.cells.at(i).trimmed();
        if (h.isEmpty()) {
            target << -1;
            continue;
        }
        const int c = columnOf(h);
        if (c < 0)
            throw Error(QStringLiteral("%1, столбец %2: неизвестный столбец «%3»")
                            .arg(shownName, io::columnName(i), h));
        if (target.contains(c))
            throw Error(QStringLiteral("%1, столбец %2: столбец «%3» уже есть").arg(shownName, io::columnName(i), h));
        hasSystem = hasSystem || c == 0;
        target << c;
    }
    if (!hasSystem)
        throw Error(QStringLiteral("В файле %1 нет столбца «Система» (calculator)").arg(shownName));
    if (sheet.rows.size() > maxRows)
        throw Error(QStringLiteral("В файле %1 больше %2 строк: разделите его на части").arg(shownName).arg(maxRows));

    QVector<Row> rows;
    const int width = int(columns().size());
    for (qsizetype i = 1; i < sheet.rows.size(); ++i) {
        const io::SheetRow& in = sheet.rows.at(i);
        Row row;
        row.line = in.line;
        for (int c = 0; c < width; ++c)
            row.cells << QString();
        for (int k = 0; k < in.cells.size(); ++k) {
            if (k >= target.size() || target.at(k) < 0) {
                if (!in.cells.at(k).trimmed().isEmpty())
                    throw Error(QStringLiteral("%1, строка %2: значение в столбце %3 без заголовка")
                                    .arg(shownName)
                                    .arg(in.line)
                                    .arg(io::columnName(k)));
                continue;
            }
            row.cells[target.at(k)] = in.cells.at(k);
        }
        rows << row;
    }
    return rows;
}

QVector<Row> readFile(const QString& path)
{
    io::ReadOptions options;
    options.maxRows = maxRows; // the header row among them
    return rowsOf(io::readSheetFile(path, options), QFileInfo(path).fileName());
}

bool addToOrder(OrderModel& order, const QVector<Row>& rows, const QVector<RowResult>& results, int* added)
{
    int kits = 0;
    RecordingDialogs recorder;
    const ScopedDialogs recording(recorder);
    struct SinkScope
    {
        OrderSink* previous;
        ~SinkScope() { setOrderSink(previous); }
    } sink{orderSink()};
    setOrderSink(&order);
    const bool done = order.addAllOrNone([&] {
        for (qsizetype i = 0; i < rows.size() && i < results.size(); ++i) {
            if (!results.at(i).ok)
                continue;
            RowResult again;
            auto calc = prepare(rows.at(i), again);
            if (!calc)
                return false;
            calc->RashetButtonClick();
            const int before = order.EntryCount();
            calc->SumButtonClick();
            if (order.EntryCount() != before + 1)
                return false;
            ++kits;
        }
        return true;
    });
    if (added)
        *added = done ? kits : 0;
    return done;
}

Row exampleRow()
{
    Row row;
    for (const Column& c : columns()) {
        QString v;
        if (c.name == QLatin1String("calculator"))
            v = QStringLiteral("6742");
        else if (c.name == QLatin1String("ProfilType"))
            v = QStringLiteral("ПВХ");
        else if (c.name == QLatin1String("FFH"))
            v = QStringLiteral("1400");
        else if (c.name == QLatin1String("FFB"))
            v = QStringLiteral("700");
        else if (c.name == QLatin1String("GH"))
            v = inCentre;
        else if (c.name == QLatin1String("PolStvorki"))
            v = QStringLiteral("Левое");
        else if (c.name == QLatin1String("KolKomlektov"))
            v = QStringLiteral("1");
        row.cells << v;
    }
    return row;
}

void writeTemplateXlsx(const QString& path)
{
    workbook::Sheet sheet;
    const Row example = exampleRow();
    for (int c = 0; c < int(columns().size()); ++c) {
        workbook::Cell& head = sheet.at(1, c);
        head.value = columns()[size_t(c)].title;
        head.styled = true;
        head.style.bold = true;
        head.style.text = true;
        workbook::Cell& cell = sheet.at(2, c);
        cell.styled = true;
        cell.style.text = true; // "Левое", "в центре" and numbers alike stay as typed
        cell.value = example.cells.at(c);
        sheet.columnWidths[c] = std::max<double>(10, double(columns()[size_t(c)].title.size()) + 2);
    }
    workbook::save(path, sheet);
}

void writeTemplateCsv(const QString& path)
{
    QStringList head;
    for (const Column& c : columns())
        head << c.title;
    AtomicFile out(path);
    out.write("\xEF\xBB\xBF" + head.join(QLatin1Char(';')).toUtf8() + "\r\n"
              + exampleRow().cells.join(QLatin1Char(';')).toUtf8() + "\r\n");
    out.commit();
}

Totals totals(const QVector<RowResult>& results)
{
    Totals t;
    for (const RowResult& r : results) {
        if (r.empty)
            continue;
        if (r.ok) {
            ++t.calculated;
            t.kits += r.kits;
        } else {
            ++t.failed;
        }
    }
    return t;
}

QString statusLine(const Totals& t)
{
    return QStringLiteral("Рассчитано строк: %1, с ошибками: %2, комплектов всего: %3")
        .arg(t.calculated)
        .arg(t.failed)
        .arg(t.kits);
}

} // namespace lir::batch
