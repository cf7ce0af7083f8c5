#include "cli/prices/pricescli.h"

#include "core/base/buildinfo.h"
#include "core/base/dialogs.h"
#include "core/base/error.h"
#include "core/base/workdirlock.h"
#include "core/calc/kitsweep.h"
#include "core/db/storage.h"
#include "core/db/storesettings.h"
#include "core/orders/ordertable.h"
#include "core/export/kitsheet.h"
#include "core/prices/catalogue.h"
#include "core/prices/paradoximport.h"
#include "core/prices/pricelayout.h"
#include "core/prices/pricetable.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSet>

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

} // namespace lir::cli
