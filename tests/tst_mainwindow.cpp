// The main window of a whole program: its banner, the chat view, the
// transcript, and closing and ending.
#include "ChatText.h"
#include "LocalAddress.h"
#include "LoopbackPeer.h"
#include "TTCPServer.h"
#include "TestProgram.h"
#include "Transcript.h"

#include <QAction>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>

namespace {

constexpr quint16 kBasePort = 22000;

// One line of the view as "text | colour | bold or regular".
QString Look(const QTextBlock &block)
{
    QTextCharFormat format = block.charFormat();
    if (block.begin() != block.end())
        format = block.begin().fragment().charFormat();
    const QColor colour = format.foreground().color();
    return QStringLiteral("%1 | %2 | %3")
        .arg(block.text(), colour.name(), format.fontWeight() == QFont::Bold ? "bold" : "regular");
}

QStringList Looks(TForm4 &main, int fromLine = 0)
{
    main.showPendingChatLines();
    QStringList looks;
    QTextBlock block = main.RichEdit1->document()->findBlockByNumber(fromLine);
    for (; block.isValid(); block = block.next())
        looks << Look(block);
    return looks;
}

QByteArray ReadFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void WriteFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void startsIdle();
    void banner();
    void chatLines_data();
    void chatLines();
    void viewKeeps1600Lines();
    void viewTakesABurstInOneEdit();
    void transcriptBytes();
    void dirChatProposal_data();
    void dirChatProposal();
    void txtExtension_data();
    void txtExtension();
    void overwriteDeclinedKeepsTheFile();
    void cancelledSaveAsAsksAgain();
    void unwritablePath();
    void saveChatAtALink_data();
    void saveChatAtALink();
    void closingHidesWithATray();
    void closingMinimisesWithoutATray();
    void exitWhileTryingDoesNothing();
    void exitWhileListeningAsks();
    void exitEndsTheProgram();
    void closeChatWhileIdle();
    void guestsHearTheHostGo();
    void theFirstGuestGivesTheHostTheKeyboard();
    void localAddressChoice_data();
    void localAddressChoice();
};

void TestMainWindow::startsIdle()
{
    TestProgram test;
    TForm4 &main = test.Main();
    QCOMPARE(main.windowTitle(), QStringLiteral("Vanu 3.1"));
    QCOMPARE(main.width(), 435);
    QVERIFY(!main.Edit1->isEnabled());
    QCOMPARE(main.Edit1->maxLength(), 1000);
    QVERIFY(!main.ImServer1->isChecked());
    QVERIFY(!main.Imbusy1->isVisible());
    QCOMPARE(test.tray.adds, 1);
    QTRY_COMPARE(test.tray.toolTip, QStringLiteral("Vanu"));
    QCOMPARE(main.TCPServer1->Port, QStringLiteral("4000"));
    QVERIFY(main.FriendsDocked);
    QVERIFY(!test.Friends().isVisible());
    QCOMPARE(test.tray.taskbarEntryVisible.last(), false);
    QStringList captions;
    for (QAction *item : main.menuBar()->actions())
        captions << item->text();
    QCOMPARE(captions, (QStringList{"&Chat", "C&oupon", "&Help"}));
    QCOMPARE(main.ImClient1->text(), QStringLiteral("I'm  &Guest"));
    QCOMPARE(main.SaveAs1->text(), QStringLiteral("Save  &As..."));
}

void TestMainWindow::banner()
{
    TestProgram test;
    const QStringList lines = test.Main().chatLines();
    QCOMPARE(lines.size(), 8);
    const QStringList beginnings = {" Vanu Server&Client", " WinSocket Version: ", " Description: ",
                                    " SystemStatus: ", "", " Local Host Name: ", " Local Host Address: ", ""};
    for (int line = 0; line < 8; ++line) {
        QVERIFY2(lines[line].startsWith(beginnings[line]), qPrintable(lines[line]));
        QVERIFY(Looks(test.Main())[line].endsWith(QStringLiteral("| #00ff00 | regular")));
    }
    QVERIFY(lines[4].isEmpty());
    QVERIFY(lines[7].isEmpty());
    QCOMPARE(lines[6], QStringLiteral(" Local Host Address: ") + LocalAddress());
}

void TestMainWindow::chatLines_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("looks");
    QTest::newRow("navy chat line") << "3<Ann> hello"
                                    << QStringList{"<Ann> | #000080 | bold", " hello | #00ff00 | regular"};
    QTest::newRow("away notice") << "< Bob is away >"
                                 << QStringList{"< Bob is away > | #ffff00 | bold", " | #00ff00 | regular"};
    QTest::newRow("> without <") << "a>b c" << QStringList{"b c | #00ff00 | regular"};
    QTest::newRow("no name") << "12:00:00 :Door closed by Host."
                             << QStringList{"12:00:00 :Door closed by Host. | #00ff00 | regular"};
    QTest::newRow("empty") << "" << QStringList{" | #00ff00 | regular"};
    QTest::newRow("index 6") << "6<Lia> hi" << QStringList{"<Lia> | #00ff00 | bold", " hi | #00ff00 | regular"};
    QTest::newRow("index -1") << "-1<Gus> hi" << QStringList{"<Gus> | #ffff00 | bold", " hi | #00ff00 | regular"};
    QTest::newRow("> before <") << "9>x<y" << QStringList{" | #ffffff | bold", "x<y | #00ff00 | regular"};
    QTest::newRow("no >") << "0<Ann" << QStringList{" | #0000ff | bold", "0<Ann | #00ff00 | regular"};
    QTest::newRow("markup stays text") << "5<b>x</b>"
                                       << QStringList{"<b> | #ff0000 | bold", "x</b> | #00ff00 | regular"};
    QTest::newRow("a line break shows as a mark")
        << "0<Bob> hi\n<Bob> my password\r\tx"
        << QStringList{"<Bob> | #0000ff | bold", QString::fromUtf8(" hi\u240a<Bob> my password\u240d\u2409x | #00ff00 | regular")};
}

void TestMainWindow::chatLines()
{
    QFETCH(QString, text);
    QFETCH(QStringList, looks);
    TestProgram test;
    test.Main().AddChatLine(text);
    QCOMPARE(Looks(test.Main(), 8), looks);
}

// The first line goes before a write once the view holds more than 1600.
void TestMainWindow::viewKeeps1600Lines()
{
    TestProgram test;
    TForm4 &main = test.Main();
    main.clearChatView();
    for (int line = 0; line < 1600; ++line)
        main.AddChatLine(QStringLiteral("line %1").arg(line));
    QCOMPARE(main.chatLineCount(), 1600);
    main.AddChatLine(QStringLiteral("line 1600"));
    QCOMPARE(main.chatLineCount(), 1601);
    QCOMPARE(main.chatLines().constFirst(), QStringLiteral("line 0"));
    main.AddChatLine(QStringLiteral("1<Ann> two lines"));
    QCOMPARE(main.chatLineCount(), 1602);
    QCOMPARE(main.chatLines().constFirst(), QStringLiteral("line 1"));
    QCOMPARE(main.chatLines().constLast(), QStringLiteral(" two lines"));

    // A long chat of two-line writes stays at the limit and one write.
    for (int line = 0; line < 3000; ++line)
        main.AddChatLine(QStringLiteral("1<Ann> line %1").arg(line));
    QCOMPARE(main.chatLineCount(), 1602);
    QCOMPARE(main.chatLines().constLast(), QStringLiteral(" line 2999"));
    QCOMPARE(main.chatLines().constFirst(), QStringLiteral("<Ann>"));
}

// A burst of lines reaches the view by itself, in one edit of the document
// (one layout and one repaint), in order, and the view still follows the end.
void TestMainWindow::viewTakesABurstInOneEdit()
{
    TestProgram test;
    TForm4 &main = test.Main();
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    QTextDocument &document = *main.RichEdit1->document();
    QTRY_COMPARE(document.blockCount(), 8); // the banner
    QSignalSpy edits(&document, &QTextDocument::contentsChanged);
    for (int line = 0; line < 300; ++line)
        main.AddChatLine(line % 3 ? QStringLiteral("4<Ann> line %1").arg(line) : QStringLiteral("line %1").arg(line));
    QTRY_COMPARE(document.lastBlock().text(), QStringLiteral(" line 299"));
    QCOMPARE(edits.count(), 1);
    QCOMPARE(document.blockCount(), 8 + 100 + 200 * 2);
    QCOMPARE(document.findBlockByNumber(8).text(), QStringLiteral("line 0"));
    QCOMPARE(document.findBlockByNumber(9).text(), QStringLiteral("<Ann>"));
    QScrollBar &scroll = *main.RichEdit1->verticalScrollBar();
    QVERIFY(scroll.maximum() > 0);
    QCOMPARE(scroll.value(), scroll.maximum());
}

void TestMainWindow::transcriptBytes()
{
    TestProgram test;
    TForm4 &main = test.Main();
    main.clearChatView();
    main.AddChatLine(QString::fromUtf8("0<Аня> Привет, hi"));
    main.AddChatLine(QStringLiteral("plain"));
    test.prompts.saveAnswers << test.FolderPath("chat.txt");
    main.SaveAs1Click();
    QCOMPARE(ReadFile(test.FolderPath("chat.txt")),
             QByteArray("<\xC0\xED\xFF>\r\n \xCF\xF0\xE8\xE2\xE5\xF2, hi\r\nplain\r\n"));
    const FileDialogRequest request = test.prompts.fileRequests.constFirst();
    QCOMPARE(request.title, QStringLiteral("Save File"));
    QCOMPARE(request.filter,
             QStringLiteral("Text files (*.txt)|*.txt|All files (*.*)|*.*|Text, UTF-8 (*.txt)|*.txt"));
    QCOMPARE(request.filterIndex, 1); // the transcript stays the default
    QCOMPARE(request.folder, test.folder.path());
    QCOMPARE(request.fileName, QStringLiteral("DirChat1.txt"));

    main.AddChatLine(QStringLiteral("more"));
    main.Save1Click(); // the remembered file, without a question
    QVERIFY(ReadFile(test.FolderPath("chat.txt")).endsWith("plain\r\nmore\r\n"));
    QCOMPARE(test.prompts.shown, QStringList{"save dialog: Save File"});

    // In UTF-8 every character is kept, and "Save Chat" goes on writing it so.
    main.AddChatLine(QStringLiteral("3<Zoë> 😀 你好"));
    test.prompts.saveAnswers << test.FolderPath("every.txt");
    test.prompts.saveFilterAnswers << 3;
    main.SaveAs1Click();
    main.Save1Click();
    QCOMPARE(ReadFile(test.FolderPath("every.txt")),
             QStringLiteral("<Аня>\r\n Привет, hi\r\nplain\r\nmore\r\n<Zoë>\r\n 😀 你好\r\n").toUtf8());
}

void TestMainWindow::dirChatProposal_data()
{
    QTest::addColumn<int>("present");
    QTest::addColumn<QString>("proposed");
    QTest::newRow("none") << 0 << "DirChat1.txt";
    QTest::newRow("one and two") << 2 << "DirChat3.txt";
    QTest::newRow("eight") << 8 << "DirChat9.txt";
    QTest::newRow("all nine") << 9 << "DirChat9.txt";
}

void TestMainWindow::dirChatProposal()
{
    QFETCH(int, present);
    QFETCH(QString, proposed);
    QTemporaryDir folder;
    for (int number = 1; number <= present; ++number)
        WriteFile(QDir(folder.path()).filePath(QStringLiteral("DirChat%1.txt").arg(number)), "x");
    QCOMPARE(ProposeDirChatName(folder.path()), proposed);
}

void TestMainWindow::txtExtension_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("written");
    QTest::newRow("bare name") << "/home/ann/chat" << "/home/ann/chat.txt";
    QTest::newRow("dotted folder") << "/home/ann/my.logs/chat" << "/home/ann/my.logs/chat";
    QTest::newRow("other extension") << "/home/ann/chat.log" << "/home/ann/chat.log";
    QTest::newRow("txt") << "/home/ann/chat.txt" << "/home/ann/chat.txt";
}

void TestMainWindow::txtExtension()
{
    QFETCH(QString, chosen);
    QFETCH(QString, written);
    QCOMPARE(WithTxtExtension(chosen), written);
}

void TestMainWindow::overwriteDeclinedKeepsTheFile()
{
    TestProgram test;
    for (int number = 1; number <= 9; ++number)
        WriteFile(test.FolderPath(QStringLiteral("DirChat%1.txt").arg(number)), "old");
    test.prompts.saveAnswers << test.FolderPath("DirChat9.txt") << test.FolderPath("DirChat9.txt");
    test.prompts.questionAnswers << Prompts::Answer::No << Prompts::Answer::Yes;
    test.Main().SaveAs1Click();
    QCOMPARE(test.prompts.fileRequests.constFirst().fileName, QStringLiteral("DirChat9.txt"));
    QCOMPARE(ReadFile(test.FolderPath("DirChat9.txt")), QByteArray("old"));
    QCOMPARE(test.prompts.shown.last(), "question: OK to overwrite " + test.FolderPath("DirChat9.txt"));

    test.Main().Save1Click(); // a declined file is not remembered: the dialog comes again
    QCOMPARE(test.prompts.fileRequests.size(), 2);
    QVERIFY(ReadFile(test.FolderPath("DirChat9.txt")).startsWith(" Vanu Server&Client"));
}

void TestMainWindow::cancelledSaveAsAsksAgain()
{
    TestProgram test;
    test.prompts.saveAnswers << test.FolderPath("first.txt") << QString() << test.FolderPath("second");
    test.Main().SaveAs1Click();
    test.Main().SaveAs1Click(); // cancelled
    QVERIFY(test.Main().rememberedTranscriptPath().isEmpty());
    test.Main().Save1Click();
    QCOMPARE(test.prompts.fileRequests.size(), 3);
    QVERIFY(QFile::exists(test.FolderPath("second.txt")));
}

void TestMainWindow::unwritablePath()
{
    TestProgram test;
    const QString path = test.FolderPath("missing/chat.txt");
    test.prompts.saveAnswers << path;
    const QStringList before = test.Main().chatLines();
    test.Main().SaveAs1Click();
    QCOMPARE(test.prompts.shown.last(), "error: Cannot create file " + path);
    QCOMPARE(test.Main().chatLines(), before);
    QVERIFY(!QFile::exists(path));
}

// A link planted where the transcript goes: one that leads nowhere is not
// written through, and the user is asked for another name; one that leads to
// a file is a file that exists, and the question names the file it leads to.
void TestMainWindow::saveChatAtALink_data()
{
    QTest::addColumn<bool>("targetExists");
    QTest::addColumn<Prompts::Answer>("answer");
    QTest::addColumn<bool>("targetWritten");
    QTest::newRow("a link to nothing") << false << Prompts::Answer::Yes << false;
    QTest::newRow("a link to a file, overwriting declined") << true << Prompts::Answer::No << false;
    QTest::newRow("a link to a file, overwriting agreed") << true << Prompts::Answer::Yes << true;
}

void TestMainWindow::saveChatAtALink()
{
    QFETCH(bool, targetExists);
    QFETCH(Prompts::Answer, answer);
    QFETCH(bool, targetWritten);
    TestProgram test;
    QTemporaryDir elsewhere;
    const QString target = QDir(elsewhere.path()).filePath(QStringLiteral("victim"));
    if (targetExists)
        WriteFile(target, "old");
    const QString link = test.FolderPath("DirChat1.txt");
    QVERIFY(QFile::link(target, link));
    test.prompts.saveAnswers << link << test.FolderPath("other.txt");
    test.prompts.questionAnswers << answer;
    test.Main().SaveAs1Click();

    QCOMPARE(test.prompts.fileRequests.constFirst().fileName, QStringLiteral("DirChat2.txt"));
    QCOMPARE(ReadFile(target).startsWith(" Vanu Server&Client"), targetWritten);
    QCOMPARE(QFileInfo::exists(target), targetExists);
    QVERIFY(QFileInfo(link).isSymLink());
    if (targetExists) {
        QCOMPARE(test.prompts.shown.filter("question:"), QStringList{"question: OK to overwrite " + target});
        return;
    }
    QCOMPARE(test.prompts.shown.filter("error:"),
             QStringList{"error: " + link + " is a link to " + target + ", which does not exist. Choose another name."});
    QVERIFY(ReadFile(test.FolderPath("other.txt")).startsWith(" Vanu Server&Client"));
}

void TestMainWindow::closingHidesWithATray()
{
    TestProgram test;
    test.program->start();
    QVERIFY(QTest::qWaitForWindowExposed(&test.Main()));
    QVERIFY(!test.Main().close());
    QVERIFY(!test.Main().isVisible());
    QCOMPARE(test.ends, 0);
    test.Main().TrayIcon1DblClick();
    QVERIFY(test.Main().isVisible());
}

void TestMainWindow::closingMinimisesWithoutATray()
{
    TestProgram test;
    test.tray.SetAvailable(false);
    QCOMPARE(test.tray.taskbarEntryVisible.last(), true);
    test.program->start();
    QVERIFY(QTest::qWaitForWindowExposed(&test.Main()));
    test.Main().CloseForm1->trigger();
    QVERIFY(test.Main().isVisible());
    QTRY_VERIFY(test.Main().isMinimized());
    QCOMPARE(test.ends, 0);
}

void TestMainWindow::exitWhileTryingDoesNothing()
{
    TestProgram test;
    test.program->start();
    test.Main().Trying = true;
    test.Main().Exit1->trigger();
    QVERIFY(test.Main().isVisible());
    QCOMPARE(test.ends, 0);
    QCOMPARE(test.prompts.shown, QStringList());

    // Closing the window asks instead; OK ends the chat and the program.
    test.prompts.confirmAnswers << true;
    test.Main().close();
    QCOMPARE(test.prompts.shown, QStringList{"confirm: Do you want to stop tray?"});
    QTRY_COMPARE(test.ends, 1);
    QCOMPARE(test.Main().windowTitle(), QStringLiteral("Vanu"));
}

void TestMainWindow::exitWhileListeningAsks()
{
    TestProgram test;
    test.program->start();
    TForm4 &main = test.Main();
    main.TCPServer1->Port = QString::number(kBasePort + 1);
    main.TCPServer1->Open();
    QCOMPARE(main.TCPServer1->State(), wsListening);
    main.Exit1->trigger();
    QCOMPARE(test.prompts.shown, QStringList{"confirm: Close the Chat?"});
    QVERIFY(main.isVisible());
    QCOMPARE(main.TCPServer1->State(), wsListening);
    QCOMPARE(test.ends, 0);
}

void TestMainWindow::exitEndsTheProgram()
{
    TestProgram test;
    test.program->start();
    test.Main().Exit1->trigger();
    QCOMPARE(test.ends, 1);
    QVERIFY(!test.Main().isVisible());
    QVERIFY(!test.Main().Exiting);
}

void TestMainWindow::closeChatWhileIdle()
{
    TestProgram test;
    test.Main().CloseChat2->trigger();
    QCOMPARE(test.prompts.shown, QStringList());
    QCOMPARE(test.Main().windowTitle(), QStringLiteral("Vanu"));
    QCOMPARE(test.tray.toolTip, QStringLiteral("Vanu"));
    QVERIFY(test.Main().UserClosed);
}

// As the program ends, a guest still connected hears it before its
// connection closes.
void TestMainWindow::guestsHearTheHostGo()
{
    TestProgram test;
    TTCPServer &server = *test.Main().TCPServer1;
    server.Port = QString::number(kBasePort + 2);
    server.Open();
    LoopbackPeer guest;
    QVERIFY(guest.Connect(kBasePort + 2));
    QTRY_COMPARE(server.Clients().Count(), 1);
    const QByteArray greeting = guest.ReadAtLeast(1);
    test.End();
    QByteArray received;
    QVERIFY(guest.WaitForEndOfStream(&received));
    QVERIFY2((greeting + received).endsWith("VanuServer is Down"), (greeting + received).constData());
}

// What the host types once a guest has come goes to the chat; until then the
// line looks closed.
void TestMainWindow::theFirstGuestGivesTheHostTheKeyboard()
{
    TestProgram test(TestProgram::Setup("Hosty"));
    TForm4 &main = test.Main();
    main.show();
    main.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&main));
    QVERIFY(test.StartHost(kBasePort + 3));
    const QPalette input = main.Edit1->palette();
    QCOMPARE(input.color(QPalette::Disabled, QPalette::Base), input.color(QPalette::Active, QPalette::Base));
    QVERIFY(input.color(QPalette::Disabled, QPalette::Text) != input.color(QPalette::Active, QPalette::Text));
    QVERIFY(!main.Edit1->hasFocus());

    LoopbackPeer guest;
    QVERIFY(guest.Connect(kBasePort + 3));
    QTRY_VERIFY(main.Edit1->hasFocus());

    // A second guest comes while the user is in another window: back in
    // this one, the line has the keyboard.
    QWidget elsewhere;
    elsewhere.show();
    elsewhere.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&elsewhere));
    main.Edit1->setEnabled(false); // as when the first guest has gone
    main.RichEdit1->setFocus();
    LoopbackPeer second;
    QVERIFY(second.Connect(kBasePort + 3));
    QTRY_VERIFY(main.Edit1->isEnabled());
    main.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&main));
    QTRY_VERIFY(main.Edit1->hasFocus());
}

void TestMainWindow::localAddressChoice_data()
{
    QTest::addColumn<QStringList>("resolved");
    QTest::addColumn<QStringList>("interfaces");
    QTest::addColumn<QString>("chosen");
    QTest::newRow("last of the resolver's") << QStringList{"192.168.1.5", "10.0.0.7"} << QStringList{"172.16.0.1"}
                                            << "10.0.0.7";
    QTest::newRow("loopback skipped") << QStringList{"192.168.1.5", "127.0.1.1"} << QStringList{} << "192.168.1.5";
    QTest::newRow("only loopback resolved") << QStringList{"127.0.1.1"}
                                            << QStringList{"127.0.0.1", "10.1.1.1", "192.168.0.9"} << "192.168.0.9";
    QTest::newRow("nothing resolved") << QStringList{} << QStringList{"10.1.1.1", "127.0.0.1"} << "10.1.1.1";
    QTest::newRow("none at all") << QStringList{"127.0.0.1"} << QStringList{"127.0.0.1"} << "127.0.0.1";
}

void TestMainWindow::localAddressChoice()
{
    QFETCH(QStringList, resolved);
    QFETCH(QStringList, interfaces);
    QFETCH(QString, chosen);
    QCOMPARE(ChooseLocalAddress(resolved, interfaces), chosen);
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
