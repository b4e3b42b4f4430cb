#pragma once

#include <QString>
#include <QStringList>

// Whether the host lets a guest in, by its dotted address. A filter line
// stands for every address that begins with it (there is no wild card); an
// empty line matches nothing. Mode 0 ("Include") admits matches only; any
// other mode ("Exclude", or neither marked) refuses matches only. No lines at
// all admit everybody.
bool AdmitGuest(const QStringList &filterLines, int filterMode, const QString &address);

// Whether the filter admits every address: it has no line that matches anything.
bool AdmitsEveryone(const QStringList &filterLines, int filterMode);

// The lines that are a whole address of four numbers: each stands for longer
// addresses too ("10.0.0.1" for 10.0.0.10 to 10.0.0.19 and 10.0.0.100 to
// 10.0.0.199), which surprises whoever meant the one machine.
QStringList WholeAddressLines(const QStringList &filterLines);
