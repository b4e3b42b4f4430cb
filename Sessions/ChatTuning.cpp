#include "ChatTuning.h"

#include <QtGlobal>

ChatTuning ChatTuning::fromEnvironment()
{
    ChatTuning tuning;
    bool given = false;
    if (const int rate = qEnvironmentVariableIntValue("VANU_GUEST_LINES_PER_SECOND", &given); given && rate >= 0)
        tuning.guestLinesPerSecond = rate;
    if (const int idle = qEnvironmentVariableIntValue("VANU_KEEPALIVE_IDLE_SECONDS", &given); given && idle > 0)
        tuning.keepaliveIdleSeconds = idle;
    return tuning;
}
