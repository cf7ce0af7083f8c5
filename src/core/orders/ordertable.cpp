#include "core/orders/ordertable.h"

#include "core/base/error.h"
#include "core/db/storagevalue.h"
#include "core/orders/orderbookstore.h"
#include "core/orders/ordertexts.h"

#include <QDir>

#include <limits>

namespace lir::orders {

QVector<db::FieldDef> tableFields()
{
    using Type = db::FieldDef::Type;
    return {
        {QStringLiteral("Id"), Type::Int32, 0},
        {QStringLiteral("Name"), Type::Text, NameSize},
        {QStringLiteral("Parentid"), Type::Int32, 0},
        {QStringLiteral("Designation"), Type::Text, DesignationSize},
        {QStringLiteral("Type"), Type::Text, 30},
        // The kit count goes to 100000.
        {QStringLiteral("Count"), Type::Int32, 0},
        {QStringLiteral("Color"), Type::UInt16, 0},
        {QStringLiteral("FFH"), Type::UInt16, 0},
        {QStringLiteral("FFB"), Type::UInt16, 0},
        {QStringLiteral("GH"), Type::UInt16, 0},
        {QStringLiteral("Profil"), Type::Text, 20},
        {QStringLiteral("Dop_komplekt"), Type::Text, DopKomplektSize},
    };
}

QString storedDescription(const QString& description)
{
    return db::cutToSize(description, NameSize);
}

void CreateOrderTable()
{
    db::Table::create(tableFile(), tableFields());
}

qint32 SaveOrder(db::Table& table, const QString& description, const QVector<TOrder>& entries,
                 const SaveDetails& details)
{
    const QString where = table.location();
    try {
        db::Transaction transaction(table);
        table.last();
        const qint64 header = qint64(table.rowCount()) + 1;
        if (header + entries.size() > std::numeric_limits<qint32>::max())
            throw Error(ordertexts::orderTableFull());

        table.insert();
        table.setValue(QStringLiteral("Id"), header);
        table.setValue(QStringLiteral("Name"), description);
        table.setValue(QStringLiteral("Parentid"), 0);
        table.post();

        for (qsizetype i = 0; i < entries.size(); ++i) {
            const TOrder& e = entries.at(i);
            // The row written last is the current one: each kit follows it.
            table.insert();
            table.setValue(QStringLiteral("Id"), header + i + 1);
            table.setValue(QStringLiteral("Parentid"), header);
            table.setValue(QStringLiteral("Type"), e.Type);
            table.setValue(QStringLiteral("Count"), e.Count);
            table.setValue(QStringLiteral("Color"), e.Color);
            table.setValue(QStringLiteral("FFH"), e.FFH);
            table.setValue(QStringLiteral("FFB"), e.FFB);
            table.setValue(QStringLiteral("GH"), e.GH);
            table.setValue(QStringLiteral("Designation"), e.Designation);
            table.setValue(QStringLiteral("Profil"), e.Profil);
            table.setValue(QStringLiteral("Dop_komplekt"), e.Dop_komplekt);
            table.post();
        }
        orderbook::writeNewDetails(table, qint32(header), details.customerId, details.total);
        transaction.done();
        return qint32(header);
    } catch (const Error& e) {
        throw Error(ordertexts::saveFailed(where) + QChar(13) + e.message());
    }
}

} // namespace lir::orders
