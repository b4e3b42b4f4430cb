// The setup dialog on its own, with real files in a temporary program folder
// and scripted answers in place of message boxes and file dialogs.
#include "Cp1251CodePage.h"
#include "ProgramLook.h"
#include "ScriptedPrompts.h"
#include "TForm8.h"
#include "TMouseUpCheckBox.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QLabel>
#include <QTest>

#include "Unprivileged.h"

#include <memory>

#include <sys/stat.h>

namespace {

const QByteArray kDefaults("0\r\nBlue\r\nAnonymous\r\n127.0.0.1\r\n");
const QString kMustEnter = QStringLiteral("message: You really must enter\rNickname and Host address");

QByteArray ReadFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void WriteFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QColor TextColour(QWidget *widget)
{
    return widget->palette().color(QPalette::Text);
}

QColor Background(QWidget *widget)
{
    return widget->palette().color(QPalette::Base);
}

} // namespace

class TestSetupDialog : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { UseProgramLook(); }
    void init();
    void cleanup();
    void freshStart();
    void okSavesExactBytes();
    void okTrimsTheFilter();
    void oddFiles_data();
    void oddFiles();
    void megabyteFile();
    void nicknameTypingLimit();
    void portRule_data();
    void portRule();
    void portDefaultByMouse();
    void portDefaultByKeyboard();
    void filterKeys();
    void filterNoteOnWholeAddresses();
    void cancelRestoresPortAndReloads();
    void cancelWithoutLastSetupKeepsEdits();
    void emptyNicknameKeepsTheDialogOpen_data();
    void emptyNicknameKeepsTheDialogOpen();
    void titleBarCloseKeepsEditsUnsaved();
    void colourChoices_data();
    void colourChoices();
    void typedInvalidColour();
    void colourFromFile_data();
    void colourFromFile();
    void saveButtonNames_data();
    void saveButtonNames();
    void saveButtonAsksBeforeReplacing();
    void saveButtonCannotCreate();
    void okCannotSave();
    void okReplacesALinkAtLastSetup_data();
    void okReplacesALinkAtLastSetup();
    void loadButtonTakesTheFirst();
    void enterIsOkAndEscapeIsNothing();
    void filterLineBreaks_data();
    void filterLineBreaks();
    void pastedIntoOneLineFields_data();
    void pastedIntoOneLineFields();
    void filesThatAreNoSetupFiles_data();
    void filesThatAreNoSetupFiles();
    void charactersTheCodePageLacks();
    void readOnlyProgramFolder();
    void tabLabelsShowWhole();

private:
    TForm8 &Dialog();
    QString FolderPath(const QString &name) const { return QDir(folder->path()).filePath(name); }
    void ShowPersonalPage();

    std::unique_ptr<QTemporaryDir> folder;
    ScriptedPrompts prompts;
    Cp1251CodePage codePage;
    std::unique_ptr<TForm8> dialog;
};

void TestSetupDialog::init()
{
    folder = std::make_unique<QTemporaryDir>();
    prompts = ScriptedPrompts();
}

void TestSetupDialog::cleanup()
{
    dialog.reset();
    folder.reset();
}

TForm8 &TestSetupDialog::Dialog()
{
    if (!dialog)
        dialog = std::make_unique<TForm8>(folder->path(), prompts, codePage);
    return *dialog;
}

void TestSetupDialog::ShowPersonalPage()
{
    Dialog().show();
    QVERIFY(QTest::qWaitForWindowExposed(&Dialog()));
}

void TestSetupDialog::freshStart()
{
    TForm8 &form = Dialog();
    QCOMPARE(form.windowTitle(), QStringLiteral("Setup Configuration"));
    QCOMPARE(form.size(), QSize(171, 221));
    QCOMPARE(form.HostAddress(), QStringLiteral("127.0.0.1"));
    QCOMPARE(form.PortNumber(), 4000);
    QCOMPARE(form.Nickname(), QStringLiteral("Anonymous"));
    QCOMPARE(form.ColourName(), QStringLiteral("Blue"));
    QCOMPARE(form.ColourIndexText(), QStringLiteral("0"));
    QCOMPARE(form.FilterLines(), QStringList());
    QCOMPARE(form.FilterMode(), 0);
    QVERIFY(form.CheckBox1->isChecked());
    QVERIFY(form.ePort->isReadOnly());
    QVERIFY(!form.windowIcon().pixmap(32).isNull());
    QCOMPARE(TextColour(form.eName), QColor(Qt::blue));
    QCOMPARE(Background(form.eName), QColor(0, 128, 128));
    QCOMPARE(prompts.shown, QStringList());
}

void TestSetupDialog::okSavesExactBytes()
{
    ShowPersonalPage();
    Dialog().BitBtn1->click();
    QVERIFY(!Dialog().isVisible());
    QCOMPARE(ReadFile(FolderPath("LastSetup.set")), kDefaults);
}

// Leading and trailing blank lines go; a blank line between two lines stays.
void TestSetupDialog::okTrimsTheFilter()
{
    ShowPersonalPage();
    Dialog().mFilter->setPlainText(QStringLiteral("\n \t\n10.0.0.5\n\n10.0.0.6 \n\n"));
    Dialog().BitBtn1->click();
    QCOMPARE(Dialog().FilterLines(), (QStringList{"10.0.0.5", "", "10.0.0.6"}));
    QCOMPARE(ReadFile(FolderPath("LastSetup.set")), kDefaults + "10.0.0.5\r\n\r\n10.0.0.6");
}

void TestSetupDialog::oddFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("nickname");
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QStringList>("shown");

    QTest::newRow("NUL byte") << QByteArray("1\r\nRed\r\nAn\0na\r\nh\r\n", 19) << "An" << "" << 1 << QStringList{};
    QTest::newRow("first line no number") << QByteArray("x\r\nRed\r\nBob\r\nh\r\n") << "Anonymous" << "127.0.0.1" << 0
                                          << QStringList{"error: 'x' is not a valid integer value"};
    QTest::newRow("empty file") << QByteArray() << "Anonymous" << "127.0.0.1" << 0
                                << QStringList{"error: '' is not a valid integer value"};
    QTest::newRow("lone CR") << QByteArray("1\rRed\rBob\rh") << "Bob" << "h" << 1 << QStringList{};
    QTest::newRow("lone LF") << QByteArray("1\nRed\nBob\nh") << "Bob" << "h" << 1 << QStringList{};
    QTest::newRow("fourteen characters") << QByteArray("0\r\nRed\r\nFourteen chars\r\nh") << "Fourteen c" << "h"
                                         << 0 << QStringList{};
    QTest::newRow("long damaged first line")
        << QByteArray(1000000, 'x') + "\r\nRed\r\nBob\r\nh" << "Anonymous" << "127.0.0.1" << 0
        << QStringList{"error: '" + QString(80, QLatin1Char('x')) + QChar(0x2026) + "' is not a valid integer value"};
    QTest::newRow("markup is quoted as it is") << QByteArray("<b>x</b>\r\nRed\r\nBob\r\nh") << "Anonymous"
                                               << "127.0.0.1" << 0
                                               << QStringList{"error: '<b>x</b>' is not a valid integer value"};
    QTest::newRow("invalid colour is silent") << QByteArray("-3\r\nOrange\r\nBob\r\nh") << "Bob" << "h" << -1
                                              << QStringList{};
}

void TestSetupDialog::oddFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, nickname);
    QFETCH(QString, host);
    QFETCH(int, mode);
    QFETCH(QStringList, shown);
    WriteFile(FolderPath("LastSetup.set"), bytes);

    TForm8 &form = Dialog();
    QCOMPARE(form.Nickname(), nickname);
    QCOMPARE(form.HostAddress(), host);
    QCOMPARE(form.FilterMode(), mode);
    QCOMPARE(form.IncludeChoice->isChecked(), mode == 0);
    QCOMPARE(form.ExcludeChoice->isChecked(), mode == 1);
    QCOMPARE(prompts.shown, shown);
    if (!shown.isEmpty())
        QCOMPARE(form.ColourName(), QStringLiteral("Blue")); // nothing changed
}

void TestSetupDialog::megabyteFile()
{
    QByteArray bytes = "0\r\nLime\r\nBob\r\n10.0.0.1\r\n";
    for (int line = 0; bytes.size() < 1024 * 1024; ++line)
        bytes += QByteArray::number(line % 256) + ".0.0." + QByteArray(line % 7, 'x') + "\r\n";
    WriteFile(FolderPath("LastSetup.set"), bytes);

    TForm8 &form = Dialog();
    QCOMPARE(form.ColourName(), QStringLiteral("Lime"));
    QCOMPARE(form.FilterLines().constFirst(), QStringLiteral("0.0.0."));
    QVERIFY(form.FilterLines().size() > 50000);
    QVERIFY(form.SaveSetup(FolderPath("again.set")));
    QCOMPARE(ReadFile(FolderPath("again.set")), bytes);
}

// Ten characters can be typed; a longer name from a file stays whole and can
// be shortened, but not lengthened.
void TestSetupDialog::nicknameTypingLimit()
{
    ShowPersonalPage();
    TForm8 &form = Dialog();
    form.eName->clear();
    form.eName->setFocus();
    QTest::keyClicks(form.eName, QStringLiteral("Twelve chars"));
    QCOMPARE(form.Nickname(), QStringLiteral("Twelve cha"));

    // A name from a file is cut where typing stops.
    WriteFile(FolderPath("long.set"), "0\r\nBlue\r\nBob" + QByteArray(200, ' ') + "HOSTILE\r\nh\r\n");
    QVERIFY(form.LoadSetup(FolderPath("long.set")));
    QCOMPARE(form.Nickname(), QStringLiteral("Bob       "));
    form.eName->end(false);
    QTest::keyClick(form.eName, 'x');
    QCOMPARE(form.Nickname(), QStringLiteral("Bob       "));
}

void TestSetupDialog::portRule_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<bool>("atEnd");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("port");
    QTest::newRow("cleared") << "4000" << true << "\b\b\b\b" << "4000" << 4000;
    QTest::newRow("sixth digit after 40000") << "40000" << true << "1" << "4000" << 4000;
    QTest::newRow("minus in front") << "4000" << false << "-" << "4000" << 4000;
    QTest::newRow("50000 is the highest") << "5000" << true << "0" << "50000" << 50000;
    QTest::newRow("50001 is too high") << "5000" << true << "1" << "4000" << 4000;
    QTest::newRow("zero is no port") << "4000" << false << "\x7f\x7f\x7f" << "4000" << 4000;
    QTest::newRow("one is the lowest") << "1000" << true << "\b\b\b" << "1" << 1;
    QTest::newRow("letter") << "4000" << true << "x" << "4000" << 4000;
}

void TestSetupDialog::portRule()
{
    QFETCH(QString, start);
    QFETCH(bool, atEnd);
    QFETCH(QString, typed);
    QFETCH(QString, text);
    QFETCH(int, port);
    ShowPersonalPage();
    TForm8 &form = Dialog();
    QTest::mouseClick(form.CheckBox1, Qt::LeftButton);
    QVERIFY(!form.ePort->isReadOnly());
    form.ePort->setText(start);
    form.ePort->setFocus();
    form.ePort->setCursorPosition(atEnd ? int(start.size()) : 0);
    for (QChar character : typed) {
        if (character == QLatin1Char('\b'))
            QTest::keyClick(form.ePort, Qt::Key_Backspace);
        else if (character == QChar(0x7f))
            QTest::keyClick(form.ePort, Qt::Key_Delete);
        else
            QTest::keyClick(form.ePort, character.toLatin1());
    }
    QCOMPARE(form.ePort->text(), text);
    QCOMPARE(form.PortNumber(), port);
}

void TestSetupDialog::portDefaultByMouse()
{
    ShowPersonalPage();
    TForm8 &form = Dialog();
    QTest::mouseClick(form.CheckBox1, Qt::LeftButton);
    QVERIFY(!form.CheckBox1->isChecked());
    QVERIFY(!form.ePort->isReadOnly());
    QCOMPARE(form.ePort->text(), QStringLiteral("4000"));

    form.ePort->setText(QStringLiteral("5000"));
    QCOMPARE(form.PortNumber(), 5000);
    QTest::mouseClick(form.CheckBox1, Qt::LeftButton);
    QVERIFY(form.ePort->isReadOnly());
    QCOMPARE(form.ePort->text(), QStringLiteral("4000"));
    QCOMPARE(form.PortNumber(), 4000);

    form.ePort->setFocus();
    QTest::keyClick(form.ePort, '7');
    QCOMPARE(form.ePort->text(), QStringLiteral("4000")); // read-only
}

void TestSetupDialog::portDefaultByKeyboard()
{
    ShowPersonalPage();
    TForm8 &form = Dialog();
    // Space does what a click does: the port can be set without a mouse.
    form.CheckBox1->setFocus();
    QTest::keyClick(form.CheckBox1, Qt::Key_Space);
    QVERIFY(!form.CheckBox1->isChecked());
    QVERIFY(!form.ePort->isReadOnly());
    form.ePort->setText(QStringLiteral("5000"));
    QCOMPARE(form.PortNumber(), 5000);
    QTest::keyClick(form.CheckBox1, Qt::Key_Space);
    QVERIFY(form.CheckBox1->isChecked());
    QVERIFY(form.ePort->isReadOnly());
    QCOMPARE(form.ePort->text(), QStringLiteral("4000"));
}

void TestSetupDialog::filterKeys()
{
    ShowPersonalPage();
    TForm8 &form = Dialog();
    form.TabbedNotebook1->setCurrentIndex(1);
    form.mFilter->setFocus();
    QApplication::clipboard()->setText(QStringLiteral("abc"));

    QTest::keyClicks(form.mFilter, QStringLiteral("a192.168.1.7 ;"));
    QTest::keyClick(form.mFilter, Qt::Key_Return);
    QTest::keyClick(form.mFilter, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(form.mFilter, '1');
    QTest::keyClick(form.mFilter, Qt::Key_Backspace);
    QCOMPARE(form.FilterLines(), (QStringList{"192.168.1.7", ""}));

    // Keys without a character work as usual.
    QTest::keyClick(form.mFilter, Qt::Key_Left);
    QTest::keyClick(form.mFilter, Qt::Key_Left);
    QTest::keyClick(form.mFilter, Qt::Key_Delete);
    QCOMPARE(form.FilterLines(), (QStringList{"192.168.1.", ""}));
}

// A whole address in the filter gets a note under the box, as it is typed
// and as a file is loaded; it goes with the line.
void TestSetupDialog::filterNoteOnWholeAddresses()
{
    ShowPersonalPage();
    TForm8 &form = Dialog();
    form.TabbedNotebook1->setCurrentIndex(1);
    form.mFilter->setFocus();
    QTest::keyClicks(form.mFilter, QStringLiteral("10.0.0."));
    QVERIFY(!form.filterNote->isVisible());
    QTest::keyClick(form.mFilter, '1');
    QVERIFY(form.filterNote->isVisible());
    QCOMPARE(form.filterNote->text(), QStringLiteral("10.0.0.1 also covers 10.0.0.10–19, 100–199"));
    QVERIFY(form.filterNote->geometry().top() >= form.mFilter->geometry().bottom());
    QTest::keyClick(form.mFilter, Qt::Key_Backspace);
    QVERIFY(!form.filterNote->isVisible());

    WriteFile(FolderPath("lan.set"), "0\r\nBlue\r\nAnna\r\nh\r\n10.0.0\r\n192.168.1.2\r\n10.0.0.1");
    QVERIFY(form.LoadSetup(FolderPath("lan.set")));
    QCOMPARE(form.filterNote->text(), QStringLiteral("192.168.1.2 also covers 192.168.1.20–29, 200–255 (+1 more)"));
    QVERIFY(form.filterNote->toolTip().contains(QStringLiteral("10.0.0.1 also covers 10.0.0.10–19, 100–199")));
}

void TestSetupDialog::cancelRestoresPortAndReloads()
{
    WriteFile(FolderPath("LastSetup.set"), "1\r\nRed\r\nBob\r\n10.0.0.1\r\n10.0");
    ShowPersonalPage();
    TForm8 &form = Dialog();
    QTest::mouseClick(form.CheckBox1, Qt::LeftButton);
    form.ePort->setText(QStringLiteral("5000"));
    form.eName->setText(QStringLiteral("Robert"));
    form.cCollor->setCurrentIndex(3);
    form.mFilter->setPlainText(QStringLiteral("192"));

    form.BitBtn2->click();
    QVERIFY(!form.isVisible());
    QCOMPARE(form.ePort->text(), QStringLiteral("4000"));
    QCOMPARE(form.PortNumber(), 4000);
    QCOMPARE(form.Nickname(), QStringLiteral("Bob"));
    QCOMPARE(form.ColourName(), QStringLiteral("Red"));
    QCOMPARE(form.FilterLines(), QStringList{"10.0"});
    QVERIFY(!form.CheckBox1->isChecked()); // Cancel leaves the check box alone
    QVERIFY(!form.ePort->isReadOnly());
}

void TestSetupDialog::cancelWithoutLastSetupKeepsEdits()
{
    ShowPersonalPage();
    TForm8 &form = Dialog();
    form.eName->setText(QStringLiteral(" "));
    form.BitBtn2->click();
    QVERIFY(!form.isVisible());
    QCOMPARE(form.Nickname(), QStringLiteral(" "));
    QVERIFY(!QFile::exists(FolderPath("LastSetup.set")));
}

void TestSetupDialog::emptyNicknameKeepsTheDialogOpen_data()
{
    QTest::addColumn<int>("way");
    QTest::addColumn<bool>("emptyHost");
    QTest::newRow("OK, nickname") << 0 << false;
    QTest::newRow("Cancel, nickname") << 1 << false;
    QTest::newRow("title bar, nickname") << 2 << false;
    QTest::newRow("OK, host") << 0 << true;
    QTest::newRow("Cancel, host") << 1 << true;
    QTest::newRow("title bar, host") << 2 << true;
}

void TestSetupDialog::emptyNicknameKeepsTheDialogOpen()
{
    QFETCH(int, way);
    QFETCH(bool, emptyHost);
    ShowPersonalPage();
    TForm8 &form = Dialog();
    (emptyHost ? form.eHost : form.eName)->clear();
    if (way == 0)
        form.BitBtn1->click();
    else if (way == 1)
        form.BitBtn2->click();
    else
        form.close();
    QVERIFY(form.isVisible());
    QCOMPARE(prompts.shown, QStringList{kMustEnter});
    QVERIFY(!QFile::exists(FolderPath("LastSetup.set")));
}

void TestSetupDialog::titleBarCloseKeepsEditsUnsaved()
{
    ShowPersonalPage();
    TForm8 &form = Dialog();
    form.cCollor->setCurrentIndex(5);
    QVERIFY(form.close());
    QVERIFY(!form.isVisible());
    QCOMPARE(form.ColourName(), QStringLiteral("Red"));
    QCOMPARE(form.ColourIndexText(), QStringLiteral("5"));
    QVERIFY(!QFile::exists(FolderPath("LastSetup.set")));
}

void TestSetupDialog::colourChoices_data()
{
    QTest::addColumn<int>("entry");
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<QColor>("boxText");
    QTest::newRow("White") << 9 << QColor(Qt::white) << QColor(Qt::black);
    QTest::newRow("Red") << 5 << QColor(Qt::red) << QColor(Qt::white);
    QTest::newRow("Lime") << 6 << QColor(0, 255, 0) << QColor(Qt::black);
    QTest::newRow("Navy") << 3 << QColor(0, 0, 128) << QColor(Qt::white);
}

void TestSetupDialog::colourChoices()
{
    QFETCH(int, entry);
    QFETCH(QColor, colour);
    QFETCH(QColor, boxText);
    ShowPersonalPage();
    TForm8 &form = Dialog();
    form.cCollor->setCurrentIndex(entry);
    QCOMPARE(form.ColourIndexText(), QString::number(entry));
    QCOMPARE(TextColour(form.eName), colour);
    QCOMPARE(Background(form.eName), QColor(0, 128, 128));
    QCOMPARE(Background(form.cCollor->lineEdit()), colour);
    QCOMPARE(TextColour(form.cCollor->lineEdit()), boxText);
    QCOMPARE(prompts.shown, QStringList());
}

void TestSetupDialog::typedInvalidColour()
{
    ShowPersonalPage();
    TForm8 &form = Dialog();
    form.cCollor->setCurrentIndex(9);
    form.cCollor->lineEdit()->setFocus();
    form.cCollor->lineEdit()->selectAll();
    QTest::keyClick(form.cCollor->lineEdit(), 'O');
    QCOMPARE(prompts.shown, QStringList{"message: This collor is not valid"});
    QCOMPARE(form.ColourName(), QStringLiteral("Blue"));
    QCOMPARE(form.ColourIndexText(), QStringLiteral("0"));
    QCOMPARE(TextColour(form.eName), QColor(Qt::blue));
    QCOMPARE(Background(form.cCollor->lineEdit()), QColor(Qt::blue));
    QCOMPARE(TextColour(form.cCollor->lineEdit()), QColor(Qt::white));
}

void TestSetupDialog::colourFromFile_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QString>("shownName");
    QTest::addColumn<QString>("indexText");
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<QColor>("boxText");
    QTest::newRow("Green") << QByteArray("Green") << "Green" << "-1" << QColor(0, 128, 0) << QColor(Qt::white);
    QTest::newRow("WHITE") << QByteArray("WHITE") << "WHITE" << "9" << QColor(Qt::white) << QColor(Qt::black);
    QTest::newRow("Orange") << QByteArray("Orange") << "Blue" << "0" << QColor(Qt::blue) << QColor(Qt::white);
}

void TestSetupDialog::colourFromFile()
{
    QFETCH(QByteArray, name);
    QFETCH(QString, shownName);
    QFETCH(QString, indexText);
    QFETCH(QColor, colour);
    QFETCH(QColor, boxText);
    WriteFile(FolderPath("LastSetup.set"), "0\r\n" + name + "\r\nBob\r\nh\r\n");
    TForm8 &form = Dialog();
    QCOMPARE(form.ColourName(), shownName);
    QCOMPARE(form.ColourIndexText(), indexText);
    QCOMPARE(TextColour(form.eName), colour);
    QCOMPARE(Background(form.cCollor->lineEdit()), colour);
    QCOMPARE(TextColour(form.cCollor->lineEdit()), boxText);
    QCOMPARE(prompts.shown, QStringList());
}

void TestSetupDialog::saveButtonNames_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("written");
    QTest::newRow("friends") << "friends" << "friends.set";
    QTest::newRow("friends.set") << "friends.set" << "friends.set";
    QTest::newRow("my.setup.txt") << "my.setup.txt" << "my.set";
    QTest::newRow("dotted folder") << "my.logs/chat" << "my.logs/chat.set";
}

void TestSetupDialog::saveButtonNames()
{
    QFETCH(QString, chosen);
    QFETCH(QString, written);
    QDir(folder->path()).mkdir(QStringLiteral("my.logs"));
    TForm8 &form = Dialog();
    form.mFilter->setPlainText(QStringLiteral("10.0.0.5\n")); // the Save button does not trim
    prompts.saveAnswers << FolderPath(chosen);
    form.MakeConf->click();
    QCOMPARE(prompts.fileRequests.constFirst().title, QStringLiteral("Save Setup"));
    QCOMPARE(prompts.fileRequests.constFirst().filter, QStringLiteral("Text files (*.set)|*.set"));
    QCOMPARE(prompts.fileRequests.constFirst().folder, folder->path());
    QCOMPARE(ReadFile(FolderPath(written)), kDefaults + "10.0.0.5\r\n");
    QCOMPARE(prompts.shown, QStringList{"save dialog: Save Setup"});
}

void TestSetupDialog::saveButtonAsksBeforeReplacing()
{
    WriteFile(FolderPath("friends.set"), "old");
    TForm8 &form = Dialog();
    prompts.saveAnswers << FolderPath("friends") << FolderPath("friends.txt");
    prompts.questionAnswers << Prompts::Answer::No << Prompts::Answer::Yes;
    form.MakeConf->click();
    QCOMPARE(ReadFile(FolderPath("friends.set")), QByteArray("old"));
    form.MakeConf->click();
    QCOMPARE(ReadFile(FolderPath("friends.set")), kDefaults);
    QCOMPARE(prompts.shown.filter("question:"),
             QStringList(2, "question: OK to overwrite " + FolderPath("friends.set")));
}

// A link planted at LastSetup.set is replaced by the file; what it leads to,
// there or not, is left alone.
void TestSetupDialog::okReplacesALinkAtLastSetup_data()
{
    QTest::addColumn<bool>("targetExists");
    QTest::newRow("a link to nothing") << false;
    QTest::newRow("a link to a file") << true;
}

void TestSetupDialog::okReplacesALinkAtLastSetup()
{
    QFETCH(bool, targetExists);
    QTemporaryDir elsewhere;
    const QString target = QDir(elsewhere.path()).filePath(QStringLiteral("victim"));
    if (targetExists)
        WriteFile(target, "1\r\nRed\r\nBob\r\n10.0.0.1\r\n");
    QVERIFY(QFile::link(target, FolderPath("LastSetup.set")));
    ShowPersonalPage();
    Dialog().eName->setText(QStringLiteral("Ann"));
    Dialog().BitBtn1->click();
    QVERIFY(!QFileInfo(FolderPath("LastSetup.set")).isSymLink());
    QVERIFY(ReadFile(FolderPath("LastSetup.set")).contains("\r\nAnn\r\n"));
    QCOMPARE(QFileInfo::exists(target), targetExists);
    if (targetExists)
        QCOMPARE(ReadFile(target), QByteArray("1\r\nRed\r\nBob\r\n10.0.0.1\r\n"));
}

void TestSetupDialog::saveButtonCannotCreate()
{
    TForm8 &form = Dialog();
    prompts.saveAnswers << FolderPath("missing/friends");
    form.MakeConf->click();
    QCOMPARE(prompts.shown.last(), "error: Cannot create file " + FolderPath("missing/friends.set"));
}

// A folder that cannot take the file: the dialog stays open with every edit,
// and the filter box shows what it showed before, apart from the trimming.
void TestSetupDialog::okCannotSave()
{
    ShowPersonalPage();
    TForm8 &form = Dialog();
    QVERIFY(QDir(folder->path()).mkdir(QStringLiteral("LastSetup.set"))); // a folder in the file's place
    form.eName->setText(QStringLiteral("Anna"));
    form.mFilter->setPlainText(QStringLiteral("10.0.0.5\n\n10.0.0.6\n"));
    form.BitBtn1->click();
    QVERIFY(form.isVisible());
    QCOMPARE(prompts.shown, QStringList{"message: I cannot save settings!"});
    QCOMPARE(form.Nickname(), QStringLiteral("Anna"));
    QCOMPARE(form.FilterLines(), (QStringList{"10.0.0.5", "", "10.0.0.6"}));
}

void TestSetupDialog::loadButtonTakesTheFirst()
{
    WriteFile(FolderPath("a.set"), "1\r\nNavy\r\nFirst\r\n10.0.0.1\r\n");
    WriteFile(FolderPath("b.set"), "0\r\nRed\r\nSecond\r\n10.0.0.2\r\n");
    TForm8 &form = Dialog();
    prompts.openAnswers << QStringList{FolderPath("a.set"), FolderPath("b.set")};
    form.LoadConf->click();
    QCOMPARE(prompts.fileRequests.constFirst().title, QStringLiteral("Open Setup"));
    QCOMPARE(form.Nickname(), QStringLiteral("First"));
    QCOMPARE(form.ColourIndexText(), QStringLiteral("3"));
    QCOMPARE(form.FilterMode(), 1);

    form.LoadConf->click(); // cancelled: nothing changes
    QCOMPARE(form.Nickname(), QStringLiteral("First"));
}

void TestSetupDialog::enterIsOkAndEscapeIsNothing()
{
    ShowPersonalPage();
    TForm8 &form = Dialog();
    form.eHost->setFocus();
    QTest::keyClick(form.eHost, Qt::Key_Escape);
    QVERIFY(form.isVisible());
    QTest::keyClick(form.eHost, Qt::Key_Return);
    QVERIFY(!form.isVisible());
    QCOMPARE(ReadFile(FolderPath("LastSetup.set")), kDefaults);
}

void TestSetupDialog::filterLineBreaks_data()
{
    QTest::addColumn<QString>("pasted");
    QTest::newRow("Shift+Enter") << QString();
    QTest::newRow("line separator") << QStringLiteral("10.0.0.5\u202810.0.0.6");
    QTest::newRow("paragraph separator") << QStringLiteral("10.0.0.5\u202910.0.0.6");
    QTest::newRow("CR LF") << QStringLiteral("10.0.0.5\r\n10.0.0.6");
    QTest::newRow("lone CR") << QStringLiteral("10.0.0.5\r10.0.0.6");
}

// However a line break got into the filter box, it separates two lines of the list.
void TestSetupDialog::filterLineBreaks()
{
    QFETCH(QString, pasted);
    ShowPersonalPage();
    TForm8 &form = Dialog();
    form.TabbedNotebook1->setCurrentIndex(1);
    form.mFilter->setFocus();
    if (pasted.isEmpty()) {
        QTest::keyClicks(form.mFilter, QStringLiteral("10.0.0.5"));
        QTest::keyClick(form.mFilter, Qt::Key_Return, Qt::ShiftModifier);
        QTest::keyClicks(form.mFilter, QStringLiteral("10.0.0.6"));
    } else {
        form.mFilter->insertPlainText(pasted);
    }
    QCOMPARE(form.FilterLines(), (QStringList{"10.0.0.5", "10.0.0.6"}));
    form.BitBtn1->click();
    QCOMPARE(ReadFile(FolderPath("LastSetup.set")), kDefaults + "10.0.0.5\r\n10.0.0.6");
}

void TestSetupDialog::pastedIntoOneLineFields_data()
{
    QTest::addColumn<bool>("intoName");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("kept");
    QTest::newRow("name with a line break") << true << "Bob\nx" << "Bob";
    QTest::newRow("name with CR LF") << true << "Ann\r\nB" << "Ann";
    QTest::newRow("name past the limit") << true << "Twelve chars" << "Twelve cha";
    QTest::newRow("host from a terminal") << false << "10.0.0.5\n" << "10.0.0.5";
    QTest::newRow("host in blanks") << false << "  10.0.0.5 \t" << "10.0.0.5";
}

// A paste keeps its first line, within the field's limit; the setup file keeps its four lines.
void TestSetupDialog::pastedIntoOneLineFields()
{
    QFETCH(bool, intoName);
    QFETCH(QString, pasted);
    QFETCH(QString, kept);
    ShowPersonalPage();
    TForm8 &form = Dialog();
    QLineEdit *field = intoName ? form.eName : form.eHost;
    field->clear();
    field->setFocus();
    QApplication::clipboard()->setText(pasted);
    QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(field->text(), kept);
    form.BitBtn1->click();
    const QByteArray name = intoName ? kept.toLatin1() : QByteArray("Anonymous");
    const QByteArray host = intoName ? QByteArray("127.0.0.1") : kept.toLatin1();
    QCOMPARE(ReadFile(FolderPath("LastSetup.set")), "0\r\nBlue\r\n" + name + "\r\n" + host + "\r\n");
}

void TestSetupDialog::filesThatAreNoSetupFiles_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("asLastSetup");
    QTest::addColumn<QString>("shown");
    QTest::newRow("FIFO as LastSetup.set") << "fifo" << true << "error: Cannot open file %1";
    QTest::newRow("FIFO through Load") << "fifo" << false << "error: Cannot open file %1";
    QTest::newRow("folder through Load") << "folder" << false << "error: Cannot open file %1";
    QTest::newRow("over 16 MiB") << "large" << false << "error: File %1 is too large for a setup file";
}

// Nothing is loaded from what is no setup file, nothing blocks, and the user is told.
void TestSetupDialog::filesThatAreNoSetupFiles()
{
    QFETCH(QString, kind);
    QFETCH(bool, asLastSetup);
    QFETCH(QString, shown);
    const QString path = FolderPath(asLastSetup ? "LastSetup.set" : "odd.set");
    if (kind == QLatin1String("fifo"))
        QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    if (kind == QLatin1String("folder"))
        QVERIFY(QDir().mkdir(path));
    if (kind == QLatin1String("large"))
        WriteFile(path, "1\r\nRed\r\nBob\r\nh\r\n" + QByteArray(16 * 1024 * 1024, '1'));
    TForm8 &form = Dialog();
    if (!asLastSetup) {
        prompts.openAnswers << QStringList{path};
        form.LoadConf->click();
    }
    QCOMPARE(prompts.shown.last(), shown.arg(path));
    QCOMPARE(prompts.shown.count(shown.arg(path)), 1);
    QCOMPARE(form.Nickname(), QStringLiteral("Anonymous"));
    QCOMPARE(form.FilterLines(), QStringList());
}

// A character the code page has no place for is named before it is saved as
// "?"; Cancel goes back to the dialog with nothing written.
void TestSetupDialog::charactersTheCodePageLacks()
{
    ShowPersonalPage();
    TForm8 &form = Dialog();
    form.eName->setText(QString::fromUtf8("Łukasz"));
    form.BitBtn1->click();
    const QString question = QString::fromUtf8("confirm: These characters cannot be written to a setup file and "
                                               "become \"?\": Ł\rSave all the same?");
    QCOMPARE(prompts.shown, QStringList{question});
    QVERIFY(form.isVisible());
    QCOMPARE(ReadFile(FolderPath("LastSetup.set")), QByteArray("<missing>"));

    prompts.confirmAnswers << true;
    form.BitBtn1->click();
    QVERIFY(!form.isVisible());
    QCOMPARE(ReadFile(FolderPath("LastSetup.set")), QByteArray("0\r\nBlue\r\n?ukasz\r\n127.0.0.1\r\n"));
    form.eName->setText(QString::fromUtf8("Юля")); // Cyrillic fits the code page
    QVERIFY(form.SaveSetup(FolderPath("again.set")));
    prompts.shown.clear();
    prompts.saveAnswers << FolderPath("again.set");
    prompts.questionAnswers << Prompts::Answer::Yes;
    form.MakeConf->click();
    QCOMPARE(prompts.shown.size(), 2); // the save dialog and the overwrite question, nothing more
}

// A program folder that cannot be written: the settings go to the user's
// folder, the old "LastSetup.set" is still read, and a file that can be
// written in a folder that cannot is written in place.
void TestSetupDialog::readOnlyProgramFolder()
{
    const QString programFolder = FolderPath("program");
    const QString userFolder = FolderPath("user");
    QVERIFY(QDir().mkpath(programFolder));
    QVERIFY(QDir().mkpath(userFolder));
    WriteFile(QDir(programFolder).filePath("LastSetup.set"), "1\r\nNavy\r\nBob\r\n10.0.0.1\r\n");
    QVERIFY(QFile::setPermissions(folder->path(), QFileDevice::Permissions(0x7755)));
    QVERIFY(QFile::setPermissions(programFolder, QFileDevice::Permissions(0x5555)));
    QVERIFY(QFile::setPermissions(userFolder, QFileDevice::Permissions(0x7777)));
    QVERIFY(QFile::setPermissions(QDir(programFolder).filePath("LastSetup.set"), QFileDevice::Permissions(0x6666)));
    AsOrdinaryUser user;
    {
        TForm8 form(userFolder, prompts, codePage, programFolder);
        QCOMPARE(form.Nickname(), QStringLiteral("Bob"));
        form.show();
        form.BitBtn1->click();
        QCOMPARE(prompts.shown, QStringList());
        QCOMPARE(ReadFile(QDir(userFolder).filePath("LastSetup.set")), "1\r\nNavy\r\nBob\r\n10.0.0.1\r\n");
    }
    {
        TForm8 form(programFolder, prompts, codePage);
        form.show();
        form.eName->setText(QStringLiteral("Carol"));
        form.BitBtn1->click();
        QCOMPARE(prompts.shown, QStringList());
        QCOMPARE(ReadFile(QDir(programFolder).filePath("LastSetup.set")), "1\r\nNavy\r\nCarol\r\n10.0.0.1\r\n");
    }
}

void TestSetupDialog::tabLabelsShowWhole()
{
    ShowPersonalPage();
    const QTabBar &tabs = *Dialog().TabbedNotebook1->tabBar();
    for (int tab = 0; tab < tabs.count(); ++tab) {
        const int textWidth = tabs.fontMetrics().horizontalAdvance(tabs.tabText(tab));
        QVERIFY2(tabs.tabRect(tab).width() >= textWidth, qPrintable(tabs.tabText(tab)));
        QVERIFY(tabs.tabRect(tab).right() < Dialog().TabbedNotebook1->width());
    }
}

QTEST_MAIN(TestSetupDialog)
#include "tst_setupdialog.moc"
