#pragma once

#include <QString>

// The messages of the price-list import, the bulk change and the undo.
namespace lir::importtexts {

inline QString noDesignation() { return QStringLiteral("нет обозначения"); }
inline QString designationTooLong(int size)
{
    return QStringLiteral("обозначение длиннее %1 символов").arg(size);
}
inline QString noPrice() { return QStringLiteral("нет цены"); }
inline QString notANumber(const QString& text)
{
    return QStringLiteral("цена «%1» не является числом").arg(text);
}
inline QString negative(const QString& text)
{
    return QStringLiteral("цена «%1» отрицательная").arg(text);
}
inline QString tooLarge(const QString& text)
{
    return QStringLiteral("цена «%1» не меньше 1000000000000").arg(text);
}
inline QString duplicate(int otherLine)
{
    return QStringLiteral("то же обозначение в строке %1 с другой ценой").arg(otherLine);
}
inline QString bulkNegative() { return QStringLiteral("цена стала бы отрицательной"); }
inline QString bulkTooLarge() { return QStringLiteral("цена стала бы не меньше 1000000000000"); }
inline QString noHeader(const QString& file)
{
    return QStringLiteral("В файле %1 не найдена строка заголовка со столбцами «Обозначение» (или «Артикул», "
                          "«Код») и «Цена»: укажите столбцы вручную")
        .arg(file);
}
inline QString noRows(const QString& file)
{
    return QStringLiteral("В файле %1 нет ни одной строки с ценой").arg(file);
}
inline QString badColumn(const QString& which)
{
    return QStringLiteral("Не указан столбец «%1»").arg(which);
}
inline QString tableChanged(const QString& designation)
{
    return QStringLiteral("Таблица цен изменилась после предпросмотра (позиция %1): цены не изменены, "
                          "откройте предпросмотр снова")
        .arg(designation);
}
inline QString nothingToUndo()
{
    return QStringLiteral("Отменять нечего: в журнале изменений цен нет импорта или изменения цен, которые "
                          "ещё не отменены");
}
inline QString changedSince(const QString& rows)
{
    return QStringLiteral("Последний импорт нельзя отменить: после него изменились цены позиций %1").arg(rows);
}
inline QString andMore(int n) { return QStringLiteral(" и ещё %1").arg(n); }
inline QString header(int column)
{
    static const char16_t* names[] = {u"Обозначение", u"Наименование", u"Цена"};
    return QString::fromUtf16(names[column]);
}

} // namespace lir::importtexts

// The windows of the import, the bulk change and the undo.
namespace lir::importtexts::ui {

inline QString importButton() { return QStringLiteral("Импорт…"); }
inline QString bulkButton() { return QStringLiteral("Изменить цены…"); }
inline QString undoButton() { return QStringLiteral("Отменить последний импорт"); }
inline QString exportButton() { return QStringLiteral("Экспорт…"); }
inline QString importCaption(const QString& file) { return QStringLiteral("Импорт цен: %1").arg(file); }
inline QString bulkCaption() { return QStringLiteral("Изменение цен"); }
inline QString openListCaption() { return QStringLiteral("Прайс-лист поставщика"); }
inline QString listFilter()
{
    return QStringLiteral("Прайс-листы (*.csv *.txt *.xlsx *.ods);;Все файлы (*)");
}
inline QString exportFilter() { return QStringLiteral("Книга Excel (*.xlsx);;CSV (*.csv)"); }
inline QString sheet() { return QStringLiteral("Лист:"); }
inline QString columnsLabel() { return QStringLiteral("Столбцы:"); }
inline QString noColumn() { return QStringLiteral("—"); }
inline QString addNew() { return QStringLiteral("Добавить новые позиции"); }
inline QString apply() { return QStringLiteral("Применить"); }
inline QString cancel() { return QStringLiteral("Отмена"); }
inline QString tabChanged(int n) { return QStringLiteral("Изменятся (%1)").arg(n); }
inline QString tabAdded(int n) { return QStringLiteral("Новые (%1)").arg(n); }
inline QString tabNotInList(int n) { return QStringLiteral("Нет в списке (%1)").arg(n); }
inline QString tabRefused(int n) { return QStringLiteral("Отклонены (%1)").arg(n); }
inline QString colDesignation() { return QStringLiteral("Обозначение"); }
inline QString colName() { return QStringLiteral("Наименование"); }
inline QString colOld() { return QStringLiteral("Было"); }
inline QString colNew() { return QStringLiteral("Станет"); }
inline QString colPercent() { return QStringLiteral("Изменение, %"); }
inline QString colPrice() { return QStringLiteral("Цена"); }
inline QString colLine() { return QStringLiteral("Строка"); }
inline QString colReason() { return QStringLiteral("Причина"); }
inline QString summary(int changed, int added, bool addNew, int unchanged, int notInList, int refused)
{
    return QStringLiteral("Изменится цен: %1. Новых позиций: %2%3. Без изменений: %4. Нет в списке: %5 (не "
                          "удаляются). Отклонено строк: %6.")
        .arg(changed)
        .arg(added)
        .arg(added == 0 ? QString() : addNew ? QStringLiteral(" (будут добавлены)") : QStringLiteral(" (не добавляются)"))
        .arg(unchanged)
        .arg(notInList)
        .arg(refused);
}
inline QString chooseColumns()
{
    return QStringLiteral("Заголовок не распознан: выберите столбцы обозначения и цены.");
}
inline QString applied(int changed, int added)
{
    return QStringLiteral("Изменено цен: %1, добавлено позиций: %2.").arg(changed).arg(added);
}
inline QString bulkAll() { return QStringLiteral("Все цены"); }
inline QString bulkMatching() { return QStringLiteral("Цены позиций, в обозначении или названии которых есть:"); }
inline QString bulkBy() { return QStringLiteral("Изменить на:"); }
inline QString percentUnit() { return QStringLiteral("%"); }
inline QString amountUnit() { return QStringLiteral("руб."); }
inline QString bulkHint()
{
    return QStringLiteral("Положительное число повышает цены, отрицательное снижает; новые цены округляются до копеек.");
}
inline QString confirmUndo(const QString& source)
{
    return QStringLiteral("Отменить последнее изменение цен (%1) и вернуть прежние цены?").arg(source);
}
inline QString undone(int restored, int removed)
{
    return QStringLiteral("Восстановлено цен: %1, удалено добавленных позиций: %2.").arg(restored).arg(removed);
}
inline QString exported(int rows, const QString& file)
{
    return QStringLiteral("Записано позиций: %1 в файл %2").arg(rows).arg(file);
}
inline QString sourceShown(const QString& source)
{
    if (source.startsWith(u"import: "))
        return QStringLiteral("импорт файла ") + source.mid(8);
    if (source == u"bulk")
        return QStringLiteral("изменение цен");
    return source;
}

} // namespace lir::importtexts::ui
