#pragma once

#include <QByteArray>
#include <QString>

// How the host tells its participants' names apart: as people read them, not
// byte for byte. "Anna", "anna", "Anna " and "Аnna" (with a Cyrillic А) are one
// name; a name with a character nobody sees is no name at all.
namespace NameMatching {

// A name as it crosses the plain wire, in Windows-1251.
QString FromWire(const QByteArray &name);
// Holds a character that shows as nothing or as a blank but is none: a format
// or default-ignorable character (a soft hyphen, a zero-width one), a space
// other than the plain blank (a non-breaking one), or one the code page lacks.
bool HoldsInvisible(const QString &name);
// What two names are compared by: blanks trimmed, case folded, then ICU's
// skeleton of what it looks like, so that lookalikes have the same one.
QString Key(const QString &name);

} // namespace NameMatching
