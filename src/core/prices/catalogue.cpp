#include "core/prices/catalogue.h"

#include "core/base/dialogs.h"
#include "core/base/error.h"
#include "core/db/storage.h"
#include "core/db/storagetexts.h"
#include "core/db/storesettings.h"
#include "core/prices/pricelog.h"
#include "core/prices/serveraccess.h"
#include "core/prices/pricetable.h"
#include "core/prices/pricetexts.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <algorithm>

#include <optional>

namespace lir::catalogue {

namespace {

// ---------------------------------------------------------------- kit designations

// A stem is a prefix, the digits i and j and a group of letters; every stem
// is written with each of its endings in turn.
struct StemGroup
{
    QString letters;
    QStringList endings; // one empty ending: the stem alone
};

struct KitRule
{
    QString prefix;
    std::optional<std::pair<int, int>> i; // none: the stems run over j alone
    std::pair<int, int> j;
    bool (*leftOut)(int i, int j);
    QVector<StemGroup> groups; // all groups of one pair of digits before the next pair
    QString specialStem;       // replaces prefix, digits and letters for i = j = 0
    bool priced;
};

bool noneLeftOut(int, int) { return false; }

QStringList sideEndings() { return {QStringLiteral("R"), QStringLiteral("L")}; }
QStringList sideWeightEndings()
{
    return {QStringLiteral("R100"), QStringLiteral("R120"), QStringLiteral("L100"), QStringLiteral("L120")};
}
// The lock kits write the two weights of one side first.
QStringList sideWeightEndingsBySide()
{
    return {QStringLiteral("R100"), QStringLiteral("L100"), QStringLiteral("R120"), QStringLiteral("L120")};
}

const KitRule& rule(KitBatch batch)
{
    static const KitRule tiltTurnWood{QStringLiteral("ЛИР-6742-"), std::pair{0, 4}, {0, 5},
                                      [](int i, int j) { return i == 0 && j == 5; },
                                      {{QStringLiteral("ДМ"), sideEndings()}}, QStringLiteral("ЛИР-6742ДМ"), true};
    static const KitRule tiltTurnWoodA{QStringLiteral("ЛИР-6742-3"), std::nullopt, {0, 5}, noneLeftOut,
                                       {{QStringLiteral("АДМ"), sideEndings()}}, QString(), true};
    static const KitRule turnWood{QStringLiteral("ЛИР-6741-"), std::pair{0, 2}, {0, 6},
                                  [](int i, int j) { return (i == 0 && j == 0) || (i > 0 && j > 4); },
                                  {{QStringLiteral("ДМ"), sideEndings()}}, QString(), true};
    static const KitRule tiltWood{QStringLiteral("ЛИР-6741-"), std::pair{5, 6}, {0, 6},
                                  [](int i, int j) { return (i == 5 && j == 0) || (i == 6 && j == 6); },
                                  {{QStringLiteral("ДМ"), {QString()}}}, QString(), true};
    static const KitRule tiltTurnPvcA{QStringLiteral("ЛИР-6742-3"), std::nullopt, {0, 5}, noneLeftOut,
                                      {{QStringLiteral("АМ"), sideWeightEndings()}}, QString(), true};
    static const KitRule tiltTurnPvc{QStringLiteral("ЛИР-6742-"), std::pair{0, 4}, {0, 5}, noneLeftOut,
                                     {{QStringLiteral("М"), sideWeightEndings()}}, QStringLiteral("ЛИР-6742М"),
                                     false};
    static const KitRule turnPvc{QStringLiteral("ЛИР-6741-"), std::pair{0, 2}, {0, 6},
                                 [](int i, int j) { return (i == 0 && j == 0) || (i > 0 && j > 4); },
                                 {{QStringLiteral("М"), sideWeightEndings()}}, QString(), false};
    static const KitRule tiltPvc{QStringLiteral("ЛИР-6741-"), std::pair{5, 6}, {0, 6},
                                 [](int i, int j) { return (i == 5 && j == 0) || (i == 6 && j == 6); },
                                 {{QStringLiteral("М"), {QStringLiteral("100"), QStringLiteral("120")}}}, QString(),
                                 false};
    static const KitRule tiltTurnLock{QStringLiteral("ЛИР-6742-1"), std::pair{0, 4}, {0, 5},
                                      [](int i, int j) { return i == 0 && j == 5; },
                                      {{QStringLiteral("ДМ"), sideEndings()},
                                       {QStringLiteral("М"), sideWeightEndingsBySide()}},
                                      QString(), true};
    static const KitRule tiltTurnLockA{QStringLiteral("ЛИР-6742-13"), std::nullopt, {0, 5}, noneLeftOut,
                                       {{QStringLiteral("АДМ"), sideEndings()},
                                        {QStringLiteral("АМ"), sideWeightEndingsBySide()}},
                                       QString(), true};
    switch (batch) {
    case KitBatch::TiltTurnWood:
        return tiltTurnWood;
    case KitBatch::TiltTurnWoodA:
        return tiltTurnWoodA;
    case KitBatch::TurnWood:
        return turnWood;
    case KitBatch::TiltWood:
        return tiltWood;
    case KitBatch::TiltTurnPvcA:
        return tiltTurnPvcA;
    case KitBatch::TiltTurnPvc:
        return tiltTurnPvc;
    case KitBatch::TurnPvc:
        return turnPvc;
    case KitBatch::TiltPvc:
        return tiltPvc;
    case KitBatch::TiltTurnLock:
        return tiltTurnLock;
    case KitBatch::TiltTurnLockA:
        break;
    }
    return tiltTurnLockA;
}

// ---------------------------------------------------------------- parts

QVector<CatalogueRow> named(std::initializer_list<std::pair<const char16_t*, const char16_t*>> rows)
{
    QVector<CatalogueRow> out;
    out.reserve(qsizetype(rows.size()));
    for (const auto& r : rows)
        out.push_back({QString::fromUtf16(r.first), QString::fromUtf16(r.second), true});
    return out;
}

// The sentinels, and the rows the steps treat one by one.
QString sentinelSystems() { return QStringLiteral("ЛИР-6742-01ДМR"); }
QString boltA() { return QStringLiteral("6742.01.00-03А"); }
QString boltAName() { return QStringLiteral("Засов 1300А"); }
QString middleLockA() { return QStringLiteral("6742.05.00-01А"); }
QString middleLockAName() { return QStringLiteral("Запор средний 1300А"); }
QString sentinelPvcA() { return QStringLiteral("ЛИР-6742-30АМR100"); }
QString sentinelMicrovent() { return QStringLiteral("0483.00.01-14"); }
QString sentinelPvc() { return QStringLiteral("ЛИР-6742-03МR100"); }
QString sentinelLock() { return QStringLiteral("ЛИР-6742-100ДМR"); }
QString hingeLeft() { return QStringLiteral("6742.08.00-20L"); }
QString hingeRight() { return QStringLiteral("6742.08.00-20R"); }
QString hingeName() { return QStringLiteral("Петля на створке верхняя М"); }

// ---------------------------------------------------------------- writing

db::Table& priceTable()
{
    db::Table* t = prices::openTable();
    if (!t)
        throw Error(pricetexts::tableNotOpen(db::shownTable(prices::tableFile())));
    return *t;
}

// The sentinel lookup: exact and case-sensitive, as the price lookup.
bool holds(db::Table& t, const QString& designation)
{
    return t.locate(prices::fieldDesignation(), designation, db::Table::Exact);
}

QString quoted(const QString& identifier)
{
    QString s = identifier;
    s.replace(u'"', QStringLiteral("\"\""));
    return u'"' + s + u'"';
}

// Writes the rows the table does not hold yet, in their order, in one
// transaction: a failure leaves none of them.
void writeBatch(db::Table& t, const QVector<CatalogueRow>& rows)
{
    db::Transaction tx(t);
    QSet<QString> held;
    const auto existing = t.query(QStringLiteral("SELECT ") + quoted(prices::fieldDesignation()) +
                                  QStringLiteral(" FROM ") + quoted(t.tableName()));
    held.reserve(existing.size() + rows.size());
    for (const QVector<QVariant>& r : existing)
        held.insert(r.value(0).toString());
    for (const CatalogueRow& r : rows) {
        if (held.contains(r.designation))
            continue;
        held.insert(r.designation);
        t.insert();
        t.setValue(prices::fieldDesignation(), r.designation);
        if (!r.name.isEmpty())
            t.setValue(prices::fieldName(), r.name);
        if (r.priced)
            t.setValue(prices::fieldPrice(), 0.0);
        t.post();
    }
    tx.done();
}

QVector<CatalogueRow> joined(std::initializer_list<QVector<CatalogueRow>> parts)
{
    QVector<CatalogueRow> out;
    for (const QVector<CatalogueRow>& p : parts)
        out += p;
    return out;
}

QVector<CatalogueRow> systemsBatch()
{
    return joined({kitRows(KitBatch::TiltTurnWood), kitRows(KitBatch::TiltTurnWoodA), kitRows(KitBatch::TurnWood),
                   kitRows(KitBatch::TiltWood), systemParts()});
}

QVector<CatalogueRow> pvcBatch()
{
    return joined({kitRows(KitBatch::TiltTurnPvc), kitRows(KitBatch::TurnPvc), kitRows(KitBatch::TiltPvc)});
}

QVector<CatalogueRow> lockBatch()
{
    return joined({kitRows(KitBatch::TiltTurnLock), kitRows(KitBatch::TiltTurnLockA), lockParts()});
}

// Gives a hinge row its current name, keeping its price; a missing row is
// added with price 0.
void nameHinge(db::Table& t, const QString& designation)
{
    if (!holds(t, designation)) {
        t.insert();
        t.setValue(prices::fieldDesignation(), designation);
        t.setValue(prices::fieldName(), hingeName());
        t.setValue(prices::fieldPrice(), 0.0);
        t.post();
        return;
    }
    if (t.text(prices::fieldName()) == hingeName())
        return;
    t.edit();
    t.setValue(prices::fieldName(), hingeName());
    t.post();
}

} // namespace

QVector<CatalogueRow> kitRows(KitBatch batch)
{
    const KitRule& k = rule(batch);
    QVector<CatalogueRow> rows;
    const int iFirst = k.i ? k.i->first : 0;
    const int iLast = k.i ? k.i->second : 0;
    for (int i = iFirst; i <= iLast; ++i) {
        for (int j = k.j.first; j <= k.j.second; ++j) {
            if (k.leftOut(i, j))
                continue;
            for (const StemGroup& g : k.groups) {
                const bool special = k.i && i == 0 && j == 0 && !k.specialStem.isEmpty();
                const QString digits = (k.i ? QString::number(i) : QString()) + QString::number(j);
                const QString stem = special ? k.specialStem : k.prefix + digits + g.letters;
                for (const QString& ending : g.endings)
                    rows.push_back({stem + ending, QString(), k.priced});
            }
        }
    }
    return rows;
}

QVector<CatalogueRow> systemParts()
{
    return named({
    {u"6742.15.00-20", u"Петля откидная"},
    {u"0483.00.01-20", u"Планка запорная"},
    {u"0483.00.01-21", u"Планка запорная"},
    {u"6742.00.14-20", u"Подкладка"},
    {u"6742.00.14-21", u"Подкладка"},
    {u"6742.00.03-20", u"Зацеп проветривателя"},
    {u"6742.00.03-21", u"Зацеп проветривателя"},
    {u"6742.09.00-20", u"Петля верхняя на раме ДМ"},
    {u"6742.08.00-20L", u"Петля на створке верхняя М"},
    {u"6742.08.00-20R", u"Петля на створке верхняя М"},
    {u"6742.10.00-20L", u"Петля нижняя на створке ДМ"},
    {u"6742.10.00-20R", u"Петля нижняя на створке ДМ"},
    {u"6742.11.00-20L", u"Петля нижняя на раме ДМ"},
    {u"6742.11.00-20R", u"Петля нижняя на раме ДМ"},
    {u"6742.00.10-20", u"Прижим средний скрытый"},
    {u"6742.00.11-20", u"Зацеп прижима среднего"},
    {u"6742.00.11-21", u"Зацеп прижима среднего"},
    {u"6742.21.00-20", u"Упор блокиратора"},
    {u"6742.21.00-21", u"Упор блокиратора"},
    {u"0483.12.00-20", u"Планка запорная пов.откидная"},
    {u"0483.12.00-21", u"Планка запорная пов.откидная"},
    {u"6742.07.00-21R", u"Кронштейн 280"},
    {u"6742.07.00-21L", u"Кронштейн 280"},
    {u"6742.07.00-22R", u"Кронштейн 550"},
    {u"6742.07.00-22L", u"Кронштейн 550"},
    {u"6742.07.00-23R", u"Кронштейн 800"},
    {u"6742.07.00-23L", u"Кронштейн 800"},
    {u"6742.00.05-20", u"Накладка декор.В1"},
    {u"6742.00.07-20R", u"Накладка декор.Н1"},
    {u"6742.00.07-20L", u"Накладка декор.Н1"},
    {u"6742.22.00-20", u"Проветриватель ступенчатый"},
    });
}

QVector<CatalogueRow> microventParts()
{
    return named({
    {u"6742.15.00-60", u"Петля откидная"},
    {u"0483.00.01-14", u"Планка запорная"},
    {u"6742.00.14-14", u"Подкладка"},
    {u"6742.00.03-14", u"Зацеп проветривателя"},
    {u"6742.08.00-60R", u"Петля на створке верхняя М"},
    {u"6742.08.00-60L", u"Петля на створке верхняя М"},
    {u"6742.00.11-14", u"Зацеп прижима среднего"},
    {u"6742.21.00-14", u"Упор блокиратора"},
    {u"0483.12.00-14", u"Планка запорная пов.откидная"},
    {u"6742.00.01-14", u"Планка микровентиляции"},
    {u"6742.07.00-61R", u"Кронштейн 280"},
    {u"6742.07.00-61L", u"Кронштейн 280"},
    {u"6742.07.00-62R", u"Кронштейн 550"},
    {u"6742.07.00-62L", u"Кронштейн 550"},
    {u"6742.07.00-63R", u"Кронштейн 800"},
    {u"6742.07.00-63L", u"Кронштейн 800"},
    });
}

QVector<CatalogueRow> lockParts()
{
    return named({
    {u"6742.06.00", u"Запор поворотно-откидной"},
    {u"6742.13.00-00", u"Планка пов.-откидная"},
    {u"6742.13.00-10", u"Планка пов.-откидная"},
    {u"6742.13.00-11", u"Планка пов.-откидная"},
    {u"6742.13.00-12", u"Планка пов.-откидная"},
    {u"6742.13.00-14", u"Планка пов.-откидная"},
    {u"6742.13.00-20", u"Планка пов.-откидная"},
    {u"6742.13.00-21", u"Планка пов.-откидная"},
    });
}

QVector<CatalogueRow> allRows()
{
    return joined({systemsBatch(), {{middleLockA(), middleLockAName(), true}}, kitRows(KitBatch::TiltTurnPvcA),
                   microventParts(), pvcBatch(), lockBatch()});
}

QStringList sentinels()
{
    return {sentinelSystems(), middleLockA(), sentinelPvcA(), sentinelMicrovent(), sentinelPvc(), sentinelLock()};
}

namespace {

// Some row of the catalogue is missing from the table: the update would add it.
bool updateWouldAdd(db::Table& t)
{
    QSet<QString> held;
    for (const QVector<QVariant>& r :
         t.query(QStringLiteral("SELECT ") + db::quoted(prices::fieldDesignation()) + QStringLiteral(" FROM ") +
                 db::quoted(t.tableName())))
        held.insert(r.value(0).toString());
    const QVector<CatalogueRow> rows = allRows();
    return std::any_of(rows.begin(), rows.end(), [&](const CatalogueRow& c) { return !held.contains(c.designation); });
}

} // namespace

void synchronise()
{
    const prices::ScopedChangeSource logged(prices::source::update());
    try {
        // An account the server lets read prices only cannot add the rows:
        // the program goes on with the table as it is, and says once who can.
        if (db::Table* t = prices::openTable(); t && t->onServer() && !prices::mayChangePrices(*t)) {
            static bool told = false;
            if (!told && updateWouldAdd(*t)) {
                told = true;
                dialogs().messageBox(prices::updateNeedsPricing());
            }
            return;
        }
        UpdatePriceCatalogue();
        AddTiltTurnLockItems();
        FixSashHingeNames();
    } catch (const Error& e) {
        // The directory of the open table, which is where it was found.
        const db::Table* t = prices::openTable();
        const QString place = t && !t->onServer()
                                  ? db::texts::inDirectory(QDir::toNativeSeparators(QFileInfo(t->filePath()).absolutePath()))
                                  : db::tablesPlace();
        throw Error(pricetexts::cannotUpdateTable(db::shownTable(prices::tableFile()), place, e.message()));
    }
}

} // namespace lir::catalogue

namespace lir {

using namespace catalogue;

void UpdatePriceCatalogue()
{
    db::Table& t = priceTable();

    if (!holds(t, sentinelSystems())) {
        dialogs().messageBox(pricetexts::newItemsWillBeAdded());
        writeBatch(t, systemsBatch());
    }

    // The 1300А bolt is given its name at every start; a row that has it
    // already is not written again.
    if (holds(t, boltA()) && t.text(prices::fieldName()) != boltAName()) {
        t.edit();
        t.setValue(prices::fieldName(), boltAName());
        t.post();
    }

    if (!holds(t, middleLockA()))
        writeBatch(t, {{middleLockA(), middleLockAName(), true}});

    if (!holds(t, sentinelPvcA())) {
        dialogs().messageBox(pricetexts::newItemsWillBeAdded());
        writeBatch(t, kitRows(KitBatch::TiltTurnPvcA));
    }

    if (!holds(t, sentinelMicrovent())) {
        dialogs().messageBox(pricetexts::newItemsWillBeAddedToTable());
        writeBatch(t, microventParts());
    }

    if (holds(t, sentinelPvc())) {
        t.first();
        return;
    }
    dialogs().messageBox(pricetexts::tableWillBeUpdated());
    writeBatch(t, pvcBatch());
}

void AddTiltTurnLockItems()
{
    db::Table& t = priceTable();
    if (holds(t, sentinelLock()))
        return;
    dialogs().messageBox(pricetexts::newItemsWillBeAdded());
    writeBatch(t, lockBatch());
}

void FixSashHingeNames()
{
    db::Table& t = priceTable();
    if (holds(t, hingeLeft()) && t.text(prices::fieldName()) == hingeName()) {
        t.first();
        return;
    }
    // Renamed in place, so that a price the user typed stays.
    {
        db::Transaction tx(t);
        nameHinge(t, hingeLeft());
        nameHinge(t, hingeRight());
        tx.done();
    }
    t.first();
}

} // namespace lir
