#pragma once

#include <QString>

// Hands an address such as "mailto:..." or "http://..." to the desktop.
class Shell {
public:
    virtual ~Shell() = default;
    virtual bool Open(const QString &address) = 0;
};
