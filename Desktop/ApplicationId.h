#pragma once

#include <QString>

// The one reverse-DNS id of the program: the desktop entry's base name, the
// icon's name, the metainfo id and the desktop file name Wayland matches on.
inline QString ApplicationId()
{
    return QStringLiteral(VANU_APP_ID);
}
