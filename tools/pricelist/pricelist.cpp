#include "pricelist.h"

#include "core/db/storage.h"
#include "core/base/error.h"
#include "core/prices/pricetable.h"

#include <QFile>
#include <QLocale>
#include <QSaveFile>
#include <QSet>
#include <QStringDecoder>

#include <cmath>

namespace lir::pricelist {

namespace {

QString header()
{
    return prices::fieldDesignation() + u';' + prices::fieldName() + u';' + prices::fieldPrice();
}

[[noreturn]] void badLine(int line, const QString& why)
{
    throw Error(QStringLiteral("price list, line %1: %2").arg(QString::number(line), why));
}

} // namespace

QVector<PriceRow> parsePriceList(const QByteArray& utf8)
{
    QStringDecoder decode(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decode(utf8);
    if (decode.hasError())
        throw Error(QStringLiteral("the price list is not UTF-8 text"));

    QVector<PriceRow> rows;
    QSet<QString> seen;
    bool headerSeen = false;
    const QStringList lines = text.split(u'\n');
    for (int i = 0; i < lines.size(); ++i) {
        QString line = lines.at(i);
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (i == 0 && line.startsWith(QChar(0xFEFF)))
            line.remove(0, 1);
        if (line.isEmpty())
            continue;
        if (!headerSeen) {
            if (line != header())
                badLine(i + 1, QStringLiteral("the header \"%1\" expected").arg(header()));
            headerSeen = true;
            continue;
        }
        // Fields are taken as they stand: a name may end in a blank.
        const QStringList f = line.split(u';');
        if (f.size() != 3)
            badLine(i + 1, QStringLiteral("three fields separated by \";\" expected"));
        PriceRow row{f.at(0), f.at(1), std::nullopt};
        if (row.designation.isEmpty())
            badLine(i + 1, QStringLiteral("empty designation"));
        if (row.designation.size() > prices::DesignationSize || row.name.size() > prices::NameSize)
            badLine(i + 1, QStringLiteral("a text longer than its field"));
        if (seen.contains(row.designation))
            badLine(i + 1, QStringLiteral("designation %1 given twice").arg(row.designation));
        seen.insert(row.designation);
        if (!f.at(2).isEmpty()) {
            bool ok = false;
            const double v = QLocale::c().toDouble(f.at(2), &ok);
            if (!ok || !std::isfinite(v))
                badLine(i + 1, QStringLiteral("price \"%1\" is not a number").arg(f.at(2)));
            row.price = v;
        }
        rows.push_back(row);
    }
    if (!headerSeen)
        throw Error(QStringLiteral("the price list is empty"));
    return rows;
}

QVector<PriceRow> readPriceList(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("cannot open %1: %2").arg(path, f.errorString()));
    return parsePriceList(f.readAll());
}

QByteArray formatPriceList(const QVector<PriceRow>& rows)
{
    QString out = header() + u'\n';
    for (const PriceRow& r : rows) {
        for (const QString& field : {r.designation, r.name})
            if (field.contains(u';') || field.contains(u'\n') || field.contains(u'\r'))
                throw Error(QStringLiteral("\"%1\" cannot be kept in the price list").arg(field));
        out += r.designation + u';' + r.name + u';';
        if (r.price)
            out += QLocale::c().toString(*r.price, 'g', QLocale::FloatingPointShortest);
        out += u'\n';
    }
    return out.toUtf8();
}

void writePriceList(const QString& path, const QVector<PriceRow>& rows)
{
    const QByteArray data = formatPriceList(rows);
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(data) != data.size() || !f.commit())
        throw Error(QStringLiteral("cannot write %1: %2").arg(path, f.errorString()));
}

void buildPriceTable(const QVector<PriceRow>& rows)
{
    const QString file = prices::tableFile();
    if (db::Table::isOpen(file) || db::Table::exists(file))
        throw Error(QStringLiteral("%1 exists already in %2").arg(file, db::netFileDir()));
    db::Table::create(file, prices::tableFields());
    db::Table& t = db::Table::open(file);
    db::Transaction tx(t);
    for (const PriceRow& r : rows) {
        t.insert();
        t.setValue(prices::fieldDesignation(), r.designation);
        t.setValue(prices::fieldName(), r.name);
        if (r.price)
            t.setValue(prices::fieldPrice(), *r.price);
        t.post();
    }
    tx.done();
    t.first();
}

} // namespace lir::pricelist
