// Builds the delivered price table zeni.db from the price list text, and
// brings it up to the program's catalogue as a start would, so that a first
// start finds nothing to add.
//
//   lir-build-zeni <data/zeni.csv> <output directory>
#include "pricelist.h"

#include "core/db/storage.h"
#include "core/base/dialogs.h"
#include "core/base/error.h"
#include "core/prices/catalogue.h"
#include "core/prices/pricelog.h"
#include "core/prices/pricetable.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: lir-build-zeni <price list .csv> <output directory>\n");
        return 2;
    }
    try {
        const QVector<lir::pricelist::PriceRow> rows = lir::pricelist::readPriceList(args.at(0));
        // Built aside and moved into place, so that a failed build leaves no
        // half-filled table that looks finished.
        QTemporaryDir work(QDir(args.at(1)).filePath(QStringLiteral("zeni-build-XXXXXX")));
        if (!work.isValid())
            throw lir::Error(QStringLiteral("cannot make a directory in %1").arg(args.at(1)));
        lir::db::setNetFileDir(work.path());
        // The delivered table starts without a history of changes.
        lir::prices::setChangeLogEnabled(false);
        lir::pricelist::buildPriceTable(rows);
        // The notices of the update are for a user's table, not for the build.
        {
            lir::RecordingDialogs notices;
            const lir::ScopedDialogs quiet(notices);
            lir::catalogue::synchronise();
        }
        const int total = lir::db::Table::open(lir::prices::tableFile()).rowCount();
        lir::db::Table::closeAll();
        const QString built = QDir(work.path()).filePath(lir::prices::tableFile());
        const QString target = QDir(args.at(1)).filePath(lir::prices::tableFile());
        QFile::remove(target);
        if (!QFile::rename(built, target))
            throw lir::Error(QStringLiteral("cannot move the table to %1").arg(target));
        std::printf("%s: %d rows, %d of them added by the catalogue update\n", qPrintable(target), total,
                    total - int(rows.size()));
    } catch (const lir::Error& e) {
        std::fprintf(stderr, "lir-build-zeni: %s\n", qPrintable(e.message()));
        return 1;
    }
    return 0;
}
