#include "FilePump.h"

#include <poll.h>
#include <sched.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <iterator>

namespace {

// Reads and writes of one way in one sweep at most, so that the other way,
// and the other pairs, get their turn.
constexpr int kRoundsPerSweep = 8;
// A connection the system shows no readiness for is tried again after this
// long all the same (a TLS read that has to write first, say).
constexpr int kLongestSleepMs = 1000;

template <typename Items>
void Append(Items &to, Items &&from)
{
    std::move(from.begin(), from.end(), std::back_inserter(to));
    from.clear();
}

} // namespace

FilePump::FilePump(QObject *parent) : QObject(parent), wake(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) { }

FilePump::~FilePump()
{
    stop();
    if (wake >= 0)
        ::close(wake);
}

void FilePump::add(End first, End second)
{
    for (End *end : {&first, &second}) {
        end->filled = end->waiting.size();
        end->waiting.resize(std::max(end->filled, kReadAtOnce));
    }
    {
        const std::lock_guard lock(mutex);
        Pair pair;
        pair.ends[0] = std::move(first);
        pair.ends[1] = std::move(second);
        incoming.push_back(std::move(pair));
    }
    if (!worker.joinable()) {
        stopping = false;
        worker = std::thread([this] { run(); });
    }
    wakeUp();
}

std::vector<FilePump::Pair> FilePump::takeEnded()
{
    const std::lock_guard lock(mutex);
    return std::exchange(ended, {});
}

std::vector<FilePump::Pair> FilePump::takeAll()
{
    stop();
    std::vector<Pair> all = std::exchange(pairs, {});
    Append(all, std::exchange(incoming, {}));
    Append(all, std::exchange(ended, {}));
    return all;
}

void FilePump::stop()
{
    if (!worker.joinable())
        return;
    stopping = true;
    wakeUp();
    worker.join();
}

void FilePump::wakeUp()
{
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(wake, &one, sizeof one);
}

void FilePump::run()
{
    std::vector<pollfd> watched;
    while (!stopping) {
        {
            const std::lock_guard lock(mutex);
            Append(pairs, std::exchange(incoming, {}));
        }
        bool moreToDo = false;
        for (Pair &pair : pairs)
            moreToDo = sweep(pair) || moreToDo;
        const auto over = std::stable_partition(pairs.begin(), pairs.end(), [](const Pair &pair) { return !pair.over; });
        if (over != pairs.end()) {
            {
                const std::lock_guard lock(mutex);
                std::move(over, pairs.end(), std::back_inserter(ended));
            }
            pairs.erase(over, pairs.end());
            emit pairEnded();
        }
        // Each end is watched for what would let its pair go on: bytes to
        // read while the other end has room, room while bytes wait for it.
        watched.assign(1, pollfd{wake, POLLIN, 0});
        for (const Pair &pair : pairs)
            for (int side = 0; side < 2; ++side) {
                const End &end = pair.ends[side];
                const End &other = pair.ends[1 - side];
                const short events = short((other.filled == 0 ? POLLIN : 0) | (end.filled > 0 ? POLLOUT : 0));
                watched.push_back(pollfd{end.socket, events, 0});
            }
        const int timeout = moreToDo ? 0 : (pairs.empty() ? -1 : kLongestSleepMs);
        if (poll(watched.data(), nfds_t(watched.size()), timeout) <= 0)
            continue;
        if (watched[0].revents) {
            std::uint64_t count = 0;
            [[maybe_unused]] const ssize_t taken = ::read(wake, &count, sizeof count);
        }
        for (std::size_t index = 1; index < watched.size(); ++index)
            if (watched[index].revents & (POLLERR | POLLHUP | POLLNVAL))
                pairs[(index - 1) / 2].broken = true;
    }
}

bool FilePump::sweep(Pair &pair)
{
    const bool forward = flow(pair, pair.ends[0], pair.ends[1]);
    const bool back = !pair.over && flow(pair, pair.ends[1], pair.ends[0]);
    // What could be moved has been: a broken connection ends its pair.
    if (pair.broken)
        pair.over = true;
    return !pair.over && (forward || back);
}

bool FilePump::flow(Pair &pair, End &from, End &to)
{
    for (int round = 0; round < kRoundsPerSweep; ++round) {
        if (!sendWaiting(pair, to))
            return false;
        // The read fills what the write emptied: the transport may hold more than the socket shows.
        while (to.filled < kReadAtOnce) {
            const TransportResult read = from.transport->read(to.waiting.data() + to.filled, kReadAtOnce - to.filled);
            if (read.ended || read.error) {
                sendWaiting(pair, to);
                pair.over = true;
                return false;
            }
            if (read.bytes == 0)
                break;
            to.filled += read.bytes;
        }
        if (to.filled == 0)
            return false;
        // A chat line that came meanwhile goes first: the GUI thread, woken
        // for it, waits for a read's worth of this work at most, not for the
        // rest of the pump's turn.
        sched_yield();
    }
    return true;
}

bool FilePump::sendWaiting(Pair &pair, End &to)
{
    while (to.sent < to.filled) {
        const TransportResult written = to.transport->write(to.waiting.constData() + to.sent, to.filled - to.sent);
        if (written.error) {
            pair.over = true;
            return false;
        }
        if (written.bytes == 0)
            return false;
        to.sent += written.bytes;
        moved += written.bytes;
    }
    to.filled = to.sent = 0;
    return true;
}
