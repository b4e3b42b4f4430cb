#pragma once

#include "HistoryStore.h"

#include <QHash>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>
#include <QWidget>

class CodePage;
class Prompts;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPlainTextEdit;
class QPushButton;

// The chat history: the chats kept, newest first, and a search over all of
// them (words and word prefixes, any case). Choosing a chat shows its lines
// as the chat view showed them; choosing a hit opens its chat at that line.
// A chat can be saved as a transcript, or deleted; the whole history cleared.
class HistoryWindow : public QWidget {
    Q_OBJECT
public:
    HistoryWindow(HistoryStore &store, Prompts &prompts, const CodePage &codePage, const QString &folder);

    // Shows the window with what is kept now.
    void ShowHistory();

    QLineEdit *search = nullptr;
    QListWidget *found = nullptr; // chats, or the hits of a search
    QPlainTextEdit *view = nullptr;
    QPushButton *saveAs = nullptr;
    QPushButton *deleteChat = nullptr;
    QPushButton *clearHistory = nullptr;

    static constexpr int kSearchPauseMs = 200;

private:
    void List();
    void ListChats();
    void ListHits(const QString &words);
    void Show(const QListWidgetItem *entry);
    // Marks the words that the ones searched for begin, in a block of the hit.
    void MarkSearchedWords(const QTextBlock &hit, QList<QTextEdit::ExtraSelection> &marks) const;
    // The chat's lines as the view showed them, one text after another.
    QStringList LinesOf(qint64 chat);
    qint64 ChosenChat() const;
    void SaveAsClick();
    void DeleteChatClick();
    void ClearHistoryClick();
    QString ChatTitle(const KeptChat &chat) const;

    HistoryStore &store;
    Prompts &prompts;
    const CodePage &codePage;
    QString folder;
    QTimer searchPause;
    QHash<qint64, QString> titles; // of the chats, by id
    QHash<qint64, QString> hosts;
};
