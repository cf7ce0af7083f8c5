#include "core/base/safefile.h"

#include "core/base/error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <limits>

#include <fcntl.h>
#include <signal.h>
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
    // A NUL would end the message where it is shown.
    const QString shown = QDir::toNativeSeparators(QFileInfo(QString(path).replace(QChar(0), QChar(0xFFFD))).absoluteFilePath());
    return QStringLiteral("Не удалось записать файл %1: %2").arg(shown, reason);
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

QString writeTargetProblem(const QString& path)
{
    if (path.contains(QChar(0)))
        return QStringLiteral("недопустимое имя: в нём знак NUL");
    struct stat st;
    // Through links: the file a link names is the one that would be replaced.
    if (::stat(QFile::encodeName(resolvedFilePath(path)).constData(), &st) != 0 || S_ISREG(st.st_mode))
        return {};
    if (S_ISDIR(st.st_mode))
        return fileErrorReason(EISDIR);
    if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode))
        return QStringLiteral("это не файл, а устройство");
    if (S_ISFIFO(st.st_mode))
        return QStringLiteral("это не файл, а именованный канал");
    if (S_ISSOCK(st.st_mode))
        return QStringLiteral("это не файл, а сокет");
    return QStringLiteral("это не обычный файл");
}

void checkWriteTarget(const QString& path)
{
    const QString problem = writeTargetProblem(path);
    if (!problem.isEmpty())
        throw Error(cannotWriteFile(path, problem));
}

namespace {

const QString temporaryMark = QStringLiteral(".~lir-");

bool processAlive(qint64 pid)
{
    if (pid <= 0 || pid > std::numeric_limits<pid_t>::max())
        return false;
    return pid == ::getpid() || ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
}

} // namespace

QByteArray temporaryFileTemplate(const QString& finalPath)
{
    const QFileInfo fi(finalPath);
    return QFile::encodeName(fi.absolutePath() + QStringLiteral("/.") + fi.fileName() + temporaryMark
                             + QString::number(::getpid()) + QStringLiteral(".XXXXXX"));
}

int removeStaleTemporaryFiles(const QString& dir)
{
    // What temporaryFileTemplate() makes, and the journal the engine may
    // keep beside a table written under such a name.
    static const QRegularExpression name(QStringLiteral("^\\..+") + QRegularExpression::escape(temporaryMark)
                                         + QStringLiteral("([0-9]{1,10})\\.[A-Za-z0-9]{6}(-journal|-wal|-shm)?$"));
    int removed = 0;
    const QFileInfoList files = QDir(dir).entryInfoList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QFileInfo& f : files) {
        const QRegularExpressionMatch m = name.match(f.fileName());
        if (!m.hasMatch() || f.isSymLink() || processAlive(m.captured(1).toLongLong()))
            continue;
        if (::unlink(QFile::encodeName(f.absoluteFilePath()).constData()) == 0)
            ++removed;
    }
    return removed;
}

AtomicFile::AtomicFile(const QString& target) : m_target(target)
{
    const QString problem = writeTargetProblem(target);
    if (!problem.isEmpty())
        fail(problem);
    m_final = resolvedFilePath(target);
    if (QFileInfo(m_final).isDir())
        failErrno(EISDIR);
    // Hidden beside the target, so that a run killed halfway leaves the
    // target whole and the leftover out of sight.
    QByteArray templ = temporaryFileTemplate(m_final);
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
