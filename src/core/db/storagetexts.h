#pragma once

#include <QString>

// Texts of the storage layer. The engine's own messages are passed on as they come.
namespace lir::db::texts {

// The first line of every error of the storage engine; its own text follows.
inline QString engineError(const QString& path)
{
    return QStringLiteral("Ошибка при работе с таблицей %1").arg(path);
}
inline QString tableNotFound(const QString& file, const QString& dir)
{
    return QStringLiteral("Таблица %1 не найдена в каталоге %2").arg(file, dir);
}
inline QString badTableFileName(const QString& file)
{
    return QStringLiteral("Недопустимое имя файла таблицы: %1").arg(file);
}
inline QString noTableInFile(const QString& table, const QString& file)
{
    return QStringLiteral("В файле %1 нет таблицы %2").arg(file, table);
}
inline QString fieldNotFound(const QString& field, const QString& file)
{
    return QStringLiteral("Поле %1 не найдено в таблице %2").arg(field, file);
}
inline QString badFieldDefinition(const QString& field, const QString& file)
{
    return QStringLiteral("Недопустимое описание поля \"%1\" таблицы %2").arg(field, file);
}
inline QString notEditing(const QString& file)
{
    return QStringLiteral("Таблица %1 не находится в режиме правки или вставки").arg(file);
}
inline QString emptyTable(const QString& file)
{
    return QStringLiteral("Операция невозможна: таблица %1 пуста").arg(file);
}
inline QString rowGone(const QString& file)
{
    return QStringLiteral("Текущая запись таблицы %1 была удалена").arg(file);
}
inline QString notAnInteger(const QString& value, const QString& field)
{
    return QStringLiteral("'%1' не является допустимым целым числом (поле %2)").arg(value, field);
}
inline QString notANumber(const QString& value, const QString& field)
{
    return QStringLiteral("'%1' не является допустимым числом (поле %2)").arg(value, field);
}
inline QString outOfRange(const QString& value, const QString& field, qint64 min, qint64 max)
{
    return QStringLiteral("Значение %1 вне допустимого диапазона %2..%3 (поле %4)")
        .arg(value, QString::number(min), QString::number(max), field);
}

} // namespace lir::db::texts
