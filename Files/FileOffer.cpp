#include "FileOffer.h"

#include "FileNames.h"
#include "Sha256.h"

#include <algorithm>
#include <cctype>

namespace {

constexpr int kHashSize = 32;

bool IsHex(const QByteArray &text, qsizetype most)
{
    return !text.isEmpty() && text.size() <= most
           && std::all_of(text.cbegin(), text.cend(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); });
}

} // namespace

qint64 FileOffer::totalSize() const
{
    if (summaryOf)
        return summaryOf->total;
    qint64 total = 0;
    for (const File &file : files)
        total += file.size;
    return total;
}

int FileOffer::fileCount() const
{
    return summaryOf ? summaryOf->count : int(files.size());
}

QByteArray FileOffer::text() const
{
    QByteArray text = id.toLatin1() + '\n';
    if (summaryOf)
        text += "*\t" + QByteArray::number(summaryOf->count) + '\t' + QByteArray::number(summaryOf->total) + '\t'
                + summaryOf->wholeSha256.toHex() + '\n';
    for (const File &file : files)
        text += QByteArray::number(file.size) + '\t' + file.sha256.toHex() + '\t' + file.path.join('/').toUtf8() + '\n';
    return text;
}

QByteArray FileOffer::chatText() const
{
    const QByteArray whole = text();
    if (whole.size() <= kLongestOnChat || summaryOf)
        return whole;
    FileOffer summary;
    summary.id = id;
    summary.summaryOf = Summary{int(files.size()), totalSize(), Sha256::of(whole)};
    for (const File &file : files) {
        if (summary.text().size() > kLongestOnChat / 2)
            break;
        summary.files << file;
    }
    return summary.text();
}

bool FileOffer::summarises(const FileOffer &whole) const
{
    return summaryOf && !whole.summaryOf && whole.id == id && Sha256::of(whole.text()) == summaryOf->wholeSha256;
}

std::optional<FileOffer> FileOffer::fromText(const QByteArray &text)
{
    QList<QByteArray> lines = text.split('\n');
    if (lines.size() < 2 || !IsHex(lines.constFirst(), 32))
        return std::nullopt;
    FileOffer offer;
    offer.id = QString::fromLatin1(lines.takeFirst());
    if (lines.constFirst().startsWith("*\t")) {
        const QList<QByteArray> fields = lines.takeFirst().split('\t');
        bool countRead = false, totalRead = false;
        Summary summary{fields.value(1).toInt(&countRead), fields.value(2).toLongLong(&totalRead),
                        QByteArray::fromHex(fields.value(3))};
        if (fields.size() != 4 || !countRead || !totalRead || summary.count < 1 || summary.count > kMostFiles
            || summary.total < 0 || summary.total > kLargestSize || summary.wholeSha256.size() != kHashSize
            || fields[3].size() != 2 * kHashSize)
            return std::nullopt;
        offer.summaryOf = summary;
    }
    if (lines.constLast().isEmpty())
        lines.removeLast();
    if (lines.isEmpty() || lines.size() > kMostFiles || (offer.summaryOf && lines.size() > offer.summaryOf->count))
        return std::nullopt;
    qint64 total = 0;
    for (const QByteArray &line : std::as_const(lines)) {
        const QList<QByteArray> fields = line.split('\t');
        if (fields.size() != 3 || fields[0].startsWith('-') || fields[0].startsWith('+'))
            return std::nullopt;
        bool number = false;
        File file;
        file.size = fields[0].toLongLong(&number);
        file.sha256 = QByteArray::fromHex(fields[1]);
        const std::optional<QStringList> path = FileNames::safePath(QString::fromUtf8(fields[2]));
        if (!number || file.size < 0 || file.size > kLargestSize || fields[1].size() != 2 * kHashSize
            || file.sha256.size() != kHashSize || !path)
            return std::nullopt;
        total += file.size;
        if (total > kLargestSize)
            return std::nullopt;
        file.path = *path;
        offer.files << file;
    }
    return offer;
}
