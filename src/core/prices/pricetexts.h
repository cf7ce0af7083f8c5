#pragma once

#include "core/prices/importtexts.h"

#include <QString>
#include <QStringList>

// Texts of the price list: the price editor and the price table's messages.
namespace lir::pricetexts {

// A table that cannot be read as the price table.
inline QString notAPriceTable(const QString& table, const QStringList& lacking, const QStringList& held)
{
    return QStringLiteral("Таблица %1 не является таблицей цен: в ней нет %2 %3 (поля таблицы: %4)")
        .arg(table, lacking.size() == 1 ? QStringLiteral("поля") : QStringLiteral("полей"),
             lacking.join(QStringLiteral(", ")), held.join(QStringLiteral(", ")));
}

inline QString caption() { return QStringLiteral("Цены комплектующих"); }
inline QString columnDesignation() { return QStringLiteral("Обозначение"); }
inline QString columnName() { return QStringLiteral("Название"); }
inline QString columnPrice() { return QStringLiteral("Цена"); }
inline QString priceGroup() { return QStringLiteral("Цена"); }
// The price group names the row whose price it edits.
inline QString priceGroupOf(const QString& designation)
{
    return QStringLiteral("Цена: %1").arg(designation);
}
// Beside a search row whose text matched nothing.
inline QString notFound() { return QStringLiteral("Не найдено"); }
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
inline QString priceNotANumber(const QString& typed)
{
    return QStringLiteral("'%1' не является допустимым числом (поле Цена)").arg(typed);
}
// A typed price that was given up (the editor closed) or that stopped a
// sheet: the row and the price, then why on the second line.
inline QString priceNotWritten(const QString& typed, const QString& designation, const QString& why)
{
    return QStringLiteral("Цена %1 для %2 не записана\r%3").arg(typed, designation, why);
}
inline QString badStoredPrice(const QString& file, const QString& designation, const QString& problem)
{
    return QStringLiteral("Недопустимая цена у %1 в таблице цен %2\r%3").arg(designation, file, problem);
}

// The engine's own message follows on the second line.
// `place` as db::tablesPlace() names it ("в каталоге ...", "на сервере ...").
inline QString cannotOpenTable(const QString& file, const QString& place, const QString& reason)
{
    return QStringLiteral("Не удалось открыть таблицу цен %1 %2\r%3").arg(file, place, reason);
}

// Tables in the Paradox format in place of ours.
inline QString paradoxQuestion(const QString& file)
{
    return QStringLiteral("Таблица %1 записана в формате Paradox. Преобразовать её? Исходный файл сохранится как %1.paradox.").arg(file);
}
// What failed follows on the second line.
inline QString paradoxConversionFailed(const QString& file, const QString& reason)
{
    return QStringLiteral("Не удалось преобразовать таблицу %1, исходный файл не изменён\r%2").arg(file, reason);
}
inline QString paradoxFieldMissing(const QString& file, const QString& field)
{
    return QStringLiteral("В таблице Paradox %1 нет поля %2").arg(file, field);
}
inline QString paradoxFieldNotText(const QString& file, const QString& field, const QString& type)
{
    return QStringLiteral("Поле %1 таблицы Paradox %2 имеет тип %3, а нужен текст (Alpha)").arg(field, file, type);
}
inline QString paradoxFieldNotNumber(const QString& file, const QString& field, const QString& type)
{
    return QStringLiteral("Поле %1 таблицы Paradox %2 имеет тип %3, а нужно число").arg(field, file, type);
}
inline QString paradoxUnknownTable(const QString& file)
{
    return QStringLiteral("Таблица Paradox %1 не похожа ни на таблицу цен, ни на таблицу заказов: "
                          "в ней нет всех полей ни одной из них").arg(file);
}
inline QString targetExists(const QString& file, const QString& dir)
{
    return QStringLiteral("Таблица %1 уже есть в каталоге %2, она не перезаписывается").arg(file, dir);
}
inline QString backupExists(const QString& file)
{
    return QStringLiteral("Файл %1 уже есть, прежняя копия не перезаписывается").arg(file);
}
inline QString tableInUse(const QString& file)
{
    return QStringLiteral("Таблица %1 уже открыта программой").arg(file);
}
inline QString cannotCreateTemporary(const QString& dir, const QString& reason)
{
    return QStringLiteral("Не удалось создать временный файл в каталоге %1: %2").arg(dir, reason);
}
inline QString cannotRename(const QString& from, const QString& to, const QString& reason)
{
    return QStringLiteral("Не удалось переименовать файл %1 в %2: %3").arg(from, to, reason);
}
inline QString fileAlreadyThere() { return QStringLiteral("такой файл уже есть"); }
// When even the way back failed: where the original is now.
inline QString originalKeptAs(const QString& file)
{
    return QStringLiteral("Исходный файл сохранён как %1").arg(file);
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
inline QString cannotUpdateTable(const QString& file, const QString& place, const QString& reason)
{
    return QStringLiteral("Не удалось обновить таблицу цен %1 %2\r%3").arg(file, place, reason);
}

// ---- the rights of the shared store and the change log
inline QString readOnlyPrices(const QString& group)
{
    return QStringLiteral("Цены может менять только группа %1").arg(group);
}
inline QString updateNeedsPricing(const QString& group)
{
    return QStringLiteral("В таблице цен нет строк новых комплектов и деталей, а добавить их эта учётная запись не "
                          "может. Запустите программу один раз под учётной записью группы %1: она добавит строки.")
        .arg(group);
}
inline QString setupNotRun(const QString& what, const QString& command)
{
    return QStringLiteral("На сервере нет %1: владелец базы данных должен один раз выполнить команду «%2».")
        .arg(what, command);
}
inline QString noSuchGroup(const QString& group)
{
    return QStringLiteral("Группа «%1» неизвестна: есть estimator и pricing.").arg(group);
}
inline QString noSuchAccount(const QString& login)
{
    return QStringLiteral("На сервере нет учётной записи «%1»: сначала её создаёт администратор "
                          "(CREATE ROLE … LOGIN).")
        .arg(login);
}
inline QString tablesInFiles()
{
    return QStringLiteral("Таблицы хранятся в файлах, а не на сервере PostgreSQL: настраивать нечего.");
}
inline QString logCaption() { return QStringLiteral("Журнал цен"); }
inline QString logDesignation() { return QStringLiteral("Обозначение:"); }
inline QString logUser() { return QStringLiteral("Пользователь:"); }
inline QString logAllUsers() { return QStringLiteral("все"); }
inline QString logFrom() { return QStringLiteral("с"); }
inline QString logTo() { return QStringLiteral("по"); }
inline QString logShow() { return QStringLiteral("Показать"); }
inline QString logClose() { return QStringLiteral("Закрыть"); }
inline QStringList logColumns()
{
    return {QStringLiteral("Время"),     QStringLiteral("Пользователь"), QStringLiteral("Источник"),
            QStringLiteral("Обозначение"), QStringLiteral("Была цена"),  QStringLiteral("Стала цена"),
            QStringLiteral("Название")};
}
inline QString logUnread() { return QStringLiteral("Журнал не прочитан."); }
inline QString logEmpty() { return QStringLiteral("Записей нет."); }
inline QString logCount(qsizetype n) { return QStringLiteral("Записей: %1").arg(n); }
inline QString logRemovedName() { return QStringLiteral("(удалена)"); }
inline QString logSource(const QString& source)
{
    if (source == u"editor")
        return QStringLiteral("редактор цен");
    if (source == u"update")
        return QStringLiteral("обновление каталога");
    if (source == u"undo")
        return QStringLiteral("отмена импорта");
    if (source.startsWith(u"import-new: "))
        return QStringLiteral("импорт файла %1 (новая позиция)").arg(source.mid(12));
    return importtexts::ui::sourceShown(source); // an import, a bulk change
}

} // namespace lir::pricetexts
