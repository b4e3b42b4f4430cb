#include "Transfer.h"

#include "FileNames.h"
#include "PartFile.h"
#include "Sha256.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QtEndian>

#include <algorithm>

namespace Transfer {

namespace {

qint64 BlockCount(qint64 size)
{
    return (size + PartFile::kBlockSize - 1) / PartFile::kBlockSize;
}

// "A B" or "A B C": numbers, and a last word.
QList<QByteArray> Words(const QByteArray &body)
{
    return body.split(' ');
}

// Takes what came into a side's frames and hands on each whole one, while the
// transfer goes on; a stream that breaks the frame rules ends it.
void TakeFrames(FrameReader &frames, const QByteArray &bytes, const Outcome &result,
                const std::function<void(Kind, const QByteArray &)> &take, const std::function<void(const QString &)> &broken)
{
    frames.append(bytes);
    while (!result.ended) {
        const std::optional<QByteArray> frame = frames.takeFrame();
        if (!frame)
            break;
        take(Kind(quint8(frame->at(0))), frame->mid(1));
    }
    if (frames.isBad() && !result.ended)
        broken(QCoreApplication::translate("Transfer", "The other copy sent what no copy sends."));
}

} // namespace

QByteArray framed(Kind kind, const QByteArray &body)
{
    QByteArray frame(FrameReader::kHeaderSize + 1, '\0');
    qToBigEndian<quint32>(quint32(body.size() + 1), frame.data());
    frame[FrameReader::kHeaderSize] = char(kind);
    return frame + body;
}

// ---- Sender ----

Sender::Sender(FileOffer offer, QList<Source> sources, std::function<void(const QByteArray &)> send)
    : sent(std::move(offer)), sources(std::move(sources)), send(std::move(send))
{
    qint64 before = 0;
    for (const FileOffer::File &file : sent.files) {
        sizesBefore << before;
        before += file.size;
    }
}

Sender::~Sender() = default;

std::optional<Sender::Prepared> Sender::prepare(const QStringList &paths, QString &error)
{
    Prepared prepared;
    prepared.offer.id = QString::number(QRandomGenerator::system()->generate64(), 16);
    const auto add = [&](const QString &path, const QString &name) {
        QFile file(path);
        Sha256 hash;
        if (!file.open(QIODevice::ReadOnly) || !hash.add(file)) {
            error = QCoreApplication::translate("Transfer", "Cannot read %1: %2").arg(QDir::toNativeSeparators(path), file.errorString());
            return false;
        }
        const QFileInfo info(file);
        prepared.offer.files << FileOffer::File{name.split(QLatin1Char('/')), info.size(), hash.result()};
        prepared.sources << Source{path, info.size(), info.lastModified()};
        return true;
    };
    for (const QString &path : paths) {
        const QFileInfo info(path);
        if (!info.isDir()) {
            if (!add(path, info.fileName()))
                return std::nullopt;
            continue;
        }
        // A folder's files, beneath its name; links lead nowhere the user did not choose.
        QDirIterator files(path, QDir::Files | QDir::NoSymLinks | QDir::Hidden, QDirIterator::Subdirectories);
        while (files.hasNext()) {
            const QString file = files.next();
            if (!add(file, info.fileName() + QLatin1Char('/') + QDir(path).relativeFilePath(file)))
                return std::nullopt;
            if (prepared.offer.files.size() > FileOffer::kMostFiles) {
                error = QCoreApplication::translate("Transfer", "More than %1 files: send fewer at a time.").arg(FileOffer::kMostFiles);
                return std::nullopt;
            }
        }
    }
    if (prepared.offer.files.isEmpty()) {
        error = QCoreApplication::translate("Transfer", "There is no file to send.");
        return std::nullopt;
    }
    return prepared;
}

std::unique_ptr<Sender> Sender::offering(const QStringList &paths, const QStringList &names,
                                         std::function<void(const QByteArray &)> send, QString &error)
{
    std::optional<Prepared> prepared = prepare(paths, error);
    if (!prepared)
        return nullptr;
    for (qsizetype index = 0; index < names.size() && index < prepared->offer.files.size(); ++index)
        prepared->offer.files[index].path = names[index].split(QLatin1Char('/'));
    return std::make_unique<Sender>(prepared->offer, prepared->sources, std::move(send));
}

void Sender::start()
{
    unchecked.clear();
    uncheckedBytes = 0;
    accepted = false;
    send(framed(Kind::Offer, sent.text()));
}

void Sender::take(const QByteArray &bytes)
{
    TakeFrames(frames, bytes, result, [this](Kind kind, const QByteArray &body) { takeFrame(kind, body); },
               [this](const QString &why) { end(false, why, true); });
}

void Sender::takeFrame(Kind kind, const QByteArray &body)
{
    switch (kind) {
    case Kind::Accept: {
        // Each file goes on from what the receiver checked: whole blocks, or the whole file.
        file = int(sent.files.size());
        for (const QByteArray &line : body.split('\n')) {
            const QList<QByteArray> words = Words(line);
            const int index = words.value(0).toInt();
            if (words.size() == 2 && index >= 0 && index < file && words[1].toLongLong() < sent.files[index].size) {
                file = index;
                nextBlock = words[1].toLongLong() / PartFile::kBlockSize;
                break;
            }
        }
        accepted = true;
        sendBlocks();
        break;
    }
    case Kind::Decline:
        end(false, QCoreApplication::translate("Transfer", "Declined: %1").arg(QString::fromUtf8(body)), false);
        break;
    case Kind::Checked: {
        const QList<QByteArray> words = Words(body);
        const int index = words.value(0).toInt();
        if (words.size() == 2 && index >= 0 && index < sent.files.size())
            checked = sizesBefore[index] + std::clamp(words[1].toLongLong(), qint64(0), sent.files[index].size);
        if (!unchecked.empty()) {
            uncheckedBytes -= unchecked.front();
            unchecked.pop_front();
        }
        sendBlocks();
        break;
    }
    case Kind::Again: {
        const QList<QByteArray> words = Words(body);
        const int index = words.value(0).toInt();
        const qint64 block = words.value(1).toLongLong();
        if (index < 0 || index >= sent.files.size() || block < 0 || block >= BlockCount(sent.files[index].size))
            break;
        if (++failures[QString::fromLatin1(body)] >= kMostFailures) {
            end(false, QCoreApplication::translate("Transfer", "A block of %1 failed its check three times.").arg(sent.files[index].path.last()),
                true);
            break;
        }
        // Everything from that block on goes again: the receiver dropped what followed it.
        file = index;
        nextBlock = block;
        unchecked.clear();
        uncheckedBytes = 0;
        sendBlocks();
        break;
    }
    case Kind::Done:
        if (body.toInt() == sent.files.size() - 1) {
            checked = sent.totalSize();
            end(true, QString(), false);
        }
        break;
    case Kind::Cancel:
        end(false, QString::fromUtf8(body), false);
        break;
    default:
        break;
    }
}

bool Sender::unchanged(int index) const
{
    const QFileInfo now(sources[index].path);
    return now.exists() && now.size() == sources[index].size && now.lastModified() == sources[index].modified;
}

void Sender::sendBlocks()
{
    // A block counts at least a page, so that a folder of tiny files keeps a bounded number in flight.
    static constexpr qint64 kLeastCounted = 4096;
    const auto sentOne = [this](qint64 bytes) {
        unchecked.push_back(std::max(bytes, kLeastCounted));
        uncheckedBytes += unchecked.back();
    };
    while (accepted && !result.ended && uncheckedBytes < kBlocksInFlight * PartFile::kBlockSize
           && file < sent.files.size()) {
        if (nextBlock >= BlockCount(sent.files[file].size)) {
            if (sent.files[file].size == 0 && nextBlock == 0) { // an empty file: one empty block
                send(framed(Kind::Block, QByteArray::number(file) + " 0 "
                                             + Sha256::of({}).toHex()));
                sentOne(0);
            }
            ++file;
            nextBlock = 0;
            continue;
        }
        if (!sendBlock(file, nextBlock))
            return;
        sentOne(std::min(PartFile::kBlockSize, sent.files[file].size - nextBlock * PartFile::kBlockSize));
        ++nextBlock;
    }
}

bool Sender::sendBlock(int index, qint64 block)
{
    if (!unchanged(index)) {
        end(false, QCoreApplication::translate("Transfer", "%1 changed since it was offered: the transfer ends.").arg(sent.files[index].path.last()),
            true);
        return false;
    }
    QFile source(sources[index].path);
    const qint64 at = block * PartFile::kBlockSize;
    if (!source.open(QIODevice::ReadOnly) || !source.seek(at)) {
        end(false, QCoreApplication::translate("Transfer", "Cannot read %1: %2").arg(sources[index].path, source.errorString()), true);
        return false;
    }
    // The disk is read as the block goes: a block, never the file, in memory.
    // Into the same buffer each time: a fresh block of megabytes would be fresh pages to fault in.
    const qint64 size = std::min(PartFile::kBlockSize, sent.files[index].size - at);
    readBuffer.resize(size);
    if (source.read(readBuffer.data(), size) != size) {
        end(false, QCoreApplication::translate("Transfer", "Cannot read %1: %2").arg(sources[index].path, source.errorString()), true);
        return false;
    }
    const QByteArray &bytes = readBuffer;
    // Each piece's frame is made in one buffer: its bytes are copied once.
    for (qsizetype piece = 0; piece < bytes.size(); piece += kPiece) {
        const qsizetype pieceSize = std::min(kPiece, bytes.size() - piece);
        QByteArray frame(FrameReader::kHeaderSize + 1 + 8, Qt::Uninitialized);
        qToBigEndian<quint32>(quint32(1 + 8 + pieceSize), frame.data());
        frame[FrameReader::kHeaderSize] = char(Kind::Data);
        qToBigEndian<quint32>(quint32(index), frame.data() + FrameReader::kHeaderSize + 1);
        qToBigEndian<quint32>(quint32(block), frame.data() + FrameReader::kHeaderSize + 5);
        frame.append(bytes.constData() + piece, pieceSize);
        send(frame);
    }
    dataSent += bytes.size();
    send(framed(Kind::Block, QByteArray::number(index) + ' ' + QByteArray::number(block) + ' '
                                 + Sha256::of(bytes).toHex()));
    return true;
}

void Sender::end(bool succeeded, const QString &reason, bool tellPeer)
{
    if (tellPeer)
        send(framed(Kind::Cancel, reason.toUtf8()));
    result = Outcome{true, succeeded, reason};
}

// ---- Receiver ----

Receiver::Receiver(FileOffer offer, QString folder, std::function<void(const QByteArray &)> send)
    : offered(std::move(offer)), folder(std::move(folder)), send(std::move(send))
{
}

Receiver::~Receiver() = default;

void Receiver::accept(const QHash<int, QPair<QString, qint64>> &checkedBefore)
{
    parts = checkedBefore;
    accepted = true;
    if (!offered.isSummary())
        beginAccepted();
}

void Receiver::takeWholeOffer(const QByteArray &body)
{
    const std::optional<FileOffer> whole = FileOffer::fromText(body);
    if (!offered.isSummary() || !whole || !offered.summarises(*whole)) {
        if (offered.isSummary())
            end(false, QCoreApplication::translate("Transfer", "The files sent are not the ones offered."), true);
        return;
    }
    offered = *whole;
    if (accepted)
        beginAccepted();
}

void Receiver::beginAccepted()
{
    QString error;
    qint64 toCome = offered.totalSize();
    for (const QPair<QString, qint64> &part : std::as_const(parts))
        toCome -= part.second;
    if (!PartFile::hasRoom(folder, std::max(qint64(0), toCome), error)) {
        result = Outcome{true, false, error, true};
        return;
    }
    // Files named already are done; the first that is not goes on from its checked bytes.
    file = 0;
    const auto named = [this](int index) {
        const QPair<QString, qint64> part = parts.value(index);
        return parts.contains(index) && part.second == offered.files[index].size
               && !part.first.endsWith(QLatin1String(".part")) && QFileInfo::exists(part.first);
    };
    while (file < offered.files.size() && named(file))
        ++file;
    // Opened first: the part may hold more checked bytes than was kept, or be gone and start again.
    if (file < offered.files.size() && !openFile(file, error)) {
        end(false, error, true);
        return;
    }
    QByteArray lines;
    for (int index = file; index < offered.files.size(); ++index)
        lines += QByteArray::number(index) + ' ' + QByteArray::number(parts.value(index).second) + '\n';
    checkedSum = 0;
    for (const QPair<QString, qint64> &part : std::as_const(parts))
        checkedSum += part.second;
    send(framed(Kind::Accept, lines));
    if (file == offered.files.size()) { // every file came before the break: the sender learns it now
        send(framed(Kind::Done, QByteArray::number(file - 1)));
        result = Outcome{true, true, QString()};
    }
}

void Receiver::decline(const QString &why)
{
    send(framed(Kind::Decline, why.toUtf8()));
    result = Outcome{true, false, why};
}

bool Receiver::openFile(int index, QString &error)
{
    const FileOffer::File &offeredFile = offered.files[index];
    const std::optional<QString> beneath = FileNames::makeFolders(folder, offeredFile.path.mid(0, offeredFile.path.size() - 1));
    if (!beneath) {
        error = QCoreApplication::translate("Transfer", "Cannot make the folder for %1.").arg(offeredFile.path.join(QLatin1Char('/')));
        return false;
    }
    const QPair<QString, qint64> before = parts.value(index);
    if (!before.first.isEmpty())
        part = PartFile::reopen(before.first, offeredFile.path.last(), offeredFile.size, offeredFile.sha256, before.second,
                                error);
    if (!part)
        part = PartFile::create(*beneath, offeredFile.path.last(), offeredFile.size, offeredFile.sha256, error);
    if (part)
        parts.insert(index, {part->partPath(), part->verifiedBytes()});
    block.truncate(0); // its room stays for the next block
    return part != nullptr;
}

void Receiver::take(const QByteArray &bytes)
{
    TakeFrames(frames, bytes, result, [this](Kind kind, const QByteArray &body) { takeFrame(kind, body); },
               [this](const QString &why) { end(false, why, true); });
}

void Receiver::takeFrame(Kind kind, const QByteArray &body)
{
    switch (kind) {
    case Kind::Offer:
        takeWholeOffer(body);
        break;
    case Kind::Data:
        takeData(body);
        break;
    case Kind::Block:
        blockEnds(body);
        break;
    case Kind::Cancel:
        end(false, QString::fromUtf8(body), false);
        break;
    default:
        break;
    }
}

void Receiver::takeData(const QByteArray &body)
{
    if (body.size() < 8 || !part)
        return;
    const int index = int(qFromBigEndian<quint32>(body.constData()));
    const qint64 number = qint64(qFromBigEndian<quint32>(body.constData() + 4));
    // Only the block that is due counts: what follows a failed one comes again.
    if (index != file || number != part->verifiedBytes() / PartFile::kBlockSize
        || block.size() + body.size() - 8 > PartFile::kBlockSize)
        return;
    block.append(body.constData() + 8, body.size() - 8);
}

void Receiver::blockEnds(const QByteArray &body)
{
    const QList<QByteArray> words = Words(body);
    if (words.size() != 3 || words[0].toInt() != file || !part
        || words[1].toLongLong() != part->verifiedBytes() / PartFile::kBlockSize)
        return;
    const QByteArray announced = QByteArray::fromHex(words[2]);
    QString error;
    const bool empty = offered.files[file].size == 0;
    const qint64 before = part->verifiedBytes();
    const PartFile::Written written = empty ? PartFile::Written::Block : part->writeBlock(block, announced);
    const QByteArray fileAndBlock = words[0] + ' ' + words[1];
    block.truncate(0); // its room stays for the next block
    switch (written) {
    case PartFile::Written::Block:
        break;
    case PartFile::Written::HashFailed:
    case PartFile::Written::WrongSize:
        send(framed(Kind::Again, fileAndBlock));
        return;
    case PartFile::Written::DiskError:
        // What was checked stays; the rest comes once there is room.
        result = Outcome{true, false, QCoreApplication::translate("Transfer", "Cannot write %1: the disk is full.").arg(part->partPath()), true};
        return;
    }
    parts.insert(file, {part->partPath(), part->verifiedBytes()});
    checkedSum += part->verifiedBytes() - before;
    send(framed(Kind::Checked, QByteArray::number(file) + ' ' + QByteArray::number(part->verifiedBytes())));
    if (!part->isComplete())
        return;
    const std::optional<QString> named = part->finish(error);
    if (!named) {
        end(false, error, true);
        return;
    }
    savedPaths << *named;
    parts.insert(file, {*named, offered.files[file].size});
    send(framed(Kind::Done, QByteArray::number(file)));
    part.reset();
    if (++file == offered.files.size()) {
        result = Outcome{true, true, QString()};
        return;
    }
    if (!openFile(file, error))
        end(false, error, true);
}

QHash<int, QPair<QString, qint64>> Receiver::progress() const
{
    return parts;
}

void Receiver::end(bool succeeded, const QString &reason, bool tellPeer)
{
    if (tellPeer)
        send(framed(Kind::Cancel, reason.toUtf8()));
    result = Outcome{true, succeeded, reason};
}

} // namespace Transfer
