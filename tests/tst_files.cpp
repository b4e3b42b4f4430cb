// Files on their way in, on a real disk: names from the sender, offers,
// and part files checked block by block.
#include "FileNames.h"
#include "FileOffer.h"
#include "PartFile.h"
#include "Transfer.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

namespace {

// Qt's own SHA-256: a reference apart from the one the program uses.
QByteArray ReferenceSha256(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

// Bytes that differ from block to block.
QByteArray Content(qint64 size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (qint64 at = 0; at < size; ++at)
        bytes[at] = char((at * 7 + at / 4096) & 0xFF);
    return bytes;
}

} // namespace

class TestFiles : public QObject {
    Q_OBJECT
private slots:
    void namesFromTheSender_data();
    void namesFromTheSender();
    void nothingIsOverwritten_data();
    void nothingIsOverwritten();
    void foldersAreMadeOnlyBeneath();
    void offers_data();
    void offers();
    void aFileArrivesBlockByBlock_data();
    void aFileArrivesBlockByBlock();
    void aBreakCostsNothingChecked();
    void aTransferArrives_data();
    void aTransferArrives();
    void aBreakGoesOnFromTheLastCheckedBlock_data();
    void aBreakGoesOnFromTheLastCheckedBlock();
};

namespace {

// The two ends of one transfer, joined by queues: what one sends, the other
// takes, until neither has anything to say. A block of a file may be spoiled
// on the way a number of times; the link may break after some bytes.
struct Link {
    std::unique_ptr<Transfer::Sender> sender;
    std::unique_ptr<Transfer::Receiver> receiver;
    QList<QByteArray> toReceiver, toSender;
    int spoilFile = -1, spoilBlock = -1, spoilTimes = 0;
    qint64 breakAfter = -1; // data bytes that cross before the link breaks
    qint64 crossed = 0;
    QPair<int, int> lastBlock{-1, -1};

    std::function<void(const QByteArray &)> intoReceiver()
    {
        return [this](const QByteArray &frame) { toReceiver << frame; };
    }
    std::function<void(const QByteArray &)> intoSender()
    {
        return [this](const QByteArray &frame) { toSender << frame; };
    }
    // False when the link broke.
    bool pump()
    {
        while (!toReceiver.isEmpty() || !toSender.isEmpty()) {
            if (!toReceiver.isEmpty()) {
                QByteArray frame = toReceiver.takeFirst();
                if (frame.at(4) == char(Transfer::Kind::Data)) {
                    crossed += frame.size() - 13;
                    if (breakAfter >= 0 && crossed > breakAfter)
                        return false;
                    const int file = int(qFromBigEndian<quint32>(frame.constData() + 5));
                    const int block = int(qFromBigEndian<quint32>(frame.constData() + 9));
                    // The first piece of each time the block is sent.
                    const bool firstPiece = lastBlock != QPair<int, int>(file, block);
                    lastBlock = {file, block};
                    if (file == spoilFile && block == spoilBlock && spoilTimes > 0 && firstPiece) {
                        frame[20] = char(frame[20] ^ 0x55);
                        --spoilTimes;
                    }
                }
                receiver->take(frame);
            }
            if (!toSender.isEmpty())
                sender->take(toSender.takeFirst());
        }
        return true;
    }
};

QString WriteFile(const QTemporaryDir &folder, const QString &name, const QByteArray &content)
{
    QFile file(folder.filePath(name));
    file.open(QIODevice::WriteOnly);
    file.write(content);
    return file.fileName();
}

QByteArray ContentOf(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

} // namespace

void TestFiles::namesFromTheSender_data()
{
    QTest::addColumn<QString>("given");
    QTest::addColumn<QString>("taken"); // empty: refused
    QTest::newRow("a plain name") << "report.pdf" << "report.pdf";
    QTest::newRow("every script") << "Grüße 你好 😀.txt" << "Grüße 你好 😀.txt";
    QTest::newRow("blanks around") << "  notes.txt " << "notes.txt";
    QTest::newRow("a slash") << "../../.bashrc" << "";
    QTest::newRow("a backslash") << "..\\boot.ini" << "";
    QTest::newRow("dot dot") << ".." << "";
    QTest::newRow("dot") << "." << "";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("NUL") << QStringLiteral("a") + QChar(0) + QStringLiteral("b") << "";
    QTest::newRow("a line break") << "a\nb" << "";
    QTest::newRow("DEL") << "a\x7f" << "";
    QTest::newRow("a right-to-left override") << QStringLiteral("invoice\u202Efdp.exe") << "";
    QTest::newRow("a zero-width space") << QStringLiteral("a\u200Bb") << "";
    QTest::newRow("256 bytes") << QString(256, QLatin1Char('a')) << "";
    QTest::newRow("255 bytes") << QString(255, QLatin1Char('a')) << QString(255, QLatin1Char('a'));
}

void TestFiles::namesFromTheSender()
{
    QFETCH(QString, given);
    QFETCH(QString, taken);
    QCOMPARE(FileNames::safeName(given).value_or(QString()), taken);
}

void TestFiles::nothingIsOverwritten_data()
{
    QTest::addColumn<QStringList>("there");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("given");
    QTest::newRow("free") << QStringList{} << "a.txt" << "a.txt";
    QTest::newRow("taken") << QStringList{"a.txt"} << "a.txt" << "a (2).txt";
    QTest::newRow("taken twice") << QStringList{"a.txt", "a (2).txt"} << "a.txt" << "a (3).txt";
    QTest::newRow("two extensions") << QStringList{"r.tar.gz"} << "r.tar.gz" << "r (2).tar.gz";
    QTest::newRow("a dot file") << QStringList{".profile"} << ".profile" << ".profile (2)";
    QTest::newRow("a link to nothing") << QStringList{"link:a.txt"} << "a.txt" << "a (2).txt";
}

// A name that anything has, a link to nothing included, is never taken again.
void TestFiles::nothingIsOverwritten()
{
    QFETCH(QStringList, there);
    QFETCH(QString, name);
    QFETCH(QString, given);
    QTemporaryDir folder;
    for (const QString &entry : there) {
        if (entry.startsWith(QLatin1String("link:")))
            QVERIFY(QFile::link(folder.filePath("nowhere"), folder.filePath(entry.mid(5))));
        else
            QVERIFY(QFile(folder.filePath(entry)).open(QIODevice::WriteOnly));
    }
    QCOMPARE(FileNames::freeName(folder.path(), name), given);
}

// A folder's tree is made beneath the chosen folder, never through a link.
void TestFiles::foldersAreMadeOnlyBeneath()
{
    QTemporaryDir folder, elsewhere;
    const std::optional<QString> made = FileNames::makeFolders(folder.path(), {"photos", "2026"});
    QCOMPARE(made.value_or(QString()), folder.filePath("photos/2026"));
    QCOMPARE(QFileInfo(*made).permissions() & 0x0077, QFileDevice::Permissions());
    QVERIFY(QFile::link(elsewhere.path(), folder.filePath("trap")));
    QCOMPARE(FileNames::makeFolders(folder.path(), {"trap", "inside"}), std::nullopt);
    QVERIFY(!QFileInfo::exists(QDir(elsewhere.path()).filePath("inside")));
}

void TestFiles::offers_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<qint64>("total"); // -1: no offer
    const QByteArray hash = QByteArray(64, 'a');
    QTest::newRow("two files") << "00ff\n10\t" + hash + "\ta.txt\n5\t" + hash + "\tphotos/b.jpg\n" << qint64(15);
    QTest::newRow("2^63 bytes") << "00ff\n9223372036854775807\t" + hash + "\ta\n" << qint64(-1);
    QTest::newRow("beyond 2^63") << "00ff\n9223372036854775808\t" + hash + "\ta\n" << qint64(-1);
    QTest::newRow("a negative size") << "00ff\n-1\t" + hash + "\ta\n" << qint64(-1);
    QTest::newRow("sizes that add up beyond any disk")
        << "00ff\n1125899906842624\t" + hash + "\ta\n1\t" + hash + "\tb\n" << qint64(-1);
    QTest::newRow("a path out of the folder") << "00ff\n1\t" + hash + "\t../a\n" << qint64(-1);
    QTest::newRow("an absolute path") << "00ff\n1\t" + hash + "\t/etc/passwd\n" << qint64(-1);
    QTest::newRow("a control character") << "00ff\n1\t" + hash + "\ta\x01\n" << qint64(-1);
    QTest::newRow("a short hash") << QByteArray("00ff\n1\tabcd\ta\n") << qint64(-1);
    QTest::newRow("no files") << QByteArray("00ff\n") << qint64(-1);
    QTest::newRow("no id") << "\n1\t" + hash + "\ta\n" << qint64(-1);
}

void TestFiles::offers()
{
    QFETCH(QByteArray, text);
    QFETCH(qint64, total);
    const std::optional<FileOffer> offer = FileOffer::fromText(text);
    QCOMPARE(offer ? offer->totalSize() : qint64(-1), total);
    if (offer)
        QCOMPARE(offer->text(), text); // what is read is what is sent
}

void TestFiles::aFileArrivesBlockByBlock_data()
{
    QTest::addColumn<qint64>("size");
    QTest::addColumn<int>("spoiledBlock"); // -1: none
    QTest::addColumn<bool>("wholeHashMatches");
    QTest::newRow("an empty file") << qint64(0) << -1 << true;
    QTest::newRow("two blocks and a piece") << 2 * PartFile::kBlockSize + 1000 << -1 << true;
    QTest::newRow("a block spoiled on the way") << 2 * PartFile::kBlockSize + 1000 << 1 << true;
    QTest::newRow("a whole file that does not match") << PartFile::kBlockSize << -1 << false;
}

// Each block is checked before it is written, and one that fails is not; the
// file takes its name, beside one that has it already, only when the whole
// file's hash matches, and never with an execute bit.
void TestFiles::aFileArrivesBlockByBlock()
{
    QFETCH(qint64, size);
    QFETCH(int, spoiledBlock);
    QFETCH(bool, wholeHashMatches);
    QTemporaryDir folder;
    QVERIFY(QFile(folder.filePath("song.ogg")).open(QIODevice::WriteOnly)); // a file of that name is there
    const QByteArray content = Content(size);
    QString error;
    auto part = PartFile::create(folder.path(), "song.ogg", size, wholeHashMatches ? ReferenceSha256(content) : ReferenceSha256("other"),
                                 error);
    QVERIFY2(part, qPrintable(error));
    QCOMPARE(QFileInfo(part->partPath()).permissions() & 0x0177, QFileDevice::Permissions());
    for (int block = 0; qint64(block) * PartFile::kBlockSize < size; ++block) {
        const QByteArray bytes = content.mid(block * PartFile::kBlockSize, PartFile::kBlockSize);
        if (block == spoiledBlock) {
            QByteArray spoiled = bytes;
            spoiled[17] = char(spoiled[17] ^ 1);
            QCOMPARE(part->writeBlock(spoiled, ReferenceSha256(bytes)), PartFile::Written::HashFailed);
            QCOMPARE(part->verifiedBytes(), qint64(block) * PartFile::kBlockSize);
        }
        QCOMPARE(part->writeBlock(bytes, ReferenceSha256(bytes)), PartFile::Written::Block);
    }
    QVERIFY(part->isComplete());
    const std::optional<QString> done = part->finish(error);
    if (!wholeHashMatches) {
        QCOMPARE(done, std::nullopt);
        QVERIFY(error.contains("SHA-256"));
        QVERIFY(QFileInfo::exists(part->partPath()));
        return;
    }
    QCOMPARE(done.value_or(QString()), folder.filePath("song (2).ogg"));
    QFile arrived(*done);
    QVERIFY(arrived.open(QIODevice::ReadOnly));
    QCOMPARE(arrived.readAll(), content);
    QCOMPARE(arrived.permissions() & (QFileDevice::ExeOwner | QFileDevice::ExeGroup | QFileDevice::ExeOther),
             QFileDevice::Permissions());
    QCOMPARE(QFileInfo(folder.filePath("song.ogg")).size(), 0); // the one there before is untouched
}

// After a break the part file is taken up again where its checked blocks
// end; what came before is not written again.
void TestFiles::aBreakCostsNothingChecked()
{
    QTemporaryDir folder;
    const qint64 size = 3 * PartFile::kBlockSize;
    const QByteArray content = Content(size);
    QString error;
    QString partPath;
    {
        auto part = PartFile::create(folder.path(), "big.bin", size, ReferenceSha256(content), error);
        const QByteArray first = content.left(PartFile::kBlockSize);
        QCOMPARE(part->writeBlock(first, ReferenceSha256(first)), PartFile::Written::Block);
        partPath = part->partPath();
    }
    // Killed before it wrote down its progress, the copy finds it on the part itself.
    auto part = PartFile::reopen(partPath, "big.bin", size, ReferenceSha256(content), 0, error);
    QVERIFY2(part, qPrintable(error));
    QCOMPARE(part->verifiedBytes(), PartFile::kBlockSize);
    for (qint64 at = PartFile::kBlockSize; at < size; at += PartFile::kBlockSize) {
        const QByteArray block = content.mid(at, PartFile::kBlockSize);
        QCOMPARE(part->writeBlock(block, ReferenceSha256(block)), PartFile::Written::Block);
    }
    QCOMPARE(part->finish(error).value_or(QString()), folder.filePath("big.bin"));
    // A part file that is gone, or shorter than what was checked, starts again.
    QVERIFY(!PartFile::reopen(partPath, "big.bin", size, ReferenceSha256(content), PartFile::kBlockSize, error));
    QVERIFY(!PartFile::hasRoom(folder.path(), qint64(1) << 60, error));
    QVERIFY(error.contains("are needed"));
}

void TestFiles::aTransferArrives_data()
{
    QTest::addColumn<int>("spoilTimes");
    QTest::addColumn<bool>("decline");
    QTest::addColumn<QString>("reason"); // empty: it arrives
    QTest::newRow("two files and an empty one") << 0 << false << "";
    QTest::newRow("a block spoiled on the way") << 1 << false << "";
    QTest::newRow("a block spoiled three times") << 3 << false << "A block of big.bin failed its check three times.";
    QTest::newRow("declined") << 0 << true << "Declined: not now";
}

// The files arrive as they were on the sender's disk, in their folders; a
// spoiled block comes again, and the third spoiling ends the transfer.
void TestFiles::aTransferArrives()
{
    QFETCH(int, spoilTimes);
    QFETCH(bool, decline);
    QFETCH(QString, reason);
    QTemporaryDir from, to;
    const QByteArray big = Content(3 * PartFile::kBlockSize + 12345), small = Content(100);
    const QStringList paths{WriteFile(from, "big.bin", big), WriteFile(from, "small.txt", small),
                            WriteFile(from, "empty", {})};
    Link link;
    link.spoilFile = 0;
    link.spoilBlock = 1;
    link.spoilTimes = spoilTimes;
    QString error;
    link.sender = Transfer::Sender::offering(paths, {"big.bin", "docs/small.txt", "empty"}, link.intoReceiver(), error);
    QVERIFY2(link.sender, qPrintable(error));
    link.sender->start();
    const std::optional<FileOffer> offer = FileOffer::fromText(link.toReceiver.takeFirst().mid(5));
    QVERIFY(offer);
    link.receiver = std::make_unique<Transfer::Receiver>(*offer, to.path(), link.intoSender());
    if (decline)
        link.receiver->decline("not now");
    else
        link.receiver->accept();
    QVERIFY(link.pump());
    QCOMPARE(link.sender->outcome().reason, reason);
    QCOMPARE(link.sender->outcome().succeeded, reason.isEmpty());
    if (!reason.isEmpty())
        return;
    QCOMPARE(ContentOf(to.filePath("big.bin")), big);
    QCOMPARE(ContentOf(to.filePath("docs/small.txt")), small);
    QVERIFY(QFileInfo(to.filePath("empty")).isFile());
    QVERIFY(link.receiver->outcome().succeeded);
    // What went again is what was on the way after the spoiled block, at most.
    const qint64 total = big.size() + small.size();
    QVERIFY(link.sender->bytesSent() >= total);
    QVERIFY(link.sender->bytesSent() <= total + spoilTimes * Transfer::kBlocksInFlight * PartFile::kBlockSize);
}

void TestFiles::aBreakGoesOnFromTheLastCheckedBlock_data()
{
    QTest::addColumn<bool>("changeTheFile");
    QTest::newRow("the file as it was") << false;
    QTest::newRow("the file changed meanwhile") << true;
}

// The link breaks in the middle; both ends start again (as after a restart)
// from what the receiver checked: nothing checked crosses again, and a file
// that changed meanwhile ends the transfer, saying so.
void TestFiles::aBreakGoesOnFromTheLastCheckedBlock()
{
    QFETCH(bool, changeTheFile);
    QTemporaryDir from, to;
    const QByteArray content = Content(6 * PartFile::kBlockSize);
    const QString path = WriteFile(from, "film.mkv", content);
    QString error;
    Link first;
    first.breakAfter = 2 * PartFile::kBlockSize + 1000;
    first.sender = Transfer::Sender::offering({path}, {"film.mkv"}, first.intoReceiver(), error);
    first.sender->start();
    const std::optional<FileOffer> offer = FileOffer::fromText(first.toReceiver.takeFirst().mid(5));
    first.receiver = std::make_unique<Transfer::Receiver>(*offer, to.path(), first.intoSender());
    first.receiver->accept();
    QVERIFY(!first.pump()); // broken
    const QHash<int, QPair<QString, qint64>> progress = first.receiver->progress();
    QCOMPARE(progress.value(0).second, 2 * PartFile::kBlockSize);
    const QDateTime offeredTime = QFileInfo(path).lastModified();
    if (changeTheFile) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        file.seek(5 * PartFile::kBlockSize);
        file.write("changed");
        QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(5), QFileDevice::FileModificationTime));
        file.close();
    }

    Link again;
    // The sender goes on with what it knew of the file when it offered it.
    again.sender = std::make_unique<Transfer::Sender>(
        first.sender->offer(), QList<Transfer::Sender::Source>{{path, content.size(), offeredTime}}, again.intoReceiver());
    again.receiver = std::make_unique<Transfer::Receiver>(*offer, to.path(), again.intoSender());
    again.receiver->accept(progress);
    QVERIFY(again.pump());
    if (changeTheFile) {
        QCOMPARE(again.sender->outcome().reason, QStringLiteral("film.mkv changed since it was offered: the transfer ends."));
        QCOMPARE(again.receiver->outcome().reason, again.sender->outcome().reason);
        return;
    }
    QVERIFY(again.receiver->outcome().succeeded);
    QCOMPARE(ContentOf(to.filePath("film.mkv")), content);
    QCOMPARE(again.sender->bytesSent(), 4 * PartFile::kBlockSize); // nothing checked went again
}

QTEST_MAIN(TestFiles)
#include "tst_files.moc"
