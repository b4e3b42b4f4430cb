#include "SecureOpening.h"

#include "Cpace.h"
#include "FrameReader.h"
#include "SocketErrors.h"
#include "TlsTransport.h"

#include <QtEndian>

#include <openssl/crypto.h>
#include <openssl/evp.h>

#include <cerrno>

namespace {

// Why an opening failed, for people; translated where it is shown.
const char *const kNotTrusted =
    QT_TRANSLATE_NOOP("SocketErrors", "The host's key was not trusted: the chat was not joined.");
const char *const kNoPassword =
    QT_TRANSLATE_NOOP("SocketErrors", "The host asks for a chat password, and none was given.");
const char *const kPasswordRefused = QT_TRANSLATE_NOOP("SocketErrors", "The host refused the chat password.");
const char *const kHostWithoutPassword = QT_TRANSLATE_NOOP(
    "SocketErrors", "The host could not prove that it knows the chat password: it may not be the host it claims to be.");
const char *const kTooLate = QT_TRANSLATE_NOOP(
    "SocketErrors", "The host waited five minutes for the key to be trusted and the password given, and gave up. Join again.");

const int kAborted = TranslateErrno(ECONNABORTED);
constexpr int kPasswordRounds = 200000;
const char kExporterLabel[] = "EXPORTER-Vanu chat password";
const char kExchangeLabel[] = "EXPORTER-Vanu CPace";
const QByteArray kExchangeChannel = QByteArrayLiteral("Vanu chat password");
const QByteArray kGuestData = QByteArrayLiteral("guest");
const QByteArray kHostData = QByteArrayLiteral("host");

bool SameBytes(const QByteArray &one, const QByteArray &other)
{
    return one.size() == other.size() && CRYPTO_memcmp(one.constData(), other.constData(), size_t(one.size())) == 0;
}
// The opening's own frames.
const QByteArray kOfferOpen = QByteArrayLiteral("vanu-secure open");
const QByteArray kOfferPassword = QByteArrayLiteral("vanu-secure password");
const QByteArray kWelcome = QByteArrayLiteral("vanu-secure welcome");
const QByteArray kRefused = QByteArrayLiteral("vanu-secure refused");
const QByteArray kTooLateVerdict = QByteArrayLiteral("vanu-secure too late");

} // namespace

QByteArray PasswordKey(const QString &password, const QByteArray &fingerprint)
{
    const QByteArray secret = password.toUtf8();
    QByteArray key(32, '\0');
    PKCS5_PBKDF2_HMAC(secret.constData(), int(secret.size()), reinterpret_cast<const unsigned char *>(fingerprint.constData()),
                      int(fingerprint.size()), kPasswordRounds, EVP_sha256(), int(key.size()),
                      reinterpret_cast<unsigned char *>(key.data()));
    return key;
}

SecureOpening::SecureOpening(int socket, TlsTransport &tls, HostSide host)
    : socket(socket), tls(tls), host(true), hostSide(std::move(host))
{
}

SecureOpening::SecureOpening(int socket, TlsTransport &tls, GuestSide guest)
    : socket(socket), tls(tls), host(false), guestSide(std::move(guest))
{
}

SecureOpening::~SecureOpening() = default;

Opening SecureOpening::notYet() const
{
    return failure != 0 ? Opening::Failed : Opening::WaitsToRead;
}

void SecureOpening::startExchange(const QByteArray &passwordKey)
{
    exchangeId = tls.exported(kExchangeLabel, 16);
    exchange = std::make_unique<Cpace::Party>(host ? Cpace::Party::Role::Responder : Cpace::Party::Role::Initiator,
                                              passwordKey, kExchangeChannel, exchangeId, host ? kHostData : kGuestData);
}

Framing SecureOpening::textFraming() const
{
    if (tls.isFileConnection())
        return Framing::File;
    return tls.agreedOnVersion2() ? Framing::Version2 : Framing::Version1;
}

QByteArray SecureOpening::peerKey() const
{
    return tls.peerFingerprint();
}

Opening SecureOpening::fail(int error, const QString &text)
{
    failure = error;
    failureReason = text;
    return Opening::Failed;
}

Opening SecureOpening::drive(Transport &)
{
    if (failure != 0)
        return Opening::Failed;
    switch (stage) {
    case Stage::Start:
        return host ? hostOffers() : checkHostKey();
    case Stage::Trust:
        if (!answers->trusted)
            return Opening::WaitsForUser;
        if (!*answers->trusted)
            return fail(kAborted, QString::fromUtf8(kNotTrusted));
        stage = afterTrust;
        return stage == Stage::Open ? Opening::Done : guestAnswersOffer();
    case Stage::Offer:
        return guestAnswersOffer();
    case Stage::Password:
        if (!answers->password)
            return Opening::WaitsForUser;
        if (!*answers->password)
            return fail(kAborted, QString::fromUtf8(kNoPassword));
        return guestProves(**answers->password);
    case Stage::Proof:
        return hostChecksProof();
    case Stage::HostShare:
        return guestConfirms();
    case Stage::GuestConfirms:
        return hostChecksConfirmation();
    case Stage::Verdict:
        return guestHearsVerdict();
    case Stage::Welcome:
        return guestHearsWelcome();
    case Stage::Open:
        break;
    }
    return Opening::Done;
}

Opening SecureOpening::checkHostKey()
{
    const QByteArray fingerprint = tls.peerFingerprint();
    if (fingerprint.isEmpty())
        return fail(kAborted);
    QString refusal;
    const KeyVerdict verdict =
        guestSide.checkKey ? guestSide.checkKey(socket, fingerprint, refusal) : KeyVerdict::Trusted;
    if (verdict == KeyVerdict::Refused)
        return fail(kAborted, refusal);
    if (tls.isFileConnection()) {
        // Files go only to a host this copy chats with already, under the key it knows.
        if (verdict != KeyVerdict::Trusted)
            return fail(kAborted);
        stage = Stage::Welcome;
        return guestHearsWelcome();
    }
    if (verdict == KeyVerdict::Ask && !tls.agreedOnVersion2()) {
        afterTrust = Stage::Offer;
        return askTrust(false);
    }
    trustLater = verdict == KeyVerdict::Ask;
    stage = Stage::Offer;
    return guestAnswersOffer();
}

Opening SecureOpening::askTrust(bool hostKnowsPassword)
{
    stage = Stage::Trust;
    guestSide.askTrust(socket, tls.peerFingerprint(), hostKnowsPassword, answerInto(&Answers::trusted));
    return Opening::WaitsForUser;
}

Opening SecureOpening::guestOpens()
{
    if (trustLater) {
        afterTrust = Stage::Open;
        return askTrust(exchange != nullptr);
    }
    stage = Stage::Open;
    return Opening::Done;
}

Opening SecureOpening::hostAdmitsFileConnection()
{
    const QByteArray key = tls.peerFingerprint();
    const bool allowed = !key.isEmpty() && hostSide.fileConnectionAllowed && hostSide.fileConnectionAllowed(key);
    if (!writeFrame(allowed ? kWelcome : kRefused) || !allowed)
        return fail(kAborted);
    stage = Stage::Open;
    return Opening::Done;
}

Opening SecureOpening::hostOffers()
{
    if (tls.isFileConnection())
        return hostAdmitsFileConnection();
    const bool asksPassword = hostSide.passwordKey && !hostSide.passwordKey().isEmpty();
    if (!writeFrame(asksPassword ? kOfferPassword : kOfferOpen))
        return fail(kAborted);
    stage = Stage::Proof;
    return hostChecksProof();
}

Opening SecureOpening::guestAnswersOffer()
{
    const std::optional<QByteArray> offer = takeFrame();
    if (!offer)
        return notYet();
    if (*offer == kOfferOpen)
        return guestProves(QString());
    if (*offer != kOfferPassword || !guestSide.askPassword)
        return fail(kAborted);
    stage = Stage::Password;
    guestSide.askPassword(socket, answerInto(&Answers::password));
    return Opening::WaitsForUser;
}

Opening SecureOpening::guestProves(const QString &password)
{
    if (tls.agreedOnVersion2() && !password.isEmpty()) {
        startExchange(PasswordKey(password, tls.peerFingerprint()));
        if (exchange->share().isEmpty() || !writeFrame(exchange->share()))
            return fail(kAborted);
        stage = Stage::HostShare;
        return guestConfirms();
    }
    const QByteArray proof = password.isEmpty() ? QByteArray() : proofWith(PasswordKey(password, tls.peerFingerprint()));
    if (!writeFrame(proof))
        return fail(kAborted);
    stage = Stage::Verdict;
    return guestHearsVerdict();
}

Opening SecureOpening::guestConfirms()
{
    const std::optional<QByteArray> share = takeFrame();
    if (!share)
        return notYet();
    if (*share == kRefused)
        return fail(kAborted, QString::fromUtf8(kPasswordRefused));
    const std::optional<QByteArray> key = exchange->keyWith(*share, kHostData);
    if (!key)
        return fail(kAborted);
    exchangeKey = *key;
    peerShare = *share;
    if (!writeFrame(Cpace::confirmation(exchangeId, exchangeKey, exchange->share(), kGuestData)))
        return fail(kAborted);
    stage = Stage::Verdict;
    return guestHearsVerdict();
}

Opening SecureOpening::hostAnswersShare(const QByteArray &guestShare)
{
    startExchange(hostSide.passwordKey());
    const std::optional<QByteArray> key = exchange->keyWith(guestShare, kGuestData);
    if (!key || !writeFrame(exchange->share()))
        return fail(kAborted);
    exchangeKey = *key;
    peerShare = guestShare;
    stage = Stage::GuestConfirms;
    return hostChecksConfirmation();
}

Opening SecureOpening::hostChecksConfirmation()
{
    const std::optional<QByteArray> confirmation = takeFrame();
    if (!confirmation)
        return notYet();
    const bool proven =
        SameBytes(*confirmation, Cpace::confirmation(exchangeId, exchangeKey, peerShare, kGuestData));
    if (hostSide.proofChecked)
        hostSide.proofChecked(socket, proven);
    // The host proves itself only to a guest that proved itself first.
    if (!proven) {
        writeFrame(kRefused);
        return fail(kAborted);
    }
    const QByteArray own = Cpace::confirmation(exchangeId, exchangeKey, exchange->share(), kHostData);
    if (!writeFrame(own) || !writeFrame(kWelcome))
        return fail(kAborted);
    stage = Stage::Open;
    return Opening::Done;
}

Opening SecureOpening::hostChecksProof()
{
    const std::optional<QByteArray> proof = takeFrame();
    if (!proof)
        return notYet();
    const QByteArray key = hostSide.passwordKey ? hostSide.passwordKey() : QByteArray();
    bool proven = key.isEmpty();
    const bool mayTry = !hostSide.mayTry || hostSide.mayTry(socket);
    if (!proven && mayTry && tls.agreedOnVersion2())
        return hostAnswersShare(*proof);
    if (!proven && mayTry) {
        const QByteArray expected = proofWith(key);
        proven = SameBytes(*proof, expected);
        if (hostSide.proofChecked)
            hostSide.proofChecked(socket, proven);
    }
    if (!writeFrame(proven ? kWelcome : kRefused) || !proven)
        return fail(kAborted);
    stage = Stage::Open;
    return Opening::Done;
}

Opening SecureOpening::guestHearsVerdict()
{
    const std::optional<QByteArray> verdict = takeFrame();
    if (!verdict)
        return notYet();
    if (*verdict == kRefused)
        return fail(kAborted, QString::fromUtf8(kPasswordRefused));
    if (*verdict == kTooLateVerdict)
        return fail(kAborted, QString::fromUtf8(kTooLate));
    if (exchange) {
        // After the password's exchange, the host's confirmation comes before its welcome.
        const QByteArray expected = Cpace::confirmation(exchangeId, exchangeKey, peerShare, kHostData);
        if (!SameBytes(*verdict, expected))
            return fail(kAborted, QString::fromUtf8(kHostWithoutPassword));
        stage = Stage::Welcome;
        return guestHearsWelcome();
    }
    if (*verdict != kWelcome)
        return fail(kAborted);
    return guestOpens();
}

Opening SecureOpening::guestHearsWelcome()
{
    const std::optional<QByteArray> welcome = takeFrame();
    if (!welcome)
        return notYet();
    if (*welcome != kWelcome)
        return fail(kAborted);
    return guestOpens();
}

void SecureOpening::timedOut(Transport &)
{
    if (stage == Stage::Proof)
        writeFrame(kTooLateVerdict);
}

std::optional<QByteArray> SecureOpening::takeFrame()
{
    constexpr int kHeader = FrameReader::kHeaderSize;
    for (;;) {
        qsizetype wanted = kHeader - reading.size();
        if (wanted <= 0) {
            const qsizetype length = qFromBigEndian<quint32>(reading.constData());
            if (length > FrameReader::kLongestFrame) {
                fail(kAborted);
                return std::nullopt;
            }
            wanted = kHeader + length - reading.size();
            if (wanted == 0) {
                const QByteArray frame = reading.mid(kHeader);
                reading.clear();
                return frame;
            }
        }
        const qsizetype had = reading.size();
        reading.resize(had + wanted);
        const TransportResult read = tls.read(reading.data() + had, wanted);
        reading.resize(had + read.bytes);
        if (read.bytes > 0)
            continue;
        if (read.error != 0 || read.ended)
            fail(kAborted); // failed, or the peer left halfway through the opening
        return std::nullopt;
    }
}

bool SecureOpening::writeFrame(const QByteArray &payload)
{
    // The opening's frames are small, and the connection new: the socket
    // takes each whole, or the connection is no good.
    const QByteArray frame = FrameReader::framed(payload);
    return tls.write(frame.constData(), frame.size()).bytes == frame.size();
}

QByteArray SecureOpening::proofWith(const QByteArray &key) const
{
    const QByteArray exported = tls.exported(kExporterLabel, 32);
    if (exported.isEmpty())
        return {};
    QByteArray proof(EVP_MAX_MD_SIZE, '\0');
    size_t length = 0;
    if (!EVP_Q_mac(nullptr, "HMAC", nullptr, "SHA256", nullptr, key.constData(), size_t(key.size()),
                   reinterpret_cast<const unsigned char *>(exported.constData()), size_t(exported.size()),
                   reinterpret_cast<unsigned char *>(proof.data()), size_t(proof.size()), &length))
        return {};
    proof.resize(qsizetype(length));
    return proof;
}

ConnectionLayers TlsTransports::forConnection(int socket)
{
    auto tls = std::make_unique<TlsTransport>(socket, context, !guest);
    TlsTransport &carried = *tls;
    if (guest)
        return {std::move(tls), std::make_unique<SecureOpening>(socket, carried, *guest)};
    return {std::move(tls), std::make_unique<SecureOpening>(socket, carried, host)};
}
