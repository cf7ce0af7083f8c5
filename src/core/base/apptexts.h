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

} // namespace lir::apptexts
