#include "HostIdentity.h"

#include "FileWriting.h"

#include <QCoreApplication>
#include <QFile>

#include <openssl/bio.h>
#include <openssl/bn.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rand.h>
#include <openssl/x509.h>

namespace {

constexpr long kCertificateSeconds = 100L * 365 * 24 * 3600; // the key, not the date, is what is checked

QByteArray BioBytes(BIO *bio)
{
    char *data = nullptr;
    const long size = BIO_get_mem_data(bio, &data);
    return QByteArray(data, int(size));
}

} // namespace

QByteArray FingerprintOf(EVP_PKEY *key)
{
    unsigned char *der = nullptr;
    const int size = key ? i2d_PUBKEY(key, &der) : -1;
    if (size <= 0)
        return {};
    QByteArray fingerprint(EVP_MAX_MD_SIZE, '\0');
    unsigned int length = 0;
    EVP_Digest(der, size_t(size), reinterpret_cast<unsigned char *>(fingerprint.data()), &length, EVP_sha256(), nullptr);
    OPENSSL_free(der);
    fingerprint.resize(int(length));
    return fingerprint;
}

QString FingerprintText(const QByteArray &fingerprint)
{
    const QString hex = QString::fromLatin1(fingerprint.toHex()).toUpper();
    QStringList groups;
    for (qsizetype at = 0; at < hex.size(); at += 4)
        groups << hex.mid(at, 4);
    return groups.join(QLatin1Char(' '));
}

QString ShortFingerprint(const QByteArray &fingerprint)
{
    return QString::fromLatin1(fingerprint.left(8).toHex());
}

HostIdentity::~HostIdentity()
{
    X509_free(certificate);
    EVP_PKEY_free(key);
}

std::unique_ptr<HostIdentity> HostIdentity::LoadOrMake(const QString &path, QString &error)
{
    QFile file(path);
    if (file.exists()) {
        if (file.open(QIODevice::ReadOnly))
            if (std::unique_ptr<HostIdentity> kept = Load(file.read(64 * 1024)))
                return kept;
        // A file that holds no sound identity is kept aside, never lost.
        QFile::remove(path + QStringLiteral(".unreadable"));
        QFile::rename(path, path + QStringLiteral(".unreadable"));
    }
    std::unique_ptr<HostIdentity> made = Make();
    if (!made) {
        error = QCoreApplication::translate("HostIdentity", "Cannot make a key for secure chat.");
        return nullptr;
    }
    MakeFolderFor(path);
    if (WriteWholeFile(path, made->Pem(), FileAccess::Private))
        return made;
    error = QCoreApplication::translate("HostIdentity", "Cannot keep the key for secure chat in %1.").arg(path);
    return nullptr;
}

std::unique_ptr<HostIdentity> HostIdentity::Load(const QByteArray &pem)
{
    BIO *bio = BIO_new_mem_buf(pem.constData(), int(pem.size()));
    EVP_PKEY *key = PEM_read_bio_PrivateKey(bio, nullptr, nullptr, nullptr);
    X509 *certificate = PEM_read_bio_X509(bio, nullptr, nullptr, nullptr);
    BIO_free(bio);
    if (key && certificate && X509_check_private_key(certificate, key) == 1)
        return std::unique_ptr<HostIdentity>(new HostIdentity(key, certificate));
    X509_free(certificate);
    EVP_PKEY_free(key);
    return nullptr;
}

std::unique_ptr<HostIdentity> HostIdentity::Make()
{
    EVP_PKEY *key = EVP_EC_gen("P-256");
    X509 *certificate = X509_new();
    if (!key || !certificate) {
        X509_free(certificate);
        EVP_PKEY_free(key);
        return nullptr;
    }
    auto identity = std::unique_ptr<HostIdentity>(new HostIdentity(key, certificate));
    unsigned char serial[16];
    RAND_bytes(serial, sizeof serial);
    serial[0] &= 0x7f; // a positive number
    BIGNUM *number = BN_bin2bn(serial, sizeof serial, nullptr);
    BN_to_ASN1_INTEGER(number, X509_get_serialNumber(certificate));
    BN_free(number);
    X509_set_version(certificate, X509_VERSION_3);
    X509_gmtime_adj(X509_getm_notBefore(certificate), 0);
    X509_gmtime_adj(X509_getm_notAfter(certificate), kCertificateSeconds);
    X509_NAME *name = X509_get_subject_name(certificate);
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC, reinterpret_cast<const unsigned char *>("Vanu host"), -1, -1, 0);
    X509_set_issuer_name(certificate, name);
    if (X509_set_pubkey(certificate, key) != 1 || X509_sign(certificate, key, EVP_sha256()) <= 0)
        return nullptr;
    return identity;
}

QByteArray HostIdentity::Pem() const
{
    BIO *bio = BIO_new(BIO_s_mem());
    PEM_write_bio_PrivateKey(bio, key, nullptr, nullptr, 0, nullptr, nullptr);
    PEM_write_bio_X509(bio, certificate);
    const QByteArray pem = BioBytes(bio);
    BIO_free(bio);
    return pem;
}
