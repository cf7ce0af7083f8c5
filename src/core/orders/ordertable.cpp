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

        // The header, then one row per kit, through one insert of every field.
        static const QStringList fields = [] {
            QStringList names;
            for (const db::FieldDef& f : tableFields())
                names << f.name;
            return names;
        }();
        table.appendRows(fields, entries.size() + 1, [&](qsizetype row, QVariantList& v) {
            v[0] = header + row;
            if (row == 0) {
                v[1] = description;
                v[2] = 0;
                return;
            }
            const TOrder& e = entries.at(row - 1);
            v[2] = header;
            v[3] = e.Designation;
            v[4] = e.Type;
            v[5] = e.Count;
            v[6] = e.Color;
            v[7] = e.FFH;
            v[8] = e.FFB;
            v[9] = e.GH;
            v[10] = e.Profil;
            v[11] = e.Dop_komplekt;
        });
        orderbook::writeNewDetails(table, qint32(header), details.customerId, details.total);
        transaction.done();
        return qint32(header);
    } catch (const Error& e) {
        throw Error(ordertexts::saveFailed(where) + QChar(13) + e.message());
    }
}

} // namespace lir::orders
