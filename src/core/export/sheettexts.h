#pragma once

#include <QString>
#include <QStringList>

// Texts of the kit sheet and its messages.
namespace lir::sheettexts {

inline QString handleHeight() { return QStringLiteral("Высота ручки:"); }
inline QString handleWidth() { return QStringLiteral("Ширина ручки:"); }
inline QString total() { return QStringLiteral("Итого"); }
inline QString sheetName() { return QStringLiteral("Лист1"); }
inline QString sashSize(int ffh, int ffb)
{
    return QStringLiteral("Размер створки по фальцу (высота * ширина): %1mm * %2mm").arg(ffh).arg(ffb);
}
inline QString profileSystemLabel() { return QStringLiteral("Система профилей: "); }
inline QString profileSystemNameLabel() { return QStringLiteral("Название системы профилей: "); }
inline QString ralLabel() { return QStringLiteral("Цвет (RAL): "); }
inline QString kitCountLabel() { return QStringLiteral("Количество комплектов: "); }
inline QStringList workbookHeaders()
{
    return {QStringLiteral("№ п/п"),        QStringLiteral("Обозначение"),  QStringLiteral("Наименование"),
            QStringLiteral("Маркировка"),   QStringLiteral("Количество "),  QStringLiteral("Шурупы(4*25)"),
            QStringLiteral("Шурупы(4*40)"), QStringLiteral("Цена"),         QStringLiteral("Сумма")};
}
inline QString saveFilter() { return QStringLiteral("*.htm (*html)"); }
inline QString saveSuffix() { return QStringLiteral("html"); }
inline QString cannotWrite(const QString& path, const QString& reason)
{
    return QStringLiteral("Не удалось записать файл %1: %2").arg(path, reason);
}

} // namespace lir::sheettexts
