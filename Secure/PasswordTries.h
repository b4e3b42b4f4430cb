#pragma once

#include <QHash>
#include <QString>

// The chat password's wrong tries, by address. After each refused proof the
// address waits before its next proof is even looked at, twice as long each
// time (1, 2, 4, 8 s); the fifth refusal in a row locks it out for five
// minutes. A right proof forgets its tries. So a neighbour guesses a few
// passwords a minute, not hundreds a second.
class PasswordTries {
public:
    static constexpr int kTriesBeforeLockOut = 5;
    static constexpr qint64 kFirstWaitMs = 1000;
    static constexpr qint64 kLockOutMs = 5 * 60 * 1000;

    // Whether a proof from the address is looked at now.
    bool MayTry(const QString &address, qint64 nowMs) const
    {
        const auto found = tries.constFind(address);
        return found == tries.cend() || nowMs >= found->waitUntilMs;
    }
    // A proof was looked at. Gives the refusals in a row when this one locks
    // the address out, 0 otherwise.
    int Checked(const QString &address, bool proven, qint64 nowMs)
    {
        if (proven) {
            tries.remove(address);
            return 0;
        }
        if (tries.size() >= kMostRemembered)
            tries.removeIf([nowMs](const auto &entry) { return nowMs >= entry.value().waitUntilMs + kLockOutMs; });
        Tries &these = tries[address];
        const int inARow = these.refused++ % kTriesBeforeLockOut; // 0 for the first of a round
        const bool lockedOut = inARow == kTriesBeforeLockOut - 1;
        these.waitUntilMs = nowMs + (lockedOut ? kLockOutMs : kFirstWaitMs << inARow);
        return lockedOut ? these.refused : 0;
    }

private:
    static constexpr qsizetype kMostRemembered = 4096;
    struct Tries {
        int refused = 0;
        qint64 waitUntilMs = 0;
    };
    QHash<QString, Tries> tries;
};
