#include "InnerTls.h"

#include "HostIdentity.h"

#include <openssl/bio.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>

#include <utility>

namespace {

int ExpectedKeyIndex()
{
    static const int index = SSL_get_ex_new_index(0, nullptr, nullptr, nullptr, nullptr);
    return index;
}

} // namespace

InnerTls::Role InnerTls::roleBetween(const QByteArray &ownKey, const QByteArray &peerKey)
{
    return ownKey < peerKey ? Role::Client : Role::Server;
}

int InnerTls::checkPeer(int, X509_STORE_CTX *store)
{
    // Only the peer's own certificate counts, and only by its key: it is
    // self-signed, and the key is what was announced for that person.
    if (X509_STORE_CTX_get_error_depth(store) != 0)
        return 1;
    auto *ssl = static_cast<SSL *>(X509_STORE_CTX_get_ex_data(store, SSL_get_ex_data_X509_STORE_CTX_idx()));
    const auto *expected = static_cast<const QByteArray *>(SSL_get_ex_data(ssl, ExpectedKeyIndex()));
    X509 *certificate = X509_STORE_CTX_get_current_cert(store);
    return expected && certificate && !expected->isEmpty()
           && FingerprintOf(X509_get0_pubkey(certificate)) == *expected;
}

InnerTls::InnerTls(const HostIdentity &identity, Role role, QByteArray expectedPeerKey)
    : ownRole(role), expectedKey(std::move(expectedPeerKey)),
      context(SSL_CTX_new(role == Role::Client ? TLS_client_method() : TLS_server_method()), SSL_CTX_free)
{
    if (!context || SSL_CTX_use_certificate(context.get(), identity.Certificate()) != 1
        || SSL_CTX_use_PrivateKey(context.get(), identity.Key()) != 1) {
        failed = true;
        ERR_clear_error();
        return;
    }
    SSL_CTX_set_min_proto_version(context.get(), TLS1_3_VERSION);
    SSL_CTX_set_max_proto_version(context.get(), TLS1_3_VERSION);
    SSL_CTX_set_num_tickets(context.get(), 0);
    SSL_CTX_set_verify(context.get(), SSL_VERIFY_PEER | SSL_VERIFY_FAIL_IF_NO_PEER_CERT, &InnerTls::checkPeer);
    ssl = SSL_new(context.get());
    incoming = BIO_new(BIO_s_mem());
    outgoing = BIO_new(BIO_s_mem());
    BIO_set_mem_eof_return(incoming, -1); // an empty buffer means "more to come", not the end
    SSL_set_bio(ssl, incoming, outgoing);
    SSL_set_ex_data(ssl, ExpectedKeyIndex(), &expectedKey);
    if (role == Role::Client)
        SSL_set_connect_state(ssl);
    else
        SSL_set_accept_state(ssl);
    advance();
}

InnerTls::~InnerTls()
{
    SSL_free(ssl); // and its buffers with it
}

void InnerTls::advance()
{
    if (failed)
        return;
    if (!open) {
        const int done = SSL_do_handshake(ssl);
        if (done != 1) {
            const int why = SSL_get_error(ssl, done);
            if (why != SSL_ERROR_WANT_READ && why != SSL_ERROR_WANT_WRITE)
                failed = true;
            ERR_clear_error();
            return;
        }
        open = true;
    }
    while (!pendingWrites.isEmpty()) {
        const int written = SSL_write(ssl, pendingWrites.constData(), int(pendingWrites.size()));
        if (written <= 0) {
            failed = SSL_get_error(ssl, written) != SSL_ERROR_WANT_READ;
            ERR_clear_error();
            return;
        }
        pendingWrites.remove(0, written);
    }
}

bool InnerTls::feed(const QByteArray &records)
{
    if (failed)
        return false;
    if (!records.isEmpty())
        BIO_write(incoming, records.constData(), int(records.size()));
    advance();
    return !failed;
}

void InnerTls::write(const QByteArray &bytes)
{
    pendingWrites += bytes;
    advance();
}

QByteArray InnerTls::read()
{
    QByteArray bytes;
    if (!open || failed)
        return bytes;
    char buffer[16 * 1024];
    for (;;) {
        const int taken = SSL_read(ssl, buffer, int(sizeof buffer));
        if (taken > 0) {
            bytes.append(buffer, taken);
            continue;
        }
        const int why = SSL_get_error(ssl, taken);
        if (why != SSL_ERROR_WANT_READ && why != SSL_ERROR_WANT_WRITE)
            failed = true;
        ERR_clear_error();
        return bytes;
    }
}

QByteArray InnerTls::takeRecords()
{
    QByteArray records;
    char buffer[16 * 1024];
    int taken;
    while ((taken = BIO_read(outgoing, buffer, int(sizeof buffer))) > 0)
        records.append(buffer, taken);
    return records;
}
