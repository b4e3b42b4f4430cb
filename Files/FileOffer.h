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
struct FileOffer {
    struct File {
        QStringList path; // safe names, the file's last
        qint64 size = 0;
        QByteArray sha256; // 32 bytes
    };
    // Sizes beyond any disk (and beyond what a qint64 sum of many holds) are no offer.
    static constexpr qint64 kLargestSize = qint64(1) << 50;
    static constexpr int kMostFiles = 100'000;

    QString id;
    QList<File> files;

    qint64 totalSize() const;
    QByteArray text() const;
    // An offer only when every line is sound: an id, sizes from 0 to
    // kLargestSize (in all too), a whole hash, and paths of safe names.
    static std::optional<FileOffer> fromText(const QByteArray &text);
};
