#pragma once

#include <QColor>
#include <QString>
#include <QStringList>

#include <optional>

// The ten colours a participant can choose, by the index that leads every
// chat line: 0 "Blue" to 9 "White".
const QStringList &ColourTable();

// The name of a colour index: the table's name for 0 to 9, "Yellow" for any other.
QString IndexColourName(int index);

// The position of a name in ColourTable, without regard to case, or -1.
int ColourTableIndexOf(const QString &name);

// The position of a name in ColourTable (without regard to case) as decimal
// text, or "-1" for a name outside it.
QString ColourIndexTextOf(const QString &name);

// Looks "cl" + name up among the named colours, without regard to case: the
// sixteen basic colours, the desktop's system colours (from the application
// palette) and "clNone". nullopt when the name is not a colour.
std::optional<QColor> NamedColour(const QString &name);

// Text that stays readable on a colour box of the table's colour at `index`:
// black on the light colours (Lime, Fuchsia, Aqua, White, indexes 6 to 9),
// white on the others and for no index.
QColor ColourBoxTextColour(int index);

// The digit that leads the sender's chat lines: its colour's place in the
// colour table, or for a colour outside it the table colour nearest in RGB,
// so that a chat line never starts with "-".
char ColourDigit(const QString &colourIndexText, const QColor &colour);
