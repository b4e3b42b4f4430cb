#pragma once

#include "Sha256.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>

// A file on its way in: written as "name.part" (mode 0600, never through a
// link), block by block in order, each block checked against the SHA-256 the
// sender announced for it before a byte of it is written. Once every block
// is in and the whole file's SHA-256 matches the offer's, it takes its name,
// one that nothing in the folder has, and the usual mode without any
// execute bit. A break costs nothing that was checked: the transfer goes on
// from verifiedBytes().
class PartFile {
public:
    // Blocks of 4 MiB: what one check covers, and what a failed one costs again.
    static constexpr qint64 kBlockSize = 4 * 1024 * 1024;

    enum class Written { Block, HashFailed, WrongSize, DiskError };

    ~PartFile();
    PartFile(const PartFile &) = delete;
    PartFile &operator=(const PartFile &) = delete;

    // A new part file for `name` in the folder; null, with the reason, when
    // it cannot be made (the folder is not there, or has no room for `size`).
    static std::unique_ptr<PartFile> create(const QString &folder, const QString &name, qint64 size,
                                            const QByteArray &sha256, QString &error);
    // The part file of an earlier run, whose first `verified` bytes were checked.
    static std::unique_ptr<PartFile> reopen(const QString &partPath, const QString &name, qint64 size,
                                            const QByteArray &sha256, qint64 verified, QString &error);

    // The next block, with the hash its sender announced for it.
    Written writeBlock(const QByteArray &block, const QByteArray &announcedSha256);
    qint64 verifiedBytes() const { return verified; }
    bool isComplete() const { return verified == size; }
    QString partPath() const { return path; }
    // Once complete: checks the whole file and gives it its name. Gives the
    // final path, or nothing with the reason (the part file stays).
    std::optional<QString> finish(QString &error);

    // Whether the folder has room for `size` more bytes; if not, the reason, with both figures.
    static bool hasRoom(const QString &folder, qint64 size, QString &error);

private:
    PartFile(int descriptor, QString path, QString name, qint64 size, QByteArray sha256, qint64 verified);

    int descriptor;
    QString path;
    QString name;
    qint64 size;
    QByteArray sha256;
    qint64 verified;
    // The whole file's SHA-256, block by block as each is checked and written.
    Sha256 whole;
};
