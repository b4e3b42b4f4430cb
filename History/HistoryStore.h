#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

struct sqlite3;

// One chat as the history keeps it: from its start line to its end.
struct KeptChat {
    qint64 id = 0;
    bool hosted = false;
    QString host; // the host's address
    int port = 0;
    QString nickname; // ours
    QDateTime started;
    QDateTime ended; // not valid while the chat goes on, or when it never ended
    QStringList names; // who took part
    int lines = 0;
};

// One text the chat view showed.
struct KeptText {
    qint64 id = 0;
    qint64 chat = 0;
    QDateTime at;
    int kind = 0; // a ShownText::Kind
    QString name; // of a chat line: its nickname, without the brackets
    int colour = -1; // of a chat line: its colour digit
    QByteArray bytes; // as received, or as the code page writes our own
    QString shown; // as the view showed it
    QString snippet; // of a search hit: the text with the match marked
};

// The user's chat history: an SQLite file in write-ahead-log mode, with a
// full-text index of every text shown (words and word prefixes, any case,
// Latin and Cyrillic alike). Every call reports failure by its result; none
// throws, and none is fatal to the chat.
class HistoryStore {
public:
    HistoryStore();
    ~HistoryStore();
    HistoryStore(const HistoryStore &) = delete;
    HistoryStore &operator=(const HistoryStore &) = delete;

    // Opens the file, made with mode 0600 in a folder of mode 0700 when new.
    // A file that is no sound database is moved aside as
    // "<file>.damaged-<date and time>" and a new one is started; DamagedCopy()
    // then says where the old one is.
    bool Open(const QString &path);
    bool IsOpen() const;
    QString DamagedCopy() const { return damagedCopy; }
    // What went wrong last, for the user.
    QString LastError() const { return lastError; }

    qint64 StartChat(const KeptChat &chat);
    bool EndChat(qint64 chat, const QDateTime &at, const QStringList &names);
    bool SetNames(qint64 chat, const QStringList &names);
    // All in one transaction: all are kept, or none.
    bool AddTexts(const QList<KeptText> &texts);

    // Newest first.
    QList<KeptChat> Chats();
    QList<KeptText> TextsOf(qint64 chat);
    // Every text with all the words (each also as the start of a word), newest first.
    QList<KeptText> Search(const QString &words, int most = 500);
    // The last texts kept, oldest first.
    QList<KeptText> LastTexts(int count);
    bool DeleteChat(qint64 chat);
    bool Clear();
    // Deletes the chats that ended (or started) before the time.
    bool DeleteChatsBefore(const QDateTime &time);
    // The bytes the history's pages hold, free pages not counted.
    qint64 UsedBytes();
    // Deletes the oldest chats (ended ones first), and then the oldest texts
    // of the chat `current`, until the history holds at most `largest` bytes.
    // Whether anything had to go.
    bool KeepWithin(qint64 largest, qint64 current);

    // The file the program keeps for this user: $XDG_DATA_HOME/Vanu/history.sqlite.
    static QString DefaultPath();

private:
    bool OpenFile(const QString &path);
    bool Exec(const QString &statement);
    // The texts a statement with one value finds; %1 in it stands for their columns.
    QList<KeptText> Texts(const QString &statement, const QVariant &value);
    bool Fail(const QString &what);
    // Rolls the transaction back, failed for the reason given.
    bool Undo(const QString &why);
    // SQLite's own connection under Qt's.
    sqlite3 *Handle() const;
    bool IsSound();
    void SetAside(const QString &path);
    static void KeepPrivateWithJournals(const QString &path);

    QString connection;
    QSqlDatabase database;
    QString damagedCopy;
    QString lastError;
};
