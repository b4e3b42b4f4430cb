// The chat's texts and rules that need no window: the messages byte for byte,
// the list text both ways, departures, what a text is, the colour digit and
// the address filter.
#include "AddressFilter.h"
#include "ColourTable.h"
#include "Protocol.h"
#include "RuntimeErrors.h"

#include <QTest>

using namespace Protocol;

class TestProtocol : public QObject {
    Q_OBJECT
private slots:
    void messages();
    void listText_data();
    void listText();
    void listTextDecoding_data();
    void listTextDecoding();
    void departures_data();
    void departures();
    void badDepartures_data();
    void badDepartures();
    void classification();
    void longestTypedText_data();
    void longestTypedText();
    void colourDigits_data();
    void colourDigits();
    void filter_data();
    void filter();
    void longerAddressesCovered_data();
    void longerAddressesCovered();
};

void TestProtocol::messages()
{
    QCOMPARE(Greeting("Hosty"), QByteArray("Hello!  Welcome to Hosty's coupon."));
    QCOMPARE(BusyGreeting("Hosty"),
             QByteArray("Welcome, but Host Hosty is busy. The Host promises to reply the next time."));
    QCOMPARE(ArrivalNotice("10.0.0.5"), QByteArray("New guest coming from address: 10.0.0.5"));
    QCOMPARE(Refusal(), QByteArray("Sorry!  You are not in my list."));
    QCOMPARE(RefusalNotice("10.0.0.5"), QByteArray("Guest from 10.0.0.5 no invited and Host closed door."));
    QCOMPARE(Registration("Big Bob"), QByteArray(" Big Bob"));
    QCOMPARE(ListMessage({"Anna", "Bob"}), QByteArray("#Anna,Bob"));
    QCOMPARE(ChatLine('0', "Anna", "hi"), QByteArray("0<Anna> hi"));
    QCOMPARE(ChatLine('3', "Anna", "hi"), QByteArray("3<Anna> hi"));
    QCOMPARE(ChatLine('0', "Nickname10", QByteArray(1000, 'x')).size(), 1014);
    QCOMPARE(Departure(4, {"Anna"}), QByteArray("-04Anna"));
    QCOMPARE(Departure(12, {}), QByteArray("-12"));
    QCOMPARE(ServerDown(), QByteArray("VanuServer is Down"));
}

void TestProtocol::listText_data()
{
    QTest::addColumn<QList<QByteArray>>("entries");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("two") << QList<QByteArray>{"Anna", "Bob"} << QByteArray("Anna,Bob");
    QTest::newRow("blank quoted") << QList<QByteArray>{"Big Bob"} << QByteArray("\"Big Bob\"");
    QTest::newRow("quote doubled") << QList<QByteArray>{"x\"y"} << QByteArray("\"x\"\"y\"");
    QTest::newRow("comma quoted") << QList<QByteArray>{"a,b", "c"} << QByteArray("\"a,b\",c");
    QTest::newRow("tab quoted") << QList<QByteArray>{"a\tb"} << QByteArray("\"a\tb\"");
    QTest::newRow("one empty entry") << QList<QByteArray>{""} << QByteArray("\"\"");
    QTest::newRow("empty among others") << QList<QByteArray>{"a", "", "b"} << QByteArray("a,,b");
    QTest::newRow("empty at the end") << QList<QByteArray>{"a", ""} << QByteArray("a,\"\"");
    QTest::newRow("two empty entries") << QList<QByteArray>{"", ""} << QByteArray(",\"\"");
    QTest::newRow("no entries") << QList<QByteArray>{} << QByteArray("");
    QTest::newRow("high bytes plain") << QList<QByteArray>{"\xC0\xED\xFF"} << QByteArray("\xC0\xED\xFF");
}

// Each list is written as the table says and reads back as the same list.
void TestProtocol::listText()
{
    QFETCH(QList<QByteArray>, entries);
    QFETCH(QByteArray, text);
    QCOMPARE(EncodeList(entries), text);
    QCOMPARE(DecodeList(text), entries);
}

void TestProtocol::listTextDecoding_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QList<QByteArray>>("entries");
    QTest::newRow("trailing comma") << QByteArray("Anna,Bob,") << QList<QByteArray>{"Anna", "Bob"};
    QTest::newRow("leading blanks") << QByteArray("  \t Anna, Bob") << QList<QByteArray>{"Anna", "Bob"};
    QTest::newRow("unquoted blank ends an entry") << QByteArray("Big Bob") << QList<QByteArray>{"Big", "Bob"};
    QTest::newRow("unclosed quote") << QByteArray("\"Big Bob") << QList<QByteArray>{"Big Bob"};
    QTest::newRow("quoted then glued") << QByteArray("\"a\"b,c") << QList<QByteArray>{"a", "b", "c"};
    QTest::newRow("NUL ends the text") << QByteArray("Anna\0Bob", 8) << QList<QByteArray>{"Anna"};
    QTest::newRow("only blanks") << QByteArray("   ") << QList<QByteArray>{};
    QTest::newRow("commas and quotes") << QByteArray(",\",\"\",,\"") << QList<QByteArray>{"", ",\",,"};
    QTest::newRow("list glued to a chat line") << QByteArray("Anna,Bob0<Anna> hi")
                                               << QList<QByteArray>{"Anna", "Bob0<Anna>", "hi"};
}

void TestProtocol::listTextDecoding()
{
    QFETCH(QByteArray, text);
    QFETCH(QList<QByteArray>, entries);
    QCOMPARE(DecodeList(text), entries);
}

void TestProtocol::departures_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<QByteArray>("index");
    QTest::newRow("0") << 0 << QByteArray("00");
    QTest::newRow("4") << 4 << QByteArray("04");
    QTest::newRow("9") << 9 << QByteArray("09");
    QTest::newRow("12") << 12 << QByteArray("12");
    QTest::newRow("99") << 99 << QByteArray("99");
    QTest::newRow("100") << 100 << QByteArray("100");
}

void TestProtocol::departures()
{
    QFETCH(int, position);
    QFETCH(QByteArray, index);
    QCOMPARE(DepartureIndex(position), index);
    const int read = DeparturePosition('-' + index + "Anna,Bob");
    QCOMPARE(read, position < 100 ? position : 10); // two digits are read
}

void TestProtocol::badDepartures_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("letters") << QByteArray("-xxAnna") << "'xx' is not a valid integer value";
    QTest::newRow("one digit then a letter") << QByteArray("-0a") << "'0a' is not a valid integer value";
    QTest::newRow("nothing after") << QByteArray("-") << "'' is not a valid integer value";
    QTest::newRow("one digit only") << QByteArray("-7") << "'7' is not a valid integer value";
    QTest::newRow("hexadecimal") << QByteArray("-$A") << "'$A' is not a valid integer value";
    QTest::newRow("blank first") << QByteArray("- 1Anna") << "' 1' is not a valid integer value";
    QTest::newRow("sign first") << QByteArray("-+2Anna") << "'+2' is not a valid integer value";
    QTest::newRow("minus first") << QByteArray("--1Anna") << "'-1' is not a valid integer value";
}

void TestProtocol::badDepartures()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, message);
    try {
        DeparturePosition(text);
        QFAIL("no conversion error");
    } catch (const EConvertError &error) {
        QCOMPARE(error.Message(), message);
    }
}

void TestProtocol::classification()
{
    QCOMPARE(ClassifyFromGuest(" Anna"), HostReceives::Registration);
    QCOMPARE(ClassifyFromGuest("0<Anna> hi"), HostReceives::ChatLine);
    QCOMPARE(ClassifyFromGuest(""), HostReceives::ChatLine);
    QCOMPARE(ClassifyFromGuest("#Mallory"), HostReceives::ControlText);
    QCOMPARE(ClassifyFromGuest("-00"), HostReceives::ControlText);
    QCOMPARE(ClassifyFromHost("#Anna"), GuestReceives::List);
    QCOMPARE(ClassifyFromHost("-03x"), GuestReceives::Departure);
    QCOMPARE(ClassifyFromHost(" Anna"), GuestReceives::Shown);
    QCOMPARE(ClassifyFromHost(""), GuestReceives::Shown);
}

void TestProtocol::longestTypedText_data()
{
    QTest::addColumn<int>("nicknameSize");
    QTest::addColumn<int>("typed");
    QTest::newRow("typed limit of 10") << 10 << 1000;
    QTest::newRow("14 from a file") << 14 << 1000;
    QTest::newRow("just fits") << 20 << 1000;
    QTest::newRow("one more") << 21 << 999;
    QTest::newRow("leaves nothing") << 1020 << 0;
    QTest::newRow("longer than a read") << 5000 << 0;
}

// The chat line of the longest text the input line takes fits one read.
void TestProtocol::longestTypedText()
{
    QFETCH(int, nicknameSize);
    QFETCH(int, typed);
    QCOMPARE(LongestTypedText(nicknameSize), typed);
    if (typed > 0)
        QVERIFY(ChatLine('0', QByteArray(nicknameSize, 'n'), QByteArray(typed, 't')).size() <= kReadSize);
}

void TestProtocol::colourDigits_data()
{
    QTest::addColumn<QString>("indexText");
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<char>("digit");
    QTest::newRow("Blue") << "0" << QColor(Qt::blue) << '0';
    QTest::newRow("White") << "9" << QColor(Qt::white) << '9';
    QTest::newRow("Green is nearest Lime") << "-1" << QColor(0, 128, 0) << '6';
    QTest::newRow("Teal is nearest Navy") << "-1" << QColor(0, 128, 128) << '3';
    QTest::newRow("Silver is nearest White") << "-1" << QColor(192, 192, 192) << '9';
    QTest::newRow("Yellow ties Red and Lime, the first wins") << "-1" << QColor(255, 255, 0) << '5';
}

void TestProtocol::colourDigits()
{
    QFETCH(QString, indexText);
    QFETCH(QColor, colour);
    QFETCH(char, digit);
    QCOMPARE(ColourDigit(indexText, colour), digit);
}

void TestProtocol::filter_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("admitted");
    const QStringList network{"192.168.1."};
    QTest::newRow("include network, inside") << network << 0 << "192.168.1.20" << true;
    QTest::newRow("include network, outside") << network << 0 << "192.168.2.5" << false;
    const QStringList host{"10.0.0.1"};
    QTest::newRow("include 10.0.0.1 itself") << host << 0 << "10.0.0.1" << true;
    QTest::newRow("include 10.0.0.1 as prefix of .15") << host << 0 << "10.0.0.15" << true;
    QTest::newRow("include 10.0.0.1 as prefix of .123") << host << 0 << "10.0.0.123" << true;
    QTest::newRow("include 10.0.0.1 not 10.0.1.1") << host << 0 << "10.0.1.1" << false;
    QTest::newRow("exclude network, inside") << QStringList{"192.168."} << 1 << "192.168.5.5" << false;
    QTest::newRow("exclude network, outside") << QStringList{"192.168."} << 1 << "10.1.1.1" << true;
    QTest::newRow("1 matches 1.x") << QStringList{"1"} << 0 << "1.2.3.4" << true;
    QTest::newRow("1 matches 19.x") << QStringList{"1"} << 0 << "19.0.0.1" << true;
    QTest::newRow("1 matches 172.x") << QStringList{"1"} << 0 << "172.16.0.1" << true;
    QTest::newRow("1 not 2.x") << QStringList{"1"} << 0 << "2.1.1.1" << false;
    QTest::newRow("no lines, include") << QStringList{} << 0 << "8.8.8.8" << true;
    QTest::newRow("no lines, exclude") << QStringList{} << 1 << "8.8.8.8" << true;
    QTest::newRow("empty lines, include") << QStringList{"", ""} << 0 << "8.8.8.8" << false;
    QTest::newRow("empty lines, exclude") << QStringList{"", ""} << 1 << "8.8.8.8" << true;
    QTest::newRow("empty then 127.") << QStringList{"", "127."} << 0 << "127.0.0.1" << true;
    QTest::newRow("longer than the address") << QStringList{"127.0.0.1.5"} << 0 << "127.0.0.1" << false;
    QTest::newRow("mode -1 is exclude, match") << QStringList{"127."} << -1 << "127.0.0.1" << false;
    QTest::newRow("mode -1 is exclude, no match") << QStringList{"10."} << -1 << "127.0.0.1" << true;
    QTest::newRow("unknown address, include") << QStringList{"127."} << 0 << "" << false;
    QTest::newRow("unknown address, exclude") << QStringList{"127."} << 1 << "" << true;
    QTest::newRow("blank in a line") << QStringList{" 127."} << 0 << "127.0.0.1" << false;
    QTest::newRow("leading zero") << QStringList{"127.000."} << 0 << "127.0.0.1" << false;
}

void TestProtocol::filter()
{
    QFETCH(QStringList, lines);
    QFETCH(int, mode);
    QFETCH(QString, address);
    QFETCH(bool, admitted);
    QCOMPARE(AdmitGuest(lines, mode, address), admitted);
}

void TestProtocol::longerAddressesCovered_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("covered");
    QTest::newRow("ends in 1") << "10.0.0.1" << "10.0.0.10–19, 100–199";
    QTest::newRow("ends in 2") << "10.0.0.2" << "10.0.0.20–29, 200–255";
    QTest::newRow("ends in 25") << "192.168.1.25" << "192.168.1.250–255";
    QTest::newRow("ends in 3") << "10.0.0.3" << "10.0.0.30–39";
    QTest::newRow("ends in 26: none longer") << "10.0.0.26" << "";
    QTest::newRow("three digits") << "10.0.0.100" << "";
    QTest::newRow("ends in 0") << "10.0.0.0" << "";
    QTest::newRow("three parts") << "10.0.0" << "";
    QTest::newRow("with a blank") << "10.0.0.1 " << "";
}

// What the note under the filter box says a line covers, which the filter
// itself admits in include mode.
void TestProtocol::longerAddressesCovered()
{
    QFETCH(QString, line);
    QFETCH(QString, covered);
    QCOMPARE(LongerAddressesCovered(line), covered);
    if (!covered.isEmpty()) {
        const QString first = covered.section(QStringLiteral("–"), 0, 0);
        QVERIFY(AdmitGuest({line}, 0, first));
    }
}

QTEST_MAIN(TestProtocol)
#include "tst_protocol.moc"
