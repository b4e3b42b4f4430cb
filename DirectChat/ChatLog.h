#pragma once

#include "ChatText.h"

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QStringList>
#include <QTimer>

class QPlainTextEdit;
class QTextCursor;

// The chat view's lines. New lines are written into the view together once
// a frame: a busy chat then costs one layout and one repaint a frame, not one
// a line. The view keeps the newest lines up to a limit.
class ChatLog : public QObject {
    Q_OBJECT
public:
    ChatLog(QPlainTextEdit &view, int mostLines);

    // Shows the parts at the next frame.
    void add(ChatTextParts parts);
    // Writes the lines that wait for the next frame into the view now.
    void showPending();
    void clear();
    // The view's lines, with every line added so far.
    int lineCount();
    QStringList lines();

private:
    // Keeps the newest `kept` lines of the view.
    void dropOldestLines(QTextCursor &cursor, int kept);

    QPlainTextEdit &view;
    int mostLines;
    bool empty = true;
    QList<ChatTextParts> pending;
    int pendingBlocks = 0;
    QTimer frame;
    QElapsedTimer shown;
};
