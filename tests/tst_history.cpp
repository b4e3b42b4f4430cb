// The chat history as a real SQLite file in a folder of the test's: what is
// kept, what a search finds, and what a damaged file or a folder out of
// reach does.
#include "HistoryStore.h"
#include "Unprivileged.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace {

QDateTime At(int minute)
{
    return QDateTime(QDate(2026, 12, 8), QTime(20, minute));
}

KeptText Text(qint64 chat, int minute, const QString &shown, const QByteArray &bytes = {})
{
    KeptText text;
    text.chat = chat;
    text.at = At(minute);
    text.kind = 2;
    text.shown = shown;
    text.bytes = bytes.isEmpty() ? shown.toUtf8() : bytes;
    return text;
}

mode_t ModeOf(const QString &path)
{
    struct stat info {};
    stat(QFile::encodeName(path).constData(), &info);
    return info.st_mode & 07777;
}

} // namespace

class TestHistory : public QObject {
    Q_OBJECT
private slots:
    void init();
    void keepsChatsAndTextsPrivately();
    void search_data();
    void search();
    void aDamagedFileIsSetAside();
    void aFolderOutOfReachIsReported();

private:
    QString Path() const { return QDir(folder->path()).filePath(QStringLiteral("Vanu/history.sqlite")); }

    std::unique_ptr<QTemporaryDir> folder;
};

void TestHistory::init()
{
    folder = std::make_unique<QTemporaryDir>();
}

void TestHistory::keepsChatsAndTextsPrivately()
{
    HistoryStore store;
    QVERIFY2(store.Open(Path()), qPrintable(store.LastError()));
    QCOMPARE(ModeOf(Path()), mode_t(0600));
    QCOMPARE(ModeOf(QFileInfo(Path()).absolutePath()), mode_t(0700));
    KeptChat chat;
    chat.hosted = true;
    chat.host = QStringLiteral("10.0.0.1");
    chat.port = 4000;
    chat.nickname = QStringLiteral("Hosty");
    chat.started = At(1);
    const qint64 id = store.StartChat(chat);
    QVERIFY(id > 0);
    const QByteArray cyrillic("2<\xc0\xed\xff> \xef\xf0\xe8\xe2\xe5\xf2", 12); // CP1251, as received
    QVERIFY(store.AddTexts({Text(id, 2, QStringLiteral("<Аня> привет"), cyrillic), Text(id, 3, QStringLiteral("bye"))}));
    QVERIFY(store.EndChat(id, At(4), {QStringLiteral("Hosty"), QStringLiteral("Аня")}));

    const QList<KeptChat> chats = store.Chats();
    QCOMPARE(chats.size(), 1);
    QCOMPARE(chats[0].host, QStringLiteral("10.0.0.1"));
    QCOMPARE(chats[0].names, (QStringList{"Hosty", "Аня"}));
    QCOMPARE(chats[0].lines, 2);
    QCOMPARE(chats[0].ended, At(4));
    const QList<KeptText> texts = store.TextsOf(id);
    QCOMPARE(texts.size(), 2);
    QCOMPARE(texts[0].bytes, cyrillic);
    QCOMPARE(texts[0].shown, QStringLiteral("<Аня> привет"));
    QCOMPARE(store.LastTexts(1).constFirst().shown, QStringLiteral("bye"));

    QVERIFY(store.DeleteChat(id));
    QVERIFY(store.Chats().isEmpty() && store.Search(QStringLiteral("bye")).isEmpty());
}

void TestHistory::search_data()
{
    QTest::addColumn<QString>("words");
    QTest::addColumn<QStringList>("found");
    QTest::newRow("a Latin word") << "LUNCH" << QStringList{"[lunch] at noon?"};
    QTest::newRow("a Cyrillic word, another case") << "ПРИВЕТ" << QStringList{"[привет] всем"};
    QTest::newRow("a prefix") << "nigh" << QStringList{"good [night]"};
    QTest::newRow("two words, both in one text") << "good night" << QStringList{"[good] [night]"};
    QTest::newRow("a quote in the words") << "\"lunch" << QStringList{"[lunch] at noon?"};
    QTest::newRow("no hit") << "dinner" << QStringList{};
}

void TestHistory::search()
{
    QFETCH(QString, words);
    QFETCH(QStringList, found);
    HistoryStore store;
    QVERIFY(store.Open(Path()));
    KeptChat chat;
    chat.started = At(0);
    const qint64 id = store.StartChat(chat);
    QVERIFY(store.AddTexts({Text(id, 1, QStringLiteral("lunch at noon?")), Text(id, 2, QStringLiteral("привет всем")),
                            Text(id, 3, QStringLiteral("good night"))}));
    QStringList snippets;
    for (const KeptText &hit : store.Search(words))
        snippets << hit.snippet;
    QCOMPARE(snippets, found);
}

// Not a database: set aside under a name that says so, never deleted, and a
// new history starts.
void TestHistory::aDamagedFileIsSetAside()
{
    QVERIFY(QDir().mkpath(QFileInfo(Path()).absolutePath()));
    QFile damaged(Path());
    QVERIFY(damaged.open(QIODevice::WriteOnly));
    damaged.write(QByteArray(8192, 'x'));
    damaged.close();
    HistoryStore store;
    QVERIFY2(store.Open(Path()), qPrintable(store.LastError()));
    QVERIFY(store.DamagedCopy().startsWith(Path() + QStringLiteral(".damaged-")));
    QFile aside(store.DamagedCopy());
    QVERIFY(aside.open(QIODevice::ReadOnly));
    QCOMPARE(aside.readAll(), QByteArray(8192, 'x'));
    KeptChat chat;
    chat.started = At(0);
    QVERIFY(store.StartChat(chat) > 0);
}

void TestHistory::aFolderOutOfReachIsReported()
{
    const QString parent = QFileInfo(Path()).absolutePath();
    QVERIFY(QDir().mkpath(parent));
    QVERIFY(chmod(QFile::encodeName(parent).constData(), 0555) == 0);
    AsOrdinaryUser ordinary;
    HistoryStore store;
    QVERIFY(!store.Open(Path()));
    QVERIFY(!store.LastError().isEmpty());
    QVERIFY(!QFile::exists(Path()));
}

QTEST_MAIN(TestHistory)
#include "tst_history.moc"
