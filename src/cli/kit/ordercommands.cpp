#include "cli/kit/ordercommands.h"

#include "cli/kit/clitexts.h"
#include "cli/kit/jsonwriter.h"
#include "cli/kit/sheetlocale.h"

#include "core/base/dialogs.h"
#include "core/base/error.h"
#include "core/base/workdirlock.h"
#include "core/calc/tiltkit.h"
#include "core/calc/tiltturnkit.h"
#include "core/calc/turnkit.h"
#include "core/db/storage.h"
#include "core/export/ordersummary.h"
#include "core/export/ordertotal.h"
#include "core/export/quote.h"
#include "core/orders/batch.h"
#include "core/orders/orderhistory.h"
#include "core/orders/ordertable.h"
#include "core/orders/ordertexts.h"
#include "core/prices/pricetable.h"
#include "docs/quotedocument.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>

#include <cmath>
#include <limits>
#include <map>

namespace lir::cli {

namespace {

// A JSON object written with its keys in the order they are added.
using Writer = JsonObjectWriter;

// Rows 1 to the last row with any text.
QJsonArray gridJson(const OrderGrid& g)
{
    QJsonArray rows;
    const int last = g.lastFilledRow();
    for (int r = 1; r <= last; ++r)
        rows.append(QJsonArray::fromStringList(g.row(r)));
    return rows;
}

struct Invalid
{
    QString text;
};

qint64 wholeNumber(const QJsonObject& in, const char* key)
{
    const QJsonValue v = in.value(QLatin1String(key));
    const double d = v.toDouble();
    if (!v.isDouble() || !std::isfinite(d) || std::floor(d) != d || std::fabs(d) > 9.0e15)
        throw Invalid{QStringLiteral("%1 must be a whole number").arg(QLatin1String(key))};
    return qint64(d);
}

int numberInRange(const QJsonObject& in, const char* key, int lo, int hi)
{
    const qint64 n = wholeNumber(in, key);
    if (n < lo || n > hi)
        throw Invalid{QStringLiteral("%1 must be between %2 and %3").arg(QLatin1String(key)).arg(lo).arg(hi)};
    return int(n);
}

QString text(const QJsonObject& in, const char* key)
{
    const QJsonValue v = in.value(QLatin1String(key));
    if (!v.isString())
        throw Invalid{QStringLiteral("%1 must be a text").arg(QLatin1String(key))};
    return v.toString();
}

// The keys each order command takes besides "order".
const std::map<QString, QStringList>& commandKeys()
{
    static const std::map<QString, QStringList> keys = {
        {QStringLiteral("show"), {}},
        {QStringLiteral("clear"), {}},
        {QStringLiteral("view"), {QStringLiteral("view")}},
        {QStringLiteral("delete"), {QStringLiteral("row")}},
        {QStringLiteral("edit"), {QStringLiteral("row")}},
        {QStringLiteral("type"), {QStringLiteral("view"), QStringLiteral("row"), QStringLiteral("text")}},
        {QStringLiteral("save"), {QStringLiteral("description")}},
        {QStringLiteral("customer"), {QStringLiteral("id")}},
        {QStringLiteral("export_html"), {QStringLiteral("view"), QStringLiteral("markup"), QStringLiteral("path")}},
        {QStringLiteral("export_xlsx"), {QStringLiteral("view"), QStringLiteral("markup"), QStringLiteral("path")}},
        {QStringLiteral("export_pdf"), {QStringLiteral("view"), QStringLiteral("markup"), QStringLiteral("path")}},
    };
    return keys;
}

QString markupSourceName(OrderModel::MarkupSource s)
{
    switch (s) {
    case OrderModel::MarkupSource::Customer:
        return QStringLiteral("customer");
    case OrderModel::MarkupSource::Typed:
        return QStringLiteral("typed");
    case OrderModel::MarkupSource::None:
        break;
    }
    return QStringLiteral("none");
}

} // namespace

OrderCommands::OrderCommands(TurnKit& turn, TiltTurnKit& tiltTurn, TiltKit& tilt)
{
    m_order.setCalculators(&turn, &tiltTurn, &tilt);
    // The order table of the current directory comes into being with the
    // first order saved; the directory's lock is held while it is written.
    m_order.setOrderTable([this]() -> db::Table& {
        m_writeLock.emplace(QDir::currentPath());
        orders::CreateOrderTable();
        return db::Table::open(orders::tableFile());
    });
    // A saved order keeps the total of its summary, priced from zeni.db of
    // the current directory; without a price table it has none.
    m_order.setTotalSource([this]() -> std::optional<double> {
        try {
            prices::open();
            return orderSummaryTotal(m_order, LookupPrice);
        } catch (const Error&) {
            return std::nullopt;
        }
    });
}

OrderCommands::Scope::Scope(OrderCommands& c) : m_previous(orderSink())
{
    setOrderSink(&c.m_order);
}

OrderCommands::Scope::~Scope()
{
    setOrderSink(m_previous);
}

bool OrderCommands::isOrderLine(const QJsonObject& in)
{
    return in.contains(QStringLiteral("order")) && !in.contains(QStringLiteral("calculator"));
}

bool OrderCommands::pressSumButton(KitCalculator& calc)
{
    if (!calc.commandsVisible())
        return false;
    calc.SumButtonClick();
    return true;
}

bool OrderCommands::pressSaveChanges(KitCalculator& calc)
{
    if (!calc.saveChangesVisible() || !calc.saveChangesEnabled())
        return false;
    calc.Panel1Click();
    return true;
}

QByteArray OrderCommands::orderJson() const
{
    QByteArray list = "[";
    // Written by hand: a QJsonObject would sort the fields of an entry.
    for (qsizetype i = 0; i < m_order.entries().size(); ++i) {
        const TOrder& e = m_order.entries().at(i);
        if (i)
            list += ',';
        list += Writer()
                    .add("Type", e.Type)
                    .add("Designation", e.Designation)
                    .add("Profil", e.Profil)
                    .add("Dop_komplekt", e.Dop_komplekt)
                    .add("Count", e.Count)
                    .add("Color", e.Color)
                    .add("FFH", e.FFH)
                    .add("FFB", e.FFB)
                    .add("GH", e.GH)
                    .json();
    }
    list += ']';
    return Writer()
        .addRaw("entries", list)
        .add("components", gridJson(m_order.StringGrid1()))
        .add("kits", gridJson(m_order.StringGrid2()))
        .add("kits_and_components", gridJson(m_order.StringGrid3()))
        .add("view", int(m_order.view()))
        .add("edited_entry", m_order.EditedEntry())
        .add("description", m_order.description())
        .add("customer", m_order.customerId() ? QJsonValue(m_order.customerId()) : QJsonValue())
        .add("markup", m_order.markup())
        .add("markup_source", markupSourceName(m_order.markupSource()))
        .json();
}

QByteArray OrderCommands::processOrderLine(const QJsonObject& in)
{
    const QJsonValue commandValue = in.value(QStringLiteral("order"));
    if (commandValue == QJsonValue(QStringLiteral("import_batch")))
        return importBatch(in);
    const auto command = commandKeys().find(commandValue.toString());
    if (!commandValue.isString() || command == commandKeys().end())
        return errorLine(
            QStringLiteral("unknown order command (expected \"show\", \"clear\", \"view\", \"delete\", \"edit\", \"type\", \"save\", \"customer\", \"export_html\", \"export_xlsx\", \"export_pdf\" or \"import_batch\")"));
    const QString& name = command->first;
    if (name == QLatin1String("customer"))
        return m_book.processOrderCustomer(in);
    for (auto it = in.begin(); it != in.end(); ++it)
        if (it.key() != QLatin1String("order") && !command->second.contains(it.key()))
            return errorLine(QStringLiteral("unknown key for order %1: %2").arg(name, it.key()));
    for (const QString& key : command->second)
        if (!in.contains(key))
            return errorLine(QStringLiteral("order %1 needs %2").arg(name, key));

    using View = OrderModel::View;
    auto gridRow = [&](View v) {
        const int rows = m_order.grid(v).rowCount() - 1;
        return numberInRange(in, "row", 1, rows);
    };
    int view = 0;
    int row = 0;
    QString typed;
    QString path;
    const bool exporting = name.startsWith(QLatin1String("export_"));
    try {
        if (name == QLatin1String("view") || name == QLatin1String("type") || exporting)
            view = numberInRange(in, "view", 1, 3);
        if (name == QLatin1String("delete") || name == QLatin1String("edit"))
            row = gridRow(OrderModel::Kits);
        if (name == QLatin1String("type")) {
            row = gridRow(View(view));
            typed = text(in, "text");
        }
        if (name == QLatin1String("save"))
            typed = text(in, "description");
        if (exporting) {
            typed = text(in, "markup");
            path = text(in, "path");
            if (path.isEmpty())
                throw Invalid{texts::notAPath(QStringLiteral("path"))};
            // The system would end the name at the NUL and write another file.
            if (path.contains(QChar(0)))
                throw Invalid{texts::nulInPath(QStringLiteral("path"))};
        }
    } catch (const Invalid& e) {
        return errorLine(e.text);
    }

    return runOnOrder([&] {
        bool ok = true;
        if (name == QLatin1String("clear")) {
            m_order.bt_clearClick();
        } else if (name == QLatin1String("view")) {
            ok = m_order.RadioButtonClick(View(view));
        } else if (name == QLatin1String("delete") || name == QLatin1String("edit")) {
            m_order.setCurrentCell(OrderModel::Kits, row, m_order.currentColumn(OrderModel::Kits));
            ok = name == QLatin1String("delete") ? m_order.spbt_deleteClick() : m_order.StringGrid2DblClick();
        } else if (name == QLatin1String("type")) {
            // The grid has to be shown to be typed into.
            if (m_order.view() != View(view))
                m_order.RadioButtonClick(View(view));
            ok = m_order.view() == View(view) && m_order.spbt_editClick()
                 && m_order.typeIntoGrid(View(view), row, OrderModel::quantityColumn(View(view)), typed);
        } else if (name == QLatin1String("save")) {
            m_order.setDescription(typed);
            ok = m_order.bt_saveClick();
            // The window does not let more be typed; a line says what was kept.
            if (ok && orders::storedDescription(typed) != typed)
                dialogs().messageBox(ordertexts::descriptionShortened(orders::NameSize));
        } else if (exporting) {
            // Edit1 := the markup as typed, then the summary of that view,
            // priced from zeni.db of the current directory.
            m_order.setMarkup(typed);
            const OrderGrid& grid = m_order.grid(View(view));
            prices::open();
            if (name == QLatin1String("export_html")) {
                writeOrderSummaryHtml(path, View(view), grid, typed, prices::documentLookup(), sheetLocale());
            } else if (name == QLatin1String("export_xlsx")) {
                writeOrderSummaryXlsx(path, View(view), grid, typed, prices::documentLookup());
            } else {
                // The quote, headed by the company details of lircomplect.ini here.
                const Quote q = orderQuote(grid, View(view), typed, quoteCustomer(m_order), m_order.savedNumber(),
                                           prices::documentLookup(), readCompanyDetails(QDir::currentPath()),
                                           QDate::currentDate(), kitRowDrawings(m_order, View(view)));
                docs::writeQuotePdf(path, q);
            }
        }
        return ok;
    });
}

QByteArray OrderCommands::importBatch(const QJsonObject& in)
{
    for (auto it = in.begin(); it != in.end(); ++it)
        if (it.key() != QLatin1String("order") && it.key() != QLatin1String("path") && it.key() != QLatin1String("dry_run"))
            return errorLine(QStringLiteral("unknown key for order import_batch: %1").arg(it.key()));
    QString path;
    bool dryRun = false;
    try {
        path = text(in, "path");
        if (path.isEmpty() || path.contains(QChar(0)))
            throw Invalid{texts::notAPath(QStringLiteral("path"))};
        if (in.contains(QStringLiteral("dry_run"))) {
            if (!in.value(QStringLiteral("dry_run")).isBool())
                throw Invalid{texts::notABool(QStringLiteral("dry_run"))};
            dryRun = in.value(QStringLiteral("dry_run")).toBool();
        }
    } catch (const Invalid& e) {
        return errorLine(e.text);
    }

    QJsonArray messages;
    bool ok = true;
    QVector<batch::Row> rows;
    QVector<batch::RowResult> results;
    try {
        rows = batch::readFile(path);
    } catch (const Error& e) {
        messages.append(e.message());
        ok = false;
    }
    // Written by hand: a QJsonObject would sort the fields of a row.
    QByteArray rowsText = "[";
    for (const batch::Row& row : std::as_const(rows)) {
        const batch::RowResult r = batch::calculate(row);
        results << r;
        if (r.empty)
            continue;
        if (rowsText.size() > 1)
            rowsText += ',';
        rowsText += Writer()
                        .add("row", row.line)
                        .add("ok", r.ok)
                        .add("KitDesignation", r.ok ? QJsonValue(r.designation) : QJsonValue())
                        .add("messages", QJsonArray::fromStringList(r.messages))
                        .json();
    }
    rowsText += ']';
    const batch::Totals totals = batch::totals(results);
    if (!rows.isEmpty()) {
        messages.append(batch::statusLine(totals));
        if (totals.failed > 0)
            ok = false;
        if (!dryRun && totals.calculated > 0) {
            const Scope scope(*this);
            if (!batch::addToOrder(m_order, rows, results)) {
                messages.append(ordertexts::batchNotAdded());
                ok = false;
            } else if (totals.failed > 0) {
                messages.append(ordertexts::batchGoodRowsAdded(totals.calculated));
            }
        }
    }
    return Writer()
        .add("ok", ok)
        .add("messages", messages)
        .addRaw("rows", rowsText)
        .addRaw("order", orderJson())
        .json();
}

QByteArray OrderCommands::runOnOrder(const std::function<bool()>& f)
{
    const Scope scope(*this);
    RecordingDialogs recorder;
    Dialogs* previous = setDialogs(&recorder);
    bool ok = true;
    const bool ranThrough = runGuarded([&] { ok = f(); });
    m_writeLock.reset();
    setDialogs(previous);

    QJsonArray messages;
    for (const RecordingDialogs::Shown& s : recorder.shown())
        messages.append(s.text);
    return Writer()
        .add("ok", ok && ranThrough && recorder.errors().isEmpty())
        .add("messages", messages)
        .addRaw("order", orderJson())
        .json();
}

bool OrderCommands::isHistoryLine(const QJsonObject& in)
{
    return in.contains(QStringLiteral("history")) && !in.contains(QStringLiteral("order"))
           && !in.contains(QStringLiteral("calculator"));
}

QByteArray OrderCommands::processHistoryLine(const QJsonObject& in)
{
    const QString command = in.value(QStringLiteral("history")).toString();
    if (BookCommands::isBookHistoryCommand(command))
        return m_book.processHistoryLine(in);
    const bool list = command == QLatin1String("list");
    if (!list && command != QLatin1String("kits") && command != QLatin1String("open"))
        return errorLine(QStringLiteral("unknown history command (expected \"list\", \"kits\", \"open\", \"search\", \"set\", \"copy\" or \"archive\")"));
    for (auto it = in.begin(); it != in.end(); ++it)
        if (it.key() != QLatin1String("history") && (list || it.key() != QLatin1String("id")))
            return errorLine(QStringLiteral("unknown key for history %1: %2").arg(command, it.key()));
    qint32 id = 0;
    if (!list) {
        if (!in.contains(QStringLiteral("id")))
            return errorLine(QStringLiteral("history %1 needs id").arg(command));
        try {
            id = qint32(numberInRange(in, "id", 1, std::numeric_limits<qint32>::max()));
        } catch (const Invalid& e) {
            return errorLine(e.text);
        }
    }

    // Reading never creates the order table: without one nothing is saved.
    QVector<SavedOrder> orders;
    QVector<TOrder> kits;
    try {
        if (db::Table::exists(orders::tableFile())) {
            db::Table& table = db::Table::open(orders::tableFile());
            if (list) {
                orders = OrderHistory::queryOrders(table);
            } else {
                if (!OrderHistory::queryOrder(table, id))
                    return errorLine(QStringLiteral("no saved order with id %1").arg(id));
                kits = OrderHistory::queryKits(table, id);
            }
        } else if (!list) {
            return errorLine(QStringLiteral("no saved order with id %1").arg(id));
        }
    } catch (const Error& e) {
        return errorLine(e.message());
    }

    if (list) {
        QByteArray rows = "[";
        for (qsizetype i = 0; i < orders.size(); ++i)
            rows += (i ? "," : "") + Writer().add("Id", orders.at(i).Id).add("Name", orders.at(i).Name).json();
        return Writer().addRaw("history", rows + ']').json();
    }
    if (command == QLatin1String("kits")) {
        QByteArray rows = "[";
        for (qsizetype i = 0; i < kits.size(); ++i)
            rows += (i ? "," : "")
                    + Writer()
                          .add("Designation", kits.at(i).Designation)
                          .add("Count", kits.at(i).Count)
                          .add("Color", kits.at(i).Color)
                          .json();
        return Writer().addRaw("kits", rows + ']').json();
    }
    return runOnOrder([&] {
        m_order.ReopenOrder(kits);
        m_order.markSaved(id);
        return true;
    });
}

} // namespace lir::cli
