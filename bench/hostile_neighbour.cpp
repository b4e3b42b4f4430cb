// An honest guest beside a hostile neighbour, against a Vanu host on loopback:
//   hostile_neighbour PORT ATTACK [LINES]
// ATTACK is "none", "half-open" (1,100 connections to the secure port, PORT +
// 100, that never say a word, from 275 addresses, each opened again whenever
// the host ends it), "key-updates" (one secure connection that sends TLS
// KeyUpdates as fast as it can) or "both". Once the attack has run for two
// seconds the guest joins on the plain port and says LINES lines (100 by
// default), ten a second, each waiting for its own echo. Prints one line:
//   attack=... join_ms=... p50_ms=... p99_ms=... lost=... attacker_connections_open=...
#include <openssl/ssl.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kHalfOpen = 1100;
constexpr int kPerAddress = 4;

std::atomic<bool> stopping{false};

double MsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// A connection from the source address to the port on loopback, made or under
// way; -1 when none could be made.
int ConnectFrom(uint16_t port, uint32_t source, bool blocking)
{
    const int fd = socket(AF_INET, SOCK_STREAM | (blocking ? 0 : SOCK_NONBLOCK), 0);
    if (fd < 0)
        return -1;
    sockaddr_in from{};
    from.sin_family = AF_INET;
    from.sin_addr.s_addr = htonl(source);
    bind(fd, reinterpret_cast<sockaddr *>(&from), sizeof from);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(fd, reinterpret_cast<sockaddr *>(&to), sizeof to) != 0 && errno != EINPROGRESS) {
        close(fd);
        return -1;
    }
    return fd;
}

// Keeps kHalfOpen silent connections open, each made again once the host ends it.
void HalfOpen(uint16_t securePort, std::atomic<int> &open)
{
    std::vector<int> fds(kHalfOpen, -1);
    while (!stopping) {
        int alive = 0;
        for (int index = 0; index < kHalfOpen; ++index) {
            int &fd = fds[size_t(index)];
            if (fd >= 0) {
                char byte;
                const ssize_t got = recv(fd, &byte, 1, MSG_DONTWAIT | MSG_PEEK);
                if (got == 0 || (got < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != ENOTCONN)) {
                    close(fd);
                    fd = -1;
                }
            }
            if (fd < 0)
                fd = ConnectFrom(securePort, 0x7F000200u + 1 + uint32_t(index / kPerAddress), false);
            alive += fd >= 0 ? 1 : 0;
        }
        open = alive;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    for (int fd : fds)
        if (fd >= 0)
            close(fd);
}

// One secure connection that updates its keys without end; made again when the host ends it.
void KeyUpdates(uint16_t securePort, std::atomic<long> &sent)
{
    SSL_CTX *context = SSL_CTX_new(TLS_client_method());
    SSL_CTX_set_min_proto_version(context, TLS1_3_VERSION);
    SSL_CTX_set_verify(context, SSL_VERIFY_NONE, nullptr);
    while (!stopping) {
        const int fd = ConnectFrom(securePort, 0x7F000301u, true);
        SSL *tls = SSL_new(context);
        SSL_set_fd(tls, fd);
        if (fd >= 0 && SSL_connect(tls) == 1) {
            while (!stopping && SSL_key_update(tls, SSL_KEY_UPDATE_NOT_REQUESTED) == 1 && SSL_do_handshake(tls) == 1)
                ++sent;
        }
        SSL_free(tls);
        if (fd >= 0)
            close(fd);
    }
    SSL_CTX_free(context);
}

// Reads until `wanted` has arrived (appending to `received`), or the time is up.
bool ReadUntil(int fd, std::string &received, const std::string &wanted, int timeoutMs)
{
    const auto start = Clock::now();
    while (received.find(wanted) == std::string::npos) {
        const int left = timeoutMs - int(MsSince(start));
        pollfd polled{fd, POLLIN, 0};
        if (left <= 0 || poll(&polled, 1, left) <= 0)
            return false;
        char buffer[4096];
        const ssize_t got = recv(fd, buffer, sizeof buffer, 0);
        if (got <= 0)
            return false;
        received.append(buffer, size_t(got));
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: hostile_neighbour PORT none|half-open|key-updates|both [LINES]\n");
        return 2;
    }
    const auto port = uint16_t(std::atoi(argv[1]));
    const std::string attack = argv[2];
    const int lines = argc > 3 ? std::atoi(argv[3]) : 100;
    std::signal(SIGPIPE, SIG_IGN); // the host ends the attackers' connections
    rlimit limit{};
    getrlimit(RLIMIT_NOFILE, &limit);
    limit.rlim_cur = std::max<rlim_t>(limit.rlim_cur, std::min<rlim_t>(limit.rlim_max, 4096));
    setrlimit(RLIMIT_NOFILE, &limit);

    std::atomic<int> open{0};
    std::atomic<long> keyUpdates{0};
    std::vector<std::thread> attackers;
    if (attack == "half-open" || attack == "both")
        attackers.emplace_back(HalfOpen, uint16_t(port + 100), std::ref(open));
    if (attack == "key-updates" || attack == "both")
        attackers.emplace_back(KeyUpdates, uint16_t(port + 100), std::ref(keyUpdates));
    std::this_thread::sleep_for(std::chrono::seconds(2));

    const auto joining = Clock::now();
    const int guest = ConnectFrom(port, INADDR_LOOPBACK, true);
    const int on = 1;
    setsockopt(guest, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    std::string received;
    const bool greeted = guest >= 0 && ReadUntil(guest, received, "coupon.", 30000);
    const double joinMs = MsSince(joining);
    const std::string registration = " Anna";
    if (greeted) {
        send(guest, registration.data(), registration.size(), MSG_NOSIGNAL);
        ReadUntil(guest, received, "#", 10000);
    }

    std::vector<double> latencies;
    int lost = 0;
    for (int number = 1; greeted && number <= lines; ++number) {
        const std::string line = "0<Anna> line " + std::to_string(number) + ".";
        const auto sent = Clock::now();
        received.clear();
        send(guest, line.data(), line.size(), MSG_NOSIGNAL);
        if (ReadUntil(guest, received, line, 5000))
            latencies.push_back(MsSince(sent));
        else
            ++lost;
        std::this_thread::sleep_until(sent + std::chrono::milliseconds(100));
    }
    const int openAtEnd = open;
    stopping = true;
    for (std::thread &attacker : attackers)
        attacker.join();
    if (guest >= 0)
        close(guest);

    std::sort(latencies.begin(), latencies.end());
    const auto at = [&](double share) {
        return latencies.empty() ? -1.0 : latencies[std::min(latencies.size() - 1, size_t(share * double(latencies.size())))];
    };
    std::printf("attack=%s greeted=%s join_ms=%.1f p50_ms=%.2f p99_ms=%.2f lost=%d attacker_connections_open=%d "
                "key_updates_sent=%ld\n",
                attack.c_str(), greeted ? "yes" : "no", joinMs, at(0.5), at(0.99), lost + (greeted ? 0 : lines),
                openAtEnd, keyUpdates.load());
    return greeted && lost == 0 ? 0 : 1;
}
