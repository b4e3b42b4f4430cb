#pragma once

#include <QByteArray>

class QProcessEnvironment;

// The windowing platform to ask Qt for, before the application is made. On a
// Wayland session with XWayland (DISPLAY set) it is xcb, so that docking the
// friends window, hiding the taskbar entry and the tray keep working; a
// platform the user chose (QT_QPA_PLATFORM) is kept. Empty: Qt's own choice.
QByteArray ChosenPlatform(const QProcessEnvironment &environment);

// Puts the choice into QT_QPA_PLATFORM for this process.
void ChoosePlatform();

// Whether the program can show its windows at all: a platform the user chose
// (offscreen, say) is taken on trust, a Wayland display is there when named,
// and an X display when it answers. Without one, Qt would abort with a text
// about reinstalling; the program says what is missing instead.
bool DisplayAvailable(const QProcessEnvironment &environment);
