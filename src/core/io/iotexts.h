#pragma once

#include <QDir>
#include <QLocale>
#include <QString>

// The messages of the file readers.
namespace lir::iotexts {

inline QString shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}
inline QString cannotRead(const QString& path, const QString& reason)
{
    return QStringLiteral("Не удалось прочитать файл %1: %2").arg(shown(path), reason);
}
inline QString emptyFile()
{
    return QStringLiteral("файл пуст");
}
inline QString binaryNotText()
{
    return QStringLiteral("это не текстовый файл CSV (в нём есть двоичные данные)");
}
inline QString notWorkbook(const QString& kind)
{
    return QStringLiteral("это не файл %1 (файл не является архивом ZIP или архив повреждён)").arg(kind);
}
inline QString damagedArchive(const QString& detail)
{
    return QStringLiteral("архив повреждён (%1)").arg(detail);
}
inline QString partMissing(const QString& kind, const QString& part)
{
    return QStringLiteral("это не файл %1: в архиве нет части %2").arg(kind, part);
}
inline QString tooLargeUnpacked(qint64 bytes, qint64 limit)
{
    return QStringLiteral("части архива занимают после распаковки %1 МБ, больше допустимых %2 МБ")
        .arg((bytes + (1 << 20) - 1) >> 20)
        .arg(limit >> 20);
}
inline QString badXml(const QString& part, qint64 line, const QString& detail)
{
    return QStringLiteral("часть %1 повреждена (строка %2: %3)").arg(part).arg(line).arg(detail);
}
inline QString noSuchSheet(int sheet, int count)
{
    return QStringLiteral("в книге нет листа %1 (листов: %2)").arg(sheet + 1).arg(count);
}
inline QString tooManyRows(int limit)
{
    return QStringLiteral("в таблице больше %1 строк").arg(QLocale(QLocale::Russian).toString(limit));
}
inline QString unknownFormat()
{
    return QStringLiteral("формат файла не поддерживается (читаются файлы .csv, .txt, .xlsx и .ods)");
}
inline QString unclosedQuote(int line)
{
    return QStringLiteral("кавычка, открытая в строке %1, не закрыта до конца файла").arg(line);
}

} // namespace lir::iotexts
