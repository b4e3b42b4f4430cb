// The password exchange against the draft's test vectors for ristretto255
// and SHA-512, and what it does with a share that no honest peer sends.
#include "Cpace.h"

#include <QTest>

namespace {

QByteArray Hex(const char *hex)
{
    return QByteArray::fromHex(hex);
}

const QByteArray kPassword = "Password";
const QByteArray kChannel = Hex("0b415f696e69746961746f720b425f726573706f6e646572");
const QByteArray kSessionId = Hex("7e4b4791d6a8ef019b936c79fb7f2c57");
const QByteArray kScalarA = Hex("da3d23700a9e5699258aef94dc060dfda5ebb61f02a5ea77fad53f4ff0976d08");
const QByteArray kScalarB = Hex("d2316b454718c35362d83d69df6320f38578ed5984651435e2949762d900b80d");

} // namespace

class TestCpace : public QObject {
    Q_OBJECT
private slots:
    void followsTheDraftsTestVectors();
    void anInvalidShareEndsTheRun_data();
    void anInvalidShareEndsTheRun();
    void onlyTheSamePasswordGivesTheSameKey();
};

void TestCpace::followsTheDraftsTestVectors()
{
    QCOMPARE(Cpace::generatorString(kPassword, kChannel, kSessionId),
             Hex("11435061636552697374726574746f3235350850617373776f726464"
                 "00000000000000000000000000000000000000000000000000000000"
                 "00000000000000000000000000000000000000000000000000000000"
                 "00000000000000000000000000000000000000000000000000000000"
                 "00000000000000000000000000000000180b415f696e69746961746f"
                 "720b425f726573706f6e646572107e4b4791d6a8ef019b936c79fb7f"
                 "2c57"));
    QCOMPARE(Cpace::generator(kPassword, kChannel, kSessionId),
             Hex("222b6b195fe84b1652badb6f6a3ae3d24341e7306967f0b8115b40d5698c7e56"));
    const Cpace::Party a(Cpace::Party::Role::Initiator, kPassword, kChannel, kSessionId, "ADa", kScalarA);
    const Cpace::Party b(Cpace::Party::Role::Responder, kPassword, kChannel, kSessionId, "ADb", kScalarB);
    QCOMPARE(a.share(), Hex("d6bac480f2c386c394efc7c47adb9925dcd2630b64f240c50f8d0eec482b9157"));
    QCOMPARE(b.share(), Hex("3ea7e0b19560d7c0b0f5734f63b955286dfa8232b5ebe63324e2d9e7433f7258"));
    QCOMPARE(Cpace::multiply(kScalarA, b.share()),
             Hex("80b69a8a76457ab6a4d7f887a4bf6b55a2f80ac19c333f917a05fc9887c8b40f"));
    const QByteArray key = Hex("b69effbf61b51d56401c0f65601abe428de8206feaaf0e32198896dcae7b35cd"
                               "2b38950a39dfd5d4a79164614c2984f7daa460b588c1e80c3fa2068af7900447");
    QCOMPARE(a.keyWith(b.share(), "ADb"), key);
    QCOMPARE(b.keyWith(a.share(), "ADa"), key);
    QCOMPARE(Cpace::multiply(Hex("7cd0e075fa7955ba52c02759a6c90dbbfc10e6d40aea8d283e407d88cf538a05"),
                             Hex("2c3c6b8c4f3800e7aef6864025b4ed79bd599117e427c41bd47d93d654b4a51c")),
             Hex("7c13645fe790a468f62c39beb7388e541d8405d1ade69d1778c5fe3e7f6b600e"));
}

void TestCpace::anInvalidShareEndsTheRun_data()
{
    QTest::addColumn<QByteArray>("share");
    QTest::newRow("no element") << Hex("2b3c6b8c4f3800e7aef6864025b4ed79bd599117e427c41bd47d93d654b4a51c");
    QTest::newRow("the neutral element") << QByteArray(Cpace::kShareSize, '\0');
    QTest::newRow("too short") << Hex("d6bac480f2c386c394efc7c47adb9925");
    QTest::newRow("nothing") << QByteArray();
}

void TestCpace::anInvalidShareEndsTheRun()
{
    QFETCH(QByteArray, share);
    const Cpace::Party party(Cpace::Party::Role::Responder, kPassword, kChannel, kSessionId, "ADb");
    QCOMPARE(party.keyWith(share, "ADa"), std::nullopt);
}

// Scalars drawn at random: the keys agree with the password, and only with it.
void TestCpace::onlyTheSamePasswordGivesTheSameKey()
{
    using Role = Cpace::Party::Role;
    const Cpace::Party host(Role::Responder, "sunshine7", kChannel, kSessionId, "host");
    const Cpace::Party guest(Role::Initiator, "sunshine7", kChannel, kSessionId, "guest");
    const Cpace::Party guesser(Role::Initiator, "sunshine8", kChannel, kSessionId, "guest");
    QVERIFY(host.share() != guest.share());
    const std::optional<QByteArray> key = guest.keyWith(host.share(), "host");
    QVERIFY(key && key->size() == Cpace::kKeySize);
    QCOMPARE(host.keyWith(guest.share(), "guest"), key);
    QVERIFY(host.keyWith(guesser.share(), "guest") != guesser.keyWith(host.share(), "host"));
}

QTEST_GUILESS_MAIN(TestCpace)
#include "tst_cpace.moc"
