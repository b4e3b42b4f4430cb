#pragma once

#include <QList>
#include <QTextCursor>
#include <QWidget>

class QLabel;
class QLineEdit;
class QPlainTextEdit;

// The bar under the chat view that finds a text in it: Enter goes to the next
// match, Shift+Enter to the one before, and Escape closes the bar. Every match
// is highlighted without touching the view's text, so a saved transcript is
// the same with the bar open or closed. The text is plain, not a pattern, and
// is found whatever its case.
class ChatFindBar : public QWidget {
    Q_OBJECT
public:
    ChatFindBar(QPlainTextEdit &view, QWidget *parent = nullptr);

    QLineEdit *FindText = nullptr;
    QLabel *MatchCount = nullptr;

    // Shows the bar with its text selected, ready to type.
    void Open();
    void FindNext();
    void FindPrevious();
    // "n of m": the current match and how many there are.
    QString CountText() const;

signals:
    // Escape closed the bar.
    void closed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Search();
    void Step(int by);
    void Highlight();

    QPlainTextEdit &view;
    QList<QTextCursor> matches;
    int current = -1;
};
