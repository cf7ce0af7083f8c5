#pragma once

#include <QByteArray>
#include <QStringList>

#include <functional>

namespace lir::db {
class Table;
}
namespace lir::prices {
struct PricePreview;
}

namespace lir::cli {

// The command-line companion of the price table zeni.db in the current
// directory:
//   sync   runs the catalogue update of a start, prints every notice it
//          shows and the number of rows it added;
//   check  reports the designations the calculators can show (kit
//          designations, parts, the screws of the sheets) that the table
//          lacks, and the designations it holds more than once;
//   import-paradox FILE
//          converts a price or order table in the Paradox format into the
//          directory's zeni.db or zakaz.db, as start-up converts one;
//   import, bulk, undo, export, log
//          a supplier's price list with its preview, a change of many
//          prices, taking the last of them back, the table to a file, and
//          the change log.
class PricesCli
{
public:
    struct Result
    {
        int status = 0; // 0 done (check: nothing to report), 1 failed (check: findings), 2 usage
        QByteArray out; // UTF-8
        QByteArray err;
    };

    // sync and import-paradox wait at most lockWaitMs for another writer of the same tables.
    explicit PricesCli(int lockWaitMs = 5000) : m_lockWaitMs(lockWaitMs) {}

    // args without the program name.
    Result run(const QStringList& args);

    static QByteArray usage();
    static QByteArray version();

private:
    Result sync();
    Result check();
    Result copyToServer();
    Result importParadox(const QString& file);
    Result importList(const QStringList& args);
    Result bulk(const QStringList& args);
    Result undo();
    Result exportTable(const QString& file);
    Result log(const QStringList& args);
    Result setupServer();
    Result grantOrRevoke(const QStringList& args);
    void previewAndApply(Result& r, bool dryRun, const std::function<prices::PricePreview(db::Table&)>& preview);

    int m_lockWaitMs;
};

} // namespace lir::cli
