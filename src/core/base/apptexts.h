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
// The answers of the start-up question, as a Russian system shows them.
inline QString answerYes() { return QStringLiteral("Да"); }
inline QString answerNo() { return QStringLiteral("Нет"); }
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

// A second start in a working directory where the program already runs.
inline QString alreadyRunning() { return QStringLiteral("Программа уже запущена в этой папке."); }
// A command-line program that was to write a table the program holds.
inline QString tablesInUse(const QString& dir, const QString& program, qint64 pid)
{
    return QStringLiteral("Таблицы в папке %1 сейчас использует программа %2 (процесс %3); таблица не записана. "
                          "Закройте программу и повторите.")
        .arg(dir, program.isEmpty() ? QStringLiteral("LIRComplect") : program, QString::number(pid));
}

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

// The About window.
inline QString aboutCaption() { return QStringLiteral("ЛИР-Комплект: о программе"); }
// Label1: the program's name and version.
inline QString aboutName(const QString& version) { return QStringLiteral("ЛИР-Комплект ").append(version); }
inline QString aboutDescription()
{
    return QStringLiteral("Программа расчёта комплектации поворотной фурнитуры ЛИР-6741, откидной фурнитуры ЛИР-6741 и поворотно-откидной фурнитуры ЛИР-6742 для окон из ПВХ- и деревянного профиля");
}
inline QString aboutCredit()
{
    return QStringLiteral("Разработка: команда проекта ЛИР-Комплект.\n"
                          "Таблицы цен и заказов (zeni.db, zakaz.db) хранятся в папке:");
}
// The same, for tables kept on a server.
inline QString aboutCreditServer()
{
    return QStringLiteral("Разработка: команда проекта ЛИР-Комплект.\n"
                          "Таблицы цен и заказов (zeni, zakaz) хранятся на сервере PostgreSQL:");
}
inline QString aboutServerHint() { return QStringLiteral("Сервер, названный в файле lircomplect.ini рабочей папки"); }
inline QString aboutMaker() { return QStringLiteral("Проект ЛИР-Комплект"); }
inline QString aboutBusiness()
{
    return QStringLiteral("Расчёт комплектов оконной фурнитуры ЛИР, их цены и заказы. Руководство пользователя:");
}
inline QString aboutTablesHint() { return QStringLiteral("Открыть папку с таблицами программы"); }
inline QString aboutGuideHint() { return QStringLiteral("Открыть руководство пользователя"); }
inline QString aboutClose() { return QStringLiteral("Закрыть"); }
// A link with nothing on this computer to open it: the address to copy.
inline QString cannotOpenLink(const QString& address)
{
    return QStringLiteral("Не удалось открыть ссылку: на компьютере нет программы, которая её открывает.\r"
                          "Скопируйте адрес (Ctrl+C) и откройте его сами:\r%1")
        .arg(address);
}

} // namespace lir::apptexts
