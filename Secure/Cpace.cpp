#include "Cpace.h"

#include <sodium.h>

#include <algorithm>
#include <stdexcept>

namespace {

const QByteArray kSuite = QByteArrayLiteral("CPaceRistretto255");
// SHA-512 takes its input in blocks of this many bytes.
constexpr qsizetype kHashBlockSize = 128;

void InitialiseSodium()
{
    static const bool ready = sodium_init() >= 0;
    if (!ready)
        throw std::runtime_error("libsodium could not be initialised");
}

// LEB128: seven bits a byte, the lowest first, the top bit set while more follow.
QByteArray WithLength(const QByteArray &string)
{
    QByteArray encoded;
    qsizetype length = string.size();
    do {
        const auto low = static_cast<char>(length & 0x7f);
        length >>= 7;
        encoded.append(length > 0 ? static_cast<char>(low | 0x80) : low);
    } while (length > 0);
    return encoded + string;
}

QByteArray Sha512(const QByteArray &bytes)
{
    QByteArray digest(crypto_hash_sha512_BYTES, Qt::Uninitialized);
    crypto_hash_sha512(reinterpret_cast<unsigned char *>(digest.data()),
                       reinterpret_cast<const unsigned char *>(bytes.constData()),
                       static_cast<unsigned long long>(bytes.size()));
    return digest;
}

const unsigned char *Bytes(const QByteArray &bytes)
{
    return reinterpret_cast<const unsigned char *>(bytes.constData());
}

} // namespace

namespace Cpace {

QByteArray lengthValues(std::initializer_list<QByteArray> strings)
{
    QByteArray joined;
    for (const QByteArray &string : strings)
        joined += WithLength(string);
    return joined;
}

QByteArray generatorString(const QByteArray &password, const QByteArray &channel, const QByteArray &sessionId)
{
    // Zeros fill the hash's first block, so that its work does not depend
    // on the length of a short password.
    const qsizetype padding =
        std::max<qsizetype>(0, kHashBlockSize - WithLength(password).size() - WithLength(kSuite).size() - 1);
    return lengthValues({kSuite, password, QByteArray(padding, '\0'), channel, sessionId});
}

QByteArray generator(const QByteArray &password, const QByteArray &channel, const QByteArray &sessionId)
{
    InitialiseSodium();
    const QByteArray hash = Sha512(generatorString(password, channel, sessionId));
    QByteArray point(crypto_core_ristretto255_BYTES, Qt::Uninitialized);
    crypto_core_ristretto255_from_hash(reinterpret_cast<unsigned char *>(point.data()), Bytes(hash));
    return point;
}

std::optional<QByteArray> multiply(const QByteArray &scalar, const QByteArray &point)
{
    InitialiseSodium();
    if (scalar.size() != crypto_scalarmult_ristretto255_SCALARBYTES || point.size() != crypto_core_ristretto255_BYTES)
        return std::nullopt;
    QByteArray product(crypto_core_ristretto255_BYTES, Qt::Uninitialized);
    // Fails for an encoding of no element, and for the neutral element as the result.
    if (crypto_scalarmult_ristretto255(reinterpret_cast<unsigned char *>(product.data()), Bytes(scalar), Bytes(point))
        != 0)
        return std::nullopt;
    return product;
}

QByteArray sessionKey(const QByteArray &sessionId, const QByteArray &secretPoint, const QByteArray &initiatorShare,
                      const QByteArray &initiatorData, const QByteArray &responderShare,
                      const QByteArray &responderData)
{
    const QByteArray transcript =
        lengthValues({initiatorShare, initiatorData}) + lengthValues({responderShare, responderData});
    return Sha512(lengthValues({kSuite + "_ISK", sessionId, secretPoint}) + transcript);
}

QByteArray confirmation(const QByteArray &sessionId, const QByteArray &sessionKey, const QByteArray &share,
                        const QByteArray &data)
{
    QByteArray macKey = Sha512("CPaceMac" + sessionId + sessionKey);
    const QByteArray message = lengthValues({share, data});
    QByteArray tag(crypto_auth_hmacsha512_BYTES, Qt::Uninitialized);
    crypto_auth_hmacsha512_state state;
    crypto_auth_hmacsha512_init(&state, Bytes(macKey), size_t(macKey.size()));
    crypto_auth_hmacsha512_update(&state, Bytes(message), static_cast<unsigned long long>(message.size()));
    crypto_auth_hmacsha512_final(&state, reinterpret_cast<unsigned char *>(tag.data()));
    sodium_memzero(macKey.data(), size_t(macKey.size()));
    return tag;
}

Party::Party(Role role, const QByteArray &password, const QByteArray &channel, const QByteArray &sessionId,
             const QByteArray &ownData)
    : Party(role, password, channel, sessionId, ownData, [] {
          InitialiseSodium();
          QByteArray scalar(crypto_core_ristretto255_SCALARBYTES, Qt::Uninitialized);
          crypto_core_ristretto255_scalar_random(reinterpret_cast<unsigned char *>(scalar.data()));
          return scalar;
      }())
{
}

Party::Party(Role role, const QByteArray &password, const QByteArray &channel, const QByteArray &sessionId,
             const QByteArray &ownData, const QByteArray &scalar)
    : role(role), sessionId(sessionId), ownData(ownData), scalar(scalar)
{
    ownShare = multiply(scalar, generator(password, channel, sessionId)).value_or(QByteArray());
}

Party::~Party()
{
    sodium_memzero(scalar.data(), size_t(scalar.size()));
}

std::optional<QByteArray> Party::keyWith(const QByteArray &peerShare, const QByteArray &peerData) const
{
    std::optional<QByteArray> secretPoint = multiply(scalar, peerShare);
    if (!secretPoint || ownShare.isEmpty())
        return std::nullopt;
    const QByteArray key = role == Role::Initiator
                               ? sessionKey(sessionId, *secretPoint, ownShare, ownData, peerShare, peerData)
                               : sessionKey(sessionId, *secretPoint, peerShare, peerData, ownShare, ownData);
    sodium_memzero(secretPoint->data(), size_t(secretPoint->size()));
    return key;
}

} // namespace Cpace
