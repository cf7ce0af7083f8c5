#pragma once

#include <QString>

// Texts of the application shell.
namespace lir::apptexts {

inline QString engineMissingQuestion()
{
    return QStringLiteral("На вашем компьютере не установлен - <BDE>, \r"
                          "необходим для работы программы с базой данных.\r"
                          "Для дальнейшей работы требуется его установить.\r"
                          "Установить?");
}
inline QString messageCaption() { return QStringLiteral("Сообщение"); }
inline QString errorCaption() { return QStringLiteral("Error"); }
inline QString applicationTitle() { return QStringLiteral("LIRComplect"); }
inline QString launcherCaption() { return QStringLiteral("ЛИР-Комплектация"); }

// The launcher's status line while the mouse is over a button.
inline QString status6742() { return QStringLiteral("Расчёт комплектации поворотно-откидной фурнитуры ЛИР-6742"); }
inline QString status6741() { return QStringLiteral("Расчёт комплектации поворотной фурнитуры ЛИР-6741"); }
inline QString status6741otkid() { return QStringLiteral("Расчёт комплектации откидной фурнитуры ЛИР-6741"); }
inline QString statusPrices() { return QStringLiteral("Расчётные цены"); }
inline QString statusSum() { return QStringLiteral("Суммирование заказов"); }
inline QString statusHistory() { return QStringLiteral("История заказов"); }
inline QString statusAbout() { return QStringLiteral("О Фирме и программе"); }

inline QString cannotOpenSource(const QString& file)
{
    return QStringLiteral("Не удалось открыть файл %1").arg(file);
}
inline QString cannotWriteTarget(const QString& file)
{
    return QStringLiteral("Не удалось записать файл %1").arg(file);
}
inline QString cannotStartProgram(const QString& program, const QString& reason)
{
    return QStringLiteral("Не удалось запустить программу %1: %2").arg(program, reason);
}

} // namespace lir::apptexts
