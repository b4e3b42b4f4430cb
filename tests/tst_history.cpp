// The chat history as a real SQLite file in a folder of the test's: what is
// kept, what a search finds, and what a damaged file or a folder out of
// reach does.
#include "ChatText.h"
#include "HistoryRecorder.h"
#include "HistoryStore.h"
#include "HistoryWindow.h"
#include "HistoryWriter.h"
#include "TestProgram.h"
#include "Unprivileged.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QScopeGuard>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QProcess>
#include <QStatusBar>
#include <QTest>

#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>

#include <algorithm>
#include <optional>

namespace {

constexpr quint16 kPort = 27200;

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
    void hostAndGuestKeepTheirChats();
    void whatFollowsALostLinkIsKeptToo();
    void faultsNeverStopTheChat_data();
    void faultsNeverStopTheChat();
    void commandLinePrintsWithoutADisplay_data();
    void commandLinePrintsWithoutADisplay();
    void aKilledProgramKeepsEveryLine_data();
    void aKilledProgramKeepsEveryLine();
    void oldChatsGoAtTheAgeChosen_data();
    void oldChatsGoAtTheAgeChosen();
    void theOldestGoPastTheLargestSize_data();
    void theOldestGoPastTheLargestSize();
    void theWriterTellsOnceOfOldChatsGone();

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

// What each side's view showed is in its own history: its chat, who we were
// in it, and each text's kind and bytes.
void TestHistory::hostAndGuestKeepTheirChats()
{
    const QString hostFile = QDir(folder->path()).filePath(QStringLiteral("host.sqlite"));
    const QString guestFile = QDir(folder->path()).filePath(QStringLiteral("guest.sqlite"));
    TestProgram host(TestProgram::Setup("Hosty"), nullptr, hostFile);
    QVERIFY(host.StartHost(kPort));
    TestProgram guest(TestProgram::Setup("Anna"), nullptr, guestFile);
    guest.StartGuest(kPort);
    QTRY_COMPARE(host.Friends().Lines(), QStringList{"Anna"});
    guest.Main().Edit1->setText(QStringLiteral("lunch?"));
    QTest::keyClick(guest.Main().Edit1, Qt::Key_Return);
    QTRY_VERIFY(host.Main().chatLines().contains(QStringLiteral(" lunch?")));
    QTRY_VERIFY(guest.Main().chatLines().contains(QStringLiteral(" lunch?")));
    host.program->history()->WriteNow();
    guest.program->history()->WriteNow();

    const auto kinds = [](const QList<KeptText> &texts) {
        QList<int> found;
        for (const KeptText &text : texts)
            found << text.kind;
        return found;
    };
    HistoryStore hostKept;
    QVERIFY(hostKept.Open(hostFile));
    QCOMPARE(hostKept.Chats().size(), 1);
    const KeptChat hosted = hostKept.Chats().constFirst();
    QVERIFY(hosted.hosted);
    QCOMPARE(hosted.port, int(kPort));
    QCOMPARE(hosted.names, (QStringList{"Hosty", "Anna"}));
    const QList<KeptText> hostTexts = hostKept.TextsOf(hosted.id);
    QCOMPARE(kinds(hostTexts).first(2), (QList<int>{int(ShownText::Kind::Start), int(ShownText::Kind::Arrival)}));
    QCOMPARE(hostTexts.constLast().kind, int(ShownText::Kind::ChatLine));
    QCOMPARE(hostTexts.constLast().bytes, QByteArray("0<Anna> lunch?"));
    QCOMPARE(hostTexts.constLast().name, QStringLiteral("Anna"));

    // The history window finds the line and saves its chat as Save As saves the view.
    QAction *openHistory = nullptr;
    for (QAction *action : host.Main().chatMenu->actions())
        openHistory = action->text() == QLatin1String("H&istory...") ? action : openHistory;
    QVERIFY(openHistory);
    openHistory->trigger();
    HistoryWindow &window = *host.program->historyView();
    QVERIFY(window.isVisible());
    QCOMPARE(window.found->count(), 1);
    window.search->setText(QStringLiteral("LUN"));
    QTRY_COMPARE(window.found->count(), 1);
    QTRY_VERIFY(window.found->item(0)->text().endsWith(QStringLiteral("\n    <Anna> [lunch]?")));
    window.found->setCurrentRow(0);
    QCOMPARE(window.view->textCursor().selectedText(), QStringLiteral("<Anna>"));
    const QList<QTextEdit::ExtraSelection> marked = window.view->extraSelections(); // in the chat pane too
    QCOMPARE(marked.size(), 1);
    QCOMPARE(marked[0].cursor.selectedText(), QStringLiteral("lunch"));
    host.prompts.saveAnswers << QDir(folder->path()).filePath(QStringLiteral("view.txt"))
                             << QDir(folder->path()).filePath(QStringLiteral("kept.txt"));
    host.Main().SaveAs1Click();
    window.saveAs->click();
    QFile viewFile(QDir(folder->path()).filePath(QStringLiteral("view.txt")));
    QFile keptFile(QDir(folder->path()).filePath(QStringLiteral("kept.txt")));
    QVERIFY(viewFile.open(QIODevice::ReadOnly) && keptFile.open(QIODevice::ReadOnly));
    QCOMPARE(keptFile.readAll(), viewFile.readAll());

    // Switched off, nothing more is kept; what is kept stays.
    QAction *keep = nullptr;
    for (QAction *action : host.Main().couponMenu->actions())
        if (action->text() == QLatin1String("&Keep chat history"))
            keep = action;
    QVERIFY(keep && keep->isChecked());
    const auto restore = qScopeGuard([keep] { keep->setChecked(true); });
    keep->setChecked(false);
    guest.Main().Edit1->setText(QStringLiteral("unkept"));
    QTest::keyClick(guest.Main().Edit1, Qt::Key_Return);
    QTRY_VERIFY(host.Main().chatLines().contains(QStringLiteral(" unkept")));
    host.program->history()->WriteNow();
    QVERIFY(hostKept.Search(QStringLiteral("unkept")).isEmpty());
    QCOMPARE(hostKept.TextsOf(hosted.id).size(), hostTexts.size());

    HistoryStore guestKept;
    QVERIFY(guestKept.Open(guestFile));
    const KeptChat joined = guestKept.Chats().constFirst();
    QVERIFY(!joined.hosted);
    QCOMPARE(joined.host, QStringLiteral("127.0.0.1"));
    QCOMPARE(joined.port, int(kPort));
    QCOMPARE(joined.nickname, QStringLiteral("Anna"));
    QCOMPARE(guestKept.TextsOf(joined.id).constFirst().kind, int(ShownText::Kind::Start));
    QCOMPARE(guestKept.Search(QStringLiteral("LUNCH")).size(), 1);
}

// The chat a lost link ended goes on once the guest is back: what is said
// then is kept too, as a chat of its own.
void TestHistory::whatFollowsALostLinkIsKeptToo()
{
    const QString file = QDir(folder->path()).filePath(QStringLiteral("rejoined.sqlite"));
    GuestOfARawHost chat("Anna", {}, file);
    chat.guest.Main().reconnectSwitch->setChecked(true);
    QVERIFY(chat.Start(kPort + 1));
    QVERIFY(chat.host.Send("0<Hosty> before"));
    QTRY_VERIFY(chat.guest.Main().chatLines().contains(QStringLiteral(" before")));
    chat.host.Reset();
    LoopbackPeer again = chat.listener.AcceptOne();
    QVERIFY(again.Send("0<Hosty> after"));
    QTRY_VERIFY(chat.guest.Main().chatLines().contains(QStringLiteral(" after")));
    chat.guest.program->history()->WriteNow();
    HistoryStore kept;
    QVERIFY(kept.Open(file));
    QCOMPARE(kept.Search(QStringLiteral("before")).size(), 1);
    QCOMPARE(kept.Search(QStringLiteral("after")).size(), 1);
    QCOMPARE(kept.Chats().size(), 2);
}

void TestHistory::faultsNeverStopTheChat_data()
{
    QTest::addColumn<QString>("fault");
    QTest::newRow("a damaged file") << "damaged";
    QTest::newRow("a folder out of reach") << "out of reach";
    QTest::newRow("a disk that fills up") << "full";
}

// The chat starts and goes on; the user is told: where the damaged file is
// kept, or that the history is paused (beside the status bar's own text).
void TestHistory::faultsNeverStopTheChat()
{
    QFETCH(QString, fault);
    const QString parent = QFileInfo(Path()).absolutePath();
    QVERIFY(QDir().mkpath(parent));
    QFile file(Path());
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(QByteArray(4096, 'x')) == 4096);
    file.close();
    if (fault == QLatin1String("out of reach")) {
        QVERIFY(QFile::remove(Path()));
        QVERIFY(chmod(QFile::encodeName(parent).constData(), 0555) == 0);
    }
    std::optional<AsOrdinaryUser> ordinary;
    if (fault == QLatin1String("out of reach"))
        ordinary.emplace();
    TestProgram host(TestProgram::Setup("Hosty"), nullptr, Path());
    ordinary.reset();
    QVERIFY(host.StartHost(kPort + 1));
    TestProgram guest(TestProgram::Setup("Anna"));
    guest.StartGuest(kPort + 1);
    QTRY_COMPARE(host.Friends().Lines(), QStringList{"Anna"});
    const auto pausedShown = [&host] {
        const QList<QLabel *> labels = host.Main().StatusBar1->findChildren<QLabel *>();
        return std::any_of(labels.begin(), labels.end(), [](const QLabel *label) {
            return label->text() == QLatin1String("History paused") && !label->isHidden();
        });
    };
    if (fault == QLatin1String("full")) {
        // No file of this process may grow any more: a write fails as on a full disk.
        struct rlimit unlimited {};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &unlimited), 0);
        const auto restore = qScopeGuard([unlimited] { setrlimit(RLIMIT_FSIZE, &unlimited); });
        const auto noSignal = qScopeGuard([old = std::signal(SIGXFSZ, SIG_IGN)] { std::signal(SIGXFSZ, old); });
        struct rlimit full = unlimited;
        full.rlim_cur = 0;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &full), 0);
        guest.Main().Edit1->setText(QStringLiteral("lost to the disk"));
        QTest::keyClick(guest.Main().Edit1, Qt::Key_Return);
        QTRY_VERIFY(host.Main().chatLines().contains(QStringLiteral(" lost to the disk")));
        host.program->history()->WriteNow();
        QTRY_VERIFY(pausedShown());
    }
    QCOMPARE(pausedShown(), fault != QLatin1String("damaged"));
    guest.Main().Edit1->setText(QStringLiteral("still here"));
    QTest::keyClick(guest.Main().Edit1, Qt::Key_Return);
    QTRY_VERIFY(host.Main().chatLines().contains(QStringLiteral(" still here")));
    if (fault == QLatin1String("damaged")) {
        QCOMPARE(host.prompts.shown.size(), 1);
        QVERIFY(host.prompts.shown.constFirst().startsWith("message: The chat history was damaged. It is kept as "
                                                           + Path() + ".damaged-"));
    }
}

void TestHistory::commandLinePrintsWithoutADisplay_data()
{
    QTest::addColumn<QStringList>("words");
    QTest::addColumn<QByteArray>("printed");
    const QByteArray lunch = "2026-12-08 20:01:00  10.0.0.1:4000  lunch at noon?\n";
    const QByteArray night = "2026-12-08 20:03:00  10.0.0.1:4000  good night\n";
    QTest::newRow("the last lines") << QStringList{} << lunch + night;
    QTest::newRow("a word") << QStringList{"LUNCH"} << lunch;
    QTest::newRow("two words") << QStringList{"good", "nig"} << night;
    QTest::newRow("no match") << QStringList{"dinner"} << QByteArray();
}

void TestHistory::commandLinePrintsWithoutADisplay()
{
    QFETCH(QStringList, words);
    QFETCH(QByteArray, printed);
    {
        HistoryStore store;
        QVERIFY(store.Open(Path()));
        KeptChat chat;
        chat.host = QStringLiteral("10.0.0.1");
        chat.port = 4000;
        chat.started = At(0);
        const qint64 id = store.StartChat(chat);
        QVERIFY(store.AddTexts({Text(id, 1, QStringLiteral("lunch at noon?")), Text(id, 3, QStringLiteral("good night"))}));
    }
    QProcess vanu;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *display : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(display));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), folder->path());
    vanu.setProcessEnvironment(environment);
    vanu.start(QStringLiteral(VANU_BINARY), QStringList{"--history"} + words);
    QVERIFY(vanu.waitForFinished(10000));
    QCOMPARE(vanu.readAllStandardError(), QByteArray());
    QCOMPARE(vanu.exitCode(), 0);
    QCOMPARE(vanu.readAllStandardOutput(), printed);
}

void TestHistory::aKilledProgramKeepsEveryLine_data()
{
    QTest::addColumn<int>("copies");
    QTest::addColumn<bool>("readFromOutside");
    QTest::newRow("one copy") << 1 << false;
    QTest::newRow("two copies writing one file") << 2 << false;
    QTest::newRow("one copy, read from outside meanwhile") << 1 << true;
    QTest::newRow("two copies writing, a third reading") << 2 << true;
}

// The hosts say a first half of the lines; another program may read the
// history (the user's `vanu --history`); then the second half follows.
// Killed 1.5 s after its view showed the last line, each host has kept them
// all, in its own chat, and the search finds each of them.
void TestHistory::aKilledProgramKeepsEveryLine()
{
    QFETCH(int, copies);
    QFETCH(bool, readFromOutside);
    constexpr int kHalf = 20;
    std::vector<std::unique_ptr<QProcess>> writers;
    for (int copy = 0; copy < copies; ++copy) {
        writers.push_back(std::make_unique<QProcess>());
        writers.back()->start(QStringLiteral(VANU_HISTORY_WRITER),
                              {Path(), QString::number(kPort + 2 + copy), QString::number(kHalf)});
    }
    const auto allShown = [&] {
        for (const auto &writer : writers) {
            if (!writer->canReadLine() && !writer->waitForReadyRead(20000))
                return false;
            if (writer->readLine() != "shown\n")
                return false;
        }
        return true;
    };
    QVERIFY(allShown());
    if (readFromOutside) {
        QTest::qWait(HistoryRecorder::kFlushMs * 2); // the reader finds the first half
        QProcess reader;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_DATA_HOME"), folder->path());
        reader.setProcessEnvironment(environment);
        reader.start(QStringLiteral(VANU_BINARY), {QStringLiteral("--history"), QStringLiteral("line")});
        QVERIFY(reader.waitForFinished(10000));
        QCOMPARE(reader.exitCode(), 0);
        QVERIFY(reader.readAllStandardOutput().contains("line 1\n"));
    }
    for (const auto &writer : writers)
        writer->write("more\n");
    QVERIFY(allShown());
    QTest::qWait(1500);
    for (const auto &writer : writers) {
        QCOMPARE(writer->state(), QProcess::Running);
        ::kill(pid_t(writer->processId()), SIGKILL);
        QVERIFY(writer->waitForFinished());
    }

    HistoryStore store;
    QVERIFY(store.Open(Path()));
    QCOMPARE(store.Chats().size(), copies);
    for (const KeptChat &chat : store.Chats()) {
        QStringList kept;
        for (const KeptText &text : store.TextsOf(chat.id))
            if (text.kind == int(ShownText::Kind::ChatLine))
                kept << text.shown;
        QCOMPARE(kept.size(), 2 * kHalf);
        QCOMPARE(kept.constLast(), QStringLiteral("2<Anna> line %1").arg(2 * kHalf));
    }
    QCOMPARE(store.Search(QStringLiteral("line"), 10000).size(), copies * 2 * kHalf);
}

void TestHistory::oldChatsGoAtTheAgeChosen_data()
{
    QTest::addColumn<QString>("age");
    QTest::addColumn<int>("chatsLeft");
    QTest::newRow("never") << "&Never" << 2;
    QTest::newRow("90 days") << "90 days" << 1;
    QTest::newRow("30 days") << "30 days" << 1;
}

// A chat of 100 days ago and one of 10: only what the chosen age ends goes.
void TestHistory::oldChatsGoAtTheAgeChosen()
{
    QFETCH(QString, age);
    QFETCH(int, chatsLeft);
    {
        HistoryStore store;
        QVERIFY(store.Open(Path()));
        for (const int daysAgo : {100, 10}) {
            KeptChat chat;
            chat.started = QDateTime::currentDateTime().addDays(-daysAgo);
            QVERIFY(store.EndChat(store.StartChat(chat), chat.started.addSecs(60), {}));
        }
    }
    TestProgram test(TestProgram::Setup("Anna"), nullptr, Path());
    QMenu *ages = nullptr;
    for (QAction *action : test.Main().couponMenu->actions())
        ages = action->menu() && action->text() == QLatin1String("&Delete chats older than") ? action->menu() : ages;
    QVERIFY(ages);
    const auto choose = [ages](const QString &text) {
        for (QAction *choice : ages->actions())
            if (choice->text() == text)
                choice->trigger();
    };
    const auto never = qScopeGuard([&] { choose(QStringLiteral("&Never")); });
    choose(age);
    HistoryStore kept;
    QVERIFY(kept.Open(Path()));
    QCOMPARE(kept.Chats().size(), chatsLeft);
}

namespace {

// Chats of 200 texts of a kilobyte each, started a day apart; the last one goes on.
QList<qint64> FillChats(HistoryStore &store, int chats)
{
    QList<qint64> ids;
    for (int number = 0; number < chats; ++number) {
        KeptChat chat;
        chat.started = At(0).addDays(number);
        ids << store.StartChat(chat);
        QList<KeptText> texts;
        for (int line = 0; line < 200; ++line)
            texts << Text(ids.last(), 1, QStringLiteral("chat %1 line %2 ").arg(number).arg(line) + QString(1000, u'x'));
        store.AddTexts(texts);
        if (number + 1 < chats)
            store.EndChat(ids.last(), chat.started.addSecs(60), {});
    }
    return ids;
}

} // namespace

void TestHistory::theOldestGoPastTheLargestSize_data()
{
    QTest::addColumn<double>("chatsOfRoom");
    QTest::addColumn<int>("chatsLeft");
    QTest::addColumn<bool>("currentTrimmed");
    QTest::newRow("room for all") << 4.0 << 3 << false;
    QTest::newRow("room for two") << 2.2 << 2 << false;
    QTest::newRow("room for less than the chat going on") << 0.5 << 1 << true;
}

// The chat going on is the newest but the oldest started; it stays while others can go.
void TestHistory::theOldestGoPastTheLargestSize()
{
    QFETCH(double, chatsOfRoom);
    QFETCH(int, chatsLeft);
    QFETCH(bool, currentTrimmed);
    HistoryStore store;
    QVERIFY(store.Open(Path()));
    const qint64 empty = store.UsedBytes();
    const QList<qint64> ids = FillChats(store, 3);
    const qint64 perChat = (store.UsedBytes() - empty) / 3;
    QCOMPARE(store.KeepWithin(empty + qint64(chatsOfRoom * double(perChat)), ids.last()), chatsLeft < 3 || currentTrimmed);
    const QList<KeptChat> left = store.Chats();
    QCOMPARE(left.size(), chatsLeft);
    QCOMPARE(left.first().id, ids.last()); // the newest stays
    QVERIFY(store.UsedBytes() <= empty + qint64(chatsOfRoom * double(perChat)));
    const QList<KeptText> current = store.TextsOf(ids.last());
    QCOMPARE(current.size() < 200, currentTrimmed);
    QVERIFY(current.last().shown.startsWith(QStringLiteral("chat 2 line 199 "))); // the newest texts stay
}

// A hostile guest keeps the history at its largest: the user hears of it once.
void TestHistory::theWriterTellsOnceOfOldChatsGone()
{
    {
        HistoryStore store;
        QVERIFY(store.Open(Path()));
        FillChats(store, 2);
    }
    HistoryWriter writer(Path());
    QSignalSpy told(&writer, &HistoryWriter::trimmed);
    writer.SetLargest(256 * 1024);
    KeptChat chat;
    chat.started = At(0).addDays(5);
    writer.StartChat(chat);
    for (int round = 0; round < 20; ++round)
        writer.AddTexts({Text(0, 2, QString(10000, u'y'))});
    QCOMPARE(told.size(), 1);
    HistoryStore kept;
    QVERIFY(kept.Open(Path()));
    QCOMPARE(kept.Chats().size(), 1);
    QVERIFY(kept.UsedBytes() <= 256 * 1024);
}

QTEST_MAIN(TestHistory)
#include "tst_history.moc"
