#pragma once

#include <QString>
#include <QStringList>

// The texts of the command-line calculator's error lines. They are part of
// its line protocol, which is English.
namespace lir::cli::texts {

inline QString notJson(const QString& reason) { return QStringLiteral("not valid JSON: ") + reason; }
inline QString notAnObject() { return QStringLiteral("a line must hold one JSON object"); }
inline QString loneSurrogate()
{
    return QStringLiteral("not valid Unicode: a text holds half of a surrogate pair");
}
inline QString nulInLine() { return QStringLiteral("a line must not contain a NUL byte"); }

// "unknown calculator (expected "6741", "6742" or "6741otkid")"
inline QString unknownCalculator(const QStringList& models)
{
    QStringList quotedModels;
    for (const QString& m : models)
        quotedModels << QLatin1Char('"') + m + QLatin1Char('"');
    const QString last = quotedModels.takeLast();
    return QStringLiteral("unknown calculator (expected ") + quotedModels.join(QStringLiteral(", "))
           + QStringLiteral(" or ") + last + QLatin1Char(')');
}
inline QString unknownKey(const QString& calculator, const QString& key)
{
    return QStringLiteral("unknown key for calculator %1: %2").arg(calculator, key);
}

inline QString notAnItem(const QString& key, const QStringList& items)
{
    return QStringLiteral("%1 must be one of: %2").arg(key, items.join(QStringLiteral(", ")));
}
inline QString notABool(const QString& key) { return QStringLiteral("%1 must be true or false").arg(key); }
inline QString notWhole(const QString& key) { return QStringLiteral("%1 must be a whole number").arg(key); }
inline QString outOfRange(const QString& key, int lo, int hi)
{
    return QStringLiteral("%1 must be between %2 and %3").arg(key).arg(lo).arg(hi);
}
inline QString notAPath(const QString& key) { return QStringLiteral("%1 must be a file path").arg(key); }
inline QString nulInPath(const QString& key)
{
    return QStringLiteral("%1 must be a file path without a NUL character").arg(key);
}

} // namespace lir::cli::texts
