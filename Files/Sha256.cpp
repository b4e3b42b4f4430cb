#include "Sha256.h"

#include <QIODevice>

#include <openssl/evp.h>

struct Sha256::Context {
    Context() : md(EVP_MD_CTX_new()) { }
    ~Context() { EVP_MD_CTX_free(md); }
    EVP_MD_CTX *md;
};

Sha256::Sha256() : context(std::make_unique<Context>())
{
    reset();
}

Sha256::~Sha256() = default;

void Sha256::reset()
{
    EVP_DigestInit_ex(context->md, EVP_sha256(), nullptr);
}

void Sha256::add(QByteArrayView bytes)
{
    EVP_DigestUpdate(context->md, bytes.data(), size_t(bytes.size()));
}

bool Sha256::add(QIODevice &device)
{
    QByteArray buffer(1024 * 1024, Qt::Uninitialized);
    for (;;) {
        const qint64 taken = device.read(buffer.data(), buffer.size());
        if (taken < 0)
            return false;
        if (taken == 0)
            return true;
        add(QByteArrayView(buffer.constData(), taken));
    }
}

QByteArray Sha256::result()
{
    QByteArray digest(32, Qt::Uninitialized);
    unsigned int size = 0;
    EVP_DigestFinal_ex(context->md, reinterpret_cast<unsigned char *>(digest.data()), &size);
    reset();
    return digest;
}

QByteArray Sha256::of(QByteArrayView bytes)
{
    Sha256 hash;
    hash.add(bytes);
    return hash.result();
}
