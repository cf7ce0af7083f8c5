#include "core/prices/priceimport.h"

#include "core/base/codec.h"
#include "core/base/error.h"
#include "core/base/numberformat.h"
#include "core/base/safefile.h"
#include "core/db/storagevalue.h"
#include "core/export/documentfile.h"
#include "core/export/workbook.h"
#include "core/prices/importtexts.h"
#include "core/prices/pricelog.h"
#include "core/prices/pricetable.h"

#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <cmath>

namespace lir::prices {

namespace t = importtexts;

namespace {

struct Snapshot
{
    struct Row
    {
        qint64 rowid = 0;
        QString designation;
        QString name;
        std::optional<double> price;
    };
    QVector<Row> rows;
    QHash<QString, int> first; // designation -> the row the price lookup finds
    int designationSize = DesignationSize;
    int nameSize = NameSize;
};

Snapshot readSnapshot(db::Table& table)
{
    Snapshot s;
    for (const db::FieldDef& f : table.fields()) {
        if (f.name.compare(fieldDesignation(), Qt::CaseInsensitive) == 0 && f.size > 0)
            s.designationSize = f.size;
        if (f.name.compare(fieldName(), Qt::CaseInsensitive) == 0)
            s.nameSize = f.size;
    }
    const auto rows = table.query(QStringLiteral("SELECT rowid, %1, %2, %3 FROM %4 ORDER BY rowid")
                                      .arg(db::quoted(fieldDesignation()), db::quoted(fieldName()),
                                           db::quoted(fieldPrice()), db::quoted(table.tableName())));
    s.rows.reserve(rows.size());
    s.first.reserve(rows.size());
    for (const QVector<QVariant>& r : rows) {
        Snapshot::Row row{r.value(0).toLongLong(), r.value(1).toString(), r.value(2).toString(),
                          db::storedNumber(r.value(3), fieldPrice())};
        s.first.insert(row.designation, int(s.rows.size())); // replaced below: the first row wins
        s.rows.push_back(std::move(row));
    }
    // The first row of each designation, as the lookup finds it.
    for (int i = int(s.rows.size()) - 1; i >= 0; --i)
        s.first[s.rows[i].designation] = i;
    return s;
}

QString folded(const QString& header)
{
    QString s = header.trimmed().toCaseFolded();
    s.replace(u'ё', u'е');
    return s;
}

// Largest change first; changes without a percentage (from no price or 0)
// before them, then by designation for a stable order.
void sortChanges(QVector<PriceChange>& changes)
{
    std::stable_sort(changes.begin(), changes.end(), [](const PriceChange& a, const PriceChange& b) {
        const std::optional<double> pa = a.percent(), pb = b.percent();
        if (pa.has_value() != pb.has_value())
            return !pa.has_value();
        if (pa && std::abs(*pa) != std::abs(*pb))
            return std::abs(*pa) > std::abs(*pb);
        return false;
    });
}

QVariant nullPrice()
{
    return QVariant(QMetaType(QMetaType::Double));
}

} // namespace

ListColumns guessColumns(const QStringList& header)
{
    ListColumns c;
    for (int i = 0; i < header.size(); ++i) {
        const QString h = folded(header[i]);
        if (h.isEmpty())
            continue;
        if (c.designation < 0 && (h.startsWith(u"обозначение") || h.startsWith(u"артикул") || h == u"код" ||
                                  h.startsWith(u"код ") || h.startsWith(u"код,") || h.startsWith(u"код.")))
            c.designation = i;
        else if (c.name < 0 && (h.startsWith(u"наименование") || h.startsWith(u"название")))
            c.name = i;
        else if (c.price < 0 && h.startsWith(u"цена"))
            c.price = i;
    }
    return c;
}

int findHeaderRow(const io::SheetData& data, ListColumns* columns)
{
    const int n = std::min<int>(int(data.rows.size()), 30);
    for (int i = 0; i < n; ++i) {
        const ListColumns c = guessColumns(data.rows[i].cells);
        if (c.designation >= 0 && c.price >= 0) {
            *columns = c;
            return i;
        }
    }
    return -1;
}

std::optional<double> parseListPrice(const QString& text, QString* reason)
{
    QString s = text.trimmed();
    for (const QString& unit : {QStringLiteral("руб."), QStringLiteral("руб"), QStringLiteral("р."),
                                QStringLiteral("₽")})
        if (s.endsWith(unit, Qt::CaseInsensitive)) {
            s.chop(unit.size());
            s = s.trimmed();
            break;
        }
    if (s.isEmpty()) {
        *reason = t::noPrice();
        return std::nullopt;
    }
    // Groups of three digits apart by spaces, or none; one decimal separator;
    // a number a workbook stores may have an exponent.
    static const QRegularExpression grouped(QStringLiteral(
        "^([-+]?)(\\d{1,3}(?:[ \\x{00A0}\\x{202F}]\\d{3})+|\\d+)(?:[.,](\\d+))?$"));
    static const QRegularExpression exponent(QStringLiteral("^[-+]?\\d+(?:\\.\\d+)?[eE][-+]?\\d+$"));
    double value = 0;
    bool ok = false;
    if (const QRegularExpressionMatch m = grouped.match(s); m.hasMatch()) {
        QString plain = m.captured(1) + m.captured(2);
        plain.remove(u' ').remove(QChar(0x00A0)).remove(QChar(0x202F));
        if (m.hasCaptured(3))
            plain += u'.' + m.captured(3);
        value = plain.toDouble(&ok);
    } else if (exponent.match(s).hasMatch()) {
        value = s.toDouble(&ok);
    }
    if (!ok) {
        *reason = t::notANumber(text.trimmed());
        return std::nullopt;
    }
    if (value < 0 || (value == 0 && s.startsWith(u'-'))) {
        *reason = t::negative(text.trimmed());
        return std::nullopt;
    }
    if (!std::isfinite(value) || value >= PriceLimit) {
        *reason = t::tooLarge(text.trimmed());
        return std::nullopt;
    }
    return value == 0 ? 0.0 : value;
}

double roundToKopecks(long double value)
{
    // The product with 100 is exact in the wider type: one rounding only.
    return double(std::roundl(value * 100.0L) / 100.0L);
}

std::optional<double> PriceChange::percent() const
{
    if (!oldPrice || *oldPrice == 0)
        return std::nullopt;
    return (newPrice - *oldPrice) / *oldPrice * 100.0;
}

PricePreview previewList(db::Table& table, const io::SheetData& data, int headerRow, const ListColumns& columns,
                         const QString& fileName, bool addNew)
{
    if (columns.designation < 0)
        throw Error(t::badColumn(t::header(0)));
    if (columns.price < 0)
        throw Error(t::badColumn(t::header(2)));
    const Snapshot snap = readSnapshot(table);
    PricePreview p;
    p.fileName = fileName;
    p.addNew = addNew;

    struct Good
    {
        int line;
        QString designation;
        QString name;
        double price;
    };
    QVector<Good> good;
    QHash<QString, int> seen; // designation -> index in good
    QSet<QString> disputed;   // designations given twice with different prices
    QHash<QString, int> disputedWith;
    for (int i = headerRow + 1; i < data.rows.size(); ++i) {
        const io::SheetRow& row = data.rows[i];
        ++p.rowsRead;
        const QString designation = row.cells.value(columns.designation).trimmed();
        const QString name = columns.name >= 0 ? row.cells.value(columns.name).trimmed() : QString();
        if (designation.isEmpty()) {
            p.refused.push_back({row.line, designation, t::noDesignation()});
            continue;
        }
        if (designation.size() > snap.designationSize) {
            p.refused.push_back({row.line, designation.left(snap.designationSize) + QStringLiteral("…"),
                                 t::designationTooLong(snap.designationSize)});
            continue;
        }
        QString reason;
        const std::optional<double> price = parseListPrice(row.cells.value(columns.price), &reason);
        if (!price) {
            p.refused.push_back({row.line, designation, reason});
            continue;
        }
        if (const auto it = seen.constFind(designation); it != seen.cend()) {
            const Good& before = good[*it];
            if (before.price != *price) {
                disputed.insert(designation);
                disputedWith.insert(designation, before.line);
                p.refused.push_back({row.line, designation, t::duplicate(before.line)});
            }
            continue; // the same price twice counts once
        }
        seen.insert(designation, int(good.size()));
        good.push_back({row.line, designation, name, *price});
    }

    QSet<QString> mentioned;
    for (const Good& g : std::as_const(good)) {
        mentioned.insert(g.designation);
        if (disputed.contains(g.designation)) {
            // Refused too: which of the two prices is meant nobody can tell.
            p.refused.push_back({g.line, g.designation, QString()});
            continue;
        }
        const auto it = snap.first.constFind(g.designation);
        if (it == snap.first.cend()) {
            p.added.push_back({g.designation, db::cutToSize(g.name, snap.nameSize), std::nullopt, g.price, 0, g.line});
            continue;
        }
        const Snapshot::Row& held = snap.rows[*it];
        if (held.price && *held.price == g.price) {
            ++p.unchanged;
            continue;
        }
        p.changed.push_back({g.designation, held.name, held.price, g.price, held.rowid, g.line});
    }
    // The first row of a disputed designation names the later one it disagrees with.
    QHash<QString, int> laterLine;
    for (const RefusedRow& r : std::as_const(p.refused))
        if (!r.reason.isEmpty() && disputed.contains(r.designation) && !laterLine.contains(r.designation))
            laterLine.insert(r.designation, r.line);
    for (RefusedRow& r : p.refused)
        if (r.reason.isEmpty())
            r.reason = t::duplicate(laterLine.value(r.designation));
    std::stable_sort(p.refused.begin(), p.refused.end(),
                     [](const RefusedRow& a, const RefusedRow& b) { return a.line < b.line; });
    if (good.isEmpty() && p.refused.isEmpty())
        throw Error(t::noRows(fileName));

    QSet<QString> listed;
    for (const Snapshot::Row& r : snap.rows)
        if (!mentioned.contains(r.designation) && !listed.contains(r.designation)) {
            listed.insert(r.designation);
            p.notInList.push_back({r.designation, r.name, r.price});
        }
    sortChanges(p.changed);
    return p;
}

PricePreview previewBulk(db::Table& table, const BulkChange& change)
{
    const Snapshot snap = readSnapshot(table);
    PricePreview p;
    const QString sign = change.value >= 0 ? QStringLiteral("+") : QString();
    p.description = sign + QString::number(change.value, 'g', 15) +
                    (change.percent ? QStringLiteral(" %") : QStringLiteral(" руб."));
    if (!change.match.isEmpty())
        p.description += QStringLiteral(", «") + change.match + QStringLiteral("»");
    const QString match = change.match.trimmed().toCaseFolded();
    for (int i = 0; i < snap.rows.size(); ++i) {
        const Snapshot::Row& r = snap.rows[i];
        // Only the row the price lookup finds: the others of its designation are never priced.
        if (snap.first.value(r.designation) != i || !r.price)
            continue;
        if (!match.isEmpty() && !r.designation.toCaseFolded().contains(match) &&
            !r.name.toCaseFolded().contains(match))
            continue;
        ++p.rowsRead;
        const long double old = *r.price;
        const double price = roundToKopecks(change.percent ? old * (100.0L + change.value) / 100.0L
                                                           : old + (long double)change.value);
        if (price < 0) {
            p.refused.push_back({0, r.designation, t::bulkNegative()});
            continue;
        }
        if (price >= PriceLimit) {
            p.refused.push_back({0, r.designation, t::bulkTooLarge()});
            continue;
        }
        if (price == *r.price) {
            ++p.unchanged;
            continue;
        }
        p.changed.push_back({r.designation, r.name, r.price, price == 0 ? 0.0 : price, r.rowid, 0});
    }
    sortChanges(p.changed);
    return p;
}

Applied applyPreview(db::Table& table, const PricePreview& preview)
{
    Applied done;
    if (preview.writesNothing())
        return done;
    const bool bulk = preview.fileName.isEmpty();
    db::Transaction tx(table);
    // What the preview showed must still hold: no row it writes has changed since.
    const Snapshot snap = readSnapshot(table);
    QHash<qint64, int> byRowid;
    byRowid.reserve(snap.rows.size());
    for (int i = 0; i < snap.rows.size(); ++i)
        byRowid.insert(snap.rows[i].rowid, i);
    for (const PriceChange& c : preview.changed) {
        const int i = byRowid.value(c.rowid, -1);
        if (i < 0 || snap.rows[i].designation != c.designation || snap.rows[i].price != c.oldPrice ||
            snap.first.value(c.designation) != i)
            throw Error(t::tableChanged(c.designation));
    }
    const QVector<PriceChange> added = preview.addNew ? preview.added : QVector<PriceChange>();
    for (const PriceChange& c : added)
        if (snap.first.contains(c.designation))
            throw Error(t::tableChanged(c.designation));

    const qint64 batch = nextBatch(table);
    const QString tableName = db::quoted(table.tableName());
    const QString price = db::quoted(fieldPrice());
    QVector<LogRow> log;
    log.reserve(preview.changed.size() + added.size());
    constexpr int chunk = 200;
    for (qsizetype from = 0; from < preview.changed.size(); from += chunk) {
        const qsizetype to = std::min(preview.changed.size(), from + chunk);
        QString cases;
        QString ids;
        QVariantList binds;
        QVariantList idBinds;
        for (qsizetype i = from; i < to; ++i) {
            const PriceChange& c = preview.changed[i];
            cases += QStringLiteral(" WHEN ? THEN CAST(? AS DOUBLE PRECISION)");
            binds << c.rowid << c.newPrice;
            ids += (i == from ? QString() : QStringLiteral(", ")) + u'?';
            idBinds << c.rowid;
            log.push_back({c.designation, c.oldPrice, c.newPrice,
                           bulk ? source::bulk() : source::import(preview.fileName), {}, {}});
        }
        table.query(QStringLiteral("UPDATE ") + tableName + QStringLiteral(" SET ") + price +
                        QStringLiteral(" = CASE rowid") + cases + QStringLiteral(" END WHERE rowid IN (") + ids +
                        u')',
                    binds + idBinds);
    }
    for (qsizetype from = 0; from < added.size(); from += chunk) {
        const qsizetype to = std::min(added.size(), from + chunk);
        QString values;
        QVariantList binds;
        for (qsizetype i = from; i < to; ++i) {
            const PriceChange& c = added[i];
            values += (i == from ? QString() : QStringLiteral(", ")) + QStringLiteral("(?, ?, ?)");
            binds << c.designation << (c.name.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(c.name))
                  << c.newPrice;
            log.push_back({c.designation, std::nullopt, c.newPrice, source::importNew(preview.fileName), {}, {}});
        }
        table.query(QStringLiteral("INSERT INTO ") + tableName + QStringLiteral(" (%1, %2, %3) VALUES ")
                                                                  .arg(db::quoted(fieldDesignation()),
                                                                       db::quoted(fieldName()), price) +
                        values,
                    binds);
    }
    writeLog(table, log, batch);
    tx.done();
    done.changed = int(preview.changed.size());
    done.added = int(added.size());
    done.batch = batch;
    return done;
}

namespace {

struct LastBatch
{
    qint64 batch = 0;
    QString source;
    QVector<LogEntry> rows;
};

LastBatch findLastBatch(db::Table& table)
{
    LastBatch last;
    if (!hasLogTable(table))
        return last;
    const QString log = db::quoted(logTableName());
    const auto found = table.query(
        QStringLiteral("SELECT MAX(batch) FROM ") + log +
            QStringLiteral(" WHERE batch IS NOT NULL AND source <> ? AND batch NOT IN (SELECT batch FROM ") + log +
            QStringLiteral(" WHERE source = ? AND batch IS NOT NULL)"),
        {source::undo(), source::undo()});
    if (found.isEmpty() || !found[0].value(0).isValid())
        return last;
    last.batch = found[0].value(0).toLongLong();
    const auto rows = table.query(QStringLiteral("SELECT designation, old_price, new_price, source FROM ") + log +
                                      QStringLiteral(" WHERE batch = ? ORDER BY id"),
                                  {last.batch});
    for (const QVector<QVariant>& r : rows) {
        LogEntry e;
        e.designation = r.value(0).toString();
        e.oldPrice = db::storedNumber(r.value(1), fieldPrice());
        e.newPrice = db::storedNumber(r.value(2), fieldPrice());
        e.source = r.value(3).toString();
        last.rows.push_back(e);
        if (last.source.isEmpty() || e.source.startsWith(u"import:"))
            last.source = e.source;
    }
    if (last.source.startsWith(u"import-new: "))
        last.source = source::import(last.source.mid(12));
    return last;
}

} // namespace

QString lastUndoable(db::Table& table)
{
    return findLastBatch(table).source;
}

Undone undoLastImport(db::Table& table)
{
    db::Transaction tx(table);
    const LastBatch last = findLastBatch(table);
    if (last.batch == 0)
        throw Error(t::nothingToUndo());
    const Snapshot snap = readSnapshot(table);
    QStringList moved;
    for (const LogEntry& e : last.rows) {
        const auto it = snap.first.constFind(e.designation);
        if (it == snap.first.cend() || snap.rows[*it].price != e.newPrice)
            moved << e.designation;
    }
    if (!moved.isEmpty()) {
        QString named = moved.mid(0, 10).join(QStringLiteral(", "));
        if (moved.size() > 10)
            named += t::andMore(int(moved.size()) - 10);
        throw Error(t::changedSince(named));
    }
    Undone done;
    done.source = last.source;
    const QString tableName = db::quoted(table.tableName());
    QVector<LogRow> log;
    for (const LogEntry& e : last.rows) {
        const qint64 rowid = snap.rows[snap.first.value(e.designation)].rowid;
        if (e.source.startsWith(u"import-new: ")) {
            table.query(QStringLiteral("DELETE FROM ") + tableName + QStringLiteral(" WHERE rowid = ?"), {rowid});
            ++done.removed;
        } else {
            table.query(QStringLiteral("UPDATE ") + tableName + QStringLiteral(" SET ") + db::quoted(fieldPrice()) +
                            QStringLiteral(" = ? WHERE rowid = ?"),
                        {e.oldPrice ? QVariant(*e.oldPrice) : nullPrice(), rowid});
            ++done.restored;
        }
        log.push_back({e.designation, e.newPrice, e.source.startsWith(u"import-new: ") ? std::nullopt : e.oldPrice,
                       source::undo(), {}, {}});
    }
    writeLog(table, log, last.batch);
    tx.done();
    return done;
}

int exportPrices(db::Table& table, const QString& path)
{
    checkExportTarget(path);
    const Snapshot snap = readSnapshot(table);
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == u"xlsx") {
        workbook::Sheet sheet;
        for (int c = 0; c < 3; ++c) {
            workbook::Cell& h = sheet.at(1, c);
            h.value = t::header(c);
            h.styled = true;
            h.style.bold = true;
        }
        int row = 2;
        for (const Snapshot::Row& r : snap.rows) {
            sheet.at(row, 0).value = r.designation;
            if (!r.name.isEmpty())
                sheet.at(row, 1).value = r.name;
            if (r.price)
                sheet.at(row, 2).value = *r.price;
            ++row;
        }
        sheet.columnWidths = {{0, 22}, {1, 36}, {2, 12}};
        workbook::save(path, sheet);
        return int(snap.rows.size());
    }
    // CSV in UTF-8 with its byte-order mark, so that a spreadsheet opens the
    // Cyrillic right; prices with the decimal comma of a Russian list.
    auto field = [](const QString& s) -> QString {
        if (!s.contains(u';') && !s.contains(u'"') && !s.contains(u'\n') && !s.contains(u'\r'))
            return s;
        QString q = s;
        q.replace(u'"', QStringLiteral("\"\""));
        return u'"' + q + u'"';
    };
    const QLocale russian(QLocale::Russian);
    QString text = t::header(0) + u';' + t::header(1) + u';' + t::header(2) + QStringLiteral("\r\n");
    for (const Snapshot::Row& r : snap.rows)
        text += field(r.designation) + u';' + field(r.name) + u';' +
                (r.price ? numfmt::shortest(*r.price, russian) : QString()) + QStringLiteral("\r\n");
    AtomicFile out(path);
    out.write("\xEF\xBB\xBF" + text.toUtf8());
    out.commit();
    return int(snap.rows.size());
}

} // namespace lir::prices
