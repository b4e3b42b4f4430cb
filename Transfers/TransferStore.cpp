#include "TransferStore.h"

#include "FileOffer.h"
#include "FileWriting.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace TransferStore {

namespace {

constexpr qint64 kLongestFile = 64 * 1024 * 1024;

QJsonObject ToJson(const TransferRecord &record)
{
    QJsonArray modified, progress;
    for (const qint64 time : record.modified)
        modified << QString::number(time);
    for (auto part = record.progress.cbegin(); part != record.progress.cend(); ++part)
        progress << QJsonArray{part.key(), part->first, QString::number(part->second)};
    return QJsonObject{{"id", record.id},
                       {"sending", record.sending},
                       {"peerKey", QString::fromLatin1(record.peerKey.toHex())},
                       {"peerName", record.peerName},
                       {"offer", QString::fromUtf8(record.offer)},
                       {"sources", QJsonArray::fromStringList(record.sources)},
                       {"modified", modified},
                       {"folder", record.folder},
                       {"progress", progress},
                       {"paused", record.state == TransferRecord::State::Paused},
                       {"accepted", record.state != TransferRecord::State::Offered},
                       {"created", QString::number(record.created)}};
}

std::optional<TransferRecord> FromJson(const QJsonObject &json)
{
    TransferRecord record;
    record.id = json.value("id").toString();
    record.sending = json.value("sending").toBool();
    record.peerKey = QByteArray::fromHex(json.value("peerKey").toString().toLatin1());
    record.peerName = json.value("peerName").toString();
    record.offer = json.value("offer").toString().toUtf8();
    record.sources = json.value("sources").toVariant().toStringList();
    for (const QJsonValue &time : json.value("modified").toArray())
        record.modified << time.toString().toLongLong();
    record.folder = json.value("folder").toString();
    for (const QJsonValue &value : json.value("progress").toArray()) {
        const QJsonArray part = value.toArray();
        record.progress.insert(part.at(0).toInt(), {part.at(1).toString(), part.at(2).toString().toLongLong()});
    }
    record.state = json.value("paused").toBool()     ? TransferRecord::State::Paused
                   : json.value("accepted").toBool() ? TransferRecord::State::Going
                                                     : TransferRecord::State::Offered;
    record.created = json.value("created").toString().toLongLong();
    const std::optional<FileOffer> offer = FileOffer::fromText(record.offer);
    // Only a record that can go on: its offer sound and its own, its files there to send.
    if (!offer || offer->id != record.id || record.peerKey.isEmpty()
        || (record.sending && (record.sources.size() != offer->files.size() || record.modified.size() != record.sources.size())))
        return std::nullopt;
    for (const QPair<QString, qint64> &part : std::as_const(record.progress))
        record.done += part.second;
    return record;
}

} // namespace

QList<TransferRecord> load(const QString &path, qint64 now)
{
    QFile file(path);
    QList<TransferRecord> records;
    if (!file.open(QIODevice::ReadOnly))
        return records;
    for (const QJsonValue &value : QJsonDocument::fromJson(file.read(kLongestFile)).array()) {
        const std::optional<TransferRecord> record = FromJson(value.toObject());
        if (record && now - record->created < kKeptForMs && record->created <= now)
            records << *record;
    }
    return records;
}

bool save(const QString &path, const QList<TransferRecord> &records)
{
    QJsonArray kept;
    for (const TransferRecord &record : records)
        if (!record.finished())
            kept << ToJson(record);
    return WriteWholeFile(path, QJsonDocument(kept).toJson(QJsonDocument::Compact), FileAccess::Private);
}

} // namespace TransferStore
