#pragma once

#include "core/db/storage.h"
#include "pricelist.h"
#include "support/testsupport.h"

// A price table of the given rows in a fresh working directory, opened as
// the program opens it; closed again at the end of the test.
class PriceTableTest : public ::testing::Test
{
protected:
    using Row = lir::pricelist::PriceRow;

    void SetUp() override
    {
        lir::db::Table::closeAll();
        lir::db::setNetFileDir(QString());
        lir::test::recorder().clear();
    }
    void TearDown() override
    {
        lir::db::Table::closeAll();
        lir::db::setNetFileDir(QString());
        lir::test::recorder().clear();
    }

    lir::db::Table& makeTable(const QVector<Row>& rows)
    {
        lir::pricelist::buildPriceTable(rows);
        return lir::db::Table::open(QStringLiteral("zeni.db"));
    }

    // The price as the file holds it, past any pending edit.
    QVariant storedPrice(lir::db::Table& t, const QString& designation)
    {
        const auto r = t.query(QStringLiteral("SELECT zena FROM zeni WHERE oboznashenie = ? ORDER BY rowid"),
                               {designation});
        return r.isEmpty() ? QVariant(QStringLiteral("<no row>")) : r.first().first();
    }

    lir::test::ScopedWorkDir work;
};
