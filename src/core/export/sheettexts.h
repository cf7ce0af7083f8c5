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
// A sheet written without a spreadsheet application to show it: where it is.
inline QString sheetSaved(const QString& file)
{
    return QStringLiteral("Таблица сохранена в файле %1").arg(file);
}
// The spreadsheet program that was to show a saved workbook.
inline QString spreadsheetFailed(const QString& program, int exitCode, const QString& file)
{
    return QStringLiteral("Программа %1 завершилась с ошибкой (код %2) и не открыла книгу.\rКнига сохранена в файле %3")
        .arg(program, QString::number(exitCode), file);
}
inline QString spreadsheetCrashed(const QString& program, const QString& file)
{
    return QStringLiteral("Программа %1 завершилась аварийно и не открыла книгу.\rКнига сохранена в файле %2")
        .arg(program, file);
}
inline QString spreadsheetNotStarted(const QString& program, const QString& file)
{
    return QStringLiteral("Не удалось запустить программу %1.\rКнига сохранена в файле %2").arg(program, file);
}
inline QString targetIsProgramTable(const QString& path, const QString& table)
{
    return QStringLiteral("Лист не записан: файл %1 — это таблица программы %2.").arg(path, table);
}
inline QString targetIsLockFile(const QString& path, const QString& lockFile)
{
    return QStringLiteral("Лист не записан: файл %1 — это файл блокировки программы %2.").arg(path, lockFile);
}
inline QString targetIsDatabase(const QString& path)
{
    return QStringLiteral("Лист не записан: файл %1 — это файл базы данных.").arg(path);
}

// ---------------------------------------------------------------- order summary
inline QString priceTitle() { return QStringLiteral("Цена"); }
inline QString sumTitle() { return QStringLiteral("Сумма"); }
inline QStringList summaryHtmlTitles()
{
    return {QStringLiteral("Суммарный заказ(комплектующие) "), QStringLiteral("Суммарный заказ(комплекты)"),
            QStringLiteral("Суммарный заказ (комплекты+комплектующие)")};
}
inline QStringList summaryWorkbookTitles()
{
    return {QStringLiteral("Суммарный заказ (комплектующие)"), QStringLiteral("Суммарный заказ (комплекты)"),
            QStringLiteral("Суммарный заказ (комплекты+комплектующие)")};
}
// The note of the workbook, with the markup as typed.
inline QString summaryNote(const QString& markup)
{
    return QStringLiteral("Примечание: рассчитано с наценкой ") + markup + QLatin1Char('%');
}
// A markup that would turn every price negative.
inline QString markupTooLow(int percent)
{
    return QStringLiteral("Наценка %1% меньше -100%: цены стали бы отрицательными. Введите наценку от -100 и больше.")
        .arg(percent);
}

} // namespace lir::sheettexts
