#include "HistoryPrint.h"

#include "HistoryStore.h"

#include <QFileInfo>
#include <QHash>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kLastLines = 50;

} // namespace

QStringList PrintedHistory(HistoryStore &store, const QString &words)
{
    QHash<qint64, QString> hosts;
    for (const KeptChat &chat : store.Chats())
        hosts.insert(chat.id, chat.port ? QStringLiteral("%1:%2").arg(chat.host).arg(chat.port) : chat.host);
    QList<KeptText> texts = words.trimmed().isEmpty() ? store.LastTexts(kLastLines) : store.Search(words, -1);
    std::sort(texts.begin(), texts.end(), [](const KeptText &a, const KeptText &b) { return a.id < b.id; });
    QStringList lines;
    for (const KeptText &text : texts)
        lines << QStringLiteral("%1  %2  %3")
                     .arg(text.at.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")), hosts.value(text.chat), text.shown);
    return lines;
}

int PrintHistory(const QString &words)
{
    const QString path = HistoryStore::DefaultPath();
    if (!QFileInfo::exists(path))
        return 0;
    HistoryStore store;
    if (!store.Open(path)) {
        std::fprintf(stderr, "%s\n", store.LastError().toLocal8Bit().constData());
        return 1;
    }
    for (const QString &line : PrintedHistory(store, words))
        std::printf("%s\n", line.toLocal8Bit().constData());
    return 0;
}
