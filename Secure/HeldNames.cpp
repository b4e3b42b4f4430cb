#include "HeldNames.h"

#include "FileWriting.h"
#include "NameMatching.h"

#include <QFile>

#include <algorithm>
#include <utility>

namespace {

constexpr qint64 kLongestFile = 1024 * 1024;
constexpr int kFingerprintSize = 32;

bool SameName(const QString &one, const QString &other)
{
    return NameMatching::Key(one) == NameMatching::Key(other);
}

} // namespace

HeldNames::HeldNames(QString path) : path(std::move(path)) { }

QList<HeldNames::Held> HeldNames::load() const
{
    QList<Held> entries;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return entries;
    for (const QByteArray &line : file.read(kLongestFile).split('\n')) {
        // A line that is not whole (a damaged file) holds nothing.
        const qsizetype firstBlank = line.indexOf(' ');
        const qsizetype secondBlank = line.indexOf(' ', firstBlank + 1);
        if (firstBlank < 0 || secondBlank < 0)
            continue;
        Held held;
        held.key = QByteArray::fromHex(line.left(firstBlank));
        bool number = false;
        held.lastSeenMs = line.mid(firstBlank + 1, secondBlank - firstBlank - 1).toLongLong(&number);
        held.name = QString::fromUtf8(line.mid(secondBlank + 1));
        if (number && held.key.size() == kFingerprintSize && !held.name.isEmpty())
            entries << held;
    }
    return entries;
}

void HeldNames::save(const QList<Held> &entries) const
{
    QByteArray bytes;
    for (const Held &held : entries)
        bytes += held.key.toHex() + ' ' + QByteArray::number(held.lastSeenMs) + ' ' + held.name.toUtf8() + '\n';
    WriteWholeFile(path, bytes, FileAccess::Private);
}

bool HeldNames::heldByAnother(const QString &name, const QByteArray &key, qint64 nowMs) const
{
    if (!holding)
        return false;
    const QList<Held> entries = held(nowMs);
    return std::any_of(entries.cbegin(), entries.cend(),
                       [&](const Held &held) { return held.key != key && SameName(held.name, name); });
}

void HeldNames::seen(const QString &name, const QByteArray &key, qint64 nowMs)
{
    if (!holding || key.isEmpty())
        return;
    QList<Held> entries = held(nowMs);
    entries.removeIf([&](const Held &held) { return held.key == key && SameName(held.name, name); });
    entries.prepend(Held{name, key, nowMs});
    save(entries);
}

QList<HeldNames::Held> HeldNames::held(qint64 nowMs) const
{
    QList<Held> entries = load();
    entries.removeIf([nowMs](const Held &held) { return nowMs - held.lastSeenMs > kHeldForMs; });
    std::stable_sort(entries.begin(), entries.end(),
                     [](const Held &one, const Held &other) { return one.lastSeenMs > other.lastSeenMs; });
    return entries;
}

void HeldNames::release(const QString &name)
{
    QList<Held> entries = load();
    if (entries.removeIf([&](const Held &held) { return SameName(held.name, name); }) > 0)
        save(entries);
}
