// A link between two network namespaces that behaves like a real one: it
// carries IP packets between two TUN devices with a delay, jitter (which
// reorders them), loss, and outages. The LAN check owns it.
//
//   lan_link TUN_A TUN_B
//
// It makes the two devices, says "ready", and then takes commands on its
// standard input, one a line:
//   profile clean        no delay, no loss
//   profile wifi         15 ms +- 10 ms, 2 % of packets lost
//   down | up            every packet dropped from now on, or no longer
// and answers each with "ok". It ends when its input ends.
#include <fcntl.h>
#include <linux/if.h>
#include <linux/if_tun.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <queue>
#include <random>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Profile {
    int delayMs = 0;
    int jitterMs = 0;
    double loss = 0;
};

struct Packet {
    Clock::time_point due;
    int to = -1;
    std::vector<char> bytes;
    bool operator>(const Packet &other) const { return due > other.due; }
};

int OpenTun(const char *name)
{
    const int fd = open("/dev/net/tun", O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return -1;
    ifreq request{};
    request.ifr_flags = IFF_TUN | IFF_NO_PI;
    std::strncpy(request.ifr_name, name, IFNAMSIZ - 1);
    if (ioctl(fd, TUNSETIFF, &request) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

class Link {
public:
    Link(int a, int b) : ends{a, b} {}

    void Run()
    {
        std::string command;
        for (;;) {
            pollfd polled[3] = {{ends[0], POLLIN, 0}, {ends[1], POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
            if (poll(polled, 3, WaitMs()) < 0)
                continue;
            for (int side = 0; side < 2; ++side)
                if (polled[side].revents & POLLIN)
                    Carry(side);
            if (polled[2].revents & (POLLIN | POLLHUP)) {
                char buffer[256];
                const ssize_t got = read(STDIN_FILENO, buffer, sizeof buffer);
                if (got <= 0)
                    return;
                command.append(buffer, size_t(got));
                for (size_t end; (end = command.find('\n')) != std::string::npos; command.erase(0, end + 1))
                    Obey(command.substr(0, end));
            }
            Deliver();
        }
    }

private:
    int WaitMs() const
    {
        if (queue.empty())
            return 1000;
        const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(queue.top().due - Clock::now());
        return int(std::max<long long>(0, wait.count()));
    }

    void Carry(int from)
    {
        Packet packet;
        packet.bytes.resize(65536);
        const ssize_t got = read(ends[from], packet.bytes.data(), packet.bytes.size());
        if (got <= 0 || down || chance(random) < profile.loss)
            return;
        packet.bytes.resize(size_t(got));
        packet.to = ends[1 - from];
        const int jitter = profile.jitterMs ? std::uniform_int_distribution<int>(-profile.jitterMs, profile.jitterMs)(random) : 0;
        packet.due = Clock::now() + std::chrono::milliseconds(std::max(0, profile.delayMs + jitter));
        queue.push(std::move(packet));
    }

    void Deliver()
    {
        while (!queue.empty() && queue.top().due <= Clock::now()) {
            const Packet &packet = queue.top();
            if (!down)
                (void)!write(packet.to, packet.bytes.data(), packet.bytes.size());
            queue.pop();
        }
    }

    void Obey(const std::string &command)
    {
        if (command == "profile clean")
            profile = Profile{};
        else if (command == "profile wifi")
            profile = Profile{15, 10, 0.02};
        else if (command == "down")
            down = true;
        else if (command == "up")
            down = false;
        std::printf("ok\n");
        std::fflush(stdout);
    }

    int ends[2];
    Profile profile;
    bool down = false;
    std::priority_queue<Packet, std::vector<Packet>, std::greater<>> queue;
    std::mt19937 random{20261208};
    std::uniform_real_distribution<double> chance{0.0, 1.0};
};

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: lan_link TUN_A TUN_B\n");
        return 2;
    }
    const int a = OpenTun(argv[1]);
    const int b = OpenTun(argv[2]);
    if (a < 0 || b < 0) {
        std::perror("lan_link: /dev/net/tun");
        return 1;
    }
    std::printf("ready\n");
    std::fflush(stdout);
    Link(a, b).Run();
    return 0;
}
