#pragma once

#include <QByteArray>

#include <initializer_list>
#include <optional>

// CPace over ristretto255 with SHA-512 (draft-irtf-cfrg-cpace), between an
// initiator and a responder: a balanced password-authenticated key exchange.
// Each side sends one share; both derive the same key exactly when they used
// the same password, channel identifier and session id. A side that does not
// know the password learns nothing that it could test guesses against
// offline: each run allows one guess, online.
namespace Cpace {

constexpr int kShareSize = 32;
constexpr int kKeySize = 64;

// The parts of the protocol, for checking against the draft's test vectors.
QByteArray lengthValues(std::initializer_list<QByteArray> strings);
QByteArray generatorString(const QByteArray &password, const QByteArray &channel, const QByteArray &sessionId);
// The generator, in its public encoding.
QByteArray generator(const QByteArray &password, const QByteArray &channel, const QByteArray &sessionId);
// `scalar` times `point`; nothing when the point is no valid element or the
// result is the neutral element, and the run must end.
std::optional<QByteArray> multiply(const QByteArray &scalar, const QByteArray &point);
// The intermediate session key from the secret point and the initiator's and
// responder's shares and associated data.
QByteArray sessionKey(const QByteArray &sessionId, const QByteArray &secretPoint, const QByteArray &initiatorShare,
                      const QByteArray &initiatorData, const QByteArray &responderShare,
                      const QByteArray &responderData);

// A side's confirmation that it holds the key: an HMAC-SHA-512, keyed from
// the session key, of the share and data it sent. Each side checks the
// other's before it trusts the run.
QByteArray confirmation(const QByteArray &sessionId, const QByteArray &sessionKey, const QByteArray &share,
                        const QByteArray &data);

// One side's run: a scalar drawn at random, its share, and the key once the
// peer's share has come. The scalar is wiped when the run ends.
class Party {
public:
    enum class Role { Initiator, Responder };

    Party(Role role, const QByteArray &password, const QByteArray &channel, const QByteArray &sessionId,
          const QByteArray &ownData);
    // With a given scalar, for the test vectors.
    Party(Role role, const QByteArray &password, const QByteArray &channel, const QByteArray &sessionId,
          const QByteArray &ownData, const QByteArray &scalar);
    ~Party();
    Party(const Party &) = delete;
    Party &operator=(const Party &) = delete;

    const QByteArray &share() const { return ownShare; }
    // The key both sides share; nothing when the peer's share is invalid.
    std::optional<QByteArray> keyWith(const QByteArray &peerShare, const QByteArray &peerData) const;

private:
    Role role;
    QByteArray sessionId;
    QByteArray ownData;
    QByteArray scalar;
    QByteArray ownShare;
};

} // namespace Cpace
