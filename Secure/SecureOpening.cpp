#include "SecureOpening.h"

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
const char *const kTooLate = QT_TRANSLATE_NOOP(
    "SocketErrors", "The host waited five minutes for the key to be trusted and the password given, and gave up. Join again.");

const int kAborted = TranslateErrno(ECONNABORTED);
constexpr int kPasswordRounds = 200000;
const char kExporterLabel[] = "EXPORTER-Vanu chat password";
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

Framing SecureOpening::TextFraming() const
{
    return tls.AgreedOnVersion2() ? Framing::Version2 : Framing::Version1;
}

Opening SecureOpening::Fail(int error, const QString &text)
{
    failure = error;
    failureText = text;
    return Opening::Failed;
}

Opening SecureOpening::Drive(Transport &)
{
    if (failure != 0)
        return Opening::Failed;
    switch (stage) {
    case Stage::Start:
        return host ? HostOffers() : CheckHostKey();
    case Stage::Trust:
        if (!answers->trusted)
            return Opening::WaitsForUser;
        if (!*answers->trusted)
            return Fail(kAborted, QString::fromUtf8(kNotTrusted));
        stage = Stage::Offer;
        return GuestAnswersOffer();
    case Stage::Offer:
        return GuestAnswersOffer();
    case Stage::Password:
        if (!answers->password)
            return Opening::WaitsForUser;
        if (!*answers->password)
            return Fail(kAborted, QString::fromUtf8(kNoPassword));
        return GuestProves(**answers->password);
    case Stage::Proof:
        return HostChecksProof();
    case Stage::Verdict:
        return GuestHearsVerdict();
    case Stage::Open:
        break;
    }
    return Opening::Done;
}

Opening SecureOpening::CheckHostKey()
{
    const QByteArray fingerprint = tls.PeerFingerprint();
    if (fingerprint.isEmpty())
        return Fail(kAborted);
    QString refusal;
    const KeyVerdict verdict =
        guestSide.checkKey ? guestSide.checkKey(socket, fingerprint, refusal) : KeyVerdict::Trusted;
    if (verdict == KeyVerdict::Refused)
        return Fail(kAborted, refusal);
    if (verdict == KeyVerdict::Trusted) {
        stage = Stage::Offer;
        return GuestAnswersOffer();
    }
    stage = Stage::Trust;
    guestSide.askTrust(socket, fingerprint, AnswerInto(&Answers::trusted));
    return Opening::WaitsForUser;
}

Opening SecureOpening::HostOffers()
{
    const bool asksPassword = hostSide.passwordKey && !hostSide.passwordKey().isEmpty();
    if (!WriteFrame(asksPassword ? kOfferPassword : kOfferOpen))
        return Fail(kAborted);
    stage = Stage::Proof;
    return HostChecksProof();
}

Opening SecureOpening::GuestAnswersOffer()
{
    const std::optional<QByteArray> offer = TakeFrame();
    if (!offer)
        return failure != 0 ? Opening::Failed : Opening::WaitsToRead;
    if (*offer == kOfferOpen)
        return GuestProves(QString());
    if (*offer != kOfferPassword || !guestSide.askPassword)
        return Fail(kAborted);
    stage = Stage::Password;
    guestSide.askPassword(socket, AnswerInto(&Answers::password));
    return Opening::WaitsForUser;
}

Opening SecureOpening::GuestProves(const QString &password)
{
    const QByteArray proof = password.isEmpty() ? QByteArray() : Proof(PasswordKey(password, tls.PeerFingerprint()));
    if (!WriteFrame(proof))
        return Fail(kAborted);
    stage = Stage::Verdict;
    return GuestHearsVerdict();
}

Opening SecureOpening::HostChecksProof()
{
    const std::optional<QByteArray> proof = TakeFrame();
    if (!proof)
        return failure != 0 ? Opening::Failed : Opening::WaitsToRead;
    const QByteArray key = hostSide.passwordKey ? hostSide.passwordKey() : QByteArray();
    bool proven = key.isEmpty();
    if (!proven && (!hostSide.mayTry || hostSide.mayTry(socket))) {
        const QByteArray expected = Proof(key);
        proven = proof->size() == expected.size()
                 && CRYPTO_memcmp(proof->constData(), expected.constData(), size_t(expected.size())) == 0;
        if (hostSide.proofChecked)
            hostSide.proofChecked(socket, proven);
    }
    if (!WriteFrame(proven ? kWelcome : kRefused) || !proven)
        return Fail(kAborted);
    stage = Stage::Open;
    return Opening::Done;
}

Opening SecureOpening::GuestHearsVerdict()
{
    const std::optional<QByteArray> verdict = TakeFrame();
    if (!verdict)
        return failure != 0 ? Opening::Failed : Opening::WaitsToRead;
    if (*verdict == kRefused)
        return Fail(kAborted, QString::fromUtf8(kPasswordRefused));
    if (*verdict == kTooLateVerdict)
        return Fail(kAborted, QString::fromUtf8(kTooLate));
    if (*verdict != kWelcome)
        return Fail(kAborted);
    stage = Stage::Open;
    return Opening::Done;
}

void SecureOpening::TimedOut(Transport &)
{
    if (stage == Stage::Proof)
        WriteFrame(kTooLateVerdict);
}

std::optional<QByteArray> SecureOpening::TakeFrame()
{
    constexpr int kHeader = FrameReader::kHeaderSize;
    for (;;) {
        qsizetype wanted = kHeader - reading.size();
        if (wanted <= 0) {
            const qsizetype length = qFromBigEndian<quint32>(reading.constData());
            if (length > FrameReader::kLongestFrame) {
                Fail(kAborted);
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
        const TransportResult read = tls.Read(reading.data() + had, wanted);
        reading.resize(had + read.bytes);
        if (read.bytes > 0)
            continue;
        if (read.error != 0 || read.ended)
            Fail(kAborted); // failed, or the peer left halfway through the opening
        return std::nullopt;
    }
}

bool SecureOpening::WriteFrame(const QByteArray &payload)
{
    // The opening's frames are small, and the connection new: the socket
    // takes each whole, or the connection is no good.
    const QByteArray frame = FrameReader::Framed(payload);
    return tls.Write(frame.constData(), frame.size()).bytes == frame.size();
}

QByteArray SecureOpening::Proof(const QByteArray &key) const
{
    const QByteArray exported = tls.Exported(kExporterLabel, 32);
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

ConnectionLayers TlsTransports::ForConnection(int socket)
{
    auto tls = std::make_unique<TlsTransport>(socket, context, !guest);
    TlsTransport &carried = *tls;
    if (guest)
        return {std::move(tls), std::make_unique<SecureOpening>(socket, carried, *guest)};
    return {std::move(tls), std::make_unique<SecureOpening>(socket, carried, host)};
}
