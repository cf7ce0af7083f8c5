#pragma once

// The throwaway server tools/pgcluster.sh starts, for the tests and the
// benchmarks: where it listens, and a fresh database on it.
#include "core/db/storesettings.h"

#include <QFile>
#include <QHash>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <optional>

namespace lir::test {

// A connection named `name` to database `dbname` of server `s`.
inline QSqlDatabase connectServer(const QString& name, const db::ServerSettings& s, const QString& dbname)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
    db.setHostName(s.host);
    db.setPort(s.port);
    db.setUserName(s.user);
    db.setDatabaseName(dbname);
    db.open();
    return db;
}

// The server named in the file pgcluster.sh wrote, with a fresh database
// `dbname` on it; nothing, and the reason, where there is none.
inline std::optional<db::ServerSettings> freshServerDatabase(const QString& envFile, const QString& dbname,
                                                             QString* reason)
{
    QFile f(envFile);
    if (envFile.isEmpty() || !f.open(QIODevice::ReadOnly)) {
        *reason = QStringLiteral("no server was started (no file %1)").arg(envFile);
        return std::nullopt;
    }
    QHash<QString, QString> env;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (const qsizetype eq = line.indexOf('='); eq > 0)
            env.insert(QString::fromUtf8(line.left(eq)), QString::fromUtf8(line.mid(eq + 1)).trimmed());
    *reason = env.value(QStringLiteral("unavailable"));
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL")))
        *reason = QStringLiteral("Qt's PostgreSQL driver (libqt6sql6-psql) is not installed");
    if (!reason->isEmpty())
        return std::nullopt;
    const db::ServerSettings s{env.value(QStringLiteral("host")), env.value(QStringLiteral("port")).toInt(), dbname,
                               env.value(QStringLiteral("user"))};
    const QString name = QStringLiteral("lir.test.create");
    {
        QSqlDatabase admin = connectServer(name, s, QStringLiteral("postgres"));
        QSqlQuery q(admin);
        if (!admin.isOpen())
            *reason = QStringLiteral("cannot connect to %1: %2").arg(s.host, admin.lastError().text());
        else if (!q.exec(QStringLiteral("DROP DATABASE IF EXISTS \"%1\" WITH (FORCE)").arg(dbname)) ||
                 !q.exec(QStringLiteral("CREATE DATABASE \"%1\"").arg(dbname)))
            *reason = QStringLiteral("cannot make database %1: %2").arg(dbname, q.lastError().text());
    }
    QSqlDatabase::removeDatabase(name);
    return reason->isEmpty() ? std::optional(s) : std::nullopt;
}

} // namespace lir::test
