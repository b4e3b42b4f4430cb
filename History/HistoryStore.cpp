#include "HistoryStore.h"

#include "FileWriting.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QUuid>

#include <sqlite3.h>

namespace {

constexpr int kBusyWaitMs = 2000; // another copy of the program writing
constexpr int kSnippetWords = 10;

const char *const kSchema[] = {
    "CREATE TABLE IF NOT EXISTS chats(id INTEGER PRIMARY KEY, hosted INTEGER NOT NULL, host TEXT, port INTEGER,"
    " nickname TEXT, started INTEGER NOT NULL, ended INTEGER, names TEXT)",
    "CREATE TABLE IF NOT EXISTS texts(id INTEGER PRIMARY KEY, chat INTEGER NOT NULL REFERENCES chats(id)"
    " ON DELETE CASCADE, at INTEGER NOT NULL, kind INTEGER NOT NULL, name TEXT, colour INTEGER, bytes BLOB,"
    " shown TEXT NOT NULL)",
    "CREATE INDEX IF NOT EXISTS texts_of_chat ON texts(chat, id)",
    "CREATE VIRTUAL TABLE IF NOT EXISTS texts_index USING fts5(shown, content='texts', content_rowid='id',"
    " tokenize='unicode61 remove_diacritics 2', detail=none)",
    // Texts are indexed by AddTexts, all of a transaction at once: a
    // trigger that indexes each text as it is inserted costs eight times more.
    "DROP TRIGGER IF EXISTS texts_indexed",
    "CREATE TRIGGER IF NOT EXISTS texts_unindexed AFTER DELETE ON texts BEGIN"
    " INSERT INTO texts_index(texts_index, rowid, shown) VALUES ('delete', old.id, old.shown); END",
};

qint64 Ms(const QDateTime &time)
{
    return time.isValid() ? time.toMSecsSinceEpoch() : 0;
}

QDateTime TimeOf(const QVariant &ms)
{
    return ms.isNull() || ms.toLongLong() == 0 ? QDateTime() : QDateTime::fromMSecsSinceEpoch(ms.toLongLong());
}

// The words as a full-text query: each a quoted word, also as a prefix.
QString MatchOf(const QString &words)
{
    QStringList terms;
    for (QString word : words.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts)) {
        word.replace(QLatin1Char('"'), QLatin1String("\"\""));
        terms << QLatin1Char('"') + word + QStringLiteral("\"*");
    }
    return terms.join(QLatin1Char(' '));
}

KeptText TextOf(const QSqlQuery &query)
{
    KeptText text;
    text.id = query.value(0).toLongLong();
    text.chat = query.value(1).toLongLong();
    text.at = TimeOf(query.value(2));
    text.kind = query.value(3).toInt();
    text.name = query.value(4).toString();
    text.colour = query.value(5).isNull() ? -1 : query.value(5).toInt();
    text.bytes = query.value(6).toByteArray();
    text.shown = query.value(7).toString();
    return text;
}

bool InsertText(sqlite3_stmt *insert, const KeptText &text)
{
    sqlite3_bind_int64(insert, 1, text.chat);
    sqlite3_bind_int64(insert, 2, Ms(text.at));
    sqlite3_bind_int(insert, 3, text.kind);
    if (text.name.isEmpty())
        sqlite3_bind_null(insert, 4);
    else
        sqlite3_bind_text16(insert, 4, text.name.utf16(), int(text.name.size() * 2), SQLITE_STATIC);
    if (text.colour < 0)
        sqlite3_bind_null(insert, 5);
    else
        sqlite3_bind_int(insert, 5, text.colour);
    sqlite3_bind_blob(insert, 6, text.bytes.constData(), int(text.bytes.size()), SQLITE_STATIC);
    sqlite3_bind_text16(insert, 7, text.shown.utf16(), int(text.shown.size() * 2), SQLITE_STATIC);
    const bool done = sqlite3_step(insert) == SQLITE_DONE;
    sqlite3_reset(insert); // the error, if any, stays for sqlite3_errmsg
    return done;
}

const QString kTextColumns = QStringLiteral("texts.id, chat, at, kind, name, colour, bytes, texts.shown");

} // namespace

HistoryStore::HistoryStore() : connection(QStringLiteral("history-") + QUuid::createUuid().toString()) { }

HistoryStore::~HistoryStore()
{
    database.close();
    database = QSqlDatabase();
    QSqlDatabase::removeDatabase(connection);
}

QString HistoryStore::DefaultPath()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        .filePath(QStringLiteral("Vanu/history.sqlite"));
}

bool HistoryStore::Open(const QString &path)
{
    damagedCopy.clear();
    const QString folder = QFileInfo(path).absolutePath();
    MakeFolderFor(path);
    if (QFileInfo(path).isSymLink())
        return Fail(QStringLiteral("Cannot open %1: it is a symbolic link").arg(path));
    // The file is never opened here but by SQLite: closing a descriptor of a
    // file drops every lock this process holds on it, SQLite's own included,
    // and another reader would then take this copy's log for nobody's and
    // delete it. A new file is made private before SQLite has it (its
    // journals take its mode).
    KeepPrivateWithJournals(path);
    if (OpenFile(path) && IsSound())
        return true;
    if (!QFileInfo(path).isWritable() || !QFileInfo(folder).isWritable())
        return false; // not damaged, only out of reach
    database.close();
    SetAside(path);
    return OpenFile(path) && IsSound();
}

void HistoryStore::KeepPrivateWithJournals(const QString &path)
{
    KeepPrivate(path);
    for (const char *journal : {"-wal", "-shm"})
        KeepPrivate(path + QLatin1String(journal), MissingFile::Leave);
}

bool HistoryStore::OpenFile(const QString &path)
{
    database.close();
    database = QSqlDatabase::contains(connection) ? QSqlDatabase::database(connection, false)
                                                   : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
    database.setDatabaseName(path);
    database.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyWaitMs));
    if (!database.open())
        return Fail(database.lastError().text());
    if (!Exec(QStringLiteral("PRAGMA journal_mode=WAL")) || !Exec(QStringLiteral("PRAGMA synchronous=NORMAL"))
        || !Exec(QStringLiteral("PRAGMA foreign_keys=ON")))
        return false;
    for (const char *statement : kSchema)
        if (!Exec(QString::fromLatin1(statement)))
            return false;
    return true;
}

bool HistoryStore::IsSound()
{
    QSqlQuery check(database);
    return check.exec(QStringLiteral("PRAGMA quick_check")) && check.next()
           && check.value(0).toString() == QLatin1String("ok");
}

void HistoryStore::SetAside(const QString &path)
{
    damagedCopy = path + QStringLiteral(".damaged-")
                  + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QFile::rename(path, damagedCopy);
    for (const char *journal : {"-wal", "-shm"})
        QFile::rename(path + QLatin1String(journal), damagedCopy + QLatin1String(journal));
    KeepPrivate(path);
}

bool HistoryStore::IsOpen() const
{
    return database.isOpen();
}

bool HistoryStore::Exec(const QString &statement)
{
    QSqlQuery query(database);
    return query.exec(statement) || Fail(query.lastError().text());
}

bool HistoryStore::Undo(const QString &why)
{
    database.rollback();
    return Fail(why);
}

bool HistoryStore::Fail(const QString &what)
{
    lastError = what;
    return false;
}

qint64 HistoryStore::StartChat(const KeptChat &chat)
{
    QSqlQuery query(database);
    query.prepare(QStringLiteral("INSERT INTO chats(hosted, host, port, nickname, started, names)"
                                 " VALUES (?, ?, ?, ?, ?, ?)"));
    query.addBindValue(chat.hosted ? 1 : 0);
    query.addBindValue(chat.host);
    query.addBindValue(chat.port);
    query.addBindValue(chat.nickname);
    query.addBindValue(Ms(chat.started));
    query.addBindValue(chat.names.join(QLatin1Char('\n')));
    if (!query.exec()) {
        Fail(query.lastError().text());
        return 0;
    }
    return query.lastInsertId().toLongLong();
}

bool HistoryStore::EndChat(qint64 chat, const QDateTime &at, const QStringList &names)
{
    QSqlQuery query(database);
    query.prepare(QStringLiteral("UPDATE chats SET ended = ?, names = ? WHERE id = ?"));
    query.addBindValue(Ms(at));
    query.addBindValue(names.join(QLatin1Char('\n')));
    query.addBindValue(chat);
    return query.exec() || Fail(query.lastError().text());
}

bool HistoryStore::SetNames(qint64 chat, const QStringList &names)
{
    QSqlQuery query(database);
    query.prepare(QStringLiteral("UPDATE chats SET names = ? WHERE id = ?"));
    query.addBindValue(names.join(QLatin1Char('\n')));
    query.addBindValue(chat);
    return query.exec() || Fail(query.lastError().text());
}

bool HistoryStore::AddTexts(const QList<KeptText> &texts)
{
    if (texts.isEmpty())
        return true;
    sqlite3 *handle = Handle();
    if (handle == nullptr)
        return Fail(QStringLiteral("The history is not open."));
    if (!database.transaction())
        return Fail(database.lastError().text());
    // Through SQLite's own calls: binding each value through Qt costs more
    // than the insert itself, and a flood brings tens of thousands a second.
    sqlite3_stmt *insert = nullptr;
    sqlite3_prepare_v2(handle, "INSERT INTO texts(chat, at, kind, name, colour, bytes, shown) VALUES (?, ?, ?, ?, ?, ?, ?)",
                       -1, &insert, nullptr);
    const auto finish = qScopeGuard([insert] { sqlite3_finalize(insert); });
    qint64 first = 0; // the ids of one transaction follow each other: no other copy writes in between
    for (const KeptText &text : texts) {
        if (insert == nullptr || !InsertText(insert, text))
            return Undo(QString::fromUtf8(sqlite3_errmsg(handle)));
        if (first == 0)
            first = sqlite3_last_insert_rowid(handle);
    }
    QSqlQuery indexing(database);
    indexing.prepare(QStringLiteral("INSERT INTO texts_index(rowid, shown) SELECT id, shown FROM texts WHERE id >= ?"));
    indexing.addBindValue(first);
    if (!indexing.exec())
        return Undo(indexing.lastError().text());
    return database.commit() || Undo(database.lastError().text());
}

sqlite3 *HistoryStore::Handle() const
{
    const QVariant handle = database.driver() ? database.driver()->handle() : QVariant();
    return handle.isValid() && qstrcmp(handle.typeName(), "sqlite3*") == 0 ? *static_cast<sqlite3 *const *>(handle.data())
                                                                           : nullptr;
}

QList<KeptChat> HistoryStore::Chats()
{
    QList<KeptChat> chats;
    QSqlQuery query(database);
    if (!query.exec(QStringLiteral("SELECT id, hosted, host, port, nickname, started, ended, names,"
                                   " (SELECT count(*) FROM texts WHERE texts.chat = chats.id)"
                                   " FROM chats ORDER BY started DESC, id DESC"))) {
        Fail(query.lastError().text());
        return chats;
    }
    while (query.next()) {
        KeptChat chat;
        chat.id = query.value(0).toLongLong();
        chat.hosted = query.value(1).toInt() != 0;
        chat.host = query.value(2).toString();
        chat.port = query.value(3).toInt();
        chat.nickname = query.value(4).toString();
        chat.started = TimeOf(query.value(5));
        chat.ended = TimeOf(query.value(6));
        chat.names = query.value(7).toString().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        chat.lines = query.value(8).toInt();
        chats << chat;
    }
    return chats;
}

QList<KeptText> HistoryStore::Texts(const QString &statement, const QVariant &value)
{
    QList<KeptText> texts;
    QSqlQuery query(database);
    query.prepare(statement.arg(kTextColumns));
    query.addBindValue(value);
    if (!query.exec())
        Fail(query.lastError().text());
    while (query.next())
        texts << TextOf(query);
    return texts;
}

QList<KeptText> HistoryStore::TextsOf(qint64 chat)
{
    return Texts(QStringLiteral("SELECT %1 FROM texts WHERE chat = ? ORDER BY id"), chat);
}

QList<KeptText> HistoryStore::Search(const QString &words, int most)
{
    QList<KeptText> hits;
    const QString match = MatchOf(words);
    if (match.isEmpty())
        return hits;
    QSqlQuery query(database);
    query.prepare(QStringLiteral("SELECT %1, snippet(texts_index, 0, '[', ']', '…', %2) FROM texts_index"
                                 " JOIN texts ON texts.id = texts_index.rowid WHERE texts_index MATCH ?"
                                 " ORDER BY texts.id DESC LIMIT ?")
                      .arg(kTextColumns)
                      .arg(kSnippetWords));
    query.addBindValue(match);
    query.addBindValue(most);
    if (!query.exec())
        Fail(query.lastError().text());
    while (query.next()) {
        KeptText hit = TextOf(query);
        hit.snippet = query.value(8).toString();
        hits << hit;
    }
    return hits;
}

QList<KeptText> HistoryStore::LastTexts(int count)
{
    return Texts(QStringLiteral("SELECT * FROM (SELECT %1 FROM texts ORDER BY id DESC LIMIT ?) ORDER BY 1"), count);
}

bool HistoryStore::DeleteChat(qint64 chat)
{
    QSqlQuery query(database);
    query.prepare(QStringLiteral("DELETE FROM chats WHERE id = ?"));
    query.addBindValue(chat);
    return query.exec() || Fail(query.lastError().text());
}

bool HistoryStore::Clear()
{
    return Exec(QStringLiteral("DELETE FROM chats"));
}

bool HistoryStore::DeleteChatsBefore(const QDateTime &time)
{
    QSqlQuery query(database);
    query.prepare(QStringLiteral("DELETE FROM chats WHERE coalesce(ended, started) < ?"));
    query.addBindValue(Ms(time));
    return query.exec() || Fail(query.lastError().text());
}

qint64 HistoryStore::UsedBytes()
{
    QSqlQuery query(database);
    if (!query.exec(QStringLiteral("SELECT ((SELECT page_count FROM pragma_page_count())"
                                   " - (SELECT freelist_count FROM pragma_freelist_count()))"
                                   " * (SELECT page_size FROM pragma_page_size())"))
        || !query.next()) {
        Fail(query.lastError().text());
        return 0;
    }
    return query.value(0).toLongLong();
}

bool HistoryStore::KeepWithin(qint64 largest, qint64 current)
{
    bool deleted = false;
    while (UsedBytes() > largest) {
        QSqlQuery oldest(database);
        oldest.prepare(QStringLiteral("SELECT id FROM chats WHERE id != ? ORDER BY ended IS NULL, started, id LIMIT 1"));
        oldest.addBindValue(current);
        if (!oldest.exec())
            return Fail(oldest.lastError().text()) || deleted;
        if (oldest.next()) {
            if (!DeleteChat(oldest.value(0).toLongLong()))
                return deleted;
        } else {
            // The chat that goes on is all there is: its oldest quarter goes.
            QSqlQuery texts(database);
            texts.prepare(QStringLiteral("DELETE FROM texts WHERE id IN (SELECT id FROM texts WHERE chat = ?"
                                         " ORDER BY id LIMIT max(1, (SELECT count(*) FROM texts WHERE chat = ?) / 4))"));
            texts.addBindValue(current);
            texts.addBindValue(current);
            if (!texts.exec())
                return Fail(texts.lastError().text()) || deleted;
            if (texts.numRowsAffected() <= 0)
                return deleted; // nothing left to delete
        }
        deleted = true;
    }
    return deleted;
}
