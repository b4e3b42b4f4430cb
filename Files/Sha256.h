#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <memory>

class QIODevice;

// SHA-256 through OpenSSL, which uses the processor's own instructions
// where it has them: several times Qt's own speed, which a file's every
// byte, hashed two or three times on its way, would otherwise be held to.
class Sha256 {
public:
    Sha256();
    ~Sha256();
    Sha256(const Sha256 &) = delete;
    Sha256 &operator=(const Sha256 &) = delete;

    void add(QByteArrayView bytes);
    // Adds all that can be read from the device; false when a read failed.
    bool add(QIODevice &device);
    // The 32 bytes of the hash of all added; the hash starts again after it.
    QByteArray result();
    void reset();

    static QByteArray of(QByteArrayView bytes);

private:
    struct Context;
    std::unique_ptr<Context> context;
};
