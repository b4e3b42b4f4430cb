// The chat's state without windows: the host's roster (who registered, in
// which place, what the guests are told) and the guest's reading of what the
// host sends (pieces joined, glued texts parted, each text's kind).
#include "ChatText.h"
#include "Cp1251CodePage.h"
#include "HostRoster.h"
#include "HostTextReader.h"
#include "Protocol.h"

#include <QElapsedTimer>
#include <QTest>

#include <algorithm>

namespace {

// A roster script, one step a read: "S:TEXT" is a read of TEXT from
// connection S (admitted at its first read), "S=TEXT" the same from a
// connection of version 2, in UTF-8, "-S" its departure, "~" the
// time after every wait has run out. What the host is told to do comes back
// one line an action: "reg NAME", "refused WHY", "relay LINE", "not LINE"
// (with " (break)" for a line that breaks a line) and "dep TEXT".
QList<QByteArray> RunRoster(HostRoster &roster, const QList<QByteArray> &steps)
{
    static const char *const why[] = {"taken", "empty", "long", "control"};
    QList<QByteArray> done;
    const auto describe = [&](const QList<HostRoster::GuestText> &texts) {
        for (const HostRoster::GuestText &text : texts) {
            switch (text.action) {
            case HostRoster::GuestText::Action::Registered:
                done << "reg " + text.bytes;
                break;
            case HostRoster::GuestText::Action::Refused:
                done << QByteArray("refused ") + why[int(text.refusal)];
                break;
            case HostRoster::GuestText::Action::Relay:
                done << "relay " + text.bytes;
                break;
            case HostRoster::GuestText::Action::NotRelayed:
                done << "not " + text.bytes + (text.breaksLine ? " (break)" : "");
                break;
            }
        }
    };
    qint64 now = 0;
    for (const QByteArray &step : steps) {
        now += 10;
        if (step == "~") {
            now += HostRoster::kRegistrationWaitMs;
            describe(roster.expire(now));
        } else if (step.startsWith('-')) {
            if (const std::optional<int> row = roster.Remove(step.mid(1).toInt()))
                done << "dep " + roster.departureText(*row);
        } else {
            const qsizetype mark = std::find_if(step.begin(), step.end(), [](char c) { return c == ':' || c == '='; })
                                   - step.begin();
            const int socket = step.left(mark).toInt();
            const TextEncoding encoding = step[mark] == '=' ? TextEncoding::Utf8 : TextEncoding::CodePage;
            if (roster.peerOf(socket).address.isEmpty())
                roster.admit(socket, {QStringLiteral("10.0.0.%1").arg(socket), QStringLiteral("5000%1").arg(socket)},
                             encoding);
            describe(roster.read(socket, step.mid(mark + 1), "Hosty", now));
        }
    }
    return done;
}

// What the reader gave, one "kind:bytes" a text: L list, D departure (and
// who left), S shown.
QList<QByteArray> Described(const QList<HostTextReader::Text> &texts)
{
    QList<QByteArray> described;
    for (const HostTextReader::Text &text : texts) {
        const char kind = text.kind == Protocol::GuestReceives::List        ? 'L'
                          : text.kind == Protocol::GuestReceives::Departure ? 'D'
                                                                            : 'S';
        described << kind + (':' + text.bytes) + (text.departed ? " (" + *text.departed + " left)" : QByteArray());
    }
    return described;
}

// How long one hostile text of 64 KiB may take to read. AddressSanitizer makes
// it up to ten times slower (115 ms here, against under 20 ms without it).
#if defined(__SANITIZE_ADDRESS__)
constexpr qint64 kLongestHostileReadMs = 1500;
#else
constexpr qint64 kLongestHostileReadMs = 500;
#endif

// A read that filled the whole buffer: `first` then filler up to the read size.
QByteArray FullRead(const QByteArray &first)
{
    return first.leftJustified(Protocol::kReadSize, 'x');
}

} // namespace

class TestChatState : public QObject {
    Q_OBJECT
private slots:
    void emojiRuns_data();
    void emojiRuns();
    void roster_data();
    void roster();
    void rosterJoinsALineCutShort();
    void rosterKeepsWhereGuestsCameFrom();
    void reader_data();
    void reader();
    void wholeFrames_data();
    void wholeFrames();
    void aStreamingHostIsShownInPieces();
    void aHostileListIsReadInLinearTime_data();
    void aHostileListIsReadInLinearTime();
};

void TestChatState::emojiRuns_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<TextRun>>("runs");
    using Runs = QList<TextRun>;
    QTest::newRow("none") << QStringLiteral("hi © ☺ ✓ 1 #") << Runs{};
    QTest::newRow("two together") << QStringLiteral("hi 😀👍 ok") << Runs{{3, 4}};
    QTest::newRow("digits after an emoji are text") << QStringLiteral("😀123") << Runs{{0, 2}};
    QTest::newRow("a skin tone") << QStringLiteral("👍🏽!") << Runs{{0, 4}};
    QTest::newRow("a family joined by zero-width joiners") << QStringLiteral("👨‍👩‍👧 x") << Runs{{0, 8}};
    QTest::newRow("a text symbol made emoji by its selector") << QStringLiteral("I ❤️ it") << Runs{{2, 2}};
    QTest::newRow("a flag") << QStringLiteral("🇩🇪") << Runs{{0, 4}};
    QTest::newRow("apart") << QStringLiteral("⌚ and ⏰") << Runs{{0, 1}, {6, 1}};
}

// The view draws these runs with the colour emoji font, and the rest with its own.
void TestChatState::emojiRuns()
{
    QFETCH(QString, text);
    QFETCH(QList<TextRun>, runs);
    QCOMPARE(EmojiRuns(text), runs);
}

void TestChatState::roster_data()
{
    QTest::addColumn<QList<QByteArray>>("steps");
    QTest::addColumn<QList<QByteArray>>("done");
    QTest::addColumn<QByteArray>("listText");
    using Texts = QList<QByteArray>;
    QTest::newRow("in order of registration")
        << Texts{"7: Anna", "3: Bob"} << Texts{"reg Anna", "reg Bob"} << QByteArray("#Anna,Bob");
    QTest::newRow("a second registration renames in place")
        << Texts{"7: Anna", "3: Bob", "7: Ann"} << Texts{"reg Anna", "reg Bob", "reg Ann"} << QByteArray("#Ann,Bob");
    QTest::newRow("odd names quoted")
        << Texts{"7: Big Bob", "8: a,b"} << Texts{"reg Big Bob", "reg a,b"} << QByteArray("#\"Big Bob\",\"a,b\"");
    QTest::newRow("a registration glued to the first line")
        << Texts{"7: Ann0<Ann> hello"} << Texts{"reg Ann", "relay 0<Ann> hello"} << QByteArray("#Ann");
    QTest::newRow("a burst parted at the guest's own lines")
        << Texts{"7: Ann", "7:0<Ann> one3<Ann> two 0<Bob> three"}
        << Texts{"reg Ann", "relay 0<Ann> one", "relay 3<Ann> two 0<Bob> three"} << QByteArray("#Ann");
    QTest::newRow("a line in another's name, said once")
        << Texts{"7: Bob", "7:3<Hosty> Please all reconnect", "7:3<Anna> hi", "7:0<Bob> mine"}
        << Texts{"reg Bob", "not 3<Hosty> Please all reconnect", "relay 0<Bob> mine"} << QByteArray("#Bob");
    QTest::newRow("a line in no name") << Texts{"7: Bob", "7:hello"} << Texts{"reg Bob", "not hello"}
                                       << QByteArray("#Bob");
    QTest::newRow("a line that breaks a line")
        << Texts{"7: Bob", "7:0<Bob> hi\n<Bob> my password"} << Texts{"reg Bob", "not 0<Bob> hi\n<Bob> my password (break)"}
        << QByteArray("#Bob");
    QTest::newRow("texts only the host sends are dropped")
        << Texts{"7: Ann", "7:#Ann,Eve", "7:-00"} << Texts{"reg Ann"} << QByteArray("#Ann");
    QTest::newRow("the host's name is taken") << Texts{"7: Hosty"} << Texts{"refused taken"} << QByteArray("#");
    QTest::newRow("a guest's name is taken")
        << Texts{"7: Anna", "3: Anna", "3: Bob"} << Texts{"reg Anna", "refused taken"} << QByteArray("#Anna");
    QTest::newRow("no name") << Texts{"7: "} << Texts{"refused empty"} << QByteArray("#");
    QTest::newRow("33 bytes") << Texts{"7: " + QByteArray(33, 'a')} << Texts{"refused long"} << QByteArray("#");
    QTest::newRow("32 bytes") << Texts{"7: " + QByteArray(32, 'a')} << Texts{"reg " + QByteArray(32, 'a')}
                              << "#" + QByteArray(32, 'a');
    QTest::newRow("a control character") << Texts{QByteArray("7: An\0na", 8)} << Texts{"refused control"}
                                         << QByteArray("#");
    QTest::newRow("a name in another case is taken")
        << Texts{"7: Anna", "3: anna"} << Texts{"reg Anna", "refused taken"} << QByteArray("#Anna");
    QTest::newRow("a name with a blank after it is taken")
        << Texts{"7: Anna", "3: Anna "} << Texts{"reg Anna", "refused taken"} << QByteArray("#Anna");
    QTest::newRow("a lookalike with a Cyrillic letter is taken")
        << Texts{"7: Anna", "3: \xC0nna"} << Texts{"reg Anna", "refused taken"} << QByteArray("#Anna");
    QTest::newRow("a Cyrillic name in another case is taken")
        << Texts{"7: \xC0\xED\xED\xE0", "3: \xE0\xED\xED\xE0"} << Texts{"reg \xC0\xED\xED\xE0", "refused taken"}
        << QByteArray("#\xC0\xED\xED\xE0");
    QTest::newRow("names alike but not lookalikes stay apart")
        << Texts{"7: Anna", "3: Anne"} << Texts{"reg Anna", "reg Anne"} << QByteArray("#Anna,Anne");
    QTest::newRow("a soft hyphen") << Texts{"7: Ho\xADsty"} << Texts{"refused control"} << QByteArray("#");
    QTest::newRow("a non-breaking space") << Texts{"7: Ann\xA0" "a"} << Texts{"refused control"} << QByteArray("#");
    QTest::newRow("blanks only") << Texts{"7:    "} << Texts{"refused empty"} << QByteArray("#");
    QTest::newRow("a rename under the same rules")
        << Texts{"7: Anna", "3: Bob", "3: Anna"} << Texts{"reg Anna", "reg Bob", "refused taken"}
        << QByteArray("#Anna,Bob");
    QTest::newRow("a line waits for its sender's registration")
        << Texts{"7:0<Ann> early", "7: Ann"} << Texts{"reg Ann", "relay 0<Ann> early"} << QByteArray("#Ann");
    QTest::newRow("a line whose sender never registers")
        << Texts{"7:0<Ann> early", "~", "7:0<Ann> late"} << Texts{"not 0<Ann> early"} << QByteArray("#");
    QTest::newRow("a departure names the place and the rest")
        << Texts{"7: Anna", "3: Bob", "5: Cid", "-3"} << Texts{"reg Anna", "reg Bob", "reg Cid", "dep -01Anna,Cid"}
        << QByteArray("#Anna,Cid");
    QTest::newRow("one who never registered leaves no departure")
        << Texts{"7: Anna", "9:", "-9"} << Texts{"reg Anna"} << QByteArray("#Anna");
    QTest::newRow("a connection number given out again registers anew")
        << Texts{"7: Anna", "-7", "7: Bob"} << Texts{"reg Anna", "dep -00", "reg Bob"} << QByteArray("#Bob");
    // Guests of version 2 write UTF-8; every guest still reads every name in the code page.
    QTest::newRow("a name in every script")
        << Texts{"7= Zoë 😀", "3: Bob"} << Texts{"reg Zoë 😀", "reg Bob"} << QByteArray("#\"Zo? ?\",Bob");
    QTest::newRow("names the same in the code page are one name")
        << Texts{"7= Zoë", "3= Zoé"} << Texts{"reg Zoë", "refused taken"} << QByteArray("#Zo?");
    QTest::newRow("a lookalike in UTF-8 of a plain name is taken")
        << Texts{"7: Anna", "3= Аnna"} << Texts{"reg Anna", "refused taken"} << QByteArray("#Anna");
    QTest::newRow("32 characters of the code page in 64 bytes of UTF-8")
        << Texts{"7= " + QString(32, u'ж').toUtf8()} << Texts{"reg " + QString(32, u'ж').toUtf8()}
        << "#" + QByteArray(32, '\xE6');
    QTest::newRow("33 characters of the code page") << Texts{"7= " + QString(33, u'ж').toUtf8()}
                                                    << Texts{"refused long"} << QByteArray("#");
    QTest::newRow("malformed UTF-8 in a name") << Texts{"7= Bad\xC0\xAF"} << Texts{"refused control"}
                                               << QByteArray("#");
    QTest::newRow("a name of 10,000 characters") << Texts{"7= " + QString(10000, u'ж').toUtf8()}
                                                 << Texts{"refused long"} << QByteArray("#");
    QTest::newRow("a line in UTF-8 is relayed as it came")
        << Texts{"7= Zoë", "7=2<Zoë> 你好 שלום"} << Texts{"reg Zoë", "relay 2<Zoë> 你好 שלום"} << QByteArray("#Zo?");
}

void TestChatState::roster()
{
    QFETCH(QList<QByteArray>, steps);
    QFETCH(QList<QByteArray>, done);
    QFETCH(QByteArray, listText);
    Cp1251CodePage codePage;
    HostRoster roster(codePage);
    QCOMPARE(RunRoster(roster, steps), done);
    // As a plain guest reads it.
    QCOMPARE(recodeText(roster.listText(), TextEncoding::Utf8, TextEncoding::CodePage, codePage), listText);
}

// A read that filled the whole buffer while more waited keeps its last line
// back until the rest comes, or until the wait for it runs out.
void TestChatState::rosterJoinsALineCutShort()
{
    Cp1251CodePage codePage;
    HostRoster roster(codePage);
    roster.admit(7, {QStringLiteral("10.0.0.7"), QStringLiteral("50007")});
    QCOMPARE(roster.read(7, " Ann", "Hosty", 0).size(), 1);
    const QByteArray first = "0<Ann> " + QByteArray(600, 'a');
    const QByteArray second = "0<Ann> " + QByteArray(600, 'b');
    const QByteArray both = first + second;
    QList<HostRoster::GuestText> texts = roster.read(7, both.left(Protocol::kReadSize), "Hosty", 10);
    QCOMPARE(texts.size(), 1);
    QCOMPARE(texts[0].bytes, first);
    QCOMPARE(roster.NextDeadline(), std::optional<qint64>(10 + HostRoster::kRestOfTextWaitMs));
    texts = roster.read(7, both.mid(Protocol::kReadSize), "Hosty", 20);
    QCOMPARE(texts.size(), 1);
    QCOMPARE(texts[0].bytes, second);
    QCOMPARE(roster.NextDeadline(), std::nullopt);

    const QByteArray whole = "0<Ann> " + QByteArray(Protocol::kReadSize - 7, 'c');
    // A read that filled the buffer with nothing more come: nothing is kept back.
    QCOMPARE(roster.read(7, whole, "Hosty", 25, false).size(), 1);
    QVERIFY(roster.read(7, whole, "Hosty", 30).isEmpty());
    roster.postpone(7, 1000);
    QVERIFY(roster.expire(30 + HostRoster::kRestOfTextWaitMs).isEmpty());
    texts = roster.expire(1000 + HostRoster::kRestOfTextWaitMs);
    QCOMPARE(texts.size(), 1);
    QCOMPARE(texts[0].action, HostRoster::GuestText::Action::Relay);
    QCOMPARE(texts[0].bytes, whole);

    // No line a guest types is longer than two reads: a stream of full reads
    // without a line of the guest's own is not held back without end.
    qsizetype given = 0;
    for (int read = 0; read < 4; ++read)
        for (const HostRoster::GuestText &text : roster.read(7, QByteArray(Protocol::kReadSize, '<'), "Hosty", 40))
            given += text.bytes.size();
    QCOMPARE(given, 3 * Protocol::kReadSize);
}

// A guest's address and port are known from its acceptance to its departure,
// registered or not, and forgotten with it.
void TestChatState::rosterKeepsWhereGuestsCameFrom()
{
    Cp1251CodePage codePage;
    HostRoster roster(codePage);
    roster.admit(4, {QStringLiteral("10.0.0.4"), QStringLiteral("50004")});
    roster.admit(5, {QStringLiteral("10.0.0.5"), QStringLiteral("50005")});
    roster.read(5, " Bob", "Hosty", 0);
    QCOMPARE(roster.peerOf(4).address, QStringLiteral("10.0.0.4"));
    QCOMPARE(roster.peerOf(5).port, QStringLiteral("50005"));
    QCOMPARE(roster.Remove(4), std::nullopt);
    QCOMPARE(roster.peerOf(4).address, QString());
    QCOMPARE(roster.Remove(5), std::optional<int>(0));
    QCOMPARE(roster.peerOf(5).address, QString());
    QVERIFY(roster.names().isEmpty());
}

void TestChatState::reader_data()
{
    QTest::addColumn<QList<QByteArray>>("reads");
    QTest::addColumn<bool>("restComes");
    QTest::addColumn<QList<QByteArray>>("texts");
    using Texts = QList<QByteArray>;
    const QByteArray refusal = Protocol::Refusal();
    const QByteArray notice = Protocol::RefusalNotice("10.0.0.9");
    QTest::newRow("a list") << Texts{"#Anna,Bob"} << true << Texts{"L:#Anna,Bob"};
    QTest::newRow("a departure") << Texts{"-01Anna"} << true << Texts{"D:-01Anna"};
    QTest::newRow("a chat line") << Texts{"0<Bob> hi"} << true << Texts{"S:0<Bob> hi"};
    QTest::newRow("an empty read") << Texts{""} << true << Texts{"S:"};
    QTest::newRow("the refusal and its notice glued")
        << Texts{refusal + notice} << true << Texts{"S:" + refusal, "S:" + notice};
    QTest::newRow("the refusal alone") << Texts{refusal} << true << Texts{"S:" + refusal};
    QTest::newRow("a full read joined with its rest")
        << Texts{FullRead("0<Bob> "), "tail"} << true << Texts{"S:" + FullRead("0<Bob> ") + "tail"};
    QTest::newRow("a long list joined with its rest")
        << Texts{FullRead("#Anna,"), ",Bob"} << true << Texts{"L:" + FullRead("#Anna,") + ",Bob"};
    QTest::newRow("a full read whose rest never comes")
        << Texts{FullRead("#Anna,")} << false << Texts{"L:" + FullRead("#Anna,")};
    const QByteArray greeting = Protocol::Greeting("Hosty");
    QTest::newRow("a greeting and the list") << Texts{greeting + "#Anna"} << true << Texts{"S:" + greeting, "L:#Anna"};
    QTest::newRow("an arrival notice and a list")
        << Texts{"New guest coming from address: 10.0.0.5#Anna"} << true
        << Texts{"S:New guest coming from address: 10.0.0.5", "L:#Anna"};
    QTest::newRow("an arrival notice and a participant's line")
        << Texts{"#Bob", "New guest coming from address: 127.0.0.20<Bob> hi"} << true
        << Texts{"L:#Bob", "S:New guest coming from address: 127.0.0.2", "S:0<Bob> hi"};
    QTest::newRow("a list and a participant's line")
        << Texts{"#Anna,Bob", "#Anna,Bob0<Bob> hi"} << true << Texts{"L:#Anna,Bob", "L:#Anna,Bob", "S:0<Bob> hi"};
    QTest::newRow("a list and the line of a name it brings")
        << Texts{"#Vee", "#Vee,Ann2<Ann> hi"} << true << Texts{"L:#Vee", "L:#Vee,Ann", "S:2<Ann> hi"};
    QTest::newRow("a line and the list with a newcomer")
        << Texts{"#Vee,Ann", "2<Ann> hi#Vee,Ann,Bob"} << true << Texts{"L:#Vee,Ann", "S:2<Ann> hi", "L:#Vee,Ann,Bob"};
    QTest::newRow("two participants' lines")
        << Texts{"#Anna,Bob", "0<Anna> one 3<Bob> two"} << true << Texts{"L:#Anna,Bob", "S:0<Anna> one ", "S:3<Bob> two"};
    QTest::newRow("the host's lines, known from its greeting")
        << Texts{greeting, "3<Hosty> hi0<Hosty> again"} << true
        << Texts{"S:" + greeting, "S:3<Hosty> hi", "S:0<Hosty> again"};
    QTest::newRow("a line of a name not in the list stays whole")
        << Texts{"#Bob", "0<Bob> hi0<Eve> hey"} << true << Texts{"L:#Bob", "S:0<Bob> hi0<Eve> hey"};
    QTest::newRow("a departure and a line")
        << Texts{"#Anna,Bob", "-01Anna0<Anna> bye"} << true << Texts{"L:#Anna,Bob", "D:-01Anna (Bob left)", "S:0<Anna> bye"};
    QTest::newRow("a line and a departure with the list it leaves")
        << Texts{"#Anna,Bob", "0<Anna> hi-01Anna"} << true << Texts{"L:#Anna,Bob", "S:0<Anna> hi", "D:-01Anna (Bob left)"};
    QTest::newRow("a departure look-alike with another list stays whole")
        << Texts{"#Anna,Bob", "0<Anna> see -01Eve"} << true << Texts{"L:#Anna,Bob", "S:0<Anna> see -01Eve"};
    QTest::newRow("nothing begins inside a quoted entry")
        << Texts{"#Bob", "#\"x 0<Bob> y\",Bob"} << true << Texts{"L:#Bob", "L:#\"x 0<Bob> y\",Bob"};
    QTest::newRow("two lists glued, the second with a newcomer")
        << Texts{"#Vee,Cid,Bob#Vee,Cid,Bob,Ann"} << true << Texts{"L:#Vee,Cid,Bob", "L:#Vee,Cid,Bob,Ann"};
    QTest::newRow("the first list, arrival notices and the lists they bring")
        << Texts{"#VeeNew guest coming from address: 10.0.0.3New guest coming from address: 10.0.0.4"
                 "Guest from 10.0.0.9 no invited and Host closed door.#Vee,Bob#Vee,Bob,Ann"}
        << true
        << Texts{"L:#Vee", "S:New guest coming from address: 10.0.0.3", "S:New guest coming from address: 10.0.0.4",
                 "S:" + notice, "L:#Vee,Bob", "L:#Vee,Bob,Ann"};
    QTest::newRow("a list and the host's going down")
        << Texts{"#Vee,Bob" + Protocol::ServerDown()} << true << Texts{"L:#Vee,Bob", "S:" + Protocol::ServerDown()};
    QTest::newRow("a list and a departure from it")
        << Texts{"#Vee,Bob", "#Vee,Bob,Ann-01Vee,Ann"} << true
        << Texts{"L:#Vee,Bob", "L:#Vee,Bob,Ann", "D:-01Vee,Ann (Bob left)"};
    QTest::newRow("a departure and the list with a newcomer")
        << Texts{"#Vee,Bob", "-01Vee#Vee,Cid"} << true << Texts{"L:#Vee,Bob", "D:-01Vee (Bob left)", "L:#Vee,Cid"};
    QTest::newRow("two departures")
        << Texts{"#Vee,Bob,Ann", "-01Vee,Ann-01Vee"} << true
        << Texts{"L:#Vee,Bob,Ann", "D:-01Vee,Ann (Bob left)", "D:-01Vee (Ann left)"};
    QTest::newRow("a name with a number sign stays whole")
        << Texts{"#Vee,Ann#x,Bob"} << true << Texts{"L:#Vee,Ann#x,Bob"};
    QTest::newRow("a departure of no participant")
        << Texts{"#Anna", "-05"} << true << Texts{"L:#Anna", "D:-05"};
}

// Each read goes in; where a read was cut short and its rest never comes,
// the wait for it ends and what is held is given.
void TestChatState::reader()
{
    QFETCH(QList<QByteArray>, reads);
    QFETCH(bool, restComes);
    QFETCH(QList<QByteArray>, texts);
    HostTextReader reader;
    QList<HostTextReader::Text> given;
    for (const QByteArray &read : reads)
        given += reader.take(read);
    QCOMPARE(reader.waitsForRest(), !restComes);
    if (!restComes)
        given += reader.takeHeld();
    QCOMPARE(Described(given), texts);
    QVERIFY(!reader.waitsForRest());
    QVERIFY(reader.takeHeld().isEmpty());
}

void TestChatState::wholeFrames_data()
{
    QTest::addColumn<QList<QByteArray>>("frames");
    QTest::addColumn<bool>("mayHoldSeveral");
    QTest::addColumn<QList<QByteArray>>("texts");
    using Texts = QList<QByteArray>;
    QTest::newRow("a host of version 1 frames a relayed burst as one, parted as a read is")
        << Texts{"#Anna", "2<Anna> one2<Anna> two"} << true << Texts{"L:#Anna", "S:2<Anna> one", "S:2<Anna> two"};
    QTest::newRow("a frame of version 2 is one text, whatever it holds")
        << Texts{"#Anna", "2<Anna> one2<Anna> two"} << false << Texts{"L:#Anna", "S:2<Anna> one2<Anna> two"};
    QTest::newRow("a frame of a full read's size waits for no rest")
        << Texts{FullRead("0<Bob> ")} << true << Texts{"S:" + FullRead("0<Bob> ")};
}

// A frame came whole: the reader never holds it back for a rest.
void TestChatState::wholeFrames()
{
    QFETCH(QList<QByteArray>, frames);
    QFETCH(bool, mayHoldSeveral);
    QFETCH(QList<QByteArray>, texts);
    HostTextReader reader;
    QList<HostTextReader::Text> given;
    for (const QByteArray &frame : frames)
        given += reader.takeWhole(frame, mayHoldSeveral);
    QCOMPARE(Described(given), texts);
    QVERIFY(!reader.waitsForRest());
}

// A host that sends without a break is shown in pieces of 64 KiB; the rest
// of such a text is shown as it is, never taken for a list or a departure,
// until a read that is not cut short ends it.
void TestChatState::aStreamingHostIsShownInPieces()
{
    HostTextReader reader;
    QList<HostTextReader::Text> given;
    const int readsInAPiece = int(HostTextReader::kLongestJoinedText / Protocol::kReadSize);
    for (int read = 0; read < readsInAPiece; ++read)
        given += reader.take(FullRead("#"));
    QCOMPARE(given.size(), 1);
    QCOMPARE(given[0].kind, Protocol::GuestReceives::List);
    QCOMPARE(given[0].bytes.size(), HostTextReader::kLongestJoinedText);
    QCOMPARE(Described(reader.take("-01 the end")), QList<QByteArray>{"S:-01 the end"});
    QCOMPARE(Described(reader.take("-01Anna")), QList<QByteArray>{"D:-01Anna"});
}

void TestChatState::aHostileListIsReadInLinearTime_data()
{
    QTest::addColumn<QByteArray>("pattern");
    QTest::newRow("number signs") << QByteArray("#");
    QTest::newRow("lists of the participants") << QByteArray("#a,abcdefghij,");
    QTest::newRow("chat lines of its own entries") << QByteArray("a,0<a");
    QTest::newRow("departures") << QByteArray("-00");
}

// Where a text ends is looked for at every byte; after a list of thousands,
// a host's text of 64 KiB made of what could begin a text must not keep the
// guest busy for seconds (it took 2 to 6 s when every place read a list anew).
void TestChatState::aHostileListIsReadInLinearTime()
{
    QFETCH(QByteArray, pattern);
    QByteArray list = "#";
    while (list.size() < HostTextReader::kLongestJoinedText)
        list += pattern;
    HostTextReader reader;
    QByteArray participants = "#a";
    while (participants.size() < HostTextReader::kLongestJoinedText - Protocol::kReadSize)
        participants += ",abcdefghij";
    for (qsizetype at = 0; at < participants.size(); at += Protocol::kReadSize)
        reader.take(participants.mid(at, Protocol::kReadSize));
    reader.takeHeld();
    QElapsedTimer clock;
    clock.start();
    QList<HostTextReader::Text> given;
    for (qsizetype at = 0; at < HostTextReader::kLongestJoinedText; at += Protocol::kReadSize)
        given += reader.take(list.mid(at, Protocol::kReadSize));
    QCOMPARE(given.size(), 1);
    QVERIFY2(clock.elapsed() < kLongestHostileReadMs, qPrintable(QStringLiteral("%1 ms").arg(clock.elapsed())));
}

QTEST_MAIN(TestChatState)
#include "tst_chatstate.moc"
