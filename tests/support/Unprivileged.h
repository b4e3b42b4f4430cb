#pragma once

#include <sys/fsuid.h>
#include <unistd.h>

// For as long as it lives, files are opened and made with the rights of an
// ordinary user ("nobody"), so that a test run as root meets read-only folders
// as a user would. Only the calling thread is affected.
class AsOrdinaryUser {
public:
    AsOrdinaryUser() : wasRoot(geteuid() == 0)
    {
        if (wasRoot)
            setfsuid(kNobody);
    }
    ~AsOrdinaryUser()
    {
        if (wasRoot)
            setfsuid(0);
    }
    AsOrdinaryUser(const AsOrdinaryUser &) = delete;
    AsOrdinaryUser &operator=(const AsOrdinaryUser &) = delete;

private:
    static constexpr uid_t kNobody = 65534;
    bool wasRoot;
};
