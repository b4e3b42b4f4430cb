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

// The longer addresses that a filter line of a whole address of four numbers
// stands for as well, as a person reads them: "10.0.0.1" gives
// "10.0.0.10–19, 100–199", which surprises whoever meant the one
// machine. Empty for any other line, and for an address that no longer one
// begins with ("10.0.0.26").
QString LongerAddressesCovered(const QString &line);
