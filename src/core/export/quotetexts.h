#pragma once

#include "core/export/money.h"

#include <QDate>
#include <QString>

// Texts of the printed quote and its messages.
namespace lir::quotetexts {

inline QString title(const QDate& date, std::optional<qint32> number)
{
    const QString day = date.toString(QStringLiteral("dd.MM.yyyy"));
    if (number)
        return QStringLiteral("Коммерческое предложение № %1 от %2").arg(*number).arg(day);
    return QStringLiteral("Коммерческое предложение от %1").arg(day);
}
inline QString customer(const QString& name) { return QStringLiteral("Заказчик: ") + name; }
inline QString kit(const QString& designation) { return QStringLiteral("Комплект фурнитуры ") + designation; }
inline QString kitName(int ral)
{
    return ral ? QStringLiteral("Комплект фурнитуры, RAL %1").arg(ral) : QStringLiteral("Комплект фурнитуры");
}
inline QString sash(int ffh, int ffb)
{
    return QStringLiteral("Створка по фальцу (высота × ширина): %1 × %2 мм").arg(ffh).arg(ffb);
}
inline QString handleHeight(int gh) { return QStringLiteral("Высота ручки: %1 мм").arg(gh); }
inline QString profile(const QString& type, const QString& profile)
{
    return QStringLiteral("Профиль: ") + type + (profile.isEmpty() ? QString() : QStringLiteral(", ") + profile);
}
inline QString options(const QString& list) { return QStringLiteral("Дополнительно: ") + list; }
inline QString colourAndCount(int ral, int count)
{
    return QStringLiteral("Цвет (RAL): %1; количество комплектов: %2").arg(ral).arg(count);
}
inline QString pieces() { return QStringLiteral("шт."); }
inline QString kits() { return QStringLiteral("компл."); }
inline QString noPrice() { return QStringLiteral("—"); }

inline QString total() { return QStringLiteral("Итого:"); }
inline QString vatIncluded(const QString& rate)
{
    return QStringLiteral("В том числе НДС %1 %:").arg(rate);
}
inline QString vatOnTop(const QString& rate) { return QStringLiteral("НДС %1 %:").arg(rate); }
inline QString totalWithVat() { return QStringLiteral("Всего с НДС:"); }
inline QString withoutVat() { return QStringLiteral("Без НДС"); }
inline QString unpriced(int n)
{
    return QStringLiteral("Нет цены: %1 ").arg(n)
           + money::plural(n, QStringLiteral("позиция"), QStringLiteral("позиции"), QStringLiteral("позиций"));
}
inline QString validity(int days)
{
    return QStringLiteral("Предложение действительно %1 ").arg(days)
           + money::plural(days, QStringLiteral("день"), QStringLiteral("дня"), QStringLiteral("дней"));
}
inline QString signature(const QString& signer)
{
    return QStringLiteral("Сметчик ____________________ ") + (signer.isEmpty() ? QString() : u'/' + signer + u'/');
}
inline QString address(const QString& a) { return QStringLiteral("Адрес: ") + a; }
inline QString phone(const QString& p) { return QStringLiteral("Тел.: ") + p; }
inline QString email(const QString& e) { return QStringLiteral("E-mail: ") + e; }
inline QString inn(const QString& i) { return QStringLiteral("ИНН ") + i; }
inline QString kpp(const QString& k) { return QStringLiteral("КПП ") + k; }
inline QString page(int k, int m) { return QStringLiteral("Стр. %1 из %2").arg(k).arg(m); }
inline QStringList columns()
{
    return {QStringLiteral("№"),      QStringLiteral("Обозначение"), QStringLiteral("Наименование"),
            QStringLiteral("Кол-во"), QStringLiteral("Ед."),         QStringLiteral("Цена"),
            QStringLiteral("Сумма")};
}

// ---------------------------------------------------------------- messages
inline QString emptyOrder() { return QStringLiteral("В заказе нет ни одного комплекта: коммерческое предложение не составлено."); }
inline QString noKit()
{
    return QStringLiteral("Нет рассчитанного комплекта: нажмите «РАСЧЕТ», затем печатайте предложение.");
}
inline QString sumTooLarge(const QString& designation)
{
    return QStringLiteral("Сумма по позиции %1 слишком велика: проверьте цену и количество.").arg(designation);
}
inline QString totalTooLarge() { return QStringLiteral("Итог предложения слишком велик: проверьте цены и количества."); }

inline QString cannotPaint() { return QStringLiteral("Не удалось начать печать: принтер или файл недоступен."); }
inline QString logoMissing(const QString& path)
{
    return QStringLiteral("Логотип %1 не найден: исправьте путь в реквизитах или уберите логотип.").arg(path);
}
inline QString logoNotPicture(const QString& path)
{
    return QStringLiteral("Файл логотипа %1 — не картинка PNG, JPEG или SVG.").arg(path);
}
inline QString logoTooLarge(const QString& path)
{
    return QStringLiteral("Логотип %1 слишком велик: возьмите картинку не больше 10 МБ и 6000 × 6000 точек.")
        .arg(path);
}

} // namespace lir::quotetexts
