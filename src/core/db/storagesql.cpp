#include "core/db/storagesql.h"

#include "core/db/storagetexts.h"
#include "core/base/error.h"

#include <QDir>
#include <QRegularExpression>
#include <QSet>

namespace lir::db {

using Type = FieldDef::Type;

QString newConnectionName(const QString& table)
{
    static int counter = 0;
    return QStringLiteral("lir.db.%1.%2").arg(table, QString::number(++counter));
}

void closeConnection(QSqlDatabase& db, const QString& connection)
{
    if (db.isValid())
        db.close();
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase(connection);
}

Error engineFailure(const QString& path, const QSqlError& e)
{
    return Error(texts::engineError(QDir::toNativeSeparators(path)) + u'\r' + e.text());
}

void fail(const QString& path, const QSqlError& e)
{
    throw engineFailure(path, e);
}

bool tableNameOf(const QString& fileName, QString* table)
{
    if (fileName.contains(u'/') || fileName.contains(u'\\') || fileName.contains(QChar(0)))
        return false;
    if (!fileName.endsWith(QStringLiteral(".db"), Qt::CaseInsensitive) || fileName.size() <= 3)
        return false;
    *table = fileName.chopped(3);
    return true;
}

FieldDef fieldFromDeclaredType(const QString& name, const QString& declared)
{
    FieldDef f;
    f.name = name;
    const QString t = declared.toUpper();
    auto has = [&t](const char* word) { return t.contains(QLatin1String(word)); };
    if (has("CHAR") || has("TEXT") || has("CLOB")) {
        f.type = Type::Text;
        static const QRegularExpression sizeRe(QStringLiteral("\\(\\s*(\\d+)"));
        const QRegularExpressionMatch m = sizeRe.match(t);
        f.size = m.hasMatch() ? m.captured(1).toInt() : 0;
    } else if (has("INT")) {
        if (has("SMALLINT") && has("UNSIGNED"))
            f.type = Type::UInt16;
        else if (has("BIGINT") || has("INT8"))
            f.type = Type::Other;
        else
            f.type = Type::Int32;
    } else if (has("REAL") || has("FLOA") || has("DOUB") || has("NUMERIC") || has("DECIMAL")) {
        f.type = Type::Double;
    } else {
        f.type = Type::Other;
    }
    return f;
}

QStringList tableStatements(const QString& tableName, const QVector<FieldDef>& fields, const QString& shownName,
                            const std::function<QString(const FieldDef&)>& column, const LeadingColumn& leading)
{
    if (fields.isEmpty())
        throw Error(texts::badFieldDefinition(QString(), shownName));
    QStringList columns;
    QStringList statements;
    QSet<QString> seen;
    for (const FieldDef& f : fields) {
        if (f.name.trimmed().isEmpty() || f.name.contains(QChar(0)) || f.size < 0 ||
            seen.contains(f.name.toCaseFolded()) ||
            (!leading.name.isEmpty() && f.name.toCaseFolded() == leading.name))
            throw Error(texts::badFieldDefinition(f.name, shownName));
        seen.insert(f.name.toCaseFolded());
        columns << column(f);
        if (f.indexed)
            statements << QStringLiteral("CREATE INDEX ") + quoted(tableName + u'_' + f.name) +
                              QStringLiteral(" ON ") + quoted(tableName) + QStringLiteral(" (") +
                              quoted(f.name) + u')';
    }
    if (!leading.name.isEmpty())
        columns.prepend(quoted(leading.name) + u' ' + leading.definition);
    statements.prepend(QStringLiteral("CREATE TABLE ") + quoted(tableName) + QStringLiteral(" (") +
                       columns.join(QStringLiteral(", ")) + u')');
    return statements;
}

QString foldedForSearch(const QString& text)
{
    if (text.isNull())
        return QString();
    QString out;
    out.reserve(text.size());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        char32_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < n && text[i + 1].isLowSurrogate())
            c = QChar::surrogateToUcs4(char16_t(c), text[++i].unicode());
        const char32_t f = QChar::toCaseFolded(c);
        if (QChar::requiresSurrogates(f)) {
            out += QChar(QChar::highSurrogate(f));
            out += QChar(QChar::lowSurrogate(f));
        } else {
            out += QChar(char16_t(f));
        }
    }
    return out;
}

QString insertStatement(const QString& quotedTable, const QStringList& quotedColumns)
{
    QStringList marks;
    for (qsizetype i = 0; i < quotedColumns.size(); ++i)
        marks << QStringLiteral("?");
    return QStringLiteral("INSERT INTO ") + quotedTable + QStringLiteral(" (") +
           quotedColumns.join(QStringLiteral(", ")) + QStringLiteral(") VALUES (") +
           marks.join(QStringLiteral(", ")) + u')';
}

} // namespace lir::db
