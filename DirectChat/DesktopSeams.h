#pragma once

class CodePage;
class Prompts;
class Shell;
class Sound;
class TrayHost;

// The desktop as the windows reach it. The real program passes Qt's dialogs,
// the sound theme, the desktop shell, Windows-1251 and the system tray; tests
// pass their doubles.
struct DesktopSeams {
    Prompts &prompts;
    Sound &sound;
    Shell &shell;
    const CodePage &codePage;
    TrayHost &trayHost;
};
