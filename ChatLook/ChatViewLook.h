#pragma once

#include "ChatText.h"

#include <QFont>

class QPlainTextEdit;
class QTextCursor;

// How chat texts look wherever they are shown (the chat view, the history):
// Arial of 11 pixels, lime on teal, a name part bold in its colour on a line
// of its own above its message.
QFont ChatFont();
void StyleChatView(QPlainTextEdit &view);

// Adds the text's name part (if any) and message as lines at the cursor;
// `first` when the view holds nothing yet, so no line break goes before.
// A chat text is never markup: it goes in as plain characters.
void AppendChatParts(QTextCursor &cursor, const ChatTextParts &parts, bool first);
