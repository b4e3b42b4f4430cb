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
