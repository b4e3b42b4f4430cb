#include "SecurePeer.h"

#include <QTest>
#include <QtEndian>

#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/ssl.h>

#include <cstring>
#include <utility>

SecurePeer::SecurePeer(quint16 port, Offers offers, const HostIdentity *identity, const char *source)
    : context(GuestContext(identity)), tls(nullptr, SSL_free)
{
    if (offers == Offers::Version1)
        SSL_CTX_set_alpn_protos(context.get(), nullptr, 0);
    if (offers == Offers::File)
        SSL_CTX_set_alpn_protos(context.get(), reinterpret_cast<const unsigned char *>("\x0bvanu-file/1"), 12);
    tls.reset(SSL_new(context.get()));
    peer.Connect(port, 0, source);
    SSL_set_fd(tls.get(), peer.Handle());
    connected = QTest::qWaitFor([&] { return SSL_connect(tls.get()) == 1; }, 5000);
}

QByteArray SecurePeer::ReadFrame()
{
    const auto whole = [&] {
        return received.size() >= FrameReader::kHeaderSize
               && received.size() >= FrameReader::kHeaderSize + qFromBigEndian<quint32>(received.constData());
    };
    char buffer[256];
    const bool came = QTest::qWaitFor([&] {
        if (whole())
            return true;
        const int taken = SSL_read(tls.get(), buffer, sizeof buffer);
        if (taken > 0)
            received.append(buffer, taken);
        return whole();
    }, 5000);
    if (!came)
        return {};
    const qsizetype length = qFromBigEndian<quint32>(received.constData());
    const QByteArray frame = received.mid(FrameReader::kHeaderSize, length);
    received.remove(0, FrameReader::kHeaderSize + length);
    return frame;
}

void SecurePeer::SendFrame(const QByteArray &payload)
{
    const QByteArray frame = FrameReader::framed(payload);
    SSL_write(tls.get(), frame.constData(), int(frame.size()));
}

bool SecurePeer::SendRaw(const QByteArray &bytes)
{
    qsizetype done = 0;
    return QTest::qWaitFor([&] {
        const int written = SSL_write(tls.get(), bytes.constData() + done, int(bytes.size() - done));
        if (written > 0)
            done += written;
        return done == bytes.size();
    }, 10000);
}

QByteArray SecurePeer::ReadRaw(qsizetype atLeast, int waitMs)
{
    char buffer[65536];
    static_cast<void>(QTest::qWaitFor([&] {
        for (int taken; (taken = SSL_read(tls.get(), buffer, sizeof buffer)) > 0;)
            received.append(buffer, taken);
        return received.size() >= atLeast;
    }, waitMs));
    return std::exchange(received, QByteArray());
}

bool SecurePeer::WaitForEnd(QByteArray *bytes, int waitMs)
{
    char buffer[65536];
    bool ended = false;
    static_cast<void>(QTest::qWaitFor([&] {
        int taken;
        while ((taken = SSL_read(tls.get(), buffer, sizeof buffer)) > 0)
            received.append(buffer, taken);
        const int why = SSL_get_error(tls.get(), taken);
        ended = why == SSL_ERROR_ZERO_RETURN || why == SSL_ERROR_SYSCALL || why == SSL_ERROR_SSL;
        return ended;
    }, waitMs));
    ERR_clear_error();
    if (bytes)
        *bytes = std::exchange(received, QByteArray());
    return ended;
}

bool SecurePeer::OpenWithoutPassword()
{
    if (!connected || ReadFrame() != "vanu-secure open")
        return false;
    SendFrame(QByteArray());
    return ReadFrame() == "vanu-secure welcome";
}

QByteArray SecurePeer::Proof(const QByteArray &key)
{
    unsigned char exported[32];
    const char label[] = "EXPORTER-Vanu chat password";
    SSL_export_keying_material(tls.get(), exported, sizeof exported, label, sizeof label - 1, nullptr, 0, 0);
    QByteArray proof(32, '\0');
    size_t length = 0;
    EVP_Q_mac(nullptr, "HMAC", nullptr, "SHA256", nullptr, key.constData(), size_t(key.size()), exported,
              sizeof exported, reinterpret_cast<unsigned char *>(proof.data()), size_t(proof.size()), &length);
    return proof;
}

QByteArray SecurePeer::Exported(const char *label, int size)
{
    QByteArray exported(size, '\0');
    SSL_export_keying_material(tls.get(), reinterpret_cast<unsigned char *>(exported.data()), size_t(size), label,
                               strlen(label), nullptr, 0, 0);
    return exported;
}

bool SecurePeer::agreedOnVersion2() const
{
    const unsigned char *protocol = nullptr;
    unsigned int size = 0;
    SSL_get0_alpn_selected(tls.get(), &protocol, &size);
    return size == 6 && std::memcmp(protocol, "vanu/2", 6) == 0;
}
