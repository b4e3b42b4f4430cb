#pragma once

#include <QByteArray>
#include <QString>

class CodePage;

// How a link writes its texts: a plain or version-1 link in the 8-bit code
// page, as copies always have; a version-2 link in UTF-8, every character.
enum class TextEncoding { CodePage, Utf8 };

// Texts from one to the other, and from and to Unicode. Towards the code page
// a character it lacks becomes "?"; malformed UTF-8 is read as U+FFFD.
QString decodeText(const QByteArray &bytes, TextEncoding encoding, const CodePage &codePage);
QByteArray encodeText(const QString &text, TextEncoding encoding, const CodePage &codePage);
QByteArray recodeText(const QByteArray &bytes, TextEncoding from, TextEncoding to, const CodePage &codePage);

// UTF-8 from a peer as it may be passed on: unchanged when it is well formed,
// else with each malformed sequence (an overlong form, a surrogate, a cut
// sequence) replaced by U+FFFD.
QByteArray wellFormedUtf8(const QByteArray &bytes);
