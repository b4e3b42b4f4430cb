#include "FileWriting.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace {

constexpr mode_t kNewFileMode = 0666; // less the user's umask, as for any new file
constexpr mode_t kPrivateFileMode = 0600;
constexpr mode_t kPrivateFolderMode = 0700;
constexpr int kMostNameTries = 100;

bool WriteAll(int fd, const QByteArray &bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t written = write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        done += written;
    }
    return true;
}

// A new file of a name no other has, in the folder of `path`; -1 if none can be made.
int CreateBeside(const QString &path, QByteArray &made, mode_t mode)
{
    const QFileInfo info(path);
    for (int attempt = 0; attempt < kMostNameTries; ++attempt) {
        const QString name = QStringLiteral(".%1.%2")
                                 .arg(info.fileName())
                                 .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
        made = QFile::encodeName(info.dir().filePath(name));
        const int fd = open(made.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

bool WriteInPlace(const QByteArray &name, const QByteArray &bytes, mode_t mode)
{
    const int fd = open(name.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, mode);
    if (fd < 0)
        return false;
    const bool written = WriteAll(fd, bytes) && fsync(fd) == 0;
    return close(fd) == 0 && written;
}

} // namespace

WriteTarget TargetOfWrite(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isSymLink())
        return {path, info.exists(), false};
    const QString target = info.canonicalFilePath(); // empty when the links lead nowhere
    if (target.isEmpty())
        return {info.symLinkTarget(), true, true};
    return {target, true, false};
}

void MakeFolderFor(const QString &path)
{
    const QString folder = QFileInfo(path).absolutePath();
    if (!QFileInfo::exists(folder) && QDir().mkpath(folder))
        chmod(QFile::encodeName(folder).constData(), kPrivateFolderMode);
}

bool WriteWholeFile(const QString &path, const QByteArray &bytes, FileAccess access)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat existing {};
    const bool replacesAFile = lstat(name.constData(), &existing) == 0 && S_ISREG(existing.st_mode);
    const bool isPrivate = access == FileAccess::Private;
    const mode_t newMode = isPrivate ? kPrivateFileMode : kNewFileMode;
    QByteArray beside;
    const int fd = CreateBeside(path, beside, newMode);
    if (fd < 0)
        return WriteInPlace(name, bytes, newMode);
    const bool keepsMode = isPrivate || !replacesAFile; // made with the mode it keeps
    bool written = WriteAll(fd, bytes) && (keepsMode || fchmod(fd, existing.st_mode & 07777) == 0)
                   && fsync(fd) == 0;
    written = close(fd) == 0 && written;
    // rename() replaces the name itself: a link there now is not followed.
    if (written && rename(beside.constData(), name.constData()) == 0)
        return true;
    unlink(beside.constData());
    return false;
}

void KeepPrivate(const QString &path, MissingFile missing)
{
    MakeFolderFor(path);
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    struct stat info {};
    if (lstat(folder.constData(), &info) == 0 && S_ISDIR(info.st_mode) && (info.st_mode & 077) != 0
        && info.st_uid == geteuid())
        chmod(folder.constData(), kPrivateFolderMode);
    const QByteArray name = QFile::encodeName(path);
    if (missing == MissingFile::Make) {
        const int made = open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, kPrivateFileMode);
        if (made >= 0) {
            close(made); // made just now: nobody holds it yet
            return;
        }
    }
    if (lstat(name.constData(), &info) == 0 && S_ISREG(info.st_mode) && (info.st_mode & 077) != 0)
        chmod(name.constData(), kPrivateFileMode);
}
