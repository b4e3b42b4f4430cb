#pragma once

#include <QString>

// Installs the translations of the user's language, as the locale names it
// (LANGUAGE, LC_ALL, LC_MESSAGES, LANG): Qt's own, so that the buttons of
// standard dialogs match, and the program's. Needs the application object.
// English, the language the program is written in, needs none.
void UseUserLanguage();

// The folder the program's translations are read from: beside an installed
// program, or in the build tree for a copy run from there.
QString TranslationsFolder();
