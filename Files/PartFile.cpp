#include "PartFile.h"

#include "Sha256.h"

#include "FileNames.h"
#include "Sha256.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QStorageInfo>

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

bool WriteAll(int descriptor, const char *data, qint64 size, qint64 at)
{
    while (size > 0) {
        const ssize_t written = pwrite(descriptor, data, size_t(size), at);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        size -= written;
        at += written;
    }
    return true;
}

// Adds the file's first `size` bytes to the hash; false when they cannot be read.
bool HashInto(Sha256 &hash, int descriptor, qint64 size)
{
    QByteArray buffer(1024 * 1024, Qt::Uninitialized);
    for (qint64 at = 0; at < size;) {
        const ssize_t taken = pread(descriptor, buffer.data(), size_t(std::min<qint64>(buffer.size(), size - at)), at);
        if (taken < 0 && errno == EINTR)
            continue;
        if (taken <= 0)
            return false;
        hash.add(QByteArrayView(buffer.constData(), taken));
        at += taken;
    }
    return true;
}

constexpr char kCheckedAttribute[] = "user.vanu.checked";

// What the part says of itself was checked, if it is sound: whole blocks (or
// the whole file) that the part holds.
qint64 CheckedOnPart(int descriptor, qint64 partSize, qint64 fileSize)
{
    char value[32] = {};
    const ssize_t length = fgetxattr(descriptor, kCheckedAttribute, value, sizeof value - 1);
    if (length <= 0)
        return 0;
    bool number = false;
    const qint64 checked = QByteArray(value, length).toLongLong(&number);
    if (!number || checked < 0 || checked > partSize || checked > fileSize
        || (checked % PartFile::kBlockSize != 0 && checked != fileSize))
        return 0;
    return checked;
}

} // namespace

PartFile::PartFile(int descriptor, QString path, QString name, qint64 size, QByteArray sha256, qint64 verified)
    : descriptor(descriptor), path(std::move(path)), name(std::move(name)), size(size), sha256(std::move(sha256)),
      verified(verified)
{
    // What an earlier run checked counts in the whole file's hash: read once here, not again at the end.
    if (!HashInto(whole, descriptor, verified)) {
        this->verified = 0;
        whole.reset();
    }
}

PartFile::~PartFile()
{
    ::close(descriptor);
}

bool PartFile::hasRoom(const QString &folder, qint64 size, QString &error)
{
    const QStorageInfo storage(folder);
    if (!storage.isValid())
        return true; // nothing to tell; the writes will say
    const qint64 free = storage.bytesAvailable();
    if (free >= size)
        return true;
    const QLocale locale;
    error = QCoreApplication::translate("PartFile", "Not enough room in %1: %2 are needed and %3 are free.")
                .arg(QDir::toNativeSeparators(folder), locale.formattedDataSize(size), locale.formattedDataSize(free));
    return false;
}

std::unique_ptr<PartFile> PartFile::create(const QString &folder, const QString &name, qint64 size,
                                           const QByteArray &sha256, QString &error)
{
    if (!hasRoom(folder, size, error))
        return nullptr;
    const QString partPath = QDir(folder).filePath(FileNames::freeName(folder, name + QStringLiteral(".part")));
    // Made here and now, never an existing file or a link: mode 0600 until it is whole.
    const int descriptor =
        ::open(QFile::encodeName(partPath).constData(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (descriptor < 0) {
        error = QCoreApplication::translate("PartFile", "Cannot write %1: %2").arg(QDir::toNativeSeparators(partPath), QString::fromLocal8Bit(std::strerror(errno)));
        return nullptr;
    }
    return std::unique_ptr<PartFile>(new PartFile(descriptor, partPath, name, size, sha256, 0));
}

std::unique_ptr<PartFile> PartFile::reopen(const QString &partPath, const QString &name, qint64 size,
                                           const QByteArray &sha256, qint64 verified, QString &error)
{
    const int descriptor = ::open(QFile::encodeName(partPath).constData(), O_RDWR | O_NOFOLLOW | O_CLOEXEC);
    struct stat status;
    if (descriptor < 0 || fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode) || status.st_size < verified
        || (verified % kBlockSize != 0 && verified != size)) {
        if (descriptor >= 0)
            ::close(descriptor);
        error = QCoreApplication::translate("PartFile", "The part received of %1 is gone: it starts again.").arg(name);
        return nullptr;
    }
    return std::unique_ptr<PartFile>(new PartFile(descriptor, partPath, name, size, sha256,
                                                  std::max(verified, CheckedOnPart(descriptor, status.st_size, size))));
}

PartFile::Written PartFile::writeBlock(const QByteArray &block, const QByteArray &announcedSha256)
{
    if (block.size() != std::min(kBlockSize, size - verified) || block.isEmpty())
        return Written::WrongSize;
    if (Sha256::of(block) != announcedSha256)
        return Written::HashFailed;
    if (!WriteAll(descriptor, block.constData(), block.size(), verified))
        return Written::DiskError;
    verified += block.size();
    whole.add(block);
    // Kept on the part itself as each block is checked, at no cost: a copy
    // killed before it wrote down its progress loses none of it.
    const QByteArray checked = QByteArray::number(verified);
    fsetxattr(descriptor, kCheckedAttribute, checked.constData(), size_t(checked.size()), 0);
    return Written::Block;
}

std::optional<QString> PartFile::finish(QString &error)
{
    // A large file is on the disk before it takes its name; a small one costs more to sync than it is worth.
    const bool synced = size <= kBlockSize || fdatasync(descriptor) == 0;
    if (!isComplete() || !synced || whole.result() != sha256) {
        error = QCoreApplication::translate("PartFile", "%1 did not arrive as it was sent: its SHA-256 does not match.").arg(name);
        return std::nullopt;
    }
    fremovexattr(descriptor, kCheckedAttribute); // the named file carries nothing of its way here
    // The usual mode for a new file, with no execute bit whatever the sender's was.
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(descriptor, 0666 & ~mask);
    const QString folder = QFileInfo(path).absolutePath();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString target = QDir(folder).filePath(FileNames::freeName(folder, name));
        // Never over anything: a name taken meanwhile makes the next try another.
        if (renameat2(AT_FDCWD, QFile::encodeName(path).constData(), AT_FDCWD, QFile::encodeName(target).constData(),
                      RENAME_NOREPLACE)
            == 0)
            return target;
        if (errno != EEXIST)
            break;
    }
    error = QCoreApplication::translate("PartFile", "Cannot give %1 its name: %2").arg(name, QString::fromLocal8Bit(std::strerror(errno)));
    return std::nullopt;
}
