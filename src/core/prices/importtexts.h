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
