// The reference for the file benchmark: a bare relay with blocking OpenSSL,
// TLS 1.3 on each hop, buffers of 256 KiB, one sender and one receiver, and
// nothing else: no frames, no hashes, no end-to-end layer.
//   bare_file_relay relay PORT            the first to say "S" sends, the first to say "R" takes
//   bare_file_relay send HOST PORT FILE   FILE, or "-" for standard input
//   bare_file_relay take HOST PORT FILE   FILE, or "-" for standard output;
//                                         prints "took BYTES in SECONDS s" on standard error
//                                         once a FILE is on the disk (fdatasync)
#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr int kBuffer = 256 * 1024;

[[noreturn]] void Fail(const char *what)
{
    std::fprintf(stderr, "bare_file_relay: %s\n", what);
    ERR_print_errors_fp(stderr);
    std::exit(1);
}

// A throwaway key and certificate for the relay: the reference checks nothing.
SSL_CTX *ServerContext()
{
    SSL_CTX *context = SSL_CTX_new(TLS_server_method());
    EVP_PKEY *key = EVP_PKEY_Q_keygen(nullptr, nullptr, "ED25519");
    X509 *certificate = X509_new();
    ASN1_INTEGER_set(X509_get_serialNumber(certificate), 1);
    X509_gmtime_adj(X509_getm_notBefore(certificate), 0);
    X509_gmtime_adj(X509_getm_notAfter(certificate), 3600);
    X509_set_pubkey(certificate, key);
    X509_sign(certificate, key, nullptr);
    if (!context || !key || SSL_CTX_use_certificate(context, certificate) != 1 || SSL_CTX_use_PrivateKey(context, key) != 1)
        Fail("no server context");
    SSL_CTX_set_min_proto_version(context, TLS1_3_VERSION);
    return context;
}

SSL_CTX *ClientContext()
{
    SSL_CTX *context = SSL_CTX_new(TLS_client_method());
    if (!context)
        Fail("no client context");
    SSL_CTX_set_min_proto_version(context, TLS1_3_VERSION);
    SSL_CTX_set_verify(context, SSL_VERIFY_NONE, nullptr);
    return context;
}

int Connect(const char *host, int port)
{
    const int socket = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(uint16_t(port));
    if (socket < 0 || inet_pton(AF_INET, host, &address.sin_addr) != 1
        || ::connect(socket, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0)
        Fail("cannot connect");
    return socket;
}

SSL *Secure(SSL_CTX *context, int socket, bool server)
{
    SSL *ssl = SSL_new(context);
    SSL_set_fd(ssl, socket);
    if ((server ? SSL_accept(ssl) : SSL_connect(ssl)) != 1)
        Fail("no TLS session");
    return ssl;
}

bool WriteAll(SSL *ssl, const char *bytes, int size)
{
    while (size > 0) {
        const int written = SSL_write(ssl, bytes, size);
        if (written <= 0)
            return false;
        bytes += written;
        size -= written;
    }
    return true;
}

int Relay(int port)
{
    const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    const int on = 1;
    setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(uint16_t(port));
    if (bind(listener, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0 || listen(listener, 4) != 0)
        Fail("cannot listen");
    std::printf("listening\n");
    std::fflush(stdout);
    SSL_CTX *context = ServerContext();
    for (;;) {
        SSL *sender = nullptr, *taker = nullptr;
        while (!sender || !taker) {
            SSL *ssl = Secure(context, accept(listener, nullptr, nullptr), true);
            char role = 0;
            if (SSL_read(ssl, &role, 1) != 1)
                Fail("no role");
            (role == 'S' ? sender : taker) = ssl;
        }
        std::vector<char> buffer(kBuffer);
        int got = 0;
        while ((got = SSL_read(sender, buffer.data(), kBuffer)) > 0)
            if (!WriteAll(taker, buffer.data(), got))
                break;
        SSL_shutdown(taker);
        SSL_shutdown(sender);
        for (SSL *ssl : {sender, taker}) {
            close(SSL_get_fd(ssl));
            SSL_free(ssl);
        }
    }
}

int Send(const char *host, int port, const char *path)
{
    FILE *file = std::strcmp(path, "-") == 0 ? stdin : std::fopen(path, "rb");
    if (!file)
        Fail("cannot read the file");
    SSL *ssl = Secure(ClientContext(), Connect(host, port), false);
    WriteAll(ssl, "S", 1);
    std::vector<char> buffer(kBuffer);
    size_t got = 0;
    while ((got = std::fread(buffer.data(), 1, kBuffer, file)) > 0)
        if (!WriteAll(ssl, buffer.data(), int(got)))
            Fail("the relay went away");
    SSL_shutdown(ssl);
    // Until the relay has read it all and closed: a close with unread bytes here would reset the connection.
    while (SSL_read(ssl, buffer.data(), kBuffer) > 0) {
    }
    return 0;
}

int Take(const char *host, int port, const char *path)
{
    FILE *file = std::strcmp(path, "-") == 0 ? stdout : std::fopen(path, "wb");
    if (!file)
        Fail("cannot write the file");
    SSL *ssl = Secure(ClientContext(), Connect(host, port), false);
    WriteAll(ssl, "R", 1);
    std::vector<char> buffer(kBuffer);
    long long total = 0;
    int got = 0;
    const auto start = std::chrono::steady_clock::now();
    while ((got = SSL_read(ssl, buffer.data(), kBuffer)) > 0) {
        if (std::fwrite(buffer.data(), 1, size_t(got), file) != size_t(got))
            Fail("cannot write");
        total += got;
    }
    std::fflush(file);
    // On the disk before the clock stops, as a receiving copy of Vanu has a large file before it takes its name.
    if (file != stdout)
        fdatasync(fileno(file));
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::fprintf(stderr, "took %lld in %.3f s\n", total, seconds);
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    std::signal(SIGPIPE, SIG_IGN);
    if (argc == 3 && std::strcmp(argv[1], "relay") == 0)
        return Relay(std::atoi(argv[2]));
    if (argc == 5 && std::strcmp(argv[1], "send") == 0)
        return Send(argv[2], std::atoi(argv[3]), argv[4]);
    if (argc == 5 && std::strcmp(argv[1], "take") == 0)
        return Take(argv[2], std::atoi(argv[3]), argv[4]);
    std::fprintf(stderr, "usage: bare_file_relay relay PORT | send HOST PORT FILE | take HOST PORT FILE\n");
    return 2;
}
