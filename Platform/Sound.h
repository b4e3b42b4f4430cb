#pragma once

// The desktop's "new mail" sound, played to its end before the call returns.
class Sound {
public:
    virtual ~Sound() = default;
    virtual void PlayMailBeep() = 0;
};
