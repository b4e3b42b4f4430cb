// The least a single-threaded relay can do: one poll() loop that sends every
// read, as it came, to every connection, its sender included.
//   bare_relay PORT
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

int main(int argc, char *argv[])
{
    if (argc < 2)
        return 2;
    const int listener = socket(AF_INET, SOCK_STREAM, 0);
    const int on = 1;
    setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(uint16_t(std::atoi(argv[1])));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (bind(listener, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0 || listen(listener, 128) != 0)
        return 1;
    std::printf("listening on %s\n", argv[1]);
    std::fflush(stdout);
    std::vector<pollfd> polled{{listener, POLLIN, 0}};
    char buffer[1024];
    for (;;) {
        poll(polled.data(), polled.size(), -1);
        for (size_t at = 1; at < polled.size(); ++at) {
            if (!(polled[at].revents & (POLLIN | POLLHUP | POLLERR)))
                continue;
            const ssize_t got = recv(polled[at].fd, buffer, sizeof buffer, 0);
            if (got <= 0) {
                close(polled[at].fd);
                polled.erase(polled.begin() + long(at--));
                continue;
            }
            for (size_t to = 1; to < polled.size(); ++to)
                send(polled[to].fd, buffer, size_t(got), MSG_NOSIGNAL);
        }
        if (polled[0].revents & POLLIN) {
            const int guest = accept(listener, nullptr, nullptr);
            setsockopt(guest, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
            polled.push_back({guest, POLLIN, 0});
        }
    }
}
