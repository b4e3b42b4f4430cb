// Setup files as bytes: reading odd files, writing exact bytes, and the
// names the Save button writes, and what opening one would change.
#include "ColourTable.h"
#include "Cp1251CodePage.h"
#include "RuntimeErrors.h"
#include "SetupChanges.h"
#include "SetupFile.h"

#include <QTest>

class TestSetupFile : public QObject {
    Q_OBJECT
private slots:
    void reads_data();
    void reads();
    void firstLineNotANumber_data();
    void firstLineNotANumber();
    void writes_data();
    void writes();
    void everyByteSurvivesLoadAndSave();
    void saveNames_data();
    void saveNames();
    void colourIndexes_data();
    void colourIndexes();
    void indexNames();
    void changesNotice_data();
    void changesNotice();

private:
    Cp1251CodePage codePage;
};

void TestSetupFile::reads_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("colour");
    QTest::addColumn<QString>("nickname");
    QTest::addColumn<QString>("host");
    QTest::addColumn<QStringList>("filter");

    QTest::newRow("defaults") << QByteArray("0\r\nBlue\r\nAnonymous\r\n127.0.0.1\r\n") << 0 << "Blue"
                              << "Anonymous" << "127.0.0.1" << QStringList{};
    QTest::newRow("lone LF") << QByteArray("1\nRed\nAnna\n10.0.0.1\n10.0.0.5\n\n10.1") << 1 << "Red" << "Anna"
                             << "10.0.0.1" << QStringList{"10.0.0.5", "", "10.1"};
    QTest::newRow("lone CR") << QByteArray("1\rRed\rAnna\r10.0.0.1\r10.0.0.5") << 1 << "Red" << "Anna"
                             << "10.0.0.1" << QStringList{"10.0.0.5"};
    QTest::newRow("mixed ends") << QByteArray("0\r\nRed\rAnna\n10.0.0.1\r\n\r\n") << 0 << "Red" << "Anna"
                                << "10.0.0.1" << QStringList{"", ""};
    QTest::newRow("filter ends with a line end") << QByteArray("0\r\nBlue\r\nA\r\nh\r\n10.0.0.5\r\n") << 0
                                                 << "Blue" << "A" << "h" << QStringList{"10.0.0.5", ""};
    QTest::newRow("mode above one") << QByteArray("5\r\nBlue\r\nA\r\nh\r\n") << 1 << "Blue" << "A" << "h"
                                    << QStringList{};
    QTest::newRow("mode below minus one") << QByteArray("-7\r\nBlue\r\nA\r\nh\r\n") << -1 << "Blue" << "A" << "h"
                                          << QStringList{};
    QTest::newRow("blanks and sign") << QByteArray("  +1\r\nBlue\r\nA\r\nh") << 1 << "Blue" << "A" << "h"
                                     << QStringList{};
    QTest::newRow("only the mode") << QByteArray("1") << 1 << "" << "" << "" << QStringList{};
    QTest::newRow("NUL ends the text") << QByteArray("0\r\nRed\0Anna\r\nhost\r\n", 19) << 0 << "Red" << ""
                                       << "" << QStringList{};
    QTest::newRow("long nickname stays whole") << QByteArray("0\r\nBlue\r\nFourteen chars\r\nh\r\n") << 0
                                               << "Blue" << "Fourteen chars" << "h" << QStringList{};
    QTest::newRow("cyrillic nickname") << QByteArray("0\r\nBlue\r\n\xC0\xED\xFF\r\nh\r\n") << 0 << "Blue"
                                       << QString::fromUtf8("Аня") << "h" << QStringList{};
    QTest::newRow("filter lines hold anything") << QByteArray("0\r\nBlue\r\nA\r\nh\r\nx y,\"z\"\t") << 0 << "Blue"
                                                << "A" << "h" << QStringList{"x y,\"z\"\t"};
}

void TestSetupFile::reads()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, mode);
    QFETCH(QString, colour);
    QFETCH(QString, nickname);
    QFETCH(QString, host);
    QFETCH(QStringList, filter);

    const SetupSettings settings = ParseSetupFile(bytes, codePage);
    QCOMPARE(settings.FilterMode, mode);
    QCOMPARE(settings.ColourName, colour);
    QCOMPARE(settings.Nickname, nickname);
    QCOMPARE(settings.HostAddress, host);
    QCOMPARE(settings.FilterLines, filter);
    QCOMPARE(settings.PortNumber, 4000);
}

void TestSetupFile::firstLineNotANumber_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty file") << QByteArray() << "'' is not a valid integer value";
    QTest::newRow("word") << QByteArray("Include\r\nBlue\r\n") << "'Include' is not a valid integer value";
    QTest::newRow("decimal point") << QByteArray("1.0\r\n") << "'1.0' is not a valid integer value";
    QTest::newRow("hexadecimal") << QByteArray("$1\r\n") << "'$1' is not a valid integer value";
    QTest::newRow("trailing blank") << QByteArray("1 \r\n") << "'1 ' is not a valid integer value";
    QTest::newRow("NUL first") << QByteArray("\0" "1\r\n", 4) << "'' is not a valid integer value";
    QTest::newRow("too large") << QByteArray("99999999999\r\n") << "'99999999999' is not a valid integer value";
}

void TestSetupFile::firstLineNotANumber()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    try {
        ParseSetupFile(bytes, codePage);
        QFAIL("no conversion error");
    } catch (const EConvertError &error) {
        QCOMPARE(error.Message(), message);
    }
}

void TestSetupFile::writes_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QStringList>("filter");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("defaults") << 0 << QStringList{} << QByteArray("0\r\nBlue\r\nAnonymous\r\n127.0.0.1\r\n");
    QTest::newRow("one filter line") << 0 << QStringList{"10.0.0.5"}
                                     << QByteArray("0\r\nBlue\r\nAnonymous\r\n127.0.0.1\r\n10.0.0.5");
    QTest::newRow("neither mode") << -1 << QStringList{} << QByteArray("-1\r\nBlue\r\nAnonymous\r\n127.0.0.1\r\n");
    QTest::newRow("filter as the box holds it") << 1 << QStringList{"10.0", "", "192.168", ""}
                                                << QByteArray("1\r\nBlue\r\nAnonymous\r\n127.0.0.1\r\n10.0\r\n\r\n192.168\r\n");
}

void TestSetupFile::writes()
{
    QFETCH(int, mode);
    QFETCH(QStringList, filter);
    QFETCH(QByteArray, bytes);
    SetupSettings settings;
    settings.FilterMode = mode;
    settings.FilterLines = filter;
    QCOMPARE(ComposeSetupFile(settings, codePage), bytes);
}

// Every byte but the line ends and NUL, in every line, comes back as it was.
void TestSetupFile::everyByteSurvivesLoadAndSave()
{
    QByteArray line;
    for (int value = 1; value < 256; ++value)
        if (value != '\r' && value != '\n')
            line.append(char(value));
    for (int lineNumber = 2; lineNumber <= 5; ++lineNumber) {
        QList<QByteArray> lines = {"0", "Blue", "Anna", "10.0.0.1", "10.0.0.5"};
        lines[lineNumber - 1] = line;
        const QByteArray bytes = lines.join("\r\n");
        QCOMPARE(ComposeSetupFile(ParseSetupFile(bytes, codePage), codePage), bytes);
    }
}

void TestSetupFile::saveNames_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("written");
    QTest::newRow("no extension") << "/home/ann/friends" << "/home/ann/friends.set";
    QTest::newRow("set extension") << "/home/ann/friends.set" << "/home/ann/friends.set";
    QTest::newRow("several dots") << "/home/ann/my.setup.txt" << "/home/ann/my.set";
    QTest::newRow("dotted folder") << "/home/ann/my.logs/chat" << "/home/ann/my.logs/chat.set";
    QTest::newRow("dotted folder and name") << "/home/a.b/c.d.e" << "/home/a.b/c.set";
}

void TestSetupFile::saveNames()
{
    QFETCH(QString, chosen);
    QFETCH(QString, written);
    QCOMPARE(SetupFileNameFor(chosen), written);
}

void TestSetupFile::colourIndexes_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("indexText");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QString>("rgb");
    QTest::newRow("Blue") << "Blue" << "0" << true << "#0000ff";
    QTest::newRow("navy") << "navy" << "3" << true << "#000080";
    QTest::newRow("WHITE") << "WHITE" << "9" << true << "#ffffff";
    QTest::newRow("Green") << "Green" << "-1" << true << "#008000";
    QTest::newRow("Teal") << "teal" << "-1" << true << "#008080";
    QTest::newRow("system colour") << "BtnFace" << "-1" << true << "";
    QTest::newRow("None") << "None" << "-1" << true << "";
    QTest::newRow("Orange") << "Orange" << "-1" << false << "";
    QTest::newRow("empty") << "" << "-1" << false << "";
}

void TestSetupFile::colourIndexes()
{
    QFETCH(QString, name);
    QFETCH(QString, indexText);
    QFETCH(bool, valid);
    QFETCH(QString, rgb);
    QCOMPARE(ColourIndexTextOf(name), indexText);
    const std::optional<QColor> colour = NamedColour(name);
    QCOMPARE(colour.has_value(), valid);
    if (!rgb.isEmpty())
        QCOMPARE(colour->name(), rgb);
}

void TestSetupFile::indexNames()
{
    QCOMPARE(IndexColourName(0), QStringLiteral("Blue"));
    QCOMPARE(IndexColourName(9), QStringLiteral("White"));
    QCOMPARE(IndexColourName(10), QStringLiteral("Yellow"));
    QCOMPARE(IndexColourName(12), QStringLiteral("Yellow"));
    QCOMPARE(IndexColourName(-1), QStringLiteral("Yellow"));
}

void TestSetupFile::changesNotice_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("notice");
    const QString kept = QStringLiteral("\n\nNothing is kept until you press OK.");
    const QString everyone =
        QStringLiteral("\n\nWith these settings, anyone on the network can join the chat you host.");
    QTest::newRow("the same settings") << QByteArray("0\r\nBlue\r\nAnonymous\r\n127.0.0.1\r\n") << QString();
    QTest::newRow("a hostile invitation")
        << QByteArray("1\r\nRed\r\nBob\r\n10.77.0.2\r\n")
        << "invite.set changes your settings:\n\nHost address: 127.0.0.1 → 10.77.0.2\n"
           "Nickname: \"Anonymous\" → \"Bob\"\nColour: Blue → Red\nFilter: Include → Exclude" + everyone + kept;
    QTest::newRow("filter lines only, many")
        << QByteArray("0\r\nBlue\r\nAnonymous\r\n127.0.0.1\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7")
        << "invite.set changes your settings:\n\nFilter lines: none → \"1\", \"2\", \"3\", \"4\", \"5\" and 2 more"
               + kept;
    QTest::newRow("exclude, with a line")
        << QByteArray("1\r\nBlue\r\nAnonymous\r\n127.0.0.1\r\n10.0.0.9")
        << "invite.set changes your settings:\n\nFilter: Include → Exclude\nFilter lines: none → \"10.0.0.9\""
               + kept;
}

// The settings before are the dialog's first ones; the file's are read as the
// dialog reads them.
void TestSetupFile::changesNotice()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, notice);
    const Cp1251CodePage codePage;
    QCOMPARE(SetupChangesNotice(QStringLiteral("invite.set"), SetupSettings(), ParseSetupFile(file, codePage)),
             notice);
}

QTEST_MAIN(TestSetupFile)
#include "tst_setupfile.moc"
