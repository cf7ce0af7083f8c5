#include "core/export/quote.h"

#include "core/base/error.h"
#include "core/export/kitsheet.h"
#include "core/export/quotetexts.h"
#include "core/calc/calctexts.h"

namespace lir {

namespace t = quotetexts;
using money::Kopecks;

namespace {

std::optional<qint64> wholeNumber(const QString& text)
{
    bool ok = false;
    const qint64 n = text.trimmed().toLongLong(&ok);
    if (!ok || n < -0xFFFFFFFFLL || n > 0xFFFFFFFFLL)
        return std::nullopt;
    return n;
}

// Prices one line: a price that is missing, empty or cannot be multiplied
// out leaves the line without price and sum, and it is counted as such.
void price(Quote::Line& line, const PriceResult& p, float factor)
{
    const std::optional<qint64> quantity = wholeNumber(line.quantity);
    if (!p.found || !p.price || !quantity)
        return;
    line.price = money::lineSum(*p.price, 1, factor);
    line.sum = money::lineSum(*p.price, *quantity, factor);
    if (!line.price || !line.sum)
        throw Error(t::sumTooLarge(line.designation.isEmpty() ? line.name : line.designation));
}

// Totals, VAT, the amount in words and the closing lines, once the lines are there.
void finish(Quote& q)
{
    Kopecks total = 0;
    for (const Quote::Line& l : std::as_const(q.lines)) {
        if (!l.sum) {
            ++q.unpriced;
            continue;
        }
        total += *l.sum;
        if (total > 1'000'000'000'000'000LL || total < -1'000'000'000'000'000LL)
            throw Error(t::totalTooLarge());
    }
    q.total = total;
    Kopecks due = total;
    q.totals.append({t::total(), money::format(total)});
    const QString rate = money::rateText(q.company.vatRate);
    switch (q.company.vat) {
    case CompanyDetails::Vat::None:
        q.totals.append({t::withoutVat(), QString()});
        break;
    case CompanyDetails::Vat::Included:
        q.totals.append({t::vatIncluded(rate), money::format(money::vatIncluded(total, q.company.vatRate))});
        break;
    case CompanyDetails::Vat::OnTop: {
        const Kopecks vat = money::vatOnTop(total, q.company.vatRate);
        due = total + vat;
        q.totals.append({t::vatOnTop(rate), money::format(vat)});
        q.totals.append({t::totalWithVat(), money::format(due)});
        break;
    }
    }
    q.words = money::inWords(due);
    if (q.unpriced)
        q.unpricedNote = t::unpriced(q.unpriced);
    if (q.company.validDays > 0)
        q.validity = t::validity(q.company.validDays);
    q.signature = t::signature(q.company.signer.trimmed());
}

} // namespace

QStringList companyLines(const CompanyDetails& c)
{
    QStringList out;
    if (!c.address.trimmed().isEmpty())
        out << t::address(c.address.trimmed());
    QStringList contact;
    if (!c.phone.trimmed().isEmpty())
        contact << t::phone(c.phone.trimmed());
    if (!c.email.trimmed().isEmpty())
        contact << t::email(c.email.trimmed());
    if (!contact.isEmpty())
        out << contact.join(QStringLiteral(", "));
    QStringList ids;
    if (!c.inn.trimmed().isEmpty())
        ids << t::inn(c.inn.trimmed());
    if (!c.kpp.trimmed().isEmpty())
        ids << t::kpp(c.kpp.trimmed());
    if (!ids.isEmpty())
        out << ids.join(QStringLiteral(", "));
    for (const QString& l : c.bank.split(u'\n'))
        if (!l.trimmed().isEmpty())
            out << l.trimmed();
    return out;
}

RowDrawings kitRowDrawings(const OrderModel& order, SummaryView view)
{
    const OrderGrid& grid = order.grid(view);
    RowDrawings out(grid.rowCount());
    const QVector<TOrder>& entries = order.entries();
    if (view == OrderModel::Kits) {
        for (int r = 1; r < grid.rowCount(); ++r) {
            const QVector<int> behind = order.entriesOfKitsRow(r);
            if (!behind.isEmpty() && behind.first() < entries.size())
                out[r] = sashDrawingOf(entries[behind.first()]);
        }
    } else if (view == OrderModel::KitsAndComponents) {
        // Every entry appends its kit's row, in the order of the list.
        QVector<int> kitRows;
        for (int r = 1; r < grid.rowCount(); ++r)
            if (!grid.cell(r, 4).isEmpty())
                kitRows.append(r);
        if (kitRows.size() == entries.size())
            for (int i = 0; i < kitRows.size(); ++i)
                out[kitRows[i]] = sashDrawingOf(entries[i]);
    }
    return out;
}

QString quoteCustomer(const OrderModel& order)
{
    const QString name = order.customerName().trimmed();
    return name.isEmpty() ? order.description() : name;
}

Quote orderQuote(const OrderGrid& grid, SummaryView view, const QString& markupText, const QString& customer,
                 std::optional<qint32> number, const PriceLookup& prices, const CompanyDetails& company,
                 const QDate& date, const RowDrawings& drawings)
{
    const float k = markupFactor(readMarkup(markupText));
    Quote q;
    q.company = company;
    q.title = t::title(date, number);
    q.fileTitle = q.title;
    if (!customer.trimmed().isEmpty())
        q.about << t::customer(customer.trimmed());

    const int quantity = OrderModel::quantityColumn(view);
    const bool screwRows = view != OrderModel::Kits;
    ExportPrices known(prices);
    for (int r = 1; r < grid.rowCount(); ++r) {
        if (grid.cell(r, 1).isEmpty())
            continue;
        Quote::Line line;
        line.designation = grid.cell(r, 0);
        line.name = grid.cell(r, 1);
        line.quantity = grid.cell(r, quantity).trimmed();
        line.unit = t::pieces();
        if (view == OrderModel::Kits) {
            line.name = t::kitName(grid.cell(r, 2).toInt());
            line.unit = t::kits();
        } else if (view == OrderModel::KitsAndComponents && !grid.cell(r, 4).isEmpty()) {
            line.name = t::kitName(grid.cell(r, 4).toInt());
            line.unit = t::kits();
            line.kit = true;
        }
        const PriceResult p = summaryLookup(grid, r, screwRows, known);
        if (line.designation.isEmpty() && screwRows) {
            if (line.name == calctexts::totalScrews25)
                line.designation = screwDesignation25();
            else if (line.name == calctexts::totalScrews40)
                line.designation = screwDesignation40();
        }
        price(line, p, k);
        if (view != OrderModel::Components)
            line.drawing = drawings.value(r);
        q.lines.append(line);
    }
    known.finish();
    if (q.lines.isEmpty())
        throw Error(t::emptyOrder());
    finish(q);
    return q;
}

Quote kitQuote(const KitCalculator& calc, const PriceLookup& prices, const CompanyDetails& company,
               const QDate& date)
{
    if (!calc.commandsVisible() || calc.LineCount <= 0)
        throw Error(t::noKit());
    const KitSheet s = KitSheet::fromCalculator(calc);
    Quote q;
    q.company = company;
    q.title = t::title(date, std::nullopt);
    q.fileTitle = q.title + u' ' + s.kitDesignation;
    q.about << t::kit(s.kitDesignation) << t::sash(s.ffh, s.ffb);
    if (s.gh > 0)
        q.about << t::handleHeight(s.gh);
    q.about << t::profile(s.profileSystem, s.profileSystemName);
    QString options = calc.orderEntry().Dop_komplekt.trimmed();
    while (options.endsWith(u','))
        options = options.chopped(1).trimmed();
    if (!options.isEmpty())
        q.about << t::options(options);
    q.about << t::colourAndCount(s.ral, s.kitCount);
    q.drawing = sashDrawingOf(calc);

    for (const KitSheet::Line& l : s.lines) {
        Quote::Line line{l.designation, l.name, QString::number(l.quantity), t::pieces(), {}, {}, false, {}};
        price(line, prices(l.designation), 1.0f);
        q.lines.append(line);
    }
    auto screws = [&](const KitSheet::ScrewRow& row, const QString& designation) {
        if (row.label.isEmpty() || row.count.trimmed().isEmpty())
            return; // a kit without screws of this size
        Quote::Line line{designation, row.label, row.count.trimmed(), t::pieces(), {}, {}, false, {}};
        price(line, prices(designation), 1.0f);
        q.lines.append(line);
    };
    screws(s.screws25, screwDesignation25());
    screws(s.screws40, screwDesignation40());
    finish(q);
    return q;
}

} // namespace lir
