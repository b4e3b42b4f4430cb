#pragma once

#include "FileOffer.h"
#include "FrameReader.h"

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>

#include <deque>
#include <functional>
#include <memory>
#include <optional>

class PartFile;

// One transfer's stream between its sender and its receiver, whatever
// carries it (their end-to-end session, or a link of their own): frames of
// a length, a kind and a body.
//
//   kind  name      body                                        sent by
//   1     offer     the offer's text (see FileOffer)            sender
//   2     accept    a line "F V" for each file F that has V     receiver
//                   checked bytes already (V = 0 for a new one)
//   3     decline   why, for people                             receiver
//   4     data      u32 F, u32 B (big-endian), then bytes of   sender
//                   block B of file F (at most 256 KiB)
//   5     block     "F B H": block B of file F is whole; H is     sender
//                   its SHA-256 in hex
//   6     checked   "F V": file F has V checked bytes           receiver
//   7     again     "F B": block B of file F failed its check   receiver
//   8     done      "F": file F matched its whole hash, named    receiver
//   9     cancel    why, for people                             either
//
// The sender streams blocks of 4 MiB in pieces of 256 KiB and keeps at most
// kBlocksInFlight blocks' worth of bytes unchecked (many small files' blocks
// at once); the receiver holds at most one block.
// A block that fails its check is sent again from there on, and its third
// failure ends the transfer.
namespace Transfer {

enum class Kind : quint8 { Offer = 1, Accept, Decline, Data, Block, Checked, Again, Done, Cancel };
constexpr qsizetype kPiece = 256 * 1024;
constexpr int kBlocksInFlight = 3;
constexpr int kMostFailures = 3;
// Longest frame: an offer of the most files (a piece and its header are far less).
constexpr qsizetype kLongestFrame = 16 * 1024 * 1024;

QByteArray framed(Kind kind, const QByteArray &body);

// How a transfer ended, if it did.
struct Outcome {
    bool ended = false;
    bool succeeded = false;
    QString reason; // for people, when it did not succeed
    bool diskFull = false; // the receiver stopped for room, and goes on once there is
};

// The sending side of one offer.
class Sender {
public:
    struct Source {
        QString path;    // the file on this disk
        qint64 size = 0; // as offered
        QDateTime modified;
    };
    // `send` takes each frame for the receiver.
    Sender(FileOffer offer, QList<Source> sources, std::function<void(const QByteArray &)> send);
    ~Sender();

    struct Prepared {
        FileOffer offer;
        QList<Source> sources;
    };
    // The offer of files and folders on this disk: each file's size, time
    // and SHA-256, a folder's files beneath its name (links are passed
    // over); nothing when one cannot be read. It reads every byte, so it
    // may run on a thread of its own.
    static std::optional<Prepared> prepare(const QStringList &paths, QString &error);
    // The same, under the names given, into a sender.
    static std::unique_ptr<Sender> offering(const QStringList &paths, const QStringList &names,
                                          std::function<void(const QByteArray &)> send, QString &error);
    const FileOffer &offer() const { return sent; }

    // Sends the offer (again, after a break: the receiver's accept says where to go on).
    void start();
    // What the receiver sent.
    void take(const QByteArray &bytes);
    // Bytes of data sent so far (pieces sent again included).
    qint64 bytesSent() const { return dataSent; }
    // Bytes the receiver has checked, as it last said.
    qint64 checkedBytes() const { return checked; }
    const Outcome &outcome() const { return result; }

private:
    void takeFrame(Kind kind, const QByteArray &body);
    void sendBlocks();
    bool sendBlock(int file, qint64 block);
    void end(bool succeeded, const QString &reason, bool tellPeer);
    bool unchanged(int file) const;

    FileOffer sent;
    QList<Source> sources;
    std::function<void(const QByteArray &)> send;
    FrameReader frames{kLongestFrame};
    // Where the stream stands: the next block to send, and the sizes of those sent and not checked yet.
    int file = 0;
    qint64 nextBlock = 0;
    std::deque<qint64> unchecked;
    qint64 uncheckedBytes = 0;
    bool accepted = false;
    QHash<QString, int> failures; // by "F B"
    qint64 dataSent = 0;
    qint64 checked = 0;
    QByteArray readBuffer; // the block read from the disk
    QList<qint64> sizesBefore; // of the files before each
    Outcome result;
};

// The receiving side of one offer: its files go beneath `folder`. Given
// only the offer's summary, it waits for the whole offer on the stream.
class Receiver {
public:
    Receiver(FileOffer offer, QString folder, std::function<void(const QByteArray &)> send);
    ~Receiver();

    // Accepts, going on from what was checked before a break (by file index).
    void accept(const QHash<int, QPair<QString, qint64>> &checkedBefore = {});
    // The offer, whole once it came.
    const FileOffer &offer() const { return offered; }
    void decline(const QString &why);
    void take(const QByteArray &bytes);
    const Outcome &outcome() const { return result; }
    // Where each file went, once it is named.
    const QStringList &saved() const { return savedPaths; }
    // For a break: each file's part file and its checked bytes, by index.
    QHash<int, QPair<QString, qint64>> progress() const;
    // The checked bytes of every file, together.
    qint64 checkedBytes() const { return checkedSum; }

private:
    void takeFrame(Kind kind, const QByteArray &body);
    void takeWholeOffer(const QByteArray &body);
    void beginAccepted();
    void takeData(const QByteArray &body);
    void blockEnds(const QByteArray &body);
    bool openFile(int index, QString &error);
    void end(bool succeeded, const QString &reason, bool tellPeer);

    FileOffer offered;
    QString folder;
    std::function<void(const QByteArray &)> send;
    FrameReader frames{kLongestFrame};
    int file = 0;
    std::unique_ptr<PartFile> part;
    QByteArray block; // the block on its way in
    QHash<int, QPair<QString, qint64>> parts;
    bool accepted = false;
    qint64 checkedSum = 0;
    QStringList savedPaths;
    Outcome result;
};

} // namespace Transfer
