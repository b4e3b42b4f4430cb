#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

typedef struct evp_pkey_st EVP_PKEY;
typedef struct x509_st X509;

// The SHA-256 of a public key (its DER SubjectPublicKeyInfo): who a host is.
QByteArray FingerprintOf(EVP_PKEY *key);
// As people compare it: 16 groups of 4 hex digits.
QString FingerprintText(const QByteArray &fingerprint);
// Its first 16 hex digits, as the host's announcement carries them.
QString ShortFingerprint(const QByteArray &fingerprint);

// The host's own ECDSA P-256 key and self-signed certificate: made on first
// use and kept, private to the user, in one file.
class HostIdentity {
public:
    // Loads the identity kept in the file, or makes one and keeps it there
    // (mode 0600, in a folder of mode 0700 when new). Null when neither
    // works; `error` then says why.
    static std::unique_ptr<HostIdentity> LoadOrMake(const QString &path, QString &error);
    ~HostIdentity();
    HostIdentity(const HostIdentity &) = delete;
    HostIdentity &operator=(const HostIdentity &) = delete;

    EVP_PKEY *Key() const { return key; }
    X509 *Certificate() const { return certificate; }
    QByteArray Fingerprint() const { return FingerprintOf(key); }

private:
    HostIdentity(EVP_PKEY *key, X509 *certificate) : key(key), certificate(certificate) { }
    static std::unique_ptr<HostIdentity> Load(const QByteArray &pem);
    static std::unique_ptr<HostIdentity> Make();
    QByteArray Pem() const;

    EVP_PKEY *key;
    X509 *certificate;
};
