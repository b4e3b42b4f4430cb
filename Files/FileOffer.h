#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// What a sender offers: files, each with the path it goes to beneath the
// receiver's chosen folder, its size and the SHA-256 of its whole content.
// Its text, in a frame: the offer's id (hex) on the first line, then a line
// for each file: size TAB sha256-hex TAB path ('/' between folders).
// An offer too long for one chat frame goes on the chat as its summary: a
// second line "*" TAB count TAB total size TAB the SHA-256 of the whole
// offer's text, then the lines of its first files. The whole offer follows
// on the transfer's own stream, where it must match that hash.
struct FileOffer {
    struct File {
        QStringList path; // safe names, the file's last
        qint64 size = 0;
        QByteArray sha256; // 32 bytes
    };
    // Sizes beyond any disk (and beyond what a qint64 sum of many holds) are no offer.
    static constexpr qint64 kLargestSize = qint64(1) << 50;
    static constexpr int kMostFiles = 100'000;
    // The longest text that goes on the chat whole.
    static constexpr qsizetype kLongestOnChat = 48 * 1024;

    QString id;
    QList<File> files; // of a summary: its first files only

    qint64 totalSize() const;
    int fileCount() const;
    QByteArray text() const;
    bool isSummary() const { return summaryOf.has_value(); }
    // What goes on the chat: the text, or the summary of a long one.
    QByteArray chatText() const;
    // Whether this is the summary of that whole offer.
    bool summarises(const FileOffer &whole) const;
    // An offer only when every line is sound: an id, sizes from 0 to
    // kLargestSize (in all too), a whole hash, and paths of safe names.
    static std::optional<FileOffer> fromText(const QByteArray &text);

private:
    struct Summary {
        int count = 0;
        qint64 total = 0;
        QByteArray wholeSha256;
    };
    std::optional<Summary> summaryOf;
};
