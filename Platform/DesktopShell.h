#pragma once

#include "Shell.h"

// Opens addresses with the desktop's preferred mail program or browser.
class DesktopShell final : public Shell {
public:
    bool Open(const QString &address) override;
};
