#pragma once

#include <QString>
#include <QStringList>

// Whether the host lets a guest in, by its dotted address. A filter line
// stands for every address that begins with it (there is no wild card); an
// empty line matches nothing. Mode 0 ("Include") admits matches only; any
// other mode ("Exclude", or neither marked) refuses matches only. No lines at
// all admit everybody.
bool AdmitGuest(const QStringList &filterLines, int filterMode, const QString &address);
