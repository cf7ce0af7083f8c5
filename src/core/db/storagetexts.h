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

inline QString badRowValue(int row, const QString& reason)
{
    return QStringLiteral("Строка %1: %2").arg(QString::number(row), reason);
}

// The store of the tables: lircomplect.ini and a PostgreSQL server.
inline QString settingsUnreadable(const QString& path)
{
    return QStringLiteral("Не удалось прочитать файл настроек %1").arg(path);
}
inline QString unknownDriver(const QString& path, const QString& driver)
{
    return QStringLiteral("В файле настроек %1 указан неизвестный драйвер базы данных \"%2\": допустимы sqlite и postgresql")
        .arg(path, driver);
}
inline QString passwordInSettings(const QString& path)
{
    return QStringLiteral("Файл настроек %1 не должен хранить пароль: удалите из него строку password и укажите "
                          "пароль в файле ~/.pgpass или в переменной окружения PGPASSWORD")
        .arg(path);
}
inline QString badPort(const QString& path, const QString& port)
{
    return QStringLiteral("В файле настроек %1 указан неверный порт сервера \"%2\": нужен номер от 1 до 65535")
        .arg(path, port);
}
inline QString settingsLineContinues(const QString& path, int line)
{
    return QStringLiteral("В файле настроек %1 строка %2 кончается знаком \\: так следующая строка становится "
                          "частью её значения. Уберите \\ в конце строки %2")
        .arg(path, QString::number(line));
}
inline QString noDatabaseName(const QString& path)
{
    return QStringLiteral("В файле настроек %1 не указана база данных сервера (dbname)").arg(path);
}
inline QString serverShown(const QString& hostAndPort, const QString& dbname)
{
    return QStringLiteral("%1, база данных %2").arg(hostAndPort, dbname);
}
inline QString onServer(const QString& server)
{
    return QStringLiteral("на сервере %1").arg(server);
}
inline QString inDirectory(const QString& dir)
{
    return QStringLiteral("в каталоге %1").arg(dir);
}
inline QString tableOnServer(const QString& table, const QString& server)
{
    return QStringLiteral("%1 на сервере %2").arg(table, server);
}
inline QString noServerDriver()
{
    return QStringLiteral("Драйвер PostgreSQL для Qt не установлен: установите пакет libqt6sql6-psql");
}
inline QString serverUnreachable(const QString& server)
{
    return QStringLiteral("Не удалось подключиться к серверу базы данных %1").arg(server);
}
inline QString serverTableNotFound(const QString& table, const QString& server)
{
    return QStringLiteral("Таблица %1 не найдена на сервере %2").arg(table, server);
}
inline QString noOrderColumn(const QString& table, const QString& server)
{
    return QStringLiteral("У таблицы %1 на сервере %2 нет столбца порядка записей rowid").arg(table, server);
}
inline QString connectionLost(const QString& table, const QString& server)
{
    return QStringLiteral("Связь с сервером базы данных %2 прервана: действие с таблицей %1 не выполнено.\r"
                          "Следующее действие подключится к серверу заново.")
        .arg(table, server);
}
inline QString rowChangedByOthers(const QString& table)
{
    return QStringLiteral("Запись таблицы %1 изменил другой пользователь, пока вы её правили: ваше изменение не "
                          "записано.\rПоказаны новые значения записи; внесите изменение ещё раз.")
        .arg(table);
}

inline QString nestedTransaction()
{
    return QStringLiteral("транзакция уже начата");
}
inline QString serverTableNotEmpty(const QString& table, const QString& server)
{
    return QStringLiteral("Таблица %1 на сервере %2 уже содержит записи: копирование отменено, на сервере ничего "
                          "не изменено")
        .arg(table, server);
}
inline QString copyRowRefused(const QString& file, const QString& reason)
{
    return QStringLiteral("Таблица %1 не скопирована на сервер, на сервере ничего не изменено\r%2").arg(file, reason);
}

// Tables in the Paradox format.
inline QString notParadoxTable(const QString& file)
{
    return QStringLiteral("Файл %1 не является таблицей Paradox").arg(file);
}
inline QString cannotReadParadox(const QString& file, const QString& reason)
{
    return QStringLiteral("Не удалось прочитать таблицу Paradox %1\r%2").arg(file, reason);
}
inline QString paradoxTruncated(const QString& file, qint64 size, qint64 needed)
{
    return QStringLiteral("Таблица Paradox %1 обрезана: в файле %2 байт, а его записям нужно не меньше %3")
        .arg(file, QString::number(size), QString::number(needed));
}
inline QString paradoxLibraryMissing(const QString& detail)
{
    return QStringLiteral("Не удалось загрузить библиотеку pxlib, которой читаются таблицы Paradox (%1). "
                          "Установите пакет pxlib1.")
        .arg(detail);
}

inline QString paradoxDamaged(const QString& file, const QString& detail)
{
    return QStringLiteral("Таблица Paradox %1 повреждена: %2").arg(file, detail);
}
inline QString paradoxBadBlock(int block)
{
    return QStringLiteral("цепочка блоков данных нарушена на блоке %1").arg(block);
}
inline QString paradoxBadBlockSize(int block)
{
    return QStringLiteral("неверный размер данных в блоке %1").arg(block);
}
inline QString paradoxRecordCount(qint64 counted, qint64 header)
{
    return QStringLiteral("в блоках данных %1 записей, а в заголовке %2")
        .arg(QString::number(counted), QString::number(header));
}
inline QString paradoxRecordLayout(int recordSize, int fieldsSize)
{
    return QStringLiteral("длина записи %1 байт не равна сумме длин полей %2")
        .arg(QString::number(recordSize), QString::number(fieldsSize));
}
inline QString paradoxBadField(int number, int type, int length)
{
    return QStringLiteral("неверное описание поля %1 (тип %2, длина %3)")
        .arg(QString::number(number), QString::number(type), QString::number(length));
}
inline QString paradoxDuplicateField(const QString& field)
{
    return QStringLiteral("поле %1 описано дважды").arg(field);
}
inline QString paradoxCannotReadRecord(int record, const QString& reason)
{
    return QStringLiteral("не удалось прочитать запись %1: %2").arg(QString::number(record), reason);
}
inline QString paradoxCannotReadField(int record, const QString& field, const QString& reason)
{
    return QStringLiteral("не удалось прочитать поле %1 записи %2: %3")
        .arg(field, QString::number(record), reason);
}
inline QString paradoxUnreadableValue(const QString& type)
{
    return QStringLiteral("значение типа %1 не читается").arg(type);
}
inline QString paradoxEncrypted(const QString& file)
{
    return QStringLiteral("Таблица Paradox %1 защищена паролем: снимите пароль в программе, которой она записана")
        .arg(file);
}
inline QString paradoxFieldNotCarried(const QString& field, const QString& file, const QString& type)
{
    return QStringLiteral("Поле %1 таблицы Paradox %2 имеет тип %3, который не переносится")
        .arg(field, file, type);
}

inline QString badSslMode(const QString& file, const QString& mode, const QString& allowed)
{
    return QStringLiteral("В файле настроек %1 указан неизвестный режим шифрования sslmode \"%2\": допустимы %3")
        .arg(file, mode, allowed);
}
// The server refused a write for want of a right (perhaps taken away while the program runs).
inline QString writeNotPermitted(const QString& table)
{
    return QStringLiteral("Сервер не разрешил эту запись в таблицу %1: у учётной записи нет на неё права. "
                          "Изменения не сохранены.")
        .arg(table);
}

} // namespace lir::db::texts
