#pragma once

#include "SetupSettings.h"

#include <QString>

// What opening a setup file from outside (a mailed invitation, say) would
// change in the current settings: its host address, nickname, colour, and the
// filter's mode and lines, each as "before → after", and a warning when the
// result admits every address. Empty text when nothing would change.
QString SetupChangesNotice(const QString &fileName, const SetupSettings &before, const SetupSettings &after);
