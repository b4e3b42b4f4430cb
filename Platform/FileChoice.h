#pragma once

#include "Prompts.h"

#include <functional>

// Asks with a save dialog for a file to write, again while the name chosen
// is a link that leads nowhere; then, when a file is there, whether to
// overwrite it, naming the file that a link there leads to. `nameFor` turns
// the chosen path into the file's name (an extension added, say). Gives the
// file to write, or empty text when the user cancelled or declined; the
// request's filter index is the one chosen.
QString ChooseFileToWrite(Prompts &prompts, FileDialogRequest &request,
                          const std::function<QString(const QString &)> &nameFor);
