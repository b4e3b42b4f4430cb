#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// A text as the chat view shows it: a text that holds a "<" has a name part,
// from the first "<" to the first ">", shown bold in the colour that the
// text's first character names; the rest after the first ">" (the whole text
// when there is no ">") is the message line.
struct ChatTextParts {
    bool hasName = false;
    int colourIndex = 12;  // the leading digit; 12 ("Yellow") for anything else
    QString name;          // "<" + nickname + ">", or empty when ">" is missing or comes first
    QString message;

    // The sender's nickname: the name part without its brackets.
    QString sender() const { return name.isEmpty() ? QString() : name.mid(1, name.size() - 2); }
};

ChatTextParts SplitChatText(const QString &text);

// A text that the chat view shows, as the features beside the chat hear of it.
struct ShownText {
    enum class Kind {
        Start,     // the line a chat starts with
        End,       // the line a chat ends with
        ChatLine,  // somebody's chat line
        Notice,    // what the program or the host says
        Arrival,   // a guest came
        Departure, // a guest or participant left
        Private,   // a private message, kept in the history only: never in the chat view
    };
    Kind kind = Kind::Notice;
    // As received, or as the code page writes a text of our own.
    QByteArray bytes;
    // As the view shows it.
    QString text;
    // It came from a peer, as it stands.
    bool received = false;
    // What the view shows of it: the name part, of the sender in a colour, and the message.
    ChatTextParts parts;
};


// The text with each control character (codes 0 to 31, and 127) shown as a
// visible mark (U+2400 to U+241F, U+2421): a text from a peer never breaks a
// line or hides a part of itself where people read it.
QString WithVisibleControls(QString text);

// Where a text holds emoji, as (start, length) runs in UTF-16 units: a
// character drawn as emoji by default, or one made emoji by the variation
// selector after it, with what joins or modifies it (zero-width joiners,
// skin tones, selectors). Desktop fonts draw many emoji in one colour, so
// the view draws these runs with a colour emoji font.
struct TextRun {
    qsizetype start = 0;
    qsizetype length = 0;
    bool operator==(const TextRun &) const = default;
};
QList<TextRun> EmojiRuns(const QString &text);

class QTime;

// The time of day as the system's long time format writes it, without a time zone.
QString LongTimeOfDay(const QTime &time);
