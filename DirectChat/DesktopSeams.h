#pragma once

class CodePage;
class LanDiscovery;
class Notifier;
class Prompts;
class Shell;
class Sound;
class TrayHost;

// The desktop as the windows reach it. The real program passes Qt's dialogs,
// the sound theme, the desktop shell, Windows-1251, the system tray and the
// desktop's notifications and Avahi; tests pass their doubles.
struct DesktopSeams {
    Prompts &prompts;
    Sound &sound;
    Shell &shell;
    const CodePage &codePage;
    TrayHost &trayHost;
    Notifier &notifier;
    LanDiscovery &discovery;
};
