// Load for a chat relay: N guests on loopback, each a plain socket, sending
// chat lines and timing their way to every other guest.
//
//   relay_load --protocol vanu|irc --port P --guests N --mode steady|max|join
//              [--window LINES_IN_FLIGHT] [--quickack 0|1]
//              [--seconds S] [--rate LINES_PER_SECOND] [--server-pid PID]
//              [--flooders K]
//
// vanu: the program's own texts (a registration, then chat lines that the
//       host relays to every guest, the sender included); also the bare relay.
// vanu-tls: the same texts over secure chat: TLS 1.3 on the port 100 above,
//       the opening's frames, then each text in a frame of its own.
// vanu-v2: the same, in version 2 (ALPN "vanu/2"): a hello first, then each
//       text in a frame of its kind; only chat lines and greetings are read.
// irc:  NICK, USER, JOIN #bench, then PRIVMSG #bench lines, which the server
//       sends to every other member.
// steady: RATE lines a second in all, from the guests in turn.
// max:    each guest sends its next line once its last one has reached every
//         guest: as fast as the relay takes them.
// --flooders K (steady): the first K guests send as fast as their sockets
//         take lines, beside the others' steady lines; only the steady lines
//         are timed, and the line tells how many steady guests the server cut off.
// Prints one line: lines relayed a second, latency from the send to the last
// receipt (p50, p99, max, in ms), the server's CPU time per 1000 lines and its
// resident memory.
#include <openssl/ssl.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Options {
    std::string protocol = "vanu";
    int port = 4000;
    int guests = 10;
    std::string mode = "steady";
    double seconds = 5;
    int rate = 100;
    int serverPid = 0;
    // max mode: lines each guest keeps on their way.
    int window = 1;
    // Acknowledge at once what arrives, instead of the usual delayed ACKs.
    bool quickAck = false;
    int flooders = 0;
};

// A line's payload: sender, sequence number and send time; the same size always.
constexpr size_t kPayload = 40;
// A Vanu chat line: "0<g000> " and the payload, padded to a fixed size so that
// the receiver can cut the stream into lines.
constexpr size_t kVanuLine = 100;

long long NowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch()).count();
}

std::string Payload(int sender, long long sequence)
{
    char text[96];
    std::snprintf(text, sizeof text, "S%03dQ%010lldT%020lld ", sender % 1000, sequence, NowNs());
    std::string payload(text);
    payload.resize(kPayload, ' ');
    return payload;
}

// Reads the fixed-width fields that Payload wrote. Only the payload's own
// bytes are looked at: sscanf would measure the whole rest of the buffer first.
bool ParsePayload(const char *text, int &sender, long long &sequence, long long &sent)
{
    const auto field = [&text](char tag, int width, auto &value) {
        if (*text != tag)
            return false;
        const char *end = text + 1 + width;
        const auto [stop, error] = std::from_chars(text + 1, end, value);
        text = end;
        return error == std::errc() && stop == end;
    };
    return field('S', 3, sender) && field('Q', 10, sequence) && field('T', 20, sent);
}

// A guest's nickname, different in every run, so that a server still
// letting the last run's guests go never answers "nickname in use".
std::string Nick(int guest)
{
    static const int run = int(getpid() % 1000);
    char nick[16];
    std::snprintf(nick, sizeof nick, "g%03d%03d", run, guest % 1000);
    return nick;
}

struct Guest {
    int fd = -1;
    SSL *tls = nullptr;       // vanu-tls
    std::string frames;       // vanu-tls: decrypted bytes not yet a whole frame
    bool kinded = false;      // vanu-v2, once open: each frame begins with its kind
    std::string pending;      // bytes received and not yet a whole line
    long long nextSequence = 0;
    int inFlight = 0;         // max mode: lines on their way
    bool cutOff = false;      // the server closed its connection
    std::string unsent;       // a flooder's line that its socket took in part
};

struct LineState {
    long long sent = 0;
    long long lastReceipt = 0;
    int receipts = 0;
};

class Load {
public:
    explicit Load(const Options &options) : options(options), guests(size_t(options.guests)) {}

    bool Connect();
    // All guests connect at once; prints how long until the last is greeted.
    void JoinBurst();
    void JoinBurstSecurely();
    void Settle();
    void Run();
    void Report() const;

private:
    std::string LineOf(int guest, long long sequence) const;
    void SendLine(int guest);
    // A flooder's lines, while its socket takes them; they are not timed.
    void Flood(int guest);
    void Receive(int guest);
    void Received(int sender, long long sequence, long long sent);
    void SendAll(int fd, const std::string &bytes);
    // A text to the server as the guest's protocol sends it.
    void Send(Guest &guest, const std::string &text);
    // vanu-tls: the handshake and the opening's frames, then non-blocking.
    bool OpenSecurely(Guest &guest);
    // Takes in what came; false when the server closed the connection.
    bool Take(Guest &guest, char *buffer, size_t size);
    bool Secure() const { return options.protocol == "vanu-tls" || Version2(); }
    bool Version2() const { return options.protocol == "vanu-v2"; }
    void JoinOnceWelcomed();
    int ExpectedReceipts() const { return options.protocol == "irc" ? options.guests - 1 : options.guests; }
    long long ServerCpuTicks() const;
    long ServerRssKb() const;

    Options options;
    std::vector<Guest> guests;
    std::map<std::pair<int, long long>, LineState> lines;
    std::vector<double> latenciesMs;
    SSL_CTX *tlsContext = nullptr;
    long long completed = 0;
    double elapsedSeconds = 0;
    long long cpuTicks = 0;
};

void Load::JoinOnceWelcomed()
{
    // Some servers (InspIRCd) take a JOIN only once the welcome is out, and
    // send it about a second after the registration: the guests wait for
    // theirs together, not one after another.
    std::vector<std::string> received(guests.size());
    std::vector<size_t> waiting(guests.size());
    for (size_t guest = 0; guest < guests.size(); ++guest)
        waiting[guest] = guest;
    char buffer[4096];
    const auto stop = Clock::now() + std::chrono::seconds(5);
    while (!waiting.empty() && Clock::now() < stop) {
        std::vector<pollfd> polled;
        for (const size_t guest : waiting)
            polled.push_back({guests[guest].fd, POLLIN, 0});
        if (poll(polled.data(), polled.size(), 100) <= 0)
            continue;
        std::vector<size_t> still;
        for (size_t at = 0; at < polled.size(); ++at) {
            const size_t guest = waiting[at];
            if (polled[at].revents & (POLLIN | POLLHUP | POLLERR)) {
                const ssize_t got = recv(polled[at].fd, buffer, sizeof buffer, 0);
                if (got <= 0)
                    continue; // gone: it joins nothing
                received[guest].append(buffer, size_t(got));
                if (received[guest].find(" 001 ") != std::string::npos) {
                    SendAll(polled[at].fd, "JOIN #bench\r\n");
                    continue;
                }
            }
            still.push_back(guest);
        }
        waiting = std::move(still);
    }
}

void Load::SendAll(int fd, const std::string &bytes)
{
    size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t taken = send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (taken > 0)
            sent += size_t(taken);
        else if (taken < 0 && errno != EAGAIN && errno != EINTR)
            return;
    }
}

std::string Framed(const std::string &text)
{
    const uint32_t size = htonl(uint32_t(text.size()));
    return std::string(reinterpret_cast<const char *>(&size), 4) + text;
}

// The next whole frame's text, taken from the bytes; false while none is whole.
bool TakeFrame(std::string &bytes, std::string &text)
{
    if (bytes.size() < 4)
        return false;
    uint32_t size;
    std::memcpy(&size, bytes.data(), 4);
    size = ntohl(size);
    if (bytes.size() < 4 + size_t(size))
        return false;
    text = bytes.substr(4, size);
    bytes.erase(0, 4 + size_t(size));
    return true;
}

// Every whole frame's text appended to texts, and taken from the bytes at
// once: a batched record holds hundreds of frames, and taking them one by one
// from the front would move the rest each time.
// Version 2: a frame's first byte is its kind; the chat lines (2) and the
// greetings (5) are what the load reads.
void TakeFrames(std::string &bytes, std::string &texts, bool kinded)
{
    size_t at = 0;
    for (uint32_t size; bytes.size() - at >= 4; at += 4 + size_t(size)) {
        std::memcpy(&size, bytes.data() + at, 4);
        size = ntohl(size);
        if (bytes.size() - at - 4 < size_t(size))
            break;
        if (!kinded)
            texts.append(bytes, at + 4, size);
        else if (size > 0 && (bytes[at + 4] == '\x02' || bytes[at + 4] == '\x05'))
            texts.append(bytes, at + 5, size - 1);
    }
    bytes.erase(0, at);
}

void Load::Send(Guest &guest, const std::string &text)
{
    if (!guest.tls) {
        SendAll(guest.fd, text);
        return;
    }
    const std::string frame = Framed(guest.kinded ? (text.rfind(' ', 0) == 0 ? '\x03' : '\x02') + text : text);
    for (int written = 0; written <= 0;) {
        written = SSL_write(guest.tls, frame.data(), int(frame.size()));
        if (written <= 0 && SSL_get_error(guest.tls, written) != SSL_ERROR_WANT_WRITE
            && SSL_get_error(guest.tls, written) != SSL_ERROR_WANT_READ)
            return;
    }
}

bool Load::OpenSecurely(Guest &guest)
{
    if (!tlsContext) {
        tlsContext = SSL_CTX_new(TLS_client_method());
        SSL_CTX_set_min_proto_version(tlsContext, TLS1_3_VERSION);
        SSL_CTX_set_read_ahead(tlsContext, 1);
        if (Version2())
            SSL_CTX_set_alpn_protos(tlsContext, reinterpret_cast<const unsigned char *>("\x06vanu/2"), 7);
    }
    guest.tls = SSL_new(tlsContext);
    SSL_set_fd(guest.tls, guest.fd);
    if (SSL_connect(guest.tls) != 1)
        return false;
    std::string text;
    char buffer[256];
    const auto next = [&] {
        while (!TakeFrame(guest.frames, text)) {
            const int got = SSL_read(guest.tls, buffer, sizeof buffer);
            if (got <= 0)
                return false;
            guest.frames.append(buffer, size_t(got));
        }
        return true;
    };
    if (!next() || text != "vanu-secure open")
        return false;
    Send(guest, std::string()); // no password: an empty proof
    if (!next() || text != "vanu-secure welcome")
        return false;
    if (Version2()) {
        Send(guest, "\x01program=relay_load\nfeatures=hello,chat,registration,list,greeting,notice,departure,down");
        guest.kinded = true;
        TakeFrames(guest.frames, guest.pending, true); // what came with the welcome
    }
    fcntl(guest.fd, F_SETFL, fcntl(guest.fd, F_GETFL) | O_NONBLOCK);
    return true;
}

bool Load::Take(Guest &guest, char *buffer, size_t size)
{
    if (!guest.tls) {
        const ssize_t got = recv(guest.fd, buffer, size, MSG_DONTWAIT);
        if (got == 0 || (got < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR))
            return false;
        if (got > 0)
            guest.pending.append(buffer, size_t(got));
        return true;
    }
    for (;;) {
        const int got = SSL_read(guest.tls, buffer, int(size));
        if (got <= 0) {
            const int error = SSL_get_error(guest.tls, got);
            if (error != SSL_ERROR_WANT_READ && error != SSL_ERROR_WANT_WRITE)
                return false;
            break;
        }
        guest.frames.append(buffer, size_t(got));
        if (!SSL_has_pending(guest.tls))
            break; // the next readiness of the socket says whether more came
    }
    TakeFrames(guest.frames, guest.pending, guest.kinded);
    return true;
}

// Each guest comes from an address of its own (127.0.1.1 on), as guests on a
// LAN do: a host takes only a few connections from one address.
void BindGuestSource(int fd, int guest)
{
    sockaddr_in source{};
    source.sin_family = AF_INET;
    source.sin_addr.s_addr = htonl(0x7F000100u + uint32_t(guest) + 1);
    bind(fd, reinterpret_cast<sockaddr *>(&source), sizeof source);
}

bool Load::Connect()
{
    for (int guest = 0; guest < options.guests; ++guest) {
        const int fd = socket(AF_INET, SOCK_STREAM, 0);
        BindGuestSource(fd, guest);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(uint16_t(options.port + (Secure() ? 100 : 0)));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0) {
            std::perror("connect");
            return false;
        }
        const int on = 1;
        setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
        guests[size_t(guest)].fd = fd;
        if (Secure() && !OpenSecurely(guests[size_t(guest)])) {
            std::fprintf(stderr, "the secure opening failed\n");
            return false;
        }
        const std::string nick = Nick(guest);
        std::string hello;
        if (options.protocol == "irc")
            hello.append("NICK ").append(nick).append("\r\nUSER ").append(nick).append(" 0 * :bench\r\n");
        else
            hello.append(" ").append(nick);
        Send(guests[size_t(guest)], hello);
        // Let the greeting and the list messages of one arrival pass before the next.
        usleep(2000);
    }
    if (options.protocol == "irc")
        JoinOnceWelcomed();
    return true;
}

void Load::JoinBurstSecurely()
{
    // Every guest makes its connection and its opening at once, one after
    // the other; then each waits for the host's greeting.
    const auto start = Clock::now();
    std::vector<pollfd> polled;
    for (int guest = 0; guest < options.guests; ++guest) {
        Guest &joining = guests[size_t(guest)];
        joining.fd = socket(AF_INET, SOCK_STREAM, 0);
        BindGuestSource(joining.fd, guest);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(uint16_t(options.port + 100));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (connect(joining.fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0 || !OpenSecurely(joining))
            break;
        polled.push_back({joining.fd, POLLIN, 0});
    }
    int greeted = 0;
    double lastMs = 0;
    static char buffer[65536];
    const auto stop = start + std::chrono::seconds(30);
    while (greeted < int(polled.size()) && Clock::now() < stop) {
        if (poll(polled.data(), polled.size(), 100) <= 0)
            continue;
        for (size_t at = 0; at < polled.size(); ++at) {
            if (!(polled[at].revents & POLLIN) || polled[at].events == 0)
                continue;
            Take(guests[at], buffer, sizeof buffer);
            if (!guests[at].pending.empty()) {
                ++greeted;
                lastMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
                polled[at].events = 0;
            }
        }
    }
    std::printf("protocol=%s guests=%d mode=join greeted=%d last_greeted_ms=%.1f\n", options.protocol.c_str(),
                options.guests, greeted, lastMs);
}

void Load::JoinBurst()
{
    if (Secure()) {
        JoinBurstSecurely();
        return;
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(uint16_t(options.port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    std::vector<pollfd> polled;
    const auto start = Clock::now();
    for (int guest = 0; guest < options.guests; ++guest) {
        const int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
        BindGuestSource(fd, guest);
        (void)!connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address);
        polled.push_back({fd, POLLOUT, 0});
    }
    // A guest is greeted when the server's first bytes reach it; an IRC
    // server greets once it has been given a nickname.
    int greeted = 0;
    double lastMs = 0;
    const auto stop = start + std::chrono::seconds(30);
    char buffer[65536];
    while (greeted < options.guests && Clock::now() < stop) {
        if (poll(polled.data(), polled.size(), 100) <= 0)
            continue;
        for (size_t at = 0; at < polled.size(); ++at) {
            pollfd &entry = polled[at];
            if ((entry.revents & POLLOUT) && entry.events == POLLOUT) {
                if (options.protocol == "irc") {
                    const std::string nick = Nick(int(at));
                    SendAll(entry.fd, "NICK " + nick + "\r\nUSER " + nick + " 0 * :bench\r\n");
                }
                entry.events = POLLIN;
            } else if ((entry.revents & POLLIN) && entry.events == POLLIN) {
                if (recv(entry.fd, buffer, sizeof buffer, 0) > 0) {
                    ++greeted;
                    lastMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
                    entry.events = 0; // greeted; what follows does not matter here
                }
            }
        }
    }
    std::printf("protocol=%s guests=%d mode=join greeted=%d last_greeted_ms=%.1f\n", options.protocol.c_str(),
                options.guests, greeted, lastMs);
    for (const pollfd &entry : polled)
        close(entry.fd);
}

// Reads and drops everything until nothing has come for half a second.
void Load::Settle()
{
    std::vector<pollfd> polled;
    for (const Guest &guest : guests)
        polled.push_back({guest.fd, POLLIN, 0});
    static char buffer[65536];
    while (poll(polled.data(), polled.size(), 500) > 0)
        for (size_t at = 0; at < polled.size(); ++at)
            if (polled[at].revents & POLLIN) {
                Guest &guest = guests[at];
                if (!Take(guest, buffer, sizeof buffer))
                    polled[at].events = 0;
                guest.pending.clear();
            }
}

std::string Load::LineOf(int guest, long long sequence) const
{
    const std::string payload = Payload(guest, sequence);
    std::string line;
    if (options.protocol == "irc") {
        line.append("PRIVMSG #bench :").append(payload).append("\r\n");
    } else {
        line.append("0<").append(Nick(guest)).append("> ").append(payload);
        line.resize(kVanuLine, '.');
    }
    return line;
}

void Load::SendLine(int guest)
{
    Guest &sender = guests[size_t(guest)];
    const long long sequence = sender.nextSequence++;
    const std::string line = LineOf(guest, sequence);
    LineState &state = lines[{guest, sequence}];
    state.sent = NowNs();
    ++sender.inFlight;
    Send(sender, line);
}

void Load::Flood(int guest)
{
    Guest &flooder = guests[size_t(guest)];
    for (int sent = 0; sent < 1000 && !flooder.cutOff; ++sent) {
        if (flooder.unsent.empty())
            flooder.unsent = LineOf(guest, flooder.nextSequence++);
        const ssize_t taken =
            send(flooder.fd, flooder.unsent.data(), flooder.unsent.size(), MSG_DONTWAIT | MSG_NOSIGNAL);
        if (taken <= 0)
            return; // full for now; the rest of a line goes first next time
        flooder.unsent.erase(0, size_t(taken));
    }
}

void Load::Received(int sender, long long sequence, long long)
{
    const auto found = lines.find({sender, sequence});
    if (found == lines.end())
        return;
    LineState &state = found->second;
    state.lastReceipt = NowNs();
    if (++state.receipts < ExpectedReceipts())
        return;
    latenciesMs.push_back(double(state.lastReceipt - state.sent) / 1e6);
    ++completed;
    lines.erase(found);
    if (sender >= 0 && sender < options.guests)
        --guests[size_t(sender)].inFlight;
}

void Load::Receive(int guest)
{
    Guest &receiver = guests[size_t(guest)];
    static char buffer[65536];
    const size_t before = receiver.pending.size();
    if (!Take(receiver, buffer, sizeof buffer))
        receiver.cutOff = true;
    if (receiver.pending.size() == before)
        return;
    if (options.quickAck) { // the kernel leaves quick-ACK mode by itself; asked again after each read
        const int on = 1;
        setsockopt(receiver.fd, IPPROTO_TCP, TCP_QUICKACK, &on, sizeof on);
    }
    int sender = 0;
    long long sequence = 0;
    long long sent = 0;
    if (options.protocol == "irc") {
        size_t end;
        while ((end = receiver.pending.find("\r\n")) != std::string::npos) {
            const std::string line = receiver.pending.substr(0, end);
            receiver.pending.erase(0, end + 2);
            const size_t text = line.find("PRIVMSG #bench :");
            if (text != std::string::npos && ParsePayload(line.c_str() + text + 16, sender, sequence, sent))
                Received(sender, sequence, sent);
            else if (line.rfind("PING", 0) == 0)
                SendAll(receiver.fd, "PONG" + line.substr(4) + "\r\n");
        }
        return;
    }
    // The lines are taken from the front once, after the loop: a read holds
    // up to 64 KiB of them.
    size_t at = 0;
    for (; receiver.pending.size() - at >= kVanuLine; at += kVanuLine) {
        const size_t text = receiver.pending.find("> ", at);
        if (text != std::string::npos && text < at + kVanuLine
            && ParsePayload(receiver.pending.c_str() + text + 2, sender, sequence, sent))
            Received(sender, sequence, sent);
    }
    receiver.pending.erase(0, at);
}

long long Load::ServerCpuTicks() const
{
    if (options.serverPid <= 0)
        return 0;
    std::ifstream stat("/proc/" + std::to_string(options.serverPid) + "/stat");
    std::string all((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    std::istringstream fields(all.substr(all.rfind(')') + 2));
    std::string field;
    long long user = 0;
    long long system = 0;
    for (int index = 3; index <= 15 && fields >> field; ++index) {
        if (index == 14)
            user = std::atoll(field.c_str());
        if (index == 15)
            system = std::atoll(field.c_str());
    }
    return user + system;
}

long Load::ServerRssKb() const
{
    if (options.serverPid <= 0)
        return 0;
    std::ifstream status("/proc/" + std::to_string(options.serverPid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::atol(line.c_str() + 6);
    return 0;
}

void Load::Run()
{
    std::vector<pollfd> polled;
    for (const Guest &guest : guests)
        polled.push_back({guest.fd, POLLIN, 0});
    const long long cpuBefore = ServerCpuTicks();
    const auto start = Clock::now();
    const auto end = start + std::chrono::duration<double>(options.seconds);
    const auto interval = std::chrono::nanoseconds(1'000'000'000LL / std::max(1, options.rate));
    auto nextSend = start;
    int nextGuest = options.flooders;
    const bool steady = options.mode == "steady";
    while (Clock::now() < end) {
        if (steady) {
            for (int flooder = 0; flooder < options.flooders; ++flooder)
                Flood(flooder);
            while (Clock::now() >= nextSend) {
                SendLine(nextGuest);
                nextGuest = nextGuest + 1 < options.guests ? nextGuest + 1 : options.flooders;
                nextSend += interval;
            }
        } else {
            for (int guest = 0; guest < options.guests; ++guest)
                while (guests[size_t(guest)].inFlight < options.window)
                    SendLine(guest);
        }
        // Sleep until the next send is due (to the nanosecond: no busy waiting).
        const long long untilNext =
            steady ? std::max(0LL, (long long)std::chrono::duration_cast<std::chrono::nanoseconds>(nextSend - Clock::now()).count())
                   : 100'000'000LL;
        const timespec timeout{untilNext / 1'000'000'000LL, untilNext % 1'000'000'000LL};
        if (ppoll(polled.data(), polled.size(), &timeout, nullptr) > 0)
            for (size_t at = 0; at < polled.size(); ++at)
                if (polled[at].revents & POLLIN)
                    Receive(int(at));
    }
    // What is on its way may still arrive, for a while.
    const auto stop = Clock::now() + std::chrono::seconds(2);
    while (!lines.empty() && Clock::now() < stop)
        if (poll(polled.data(), polled.size(), 100) > 0)
            for (size_t at = 0; at < polled.size(); ++at)
                if (polled[at].revents & POLLIN)
                    Receive(int(at));
    elapsedSeconds = std::chrono::duration<double>(Clock::now() - start).count();
    cpuTicks = ServerCpuTicks() - cpuBefore;
}

void Load::Report() const
{
    std::vector<double> sorted = latenciesMs;
    std::sort(sorted.begin(), sorted.end());
    const auto at = [&](double share) {
        return sorted.empty() ? 0.0 : sorted[std::min(sorted.size() - 1, size_t(share * double(sorted.size())))];
    };
    const double cpuMs = double(cpuTicks) * 1000.0 / double(sysconf(_SC_CLK_TCK));
    int cutOff = 0;
    for (size_t guest = size_t(options.flooders); guest < guests.size(); ++guest)
        cutOff += guests[guest].cutOff ? 1 : 0;
    std::printf("protocol=%s guests=%d mode=%s window=%d quickack=%d lines=%lld lost=%zu rate=%.1f p50=%.3f p99=%.3f max=%.3f "
                "cpu_ms_per_1000=%.1f rss_mb=%.1f flooders=%d cut_off=%d\n",
                options.protocol.c_str(), options.guests, options.mode.c_str(), options.window, int(options.quickAck),
                completed, lines.size(),
                double(completed) / elapsedSeconds, at(0.50), at(0.99), sorted.empty() ? 0.0 : sorted.back(),
                completed ? cpuMs * 1000.0 / double(completed) : 0.0, double(ServerRssKb()) / 1024.0, options.flooders,
                cutOff);
}

Options Parse(int argc, char *argv[])
{
    Options options;
    for (int at = 1; at + 1 < argc; at += 2) {
        const std::string name = argv[at];
        const std::string value = argv[at + 1];
        if (name == "--protocol")
            options.protocol = value;
        else if (name == "--port")
            options.port = std::atoi(value.c_str());
        else if (name == "--guests")
            options.guests = std::atoi(value.c_str());
        else if (name == "--mode")
            options.mode = value;
        else if (name == "--seconds")
            options.seconds = std::atof(value.c_str());
        else if (name == "--rate")
            options.rate = std::atoi(value.c_str());
        else if (name == "--server-pid")
            options.serverPid = std::atoi(value.c_str());
        else if (name == "--window")
            options.window = std::max(1, std::atoi(value.c_str()));
        else if (name == "--quickack")
            options.quickAck = value == "1";
        else if (name == "--flooders")
            options.flooders = std::max(0, std::atoi(value.c_str()));
    }
    return options;
}

} // namespace

int main(int argc, char *argv[])
{
    const Options options = Parse(argc, argv);
    Load load(options);
    if (options.mode == "join") {
        load.JoinBurst();
        return 0;
    }
    if (!load.Connect())
        return 1;
    load.Settle();
    load.Run();
    load.Report();
    return 0;
}
