#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// Where the program's tables are kept. By default SQLite files in the tables'
// directory; an office may point every copy of the program at one PostgreSQL
// server instead, in the file lircomplect.ini of the working directory:
//
//   [database]
//   driver=postgresql
//   host=server.office.local
//   port=5432
//   dbname=lircomplect
//   user=smeta
//   sslmode=verify-full
//
// sslmode is libpq's: disable, prefer (the default: encrypted where the
// server offers it), require, verify-full (encrypted to the server whose
// certificate the CA file of libpq's defaults, ~/.postgresql/root.crt,
// vouches for, under the host name given); across a network verify-full.
//
// The password never stands in that file: libpq reads it from ~/.pgpass or
// from PGPASSWORD.
namespace lir::db {

struct ServerSettings
{
    QString host;   // empty: libpq's default (the local Unix socket)
    int port = 5432;
    QString dbname;
    QString user;   // empty: libpq's default (the login name)
    QString sslmode = QStringLiteral("prefer");

    bool operator==(const ServerSettings&) const = default;
};

inline QString settingsFileName()
{
    return QStringLiteral("lircomplect.ini");
}

// The server lircomplect.ini in `dir` names; nothing when there is no such
// file or it keeps the tables in files. A file that cannot be read or names
// something the program cannot use is an error that says what to mend.
std::optional<ServerSettings> readServerSettings(const QString& dir);

// The values sslmode may take.
QStringList sslModes();

// The store of every table opened after the call: a server, or none for the
// files of the tables' directory. Set it before the first table is opened.
void setServer(const std::optional<ServerSettings>& server);
const std::optional<ServerSettings>& server();
inline bool usesServer()
{
    return server().has_value();
}

// The tables' directory and lircomplect.ini read from it: what the program
// and the command-line programs do at start.
void useStoreOf(const QString& dir);

// The server as messages name it: "host:port, база данных dbname".
QString serverShown(const ServerSettings& s);

// Where the tables are, as messages name the place: "в каталоге <dir>" or
// "на сервере <host:port>, база данных <dbname>".
QString tablesPlace();

// A table as messages name it: its file ("zeni.db"), or on a server the
// table itself ("zeni").
QString shownTable(const QString& fileName);

} // namespace lir::db
