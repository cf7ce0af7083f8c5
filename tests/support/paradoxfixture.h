#pragma once

#include "core/base/codec.h"

#include <QFile>
#include <QString>
#include <QVariant>
#include <QVector>

// pxlib's header declares C functions without saying so.
extern "C" {
#include <paradox.h>
}

#include <stdexcept>

// Paradox tables written by pxlib itself, as another tool would leave them.
namespace lir::test {

struct ParadoxField
{
    QString name;
    int type;   // pxlib's code: pxfAlpha, pxfShort, pxfNumber ...
    int length; // bytes in the record
    int decimals = 0;
};

inline ParadoxField pxAlpha(const QString& name, int length)
{
    return {name, pxfAlpha, length};
}
inline ParadoxField pxShort(const QString& name)
{
    return {name, pxfShort, 2};
}
inline ParadoxField pxLong(const QString& name)
{
    return {name, pxfLong, 4};
}
inline ParadoxField pxNumber(const QString& name)
{
    return {name, pxfNumber, 8};
}

// Writes the table at `path` (replacing a file there): texts in Windows-1251,
// an invalid value left empty (all its bytes zero). Dates are days since
// 1 January of year 1 as Paradox counts them, times milliseconds since
// midnight. A password encrypts the data blocks.
inline void writeParadoxTable(const QString& path, const QVector<ParadoxField>& fields,
                              const QVector<QVector<QVariant>>& rows, const QByteArray& password = {})
{
    QFile::remove(path);
    pxdoc_t* d = PX_new();
    auto* f =
        static_cast<pxfield_t*>(d->malloc(d, sizeof(pxfield_t) * size_t(fields.size()), "fixture fields"));
    int recordSize = 0;
    for (int i = 0; i < fields.size(); ++i) {
        f[i].px_fname = PX_strdup(d, toWindows1251(fields[i].name).constData());
        f[i].px_ftype = char(fields[i].type);
        f[i].px_flen = fields[i].length;
        f[i].px_fdc = fields[i].decimals;
        recordSize += fields[i].length;
    }
    if (PX_create_file(d, f, int(fields.size()), QFile::encodeName(path).constData(), pxfFileTypNonIndexDB) <
        0) {
        PX_delete(d);
        throw std::runtime_error("pxlib could not create the fixture table");
    }
    PX_set_value(d, "codepage", 1251);
    if (!password.isEmpty())
        PX_set_parameter(d, "password", password.constData());
    QByteArray record(recordSize, '\0');
    for (const QVector<QVariant>& row : rows) {
        record.fill('\0');
        char* data = record.data();
        for (int i = 0; i < fields.size(); ++i) {
            const QVariant& v = row.value(i);
            const ParadoxField& field = fields[i];
            if (v.isValid()) {
                switch (field.type) {
                case pxfAlpha: {
                    QByteArray text = toWindows1251(v.toString());
                    PX_put_data_alpha(d, data, field.length, text.data());
                    break;
                }
                case pxfShort:
                    PX_put_data_short(d, data, 2, short(v.toInt()));
                    break;
                case pxfLong:
                case pxfAutoInc:
                case pxfDate:
                case pxfTime:
                    PX_put_data_long(d, data, 4, v.toInt());
                    break;
                case pxfNumber:
                case pxfCurrency:
                case pxfTimestamp:
                    PX_put_data_double(d, data, 8, v.toDouble());
                    break;
                case pxfLogical:
                    PX_put_data_byte(d, data, 1, char(v.toBool() ? 1 : 0));
                    break;
                case pxfBCD: {
                    QByteArray text = v.toString().toLatin1();
                    PX_put_data_bcd(d, data, field.decimals, text.data());
                    break;
                }
                default:
                    break;
                }
            }
            data += field.length;
        }
        if (PX_put_record(d, record.data()) < 0) {
            PX_close(d);
            PX_delete(d);
            throw std::runtime_error("pxlib could not write a fixture row");
        }
    }
    PX_close(d);
    PX_delete(d);
}

} // namespace lir::test
