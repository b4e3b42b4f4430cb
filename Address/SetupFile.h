#pragma once

#include "SetupSettings.h"

#include <QByteArray>

class CodePage;

// Setup files, "LastSetup.set" and any ".set" file, are bytes of the code page:
//   line 1  the filter mode, "0", "1" or "-1"
//   line 2  the colour name
//   line 3  the nickname
//   line 4  the host address
//   then    the filter box's text, its lines separated by CR LF
// Lines 1 to 4 end with CR LF.

// The settings a setup file holds (all but the port). A NUL byte ends the
// text; CR LF, a lone CR and a lone LF each end a line; missing lines are
// empty. The mode is clamped to -1..1 and the colour index derived from the
// name. Throws EConvertError when line 1 is no whole number.
SetupSettings ParseSetupFile(const QByteArray &bytes, const CodePage &codePage);

// The bytes of a setup file for the settings.
QByteArray ComposeSetupFile(const SetupSettings &settings, const CodePage &codePage);

// The filter box's text as lines, and back: "a\nb\n" is {"a", "b", ""}.
QStringList FilterLinesOfText(const QString &text);
QString FilterTextOfLines(const QStringList &lines);

// The name the Save button writes for a chosen path: the file's own name cut
// at its first "." and ".set" appended ("friends", "friends.set" and
// "friends.txt" all give "friends.set"); dots in folder names stay.
QString SetupFileNameFor(const QString &chosenPath);
