#include "PrivateStore.h"

#include "FileWriting.h"

#include <QFile>

#include <utility>

namespace {

constexpr qint64 kLongestFile = 16 * 1024 * 1024;

QByteArray Field(const QString &text)
{
    return text.toUtf8().toPercentEncoding();
}

QString Unfield(const QByteArray &field)
{
    return QString::fromUtf8(QByteArray::fromPercentEncoding(field));
}

QByteArray CameKey(const QByteArray &key, const QString &id)
{
    return key.toHex() + ' ' + id.toLatin1();
}

} // namespace

PrivateStore::PrivateStore(QString path) : path(std::move(path))
{
    load();
}

// Lines, their fields apart by blanks, texts percent-encoded:
//   W ms key-hex id name text host-hex   a message that waits
//   C ms key-hex id             a message that came
//   K key-hex name              the key last seen for a name
void PrivateStore::load()
{
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
        return;
    const qint64 oldest = QDateTime::currentMSecsSinceEpoch() - kKeptForMs;
    for (const QByteArray &line : file.read(kLongestFile).split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        const QByteArray kind = fields.value(0);
        if (kind == "K" && fields.size() == 3) {
            keys.insert(Unfield(fields[2]), QByteArray::fromHex(fields[1]));
            continue;
        }
        const qint64 at = fields.value(1).toLongLong();
        if (at < oldest)
            continue;
        if (kind == "W" && fields.size() == 7)
            waiting << Waiting{QByteArray::fromHex(fields[2]), Unfield(fields[4]), QString::fromLatin1(fields[3]),
                               Unfield(fields[5]), QDateTime::fromMSecsSinceEpoch(at), QByteArray::fromHex(fields[6])};
        else if (kind == "C" && fields.size() == 4)
            came.insert(fields[2] + ' ' + fields[3], at);
    }
}

void PrivateStore::save() const
{
    if (path.isEmpty())
        return;
    QByteArray bytes;
    for (const Waiting &message : waiting)
        bytes += "W " + QByteArray::number(message.written.toMSecsSinceEpoch()) + ' ' + message.key.toHex() + ' '
                 + message.id.toLatin1() + ' ' + Field(message.name) + ' ' + Field(message.text) + ' '
                 + message.host.toHex() + '\n';
    for (auto entry = came.cbegin(); entry != came.cend(); ++entry)
        bytes += "C " + QByteArray::number(entry.value()) + ' ' + entry.key() + '\n';
    for (auto entry = keys.cbegin(); entry != keys.cend(); ++entry)
        bytes += "K " + entry.value().toHex() + ' ' + Field(entry.key()) + '\n';
    MakeFolderFor(path);
    WriteWholeFile(path, bytes, FileAccess::Private);
}

void PrivateStore::add(const Waiting &message)
{
    waiting << message;
    save();
}

bool PrivateStore::remove(const QString &id)
{
    if (waiting.removeIf([&id](const Waiting &message) { return message.id == id; }) == 0)
        return false;
    save();
    return true;
}

bool PrivateStore::cameBefore(const QByteArray &key, const QString &id)
{
    const QByteArray entry = CameKey(key, id);
    if (came.contains(entry))
        return true;
    came.insert(entry, QDateTime::currentMSecsSinceEpoch());
    save();
    return false;
}

void PrivateStore::knowKey(const QString &name, const QByteArray &key)
{
    if (keys.value(name) == key)
        return;
    keys.insert(name, key);
    save();
}
