#include "core/db/storesettings.h"

#include "core/base/error.h"
#include "core/db/storage.h"
#include "core/db/storagetexts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

namespace lir::db {

namespace {

std::optional<ServerSettings>& serverSetting()
{
    static std::optional<ServerSettings> s;
    return s;
}

// QSettings takes a line that ends in a backslash and the next one for one
// line: "dbname=c2\" would swallow the user's line (and the error would then
// speak of another account), a backslash in another section the line
// "[database]" itself. The line is named instead.
void checkLineEnds(const QString& path, const QString& shown)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw Error(texts::settingsUnreadable(shown));
    for (int n = 1; !f.atEnd(); ++n) {
        QByteArray line = f.readLine();
        while (line.endsWith('\n') || line.endsWith('\r'))
            line.chop(1);
        if (line.trimmed().startsWith(';') || line.trimmed().startsWith('#'))
            continue;
        qsizetype backslashes = 0;
        while (backslashes < line.size() && line.at(line.size() - 1 - backslashes) == '\\')
            ++backslashes;
        if (backslashes % 2 == 1)
            throw Error(texts::settingsLineContinues(shown, n));
    }
}

} // namespace

std::optional<ServerSettings> readServerSettings(const QString& dir)
{
    const QString path = QDir(dir).filePath(settingsFileName());
    const QFileInfo info(path);
    if (!info.exists())
        return std::nullopt;
    const QString shown = QDir::toNativeSeparators(info.absoluteFilePath());
    if (!info.isFile() || !info.isReadable())
        throw Error(texts::settingsUnreadable(shown));

    checkLineEnds(path, shown);
    QSettings ini(path, QSettings::IniFormat);
    if (ini.status() != QSettings::NoError)
        throw Error(texts::settingsUnreadable(shown));
    ini.beginGroup(QStringLiteral("database"));
    const QString driver = ini.value(QStringLiteral("driver")).toString().trimmed().toLower();
    if (driver.isEmpty() || driver == QLatin1String("sqlite"))
        return std::nullopt;
    if (driver != QLatin1String("postgresql"))
        throw Error(texts::unknownDriver(shown, driver));
    if (ini.contains(QStringLiteral("password")))
        throw Error(texts::passwordInSettings(shown));

    ServerSettings s;
    s.host = ini.value(QStringLiteral("host")).toString().trimmed();
    s.dbname = ini.value(QStringLiteral("dbname")).toString().trimmed();
    s.user = ini.value(QStringLiteral("user")).toString().trimmed();
    if (ini.contains(QStringLiteral("port"))) {
        const QString text = ini.value(QStringLiteral("port")).toString().trimmed();
        bool ok = false;
        const int port = text.toInt(&ok);
        if (!ok || port < 1 || port > 65535)
            throw Error(texts::badPort(shown, text));
        s.port = port;
    }
    if (ini.contains(QStringLiteral("sslmode"))) {
        const QString mode = ini.value(QStringLiteral("sslmode")).toString().trimmed().toLower();
        if (!sslModes().contains(mode))
            throw Error(texts::badSslMode(shown, mode, sslModes().join(QStringLiteral(", "))));
        s.sslmode = mode;
    }
    if (s.dbname.isEmpty())
        throw Error(texts::noDatabaseName(shown));
    return s;
}

QStringList sslModes()
{
    return {QStringLiteral("disable"), QStringLiteral("prefer"), QStringLiteral("require"),
            QStringLiteral("verify-full")};
}

void setServer(const std::optional<ServerSettings>& server)
{
    serverSetting() = server;
}

const std::optional<ServerSettings>& server()
{
    return serverSetting();
}

void useStoreOf(const QString& dir)
{
    setNetFileDir(dir);
    setServer(readServerSettings(dir));
}

QString serverShown(const ServerSettings& s)
{
    const QString host = s.host.isEmpty() ? QStringLiteral("localhost") : s.host;
    return texts::serverShown(host + u':' + QString::number(s.port), s.dbname);
}

QString tablesPlace()
{
    if (const auto& s = server())
        return texts::onServer(serverShown(*s));
    return texts::inDirectory(QDir::toNativeSeparators(netFileDir()));
}

QString shownTable(const QString& fileName)
{
    if (usesServer() && fileName.endsWith(QStringLiteral(".db"), Qt::CaseInsensitive))
        return fileName.chopped(3);
    return fileName;
}

} // namespace lir::db
