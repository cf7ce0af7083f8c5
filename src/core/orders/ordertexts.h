#pragma once

#include <QString>
#include <QStringList>

// Texts of the current order: the summation window, its grids, its messages,
// and the words by which a stored entry finds its calculator inputs again.
namespace lir::ordertexts {

// ---------------------------------------------------------------- window
inline QString caption() { return QStringLiteral("Суммирование заказов"); }
inline QString radioComponents() { return QStringLiteral("Комплетующие "); }
inline QString radioKits() { return QStringLiteral("Комплекты"); }
inline QString radioKitsAndComponents() { return QStringLiteral("Комплекты и комплетующие "); }
// A description longer than the order table keeps, after the save.
inline QString descriptionShortened(int size)
{
    return QStringLiteral("Описание заказа сокращено до %1 символов.").arg(size);
}
inline QString lblMarkup() { return QStringLiteral("Рассчитать с наценкой (%):"); }
inline QString markupDefault() { return QStringLiteral("0"); }
inline QString lblDescription() { return QStringLiteral("Описание заказа:"); }
inline QString descriptionPrefix() { return QStringLiteral("Заказ от "); }
inline QString btSave() { return QStringLiteral("Сохранить заказ"); }
inline QString btClear() { return QStringLiteral("Очистить заказ"); }
inline QString btClose() { return QStringLiteral("ЗАКРЫТЬ"); }
inline QString backHint()
{
    return QStringLiteral("Закрыть окно.\nEsc или Alt+←: вернуться к калькулятору последнего комплекта");
}

// ---------------------------------------------------------------- history window
inline QString historyCaption() { return QStringLiteral("История заказов"); }
inline QString colOrderName() { return QStringLiteral("Наименование"); }
inline QString colKitDesignation() { return QStringLiteral("Наименование комплекта"); }
inline QString colKitCount() { return QStringLiteral("Количество"); }
inline QString colKitRal() { return QStringLiteral("RAL"); }
inline QString btOpen() { return QStringLiteral("Открыть заказ"); }

// ---------------------------------------------------------------- grids
inline QString colDesignation() { return QStringLiteral("Обозначение ЛИР"); }
inline QString colName() { return QStringLiteral("Наименование"); }
inline QString colMarking() { return QStringLiteral("Маркировка"); }
inline QString colCount() { return QStringLiteral("Кол-во"); }
inline QString colKitName() { return QStringLiteral("Название комплектов"); }
inline QString colRal() { return QStringLiteral("Цвет (RAL)"); }
inline QString kitRowName() { return QStringLiteral("Комплект ПОФ"); } // column 1 of a kit row in the kits-and-components grid

// ---------------------------------------------------------------- messages
inline QString noDescription() { return QStringLiteral("Не введено описание заказа!"); }
inline QString nothingToSave() { return QStringLiteral("Нет данных для сохранения!"); }
inline QString notAnInteger(const QString& text)
{
    return QStringLiteral("'%1' не является допустимым целым числом").arg(text);
}
inline QString countTooLarge(const QString& text)
{
    return QStringLiteral("Количество %1 не умещается в допустимый диапазон -2147483648..2147483647").arg(text);
}
inline QString saveFailed(const QString& path)
{
    return QStringLiteral("Не удалось сохранить заказ в таблицу %1").arg(path);
}
// ---------------------------------------------------------------- questions before something is lost
// "1 комплект", "3 комплекта", "5 комплектов".
inline QString kitsCount(int n)
{
    const int last2 = n % 100;
    const int last = n % 10;
    const char* word = (last2 >= 11 && last2 <= 14) ? "комплектов"
                       : last == 1                  ? "комплект"
                       : (last >= 2 && last <= 4)   ? "комплекта"
                                                    : "комплектов";
    return QStringLiteral("%1 %2").arg(QString::number(n), QString::fromUtf8(word));
}
// What the current order holds and whether it is saved; the question follows.
inline QString orderHolds(int kits, bool unsaved)
{
    if (!unsaved)
        return QStringLiteral("В текущем заказе %1.").arg(kitsCount(kits));
    return kits == 1 ? QStringLiteral("В текущем заказе %1, он не сохранён.").arg(kitsCount(kits))
                     : QStringLiteral("В текущем заказе %1, они не сохранены.").arg(kitsCount(kits));
}
inline QString askClear(int kits, bool unsaved)
{
    return orderHolds(kits, unsaved) + QStringLiteral(" Очистить заказ?");
}
inline QString askOpenOther(int kits)
{
    return orderHolds(kits, true) + QStringLiteral(" Открыть другой заказ?");
}
inline QString askQuit(int kits)
{
    return orderHolds(kits, true) + QStringLiteral(" Закрыть программу?");
}
inline QString askDelete(const QString& designation, int count, int ral)
{
    return QStringLiteral("Удалить из заказа комплект %1 (%2 шт., RAL %3)?")
        .arg(designation, QString::number(count), QString::number(ral));
}
// The tooltip of the view buttons while the edit button keeps them off.
inline QString viewsOffWhileTyping()
{
    return QStringLiteral("Вид не переключается, пока в таблицу вводятся количества:\n"
                          "экспорт возьмёт их из показанной таблицы.\n"
                          "Переключение вернётся после пересчёта заказа\n"
                          "(В ЗАКАЗ, удаление комплекта, очистка).");
}

inline QString orderTableFull()
{
    return QStringLiteral("Номера записей не умещаются в допустимый диапазон 1..2147483647");
}

// ---------------------------------------------------------------- restoring an entry
// Searched anywhere in the entry's texts, exactly and case-sensitively.
inline QString typeTurn() { return QStringLiteral("ПФ"); } // Type: the turn calculator
inline QString typeTiltTurn() { return QStringLiteral("ПОФ"); } // Type: the tilt-turn calculator
inline QString typeTilt() { return QStringLiteral("ОФ"); } // Type: the tilt calculator
inline QString typePvc() { return QStringLiteral("ПВХ"); }
inline QString typeClamps() { return QStringLiteral("с прижимами"); }
inline QString typeNoClamps() { return QStringLiteral("без прижимов"); }
inline QString sideRight() { return QStringLiteral("R"); } // Designation
inline QString sideLeft() { return QStringLiteral("L"); } // Designation
inline QString weight100() { return QStringLiteral("100"); } // the ending of Designation
inline QString weight120() { return QStringLiteral("120"); } // the ending of Designation
inline QString dopHandle() { return QStringLiteral("ручка"); }
inline QString dopHandle0317() { return QStringLiteral("ручка ЛИР-0317.00"); }
inline QString dopHandle1938() { return QStringLiteral("ручка ЛИР-1938.00"); }
inline QString dopVentilator() { return QStringLiteral("проветриватель"); }
inline QString dopMicrovent() { return QStringLiteral("планка микровентиляции"); }
inline QString dopBalcony() { return QStringLiteral("балконная защелка"); }
inline QString dopBlocker() { return QStringLiteral("блокиратор"); }
inline QString dopScissors() { return QStringLiteral("ножницы 2шт"); }
inline QString lockPrefix() { return QStringLiteral("ЛИР-6742-"); } // followed by three digits when the tilt-turn lock is in the kit
inline QStringList lockPrefixes() // the smallest kits with the lock's "1"
{
    return {QStringLiteral("ЛИР-6742М1"), QStringLiteral("ЛИР-6742Д1")};
}

// The batch entry.
inline QString batchNotAdded() { return QStringLiteral("Строки не добавлены в заказ: заказ оставлен без изменений"); }
inline QString batchGoodRowsAdded(int rows)
{
    return QStringLiteral("В заказ добавлены только рассчитанные строки: %1").arg(rows);
}

} // namespace lir::ordertexts
