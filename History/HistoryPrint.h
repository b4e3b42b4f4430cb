#pragma once

#include <QString>
#include <QStringList>

class HistoryStore;

// The history as `vanu --history` prints it, a line for each text kept: its
// date and time, the chat's host, and the text as the view showed it. With
// no words, the last 50 texts; with words, every text that has them all,
// oldest first.
QStringList PrintedHistory(HistoryStore &store, const QString &words);

// Prints the history of this user to standard output, without a display; the
// exit code. A history that was never started prints nothing.
int PrintHistory(const QString &words);
