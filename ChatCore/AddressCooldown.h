#pragma once

#include <QHash>
#include <QString>

// Lets something happen for each address at most once in a period: what a
// peer that connects again and again could otherwise make the host do each
// time (come forward, play a sound, tell every guest).
class AddressCooldown {
public:
    explicit AddressCooldown(qint64 periodMs) : periodMs(periodMs) {}

    // True, and counted, when the address's last time is a period or more before `nowMs`.
    bool allow(const QString &address, qint64 nowMs)
    {
        if (last.size() > kMostRemembered)
            last.removeIf([&](const auto &entry) { return nowMs - entry.value() >= periodMs; });
        const auto found = last.constFind(address);
        if (found != last.cend() && nowMs - *found < periodMs)
            return false;
        last.insert(address, nowMs);
        return true;
    }

private:
    static constexpr qsizetype kMostRemembered = 1024;
    qint64 periodMs;
    QHash<QString, qint64> last;
};
