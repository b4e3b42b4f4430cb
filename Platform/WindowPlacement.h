#pragma once

#include <QRect>

class QWidget;

// Where a window of the program goes as it is shown: centred on the window it
// belongs to, and whole on the screen (its frame inside the screen's room
// left by panels). `frame` is the size with the decoration; a frame larger
// than the room starts at the room's top left.
QRect CentredWithin(const QSize &frame, const QRect &over, const QRect &room);

// Places `window` so each time it is shown: over `owner` while that is on the
// screen, else in the middle of the owner's screen.
void PlaceOverWhenShown(QWidget &window, const QWidget &owner);
