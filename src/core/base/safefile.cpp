#include "core/base/safefile.h"

#include "core/base/error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lir {

QString fileErrorReason(int errnum)
{
    switch (errnum) {
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("нет такой папки");
    case ENOSPC:
        return QStringLiteral("диск заполнен");
    case EDQUOT:
        return QStringLiteral("диск заполнен (исчерпана квота)");
    case EACCES:
    case EPERM:
        return QStringLiteral("нет прав");
    case EROFS:
        return QStringLiteral("диск доступен только для чтения");
    case EFBIG:
        return QStringLiteral("превышен допустимый размер файла");
    case EISDIR:
        return QStringLiteral("это папка");
    case ENAMETOOLONG:
        return QStringLiteral("слишком длинное имя");
    case ELOOP:
        return QStringLiteral("слишком много символических ссылок");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("открыто слишком много файлов");
    case ENOMEM:
        return QStringLiteral("недостаточно памяти");
    case EIO:
        return QStringLiteral("ошибка ввода-вывода");
    case EBUSY:
    case ETXTBSY:
        return QStringLiteral("файл занят");
    case EINVAL:
        return QStringLiteral("недопустимое имя");
    default:
        break;
    }
    return QStringLiteral("системная ошибка %1 (%2)").arg(errnum).arg(QString::fromLocal8Bit(std::strerror(errnum)));
}

QString cannotWriteFile(const QString& path, const QString& reason)
{
    return QStringLiteral("Не удалось записать файл %1: %2")
        .arg(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()), reason);
}

QString resolvedFilePath(const QString& path)
{
    QString p = QFileInfo(path).absoluteFilePath();
    // A link may name a file that is not there yet; follow it by hand.
    for (int depth = 0; depth < 40; ++depth) {
        const QFileInfo fi(p);
        if (fi.exists())
            return fi.canonicalFilePath();
        if (!fi.isSymLink())
            break;
        p = fi.symLinkTarget();
    }
    const QFileInfo fi(p);
    const QString dir = QFileInfo(fi.absolutePath()).canonicalFilePath();
    return QDir::cleanPath((dir.isEmpty() ? fi.absolutePath() : dir) + QLatin1Char('/') + fi.fileName());
}

AtomicFile::AtomicFile(const QString& target) : m_target(target)
{
    m_final = resolvedFilePath(target);
    if (QFileInfo(m_final).isDir())
        failErrno(EISDIR);
    // Hidden beside the target, so that a run killed halfway leaves the
    // target whole and the leftover out of sight.
    const QFileInfo fi(m_final);
    QByteArray templ = QFile::encodeName(fi.absolutePath() + QStringLiteral("/.") + fi.fileName()) + ".XXXXXX";
    m_fd = ::mkostemp(templ.data(), O_CLOEXEC);
    if (m_fd < 0)
        failErrno(errno);
    m_temp = QFile::decodeName(templ);
    // The file gets the permissions the target has, or those of a new file.
    struct stat st;
    mode_t mode;
    if (::stat(QFile::encodeName(m_final).constData(), &st) == 0) {
        mode = st.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    ::fchmod(m_fd, mode);
}

AtomicFile::~AtomicFile()
{
    if (!m_committed)
        discard();
}

void AtomicFile::discard()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (!m_temp.isEmpty()) {
        ::unlink(QFile::encodeName(m_temp).constData());
        m_temp.clear();
    }
}

void AtomicFile::failErrno(int errnum)
{
    fail(fileErrorReason(errnum));
}

void AtomicFile::fail(const QString& reason)
{
    discard();
    throw Error(cannotWriteFile(m_target, reason));
}

void AtomicFile::write(const QByteArray& data)
{
    const char* p = data.constData();
    qsizetype left = data.size();
    while (left > 0) {
        const ssize_t n = ::write(m_fd, p, size_t(left));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            failErrno(errno);
        }
        p += n;
        left -= n;
    }
}

void AtomicFile::commit()
{
    // On the disk before it replaces anything: a crash after the rename must
    // not leave an empty file in place of the old one.
    if (::fsync(m_fd) != 0 && errno != EINVAL)
        failErrno(errno);
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0)
        failErrno(errno);
    if (::rename(QFile::encodeName(m_temp).constData(), QFile::encodeName(m_final).constData()) != 0)
        failErrno(errno);
    m_temp.clear();
    m_committed = true;
}

} // namespace lir
