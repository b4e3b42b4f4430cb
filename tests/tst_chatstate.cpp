// The chat's state without windows: the host's roster (who registered, in
// which place, what the guests are told) and the guest's reading of what the
// host sends (pieces joined, glued texts parted, each text's kind).
#include "HostRoster.h"
#include "HostTextReader.h"
#include "Protocol.h"

#include <QTest>

namespace {

// A roster script: "+S NAME" registers connection S as NAME (admitting it
// first), "-S" removes it; every removal of a registered guest is told as
// its departure text, in order.
QList<QByteArray> RunRoster(HostRoster &roster, const QList<QByteArray> &steps)
{
    QList<QByteArray> departures;
    for (const QByteArray &step : steps) {
        const int socket = step.mid(1, step.indexOf(' ') < 0 ? -1 : step.indexOf(' ') - 1).toInt();
        if (step.startsWith('+')) {
            roster.Admit(socket, {QStringLiteral("10.0.0.%1").arg(socket), QStringLiteral("5000%1").arg(socket)});
            roster.Register(socket, step.mid(step.indexOf(' ') + 1));
        } else if (const std::optional<int> row = roster.Remove(socket)) {
            departures << roster.DepartureText(*row);
        }
    }
    return departures;
}

// What the reader gave, one "kind:bytes" a text: L list, D departure, S shown.
QList<QByteArray> Described(const QList<HostTextReader::Text> &texts)
{
    QList<QByteArray> described;
    for (const HostTextReader::Text &text : texts) {
        const char kind = text.kind == Protocol::GuestReceives::List        ? 'L'
                          : text.kind == Protocol::GuestReceives::Departure ? 'D'
                                                                            : 'S';
        described << kind + (':' + text.bytes);
    }
    return described;
}

// A read that filled the whole buffer: `first` then filler up to the read size.
QByteArray FullRead(const QByteArray &first)
{
    return first.leftJustified(Protocol::kReadSize, 'x');
}

} // namespace

class TestChatState : public QObject {
    Q_OBJECT
private slots:
    void roster_data();
    void roster();
    void rosterKeepsWhereGuestsCameFrom();
    void reader_data();
    void reader();
    void aStreamingHostIsShownInPieces();
};

void TestChatState::roster_data()
{
    QTest::addColumn<QList<QByteArray>>("steps");
    QTest::addColumn<QByteArray>("listText");
    QTest::addColumn<QList<QByteArray>>("departures");
    using Texts = QList<QByteArray>;
    QTest::newRow("in order of registration") << Texts{"+7 Anna", "+3 Bob"} << QByteArray("#Anna,Bob") << Texts{};
    QTest::newRow("second registration renames in place")
        << Texts{"+7 Anna", "+3 Bob", "+7 Ann"} << QByteArray("#Ann,Bob") << Texts{};
    QTest::newRow("a NUL ends a name") << Texts{QByteArray("+7 An\0na", 8)} << QByteArray("#An") << Texts{};
    QTest::newRow("odd names quoted") << Texts{"+7 Big Bob", "+8 a,b"} << QByteArray("#\"Big Bob\",\"a,b\"") << Texts{};
    QTest::newRow("departure names the place and the rest")
        << Texts{"+7 Anna", "+3 Bob", "+5 Cid", "-3"} << QByteArray("#Anna,Cid") << Texts{"-01Anna,Cid"};
    QTest::newRow("places close up after each departure")
        << Texts{"+7 Anna", "+3 Bob", "+5 Cid", "-7", "-5"} << QByteArray("#Bob") << Texts{"-00Bob,Cid", "-01Bob"};
    QTest::newRow("one who never registered leaves no departure")
        << Texts{"+7 Anna", "-9"} << QByteArray("#Anna") << Texts{};
    QTest::newRow("everybody gone") << Texts{"+7 Anna", "-7"} << QByteArray("#") << Texts{"-00"};
    QTest::newRow("a connection number given out again registers anew")
        << Texts{"+7 Anna", "-7", "+7 Bob"} << QByteArray("#Bob") << Texts{"-00"};
}

void TestChatState::roster()
{
    QFETCH(QList<QByteArray>, steps);
    QFETCH(QByteArray, listText);
    QFETCH(QList<QByteArray>, departures);
    HostRoster roster;
    QCOMPARE(RunRoster(roster, steps), departures);
    QCOMPARE(roster.ListText(), listText);
}

// A guest's address and port are known from its acceptance to its departure,
// registered or not, and forgotten with it.
void TestChatState::rosterKeepsWhereGuestsCameFrom()
{
    HostRoster roster;
    roster.Admit(4, {QStringLiteral("10.0.0.4"), QStringLiteral("50004")});
    roster.Admit(5, {QStringLiteral("10.0.0.5"), QStringLiteral("50005")});
    roster.Register(5, "Bob");
    QCOMPARE(roster.PeerOf(4).address, QStringLiteral("10.0.0.4"));
    QCOMPARE(roster.PeerOf(5).port, QStringLiteral("50005"));
    QCOMPARE(roster.Remove(4), std::nullopt);
    QCOMPARE(roster.PeerOf(4).address, QString());
    QCOMPARE(roster.Remove(5), std::optional<int>(0));
    QCOMPARE(roster.PeerOf(5).address, QString());
    QVERIFY(roster.Names().isEmpty());
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
        given += reader.Take(read);
    QCOMPARE(reader.WaitsForRest(), !restComes);
    if (!restComes)
        given += reader.TakeHeld();
    QCOMPARE(Described(given), texts);
    QVERIFY(!reader.WaitsForRest());
    QVERIFY(reader.TakeHeld().isEmpty());
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
        given += reader.Take(FullRead("#"));
    QCOMPARE(given.size(), 1);
    QCOMPARE(given[0].kind, Protocol::GuestReceives::List);
    QCOMPARE(given[0].bytes.size(), HostTextReader::kLongestJoinedText);
    QCOMPARE(Described(reader.Take("-01 the end")), QList<QByteArray>{"S:-01 the end"});
    QCOMPARE(Described(reader.Take("-01Anna")), QList<QByteArray>{"D:-01Anna"});
}

QTEST_MAIN(TestChatState)
#include "tst_chatstate.moc"
