#pragma once

#include <QString>
#include <QStringList>

// Texts of the order book: customers, the state of a saved order, the
// history window's columns, filters and commands, and their messages.
namespace lir::orderbooktexts {

// ---------------------------------------------------------------- order states
inline QString statusCalculation() { return QStringLiteral("Расчёт"); }
inline QStringList statuses()
{
    return {QStringLiteral("Расчёт"),   QStringLiteral("Отправлено заказчику"), QStringLiteral("Принят"),
            QStringLiteral("В работе"), QStringLiteral("Выполнен"),             QStringLiteral("Отказ")};
}
// What the book shows where an order of an older version has no details.
inline QString missing() { return QStringLiteral("—"); }

// ---------------------------------------------------------------- customers window
inline QString customersCaption() { return QStringLiteral("Заказчики"); }
inline QString lblSearch() { return QStringLiteral("Поиск:"); }
inline QString fieldName() { return QStringLiteral("Наименование"); }
inline QString fieldContact() { return QStringLiteral("Контактное лицо"); }
inline QString fieldPhone() { return QStringLiteral("Телефон"); }
inline QString fieldEmail() { return QStringLiteral("E-mail"); }
inline QString fieldAddress() { return QStringLiteral("Адрес"); }
inline QString fieldInn() { return QStringLiteral("ИНН"); }
inline QString fieldNote() { return QStringLiteral("Примечание"); }
inline QString fieldMarkup() { return QStringLiteral("Наценка, %"); }
inline QString btNewCustomer() { return QStringLiteral("Новый"); }
inline QString btSaveCustomer() { return QStringLiteral("Записать"); }
inline QString btDeleteCustomer() { return QStringLiteral("Удалить"); }
inline QString btHideCustomer() { return QStringLiteral("Скрыть"); }
inline QString btShowCustomer() { return QStringLiteral("Вернуть"); }
inline QString cbShowHidden() { return QStringLiteral("Показывать скрытых"); }
inline QString hiddenMark() { return QStringLiteral(" (скрыт)"); }
inline QString btCustomers() { return QStringLiteral("Заказчики"); }

// ---------------------------------------------------------------- summation window
inline QString lblCustomer() { return QStringLiteral("Заказчик:"); }
inline QString noCustomerChosen() { return QStringLiteral("(не выбран)"); }
inline QString markupFromCustomer() { return QStringLiteral("наценка заказчика"); }
inline QString markupTyped() { return QStringLiteral("наценка введена вручную"); }

// ---------------------------------------------------------------- order book (history window)
inline QString colNumber() { return QStringLiteral("№"); }
inline QString colDate() { return QStringLiteral("Дата"); }
inline QString colCustomer() { return QStringLiteral("Заказчик"); }
inline QString colDescription() { return QStringLiteral("Описание"); }
inline QString colStatus() { return QStringLiteral("Состояние"); }
inline QString colTotal() { return QStringLiteral("Сумма"); }
inline QString lblFilterText() { return QStringLiteral("Найти:"); }
inline QString lblFilterStatus() { return QStringLiteral("Состояние:"); }
inline QString anyStatus() { return QStringLiteral("(все)"); }
inline QString lblFrom() { return QStringLiteral("с"); }
inline QString lblTo() { return QStringLiteral("по"); }
inline QString lblFilterDesignation() { return QStringLiteral("Комплект:"); }
inline QString cbShowArchive() { return QStringLiteral("Показать архив"); }
inline QString lblNote() { return QStringLiteral("Примечание:"); }
inline QString btCopy() { return QStringLiteral("Копировать заказ"); }
inline QString btArchive() { return QStringLiteral("В архив"); }
inline QString btRestore() { return QStringLiteral("Вернуть из архива"); }
inline QString btEditDescription() { return QStringLiteral("Изменить описание"); }
inline QString btWriteDetails() { return QStringLiteral("Записать"); }
inline QString askDescription() { return QStringLiteral("Новое описание заказа:"); }
inline QString shownCount(int shown, int all)
{
    return QStringLiteral("Показано заказов: %1 из %2").arg(shown).arg(all);
}

// ---------------------------------------------------------------- messages
inline QString noCustomerName() { return QStringLiteral("Не введено наименование заказчика!"); }
inline QString badMarkup(const QString& text)
{
    return QStringLiteral("Наценка «%1» не принята: нужно целое число процентов не меньше -100.").arg(text);
}
inline QString textTooLong(const QString& field, int size)
{
    return QStringLiteral("Поле «%1» длиннее %2 символов: сократите его.").arg(field).arg(size);
}
inline QString controlCharacters(const QString& field)
{
    return QStringLiteral("Поле «%1» содержит управляющие символы: уберите их.").arg(field);
}
inline QString badInn() { return QStringLiteral("ИНН должен состоять из 10 или 12 цифр."); }
inline QString badStatus(const QString& status)
{
    return QStringLiteral("Нет такого состояния заказа: «%1». Допустимы: %2.")
        .arg(status, statuses().join(QStringLiteral(", ")));
}
inline QString noSuchOrder(qint64 id) { return QStringLiteral("Заказа № %1 нет в таблице заказов.").arg(id); }
inline QString noSuchCustomer(qint64 id) { return QStringLiteral("Заказчика № %1 нет.").arg(id); }
inline QString badDate(const QString& text)
{
    return QStringLiteral("Даты «%1» не существует: нужна дата вида ГГГГ-ММ-ДД.").arg(text);
}
inline QString descriptionTooLong(int size)
{
    return QStringLiteral("Описание заказа длиннее %1 символов: сократите его.").arg(size);
}
inline QString orderChangedByOthers(qint64 id)
{
    return QStringLiteral("Заказ № %1 изменил другой пользователь, пока вы его правили: ваше изменение не записано.")
               .arg(id) +
           QChar(13) + QStringLiteral("Показано новое состояние заказа; внесите изменение ещё раз.");
}
inline QString customerChangedByOthers(const QString& name)
{
    return QStringLiteral("Заказчика «%1» изменил другой пользователь, пока вы его правили: ваше изменение не записано.")
               .arg(name) +
           QChar(13) + QStringLiteral("Показаны новые данные заказчика; внесите изменение ещё раз.");
}
inline QString askDeleteCustomer(const QString& name)
{
    return QStringLiteral("Удалить заказчика «%1»?").arg(name);
}
inline QString customerHasOrders(const QString& name)
{
    return QStringLiteral("У заказчика «%1» есть заказы: его нельзя удалить, только скрыть.").arg(name);
}
inline QString detailsFailed(const QString& where)
{
    return QStringLiteral("Не удалось записать сведения о заказе в %1").arg(where);
}
inline QString customersFailed(const QString& where)
{
    return QStringLiteral("Не удалось записать заказчика в %1").arg(where);
}

} // namespace lir::orderbooktexts
