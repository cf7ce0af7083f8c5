#pragma once

#include <QString>
#include <QStringList>

// Texts of the price list: the price editor and the price table's messages.
namespace lir::pricetexts {

inline QString caption() { return QStringLiteral("Цены комплектующих"); }
inline QString columnDesignation() { return QStringLiteral("Обозначение"); }
inline QString columnName() { return QStringLiteral("Название"); }
inline QString columnPrice() { return QStringLiteral("Цена"); }
inline QString priceGroup() { return QStringLiteral("Цена"); }
inline QString searchByDesignation() { return QStringLiteral("Поиск по обозначению"); }
inline QString searchByName() { return QStringLiteral("Поиск по названию"); }
inline QString find() { return QStringLiteral("Найти"); }
inline QString close() { return QStringLiteral("ЗАКРЫТЬ"); }

// Row indicator of the grid: the current row, and the row being edited.
inline QString currentRowMark() { return QStringLiteral("\u25B6"); }
inline QString editedRowMark() { return QStringLiteral("I"); }

inline QString tableNotOpen(const QString& file)
{
    return QStringLiteral("Таблица цен %1 не открыта").arg(file);
}
// A price the price table refuses, and one it holds but must not be used.
inline QString priceNegative(const QString& price)
{
    return QStringLiteral("Цена не может быть отрицательной: %1").arg(price);
}
inline QString priceTooLarge(const QString& price)
{
    return QStringLiteral("Цена должна быть меньше 1000000000000: %1").arg(price);
}
inline QString priceNotFinite(const QString& price)
{
    return QStringLiteral("Цена должна быть числом: %1").arg(price);
}
inline QString badStoredPrice(const QString& file, const QString& designation, const QString& problem)
{
    return QStringLiteral("Недопустимая цена у %1 в таблице цен %2\r%3").arg(designation, file, problem);
}

// The engine's own message follows on the second line.
inline QString cannotOpenTable(const QString& file, const QString& dir, const QString& reason)
{
    return QStringLiteral("Не удалось открыть таблицу цен %1 в каталоге %2\r%3").arg(file, dir, reason);
}

// Notices of the catalogue update at start-up, each shown before its rows are written.
inline QString newItemsWillBeAdded()
{
    return QStringLiteral("В таблицу цен будет добавлена новая номенклатура\r  (без указания цены)!");
}
inline QString newItemsWillBeAddedToTable()
{
    return QStringLiteral("В таблицу будет добавлена новая номенклатура\r  (без указания цены)!");
}
inline QString tableWillBeUpdated() { return QStringLiteral("Таблица цен будет обновлена."); }

// A failed catalogue update: the table and where it is, then the engine's message.
inline QString cannotUpdateTable(const QString& file, const QString& dir, const QString& reason)
{
    return QStringLiteral("Не удалось обновить таблицу цен %1 в каталоге %2\r%3").arg(file, dir, reason);
}

} // namespace lir::pricetexts
