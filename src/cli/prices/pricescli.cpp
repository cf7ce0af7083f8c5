#include "cli/prices/pricescli.h"

#include "core/base/buildinfo.h"
#include "core/base/dialogs.h"
#include "core/base/error.h"
#include "core/base/workdirlock.h"
#include "core/calc/kitsweep.h"
#include "core/db/storage.h"
#include "core/db/storebackend.h"
#include "core/db/storesettings.h"
#include "core/orders/ordertable.h"
#include "core/export/kitsheet.h"
#include "core/prices/catalogue.h"
#include "core/prices/paradoximport.h"
#include "core/prices/importtexts.h"
#include "core/prices/priceimport.h"
#include "core/prices/pricelayout.h"
#include "core/prices/pricelog.h"
#include "core/prices/pricetable.h"
#include "core/prices/pricetexts.h"
#include "core/prices/serveraccess.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <cmath>
#include <optional>

namespace lir::cli {

namespace {

QByteArray line(const QString& text)
{
    return text.toUtf8() + '\n';
}

// Prints every notice as it is shown; a two-line notice as two lines.
class PrintingDialogs : public RecordingDialogs
{
public:
    explicit PrintingDialogs(QByteArray& out) : m_out(out) {}
    void messageBox(const QString& text) override
    {
        RecordingDialogs::messageBox(text);
        QString shown = text;
        shown.replace(u'\r', u'\n');
        m_out += line(shown);
    }

private:
    QByteArray& m_out;
};

// The error on stderr, a two-line one as two lines, and the exit status.
void failed(PricesCli::Result& r, const Error& e, int status)
{
    QString text = e.message();
    text.replace(u'\r', u'\n');
    r.err += line(QStringLiteral("lircomplect-prices: ") + text);
    r.status = status;
}

db::Table& openPriceTable()
{
    // The table of the current directory (or of the server its
    // lircomplect.ini names), as the program finds it.
    db::useStoreOf(QDir::currentPath());
    return db::Table::open(prices::tableFile());
}

} // namespace

QByteArray PricesCli::usage()
{
    return "usage: lircomplect-prices sync | check\n"
           "       lircomplect-prices import-paradox FILE\n"
           "       lircomplect-prices copy-to-server\n"
           "       lircomplect-prices import FILE [--sheet N] [--columns designation=A,name=B,price=C]\n"
           "                                  [--add-new] [--dry-run]\n"
           "       lircomplect-prices bulk (--percent P | --amount A) [--match TEXT] [--dry-run]\n"
           "       lircomplect-prices undo\n"
           "       lircomplect-prices export FILE.csv|FILE.xlsx\n"
           "       lircomplect-prices log [--since YYYY-MM-DD] [--designation D]\n"
           "       lircomplect-prices setup-server\n"
           "       lircomplect-prices grant estimator|pricing LOGIN\n"
           "       lircomplect-prices revoke LOGIN\n"
           "\n"
           "Works on the price table zeni.db in the current directory.\n"
           "  sync     add what the catalogue update of a start adds: prints each\n"
           "           notice it shows and the number of rows added\n"
           "  check    list the designations the calculators can show that the table\n"
           "           lacks, and the designations it holds more than once;\n"
           "           exit status 1 when there is any\n"
           "  import-paradox FILE\n"
           "           convert a price or order table in the Paradox format into\n"
           "           zeni.db or zakaz.db here, never over an existing one; FILE\n"
           "           given as ./zeni.db or ./zakaz.db is kept as <file>.paradox\n"
           "  copy-to-server\n"
           "           copy zeni.db and zakaz.db here to the PostgreSQL server that\n"
           "           lircomplect.ini here names, in one transaction; refused when\n"
           "           the server's tables hold any row\n"
           "  import FILE\n"
           "           read a price list (.csv, .xlsx, .ods) and change the prices it\n"
           "           gives, in one transaction; prints every change, new designation\n"
           "           and refused line, and a summary; --add-new adds the designations\n"
           "           the table lacks, --dry-run writes nothing; --sheet N (from 1),\n"
           "           --columns the columns by letter when the header names none\n"
           "  bulk     raise or lower every price, or those whose designation or name\n"
           "           contains TEXT, by P per cent or A roubles, rounded to kopecks\n"
           "  undo     take back the last import or bulk change, unless a price it\n"
           "           wrote has changed since\n"
           "  export FILE.csv|FILE.xlsx\n"
           "           write the price table to a file (CSV: UTF-8, ';', a header row)\n"
           "  log      print the change log of the prices, from a day on with --since,\n"
           "           of one designation with --designation\n"
           "  setup-server\n"
           "           on the PostgreSQL server lircomplect.ini here names, run by the\n"
           "           database owner (who needs CREATEROLE): make what is missing of\n"
           "           the tables, the groups lircomplect_estimator and\n"
           "           lircomplect_pricing, their rights and the price change log\n"
           "           the server writes itself; prints every step; safe to repeat\n"
           "  grant estimator|pricing LOGIN\n"
           "           let an account use the program (estimator) or also change\n"
           "           prices (pricing)\n"
           "  revoke LOGIN\n"
           "           take the account out of both groups\n"
           "  --help     this text\n"
           "  --version  the program's version\n";
}

QByteArray PricesCli::version()
{
    return QByteArrayLiteral("lircomplect-prices " LIR_VERSION "\n");
}

PricesCli::Result PricesCli::run(const QStringList& args)
{
    if (args == QStringList{QStringLiteral("--help")} || args == QStringList{QStringLiteral("-h")})
        return {0, usage(), {}};
    if (args == QStringList{QStringLiteral("--version")})
        return {0, version(), {}};
    if (args == QStringList{QStringLiteral("sync")})
        return sync();
    if (args == QStringList{QStringLiteral("check")})
        return check();
    if (args == QStringList{QStringLiteral("copy-to-server")})
        return copyToServer();
    if (args.size() == 2 && args[0] == QStringLiteral("import-paradox") && !args[1].isEmpty())
        return importParadox(args[1]);
    if (args.size() >= 2 && args[0] == QStringLiteral("import"))
        return importList(args.mid(1));
    if (args.size() >= 2 && args[0] == QStringLiteral("bulk"))
        return bulk(args.mid(1));
    if (args == QStringList{QStringLiteral("undo")})
        return undo();
    if (args.size() == 2 && args[0] == QStringLiteral("export") && !args[1].isEmpty())
        return exportTable(args[1]);
    if (args == QStringList{QStringLiteral("setup-server")})
        return setupServer();
    if ((args.size() == 3 && args[0] == QStringLiteral("grant")) ||
        (args.size() == 2 && args[0] == QStringLiteral("revoke")))
        return grantOrRevoke(args);
    if (!args.isEmpty() && args[0] == QStringLiteral("log") && args.size() <= 5)
        return log(args.mid(1));
    Result r{2, {}, {}};
    if (!args.isEmpty())
        r.err = line(QStringLiteral("lircomplect-prices: unknown command: ") + args.join(u' '));
    r.err += usage();
    return r;
}

PricesCli::Result PricesCli::sync()
{
    Result r;
    PrintingDialogs notices(r.out);
    const ScopedDialogs printing(notices);
    try {
        // Not while the program, or another writer, works on the same tables.
        const TableWriteLock lock(QDir::currentPath(), m_lockWaitMs);
        db::Table& t = openPriceTable();
        const int before = t.rowCount();
        catalogue::synchronise();
        r.out += line(QStringLiteral("rows added: %1").arg(t.rowCount() - before));
    } catch (const Error& e) {
        failed(r, e, 1);
    }
    db::Table::closeAll();
    return r;
}

PricesCli::Result PricesCli::importParadox(const QString& file)
{
    Result r;
    try {
        // Not while the program, or another writer, works on the same tables.
        const TableWriteLock lock(QDir::currentPath(), m_lockWaitMs);
        db::setNetFileDir(QDir::currentPath());
        const prices::ParadoxConversion done = prices::importParadoxTable(QFileInfo(file).absoluteFilePath());
        r.out += line(QStringLiteral("converted: %1, %2 rows").arg(done.fileName).arg(done.rows));
        if (!done.keptAs.isEmpty())
            r.out += line(QStringLiteral("original kept as: %1").arg(done.keptAs));
    } catch (const Error& e) {
        failed(r, e, 1);
    }
    db::Table::closeAll();
    return r;
}

PricesCli::Result PricesCli::copyToServer()
{
    Result r;
    const std::optional<db::ServerSettings> previous = db::server();
    try {
        const QString dir = QDir::currentPath();
        db::setNetFileDir(dir);
        const std::optional<db::ServerSettings> server = db::readServerSettings(dir);
        if (!server) {
            r.err += line(QStringLiteral("lircomplect-prices: %1 in %2 names no PostgreSQL server to copy to")
                              .arg(db::settingsFileName(), QDir::toNativeSeparators(dir)));
            r.status = 1;
            return r;
        }
        db::setServer(server);
        // Not while the program, or another writer, works on the same files.
        const TableWriteLock lock(dir, m_lockWaitMs);
        const QVector<qint64> copied =
            db::copyToServer({{prices::tableFile(), prices::tableFields(), true},
                              {orders::tableFile(), orders::tableFields(), false}});
        r.out += line(QStringLiteral("copied to %1: %2 rows of zeni, %3 rows of zakaz")
                          .arg(db::serverShown(*server))
                          .arg(copied.value(0))
                          .arg(copied.value(1)));
    } catch (const Error& e) {
        failed(r, e, 1);
    }
    db::Table::closeAll();
    db::setServer(previous);
    return r;
}

PricesCli::Result PricesCli::check()
{
    Result r;
    try {
        db::Table& t = openPriceTable();
        // A table of other fields is no price table that lacks rows.
        prices::checkPriceTableLayout(t);
        const QString field = prices::fieldDesignation();
        const auto held = t.query(QStringLiteral("SELECT \"%1\", COUNT(*) FROM \"%2\" GROUP BY \"%1\" ORDER BY MIN(rowid)")
                                      .arg(field, t.tableName()));
        QHash<QString, int> rows;
        for (const QVector<QVariant>& h : held)
            rows.insert(h.value(0).toString(), h.value(1).toInt());

        // What the calculators can show: kit designations, then parts, then the screws.
        const sweep::SweepSettings walk = sweep::SweepSettings::quick();
        QVector<std::pair<QString, QString>> wanted;
        for (const sweep::KitCode& k : sweep::sweepKitDesignations(walk))
            wanted.push_back({k.designation, k.calculator});
        for (const sweep::KitPart& p : sweep::sweepCalculators(walk).parts)
            wanted.push_back({p.designation, p.calculator});
        wanted.push_back({screwDesignation25(), QStringLiteral("sheets")});
        wanted.push_back({screwDesignation40(), QStringLiteral("sheets")});

        QSet<QString> seen;
        int missing = 0;
        for (const auto& [designation, from] : wanted) {
            if (seen.contains(designation))
                continue;
            seen.insert(designation);
            if (!rows.contains(designation)) {
                r.out += line(QStringLiteral("missing: %1 (%2)").arg(designation, from));
                ++missing;
            }
        }
        int duplicated = 0;
        for (const QVector<QVariant>& h : held) {
            if (h.value(1).toInt() > 1) {
                r.out += line(QStringLiteral("duplicate: %1 (%2 rows)").arg(h.value(0).toString(), h.value(1).toString()));
                ++duplicated;
            }
        }
        r.out += line(QStringLiteral("%1 designations of the calculators, %2 missing; %3 rows, %4 designations held "
                                     "more than once")
                          .arg(seen.size())
                          .arg(missing)
                          .arg(t.rowCount())
                          .arg(duplicated));
        r.status = missing > 0 || duplicated > 0 ? 1 : 0;
    } catch (const Error& e) {
        failed(r, e, 2);
    }
    db::Table::closeAll();
    return r;
}

namespace {

QString priceShown(const std::optional<double>& p)
{
    return p ? QString::number(*p, 'g', 15) : QStringLiteral("(none)");
}

// The preview as lines: every change, every new designation, every refused
// line, then the summary.
void printPreview(PricesCli::Result& r, const prices::PricePreview& p)
{
    for (const prices::PriceChange& c : p.changed) {
        QString text = QStringLiteral("changed: %1 %2 -> %3")
                           .arg(c.designation, priceShown(c.oldPrice), priceShown(c.newPrice));
        if (const std::optional<double> percent = c.percent())
            text += QStringLiteral(" (%1%2%)").arg(*percent >= 0 ? QStringLiteral("+") : QString(),
                                                   QString::number(*percent, 'f', 1));
        r.out += line(text);
    }
    for (const prices::PriceChange& c : p.added)
        r.out += line(QStringLiteral("new: %1 %2%3")
                          .arg(c.designation, priceShown(c.newPrice),
                               c.name.isEmpty() ? QString() : QStringLiteral(" ") + c.name));
    for (const prices::RefusedRow& f : p.refused)
        r.out += line(f.line > 0 ? QStringLiteral("refused: line %1: %2").arg(f.line).arg(f.reason)
                                 : QStringLiteral("refused: %1: %2").arg(f.designation, f.reason));
    r.out += line(QStringLiteral("%1 changed, %2 new%3, %4 unchanged, %5 not in the list, %6 refused")
                      .arg(p.changed.size())
                      .arg(p.added.size())
                      .arg(p.addNew || p.added.isEmpty() ? QString() : QStringLiteral(" (not added)"))
                      .arg(p.unchanged)
                      .arg(p.notInList.size())
                      .arg(p.refused.size()));
}

void printApplied(PricesCli::Result& r, const prices::Applied& a, bool dryRun)
{
    if (dryRun)
        r.out += line(QStringLiteral("dry run: nothing written"));
    else
        r.out += line(QStringLiteral("applied: %1 prices changed, %2 rows added").arg(a.changed).arg(a.added));
}

// Runs a command that may fail: the error on standard error with status 1,
// nothing printed to standard output then, and the tables closed after it.
PricesCli::Result guarded(const std::function<void(PricesCli::Result&)>& command)
{
    PricesCli::Result r;
    try {
        command(r);
    } catch (const Error& e) {
        r.out.clear();
        failed(r, e, 1);
    }
    db::Table::closeAll();
    return r;
}

db::Table& openOnServer()
{
    db::useStoreOf(QDir::currentPath());
    if (!db::usesServer())
        throw Error(QStringLiteral("lircomplect-prices: %1 in %2 names no PostgreSQL server")
                        .arg(db::settingsFileName(), QDir::toNativeSeparators(QDir::currentPath())));
    const QString table = db::shownTable(prices::tableFile());
    if (!db::serverStore().exists(prices::tableFile(), table, false))
        throw Error(pricetexts::setupNotRun(QStringLiteral("таблицы ") + table,
                                            QStringLiteral("lircomplect-prices setup-server")));
    return db::Table::open(prices::tableFile());
}

db::Table& openPricesHere()
{
    db::useStoreOf(QDir::currentPath());
    db::Table& t = prices::open();
    prices::checkPriceTableLayout(t);
    return t;
}

} // namespace

void PricesCli::previewAndApply(Result& r, bool dryRun,
                                const std::function<prices::PricePreview(db::Table&)>& preview)
{
    // A dry run writes nothing and needs no lock.
    std::optional<TableWriteLock> lock;
    if (!dryRun)
        lock.emplace(QDir::currentPath(), m_lockWaitMs);
    db::Table& t = openPricesHere();
    const prices::PricePreview p = preview(t);
    printPreview(r, p);
    printApplied(r, dryRun ? prices::Applied() : prices::applyPreview(t, p), dryRun);
}

PricesCli::Result PricesCli::importList(const QStringList& args)
{
    QString file;
    io::ReadOptions options;
    prices::ListColumns columns;
    bool chosen = false, addNew = false, dryRun = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == u"--add-new") {
            addNew = true;
        } else if (a == u"--dry-run") {
            dryRun = true;
        } else if (a == u"--sheet" && i + 1 < args.size()) {
            bool ok = false;
            options.sheet = args[++i].toInt(&ok) - 1;
            if (!ok || options.sheet < 0)
                return {2, {}, line(QStringLiteral("lircomplect-prices: --sheet takes a sheet number from 1")) + usage()};
        } else if (a == u"--columns" && i + 1 < args.size()) {
            chosen = true;
            for (const QString& pair : args[++i].split(u',')) {
                const QString key = pair.section(u'=', 0, 0).trimmed();
                const QString value = pair.section(u'=', 1).trimmed();
                bool number = false;
                int column = value.toInt(&number) - 1;
                if (!number)
                    column = io::columnIndex(value);
                int* target = key == u"designation" ? &columns.designation
                              : key == u"name"      ? &columns.name
                              : key == u"price"     ? &columns.price
                                                    : nullptr;
                if (!target || column < 0)
                    return {2, {}, line(QStringLiteral("lircomplect-prices: bad column: ") + pair) + usage()};
                *target = column;
            }
        } else if (file.isEmpty() && !a.startsWith(u"--")) {
            file = a;
        } else {
            return {2, {}, line(QStringLiteral("lircomplect-prices: unknown option: ") + a) + usage()};
        }
    }
    if (file.isEmpty())
        return {2, {}, usage()};
    return guarded([&](Result& r) {
        const QString path = QFileInfo(file).absoluteFilePath();
        const io::SheetData data = io::readSheetFile(path, options);
        prices::ListColumns found;
        int header = prices::findHeaderRow(data, &found);
        if (chosen) {
            // Chosen columns: the first row is a header when its price is no number.
            QString reason;
            if (header < 0 && !data.rows.isEmpty() &&
                !prices::parseListPrice(data.rows[0].cells.value(columns.price), &reason))
                header = 0;
            found = columns;
        } else if (header < 0) {
            throw Error(importtexts::noHeader(QDir::toNativeSeparators(path)));
        }
        previewAndApply(r, dryRun, [&](db::Table& t) {
            return prices::previewList(t, data, header, found, QFileInfo(path).fileName(), addNew);
        });
    });
}

PricesCli::Result PricesCli::bulk(const QStringList& args)
{
    prices::BulkChange change;
    bool given = false, dryRun = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if ((a == u"--percent" || a == u"--amount") && i + 1 < args.size() && !given) {
            bool ok = false;
            QString v = args[++i];
            v.replace(u',', u'.');
            change.value = v.toDouble(&ok);
            change.percent = a == u"--percent";
            if (!ok || !std::isfinite(change.value) || (change.percent && change.value <= -100))
                return {2, {}, line(QStringLiteral("lircomplect-prices: bad number: ") + args[i]) + usage()};
            given = true;
        } else if (a == u"--match" && i + 1 < args.size()) {
            change.match = args[++i];
        } else if (a == u"--dry-run") {
            dryRun = true;
        } else {
            return {2, {}, line(QStringLiteral("lircomplect-prices: unknown option: ") + a) + usage()};
        }
    }
    if (!given)
        return {2, {}, usage()};
    return guarded([&](Result& r) {
        previewAndApply(r, dryRun, [&](db::Table& t) { return prices::previewBulk(t, change); });
    });
}

PricesCli::Result PricesCli::undo()
{
    return guarded([this](Result& r) {
        const TableWriteLock lock(QDir::currentPath(), m_lockWaitMs);
        const prices::Undone u = prices::undoLastImport(openPricesHere());
        r.out += line(QStringLiteral("undone: %1: %2 prices restored, %3 rows removed")
                          .arg(u.source)
                          .arg(u.restored)
                          .arg(u.removed));
    });
}

PricesCli::Result PricesCli::exportTable(const QString& file)
{
    const QString suffix = QFileInfo(file).suffix().toLower();
    if (suffix != u"csv" && suffix != u"xlsx")
        return {2, {}, line(QStringLiteral("lircomplect-prices: export writes FILE.csv or FILE.xlsx")) + usage()};
    return guarded([&](Result& r) {
        const int rows = prices::exportPrices(openPricesHere(), QFileInfo(file).absoluteFilePath());
        r.out += line(QStringLiteral("exported: %1 rows to %2").arg(rows).arg(QDir::toNativeSeparators(file)));
    });
}

PricesCli::Result PricesCli::log(const QStringList& args)
{
    Result r;
    std::optional<QDate> since;
    QString designation;
    for (qsizetype i = 0; i < args.size(); i += 2) {
        if (i + 1 >= args.size())
            return {2, {}, line(QStringLiteral("lircomplect-prices: %1 takes a value").arg(args[i])) + usage()};
        if (args[i] == u"--since") {
            since = QDate::fromString(args[i + 1], Qt::ISODate);
            if (!since->isValid())
                return {2, {}, line(QStringLiteral("lircomplect-prices: --since takes a date YYYY-MM-DD")) + usage()};
        } else if (args[i] == u"--designation") {
            designation = args[i + 1];
        } else {
            return {2, {}, line(QStringLiteral("lircomplect-prices: unknown option: ") + args[i]) + usage()};
        }
    }
    try {
        db::Table& t = openPricesHere();
        // One line a change, its fields apart by tabs: the source may hold spaces.
        prices::LogFilter filter;
        filter.since = since;
        filter.designation = designation;
        for (const prices::LogEntry& e : prices::readLog(t, filter)) {
            QStringList fields{e.changedAt, e.login, e.source, e.designation, priceShown(e.oldPrice),
                               priceShown(e.newPrice)};
            if (e.oldName != e.newName)
                fields << e.oldName << e.newName;
            r.out += line(fields.join(u'\t'));
        }
    } catch (const Error& e) {
        failed(r, e, 1);
    }
    db::Table::closeAll();
    return r;
}

PricesCli::Result PricesCli::grantOrRevoke(const QStringList& args)
{
    return guarded([&](Result& r) {
        r.out += line(args[0] == u"grant" ? prices::grantRole(openOnServer(), args[1], args[2])
                                          : prices::revokeRoles(openOnServer(), args[1]));
    });
}

PricesCli::Result PricesCli::setupServer()
{
    return guarded([&](Result& r) {
        db::useStoreOf(QDir::currentPath());
        if (!db::usesServer())
            throw Error(QStringLiteral("lircomplect-prices: %1 in %2 names no PostgreSQL server to set up")
                            .arg(db::settingsFileName(), QDir::toNativeSeparators(QDir::currentPath())));
        // The tables first, as copy-to-server makes them: each in its own transaction.
        const QVector<std::pair<QString, QVector<db::FieldDef>>> tables{
            {prices::tableFile(), prices::tableFields()}, {orders::tableFile(), orders::tableFields()}};
        for (const auto& [file, fields] : tables) {
            const QString table = db::shownTable(file);
            if (db::serverStore().exists(file, table, false)) {
                r.out += line(QStringLiteral("table %1: exists").arg(table));
            } else {
                db::serverStore().create(file, table, fields, false);
                r.out += line(QStringLiteral("table %1: created").arg(table));
            }
        }
        for (const QString& step : prices::setupServer(db::Table::open(prices::tableFile())))
            r.out += line(step);
    });
}

} // namespace lir::cli
