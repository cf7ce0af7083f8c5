#include "core/db/storage.h"

#include <QSqlQuery>

#include <sqlite3.h>

namespace lir::db {

// Over a file the values are taken as Qt's SQLite driver takes them: whole
// numbers as qlonglong, text through SQLite's UTF-16, so that a row reads the
// same through either way.

bool QueryRow::isNull(int column) const
{
    if (m_statement)
        return sqlite3_column_type(m_statement, column) == SQLITE_NULL;
    return m_query->isNull(column);
}

QVariant QueryRow::value(int column) const
{
    if (!m_statement)
        return m_query->isNull(column) ? QVariant() : m_query->value(column);
    switch (sqlite3_column_type(m_statement, column)) {
    case SQLITE_INTEGER:
        return QVariant(qlonglong(sqlite3_column_int64(m_statement, column)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(m_statement, column));
    case SQLITE_BLOB:
        return QVariant(QByteArray(static_cast<const char*>(sqlite3_column_blob(m_statement, column)),
                                   sqlite3_column_bytes(m_statement, column)));
    case SQLITE_NULL:
        return QVariant();
    default:
        return QVariant(text(column));
    }
}

qint64 QueryRow::integer(int column) const
{
    if (m_statement) {
        const int type = sqlite3_column_type(m_statement, column);
        if (type == SQLITE_INTEGER)
            return sqlite3_column_int64(m_statement, column);
        if (type == SQLITE_NULL)
            return 0;
    }
    bool ok = false;
    const qlonglong n = value(column).toLongLong(&ok);
    return ok ? n : 0;
}

double QueryRow::real(int column) const
{
    if (m_statement) {
        switch (sqlite3_column_type(m_statement, column)) {
        case SQLITE_INTEGER:
            return double(sqlite3_column_int64(m_statement, column));
        case SQLITE_FLOAT:
            return sqlite3_column_double(m_statement, column);
        case SQLITE_NULL:
            return 0;
        default:
            break;
        }
    }
    return value(column).toDouble();
}

QString QueryRow::text(int column) const
{
    if (m_statement) {
        const int type = sqlite3_column_type(m_statement, column);
        if (type == SQLITE_TEXT) {
            const void* utf16 = sqlite3_column_text16(m_statement, column);
            return QString(static_cast<const QChar*>(utf16),
                           sqlite3_column_bytes16(m_statement, column) / qsizetype(sizeof(QChar)));
        }
        if (type == SQLITE_NULL)
            return QString();
    }
    return value(column).toString();
}

void QueryRow::appendText(int column, QString& to) const
{
    if (m_statement && sqlite3_column_type(m_statement, column) == SQLITE_TEXT) {
        const void* utf16 = sqlite3_column_text16(m_statement, column);
        to.append(static_cast<const QChar*>(utf16),
                  sqlite3_column_bytes16(m_statement, column) / qsizetype(sizeof(QChar)));
        return;
    }
    to += text(column);
}

} // namespace lir::db
