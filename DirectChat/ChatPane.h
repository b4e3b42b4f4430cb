#pragma once

#include <QWidget>

class ChatFindBar;
class ChatLog;
class QLineEdit;
class QPlainTextEdit;

// The main window's middle: the chat view with its find bar and its lines,
// and below them the band with the input line, olive while it is closed.
class ChatPane : public QWidget {
    Q_OBJECT
public:
    ChatPane(int mostLines, QWidget *parent);

    QPlainTextEdit *view;
    ChatFindBar *findBar;
    ChatLog *log;
    QWidget *band;
    QLineEdit *input;
};
