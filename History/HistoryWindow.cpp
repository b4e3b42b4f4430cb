#include "HistoryWindow.h"

#include "ChatText.h"
#include "ChatViewLook.h"
#include "FileChoice.h"
#include "FileWriting.h"
#include "Prompts.h"
#include "Transcript.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSplitter>
#include <QTextBlock>
#include <QTextCursor>
#include <QVBoxLayout>

namespace {

constexpr int kChatRole = Qt::UserRole;
constexpr int kTextRole = Qt::UserRole + 1;

QString TimeText(const QDateTime &time)
{
    return time.toString(QStringLiteral("yyyy-MM-dd HH:mm"));
}

QString HostOf(const KeptChat &chat)
{
    return chat.port ? QStringLiteral("%1:%2").arg(chat.host).arg(chat.port) : chat.host;
}

// A hit's snippet without the colour digit a chat line starts with.
QString SnippetShown(const KeptText &hit)
{
    const bool colourDigit = hit.kind == int(ShownText::Kind::ChatLine) && !hit.snippet.isEmpty() && hit.snippet[0].isDigit();
    return WithVisibleControls(colourDigit ? hit.snippet.mid(1) : hit.snippet);
}

// A text as the view shows it: control characters as visible marks.
ChatTextParts ShownParts(const QString &text)
{
    ChatTextParts parts = SplitChatText(text);
    parts.name = WithVisibleControls(parts.name);
    parts.message = WithVisibleControls(parts.message);
    return parts;
}

} // namespace

HistoryWindow::HistoryWindow(HistoryStore &store, Prompts &prompts, const CodePage &codePage, const QString &folder)
    : store(store), prompts(prompts), codePage(codePage), folder(folder)
{
    setWindowTitle(tr("Vanu History"));
    resize(760, 480);
    search = new QLineEdit(this);
    search->setPlaceholderText(tr("Search all chats"));
    search->setClearButtonEnabled(true);
    found = new QListWidget(this);
    found->setUniformItemSizes(true);
    view = new QPlainTextEdit(this);
    view->setReadOnly(true);
    view->setUndoRedoEnabled(false);
    StyleChatView(*view);
    search->setAccessibleName(tr("Search all chats"));
    search->setAccessibleDescription(tr("Every kept line with all the words typed here is listed below"));
    found->setAccessibleName(tr("Chats and lines found"));
    view->setAccessibleName(tr("Chat kept in the history"));
    saveAs = new QPushButton(tr("Save &As..."), this);
    deleteChat = new QPushButton(tr("&Delete chat"), this);
    clearHistory = new QPushButton(tr("C&lear history"), this);

    auto *left = new QWidget(this);
    auto *leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    leftLayout->addWidget(search);
    leftLayout->addWidget(found, 1);
    auto *splitter = new QSplitter(this);
    splitter->addWidget(left);
    splitter->addWidget(view);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({320, 440});
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(saveAs);
    buttons->addWidget(deleteChat);
    buttons->addStretch(1);
    buttons->addWidget(clearHistory);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(splitter, 1);
    layout->addLayout(buttons);

    searchPause.setSingleShot(true);
    searchPause.setInterval(kSearchPauseMs);
    connect(search, &QLineEdit::textChanged, &searchPause, qOverload<>(&QTimer::start));
    connect(&searchPause, &QTimer::timeout, this, &HistoryWindow::List);
    connect(found, &QListWidget::currentItemChanged, this, [this](const QListWidgetItem *entry) { Show(entry); });
    connect(saveAs, &QPushButton::clicked, this, &HistoryWindow::SaveAsClick);
    connect(deleteChat, &QPushButton::clicked, this, &HistoryWindow::DeleteChatClick);
    connect(clearHistory, &QPushButton::clicked, this, &HistoryWindow::ClearHistoryClick);
}

void HistoryWindow::ShowHistory()
{
    List();
    show();
    raise();
    activateWindow();
    search->setFocus();
}

QString HistoryWindow::ChatTitle(const KeptChat &chat) const
{
    return QStringLiteral("%1  %2  %3").arg(TimeText(chat.started), HostOf(chat), chat.names.join(QStringLiteral(", ")));
}

void HistoryWindow::List()
{
    searchPause.stop();
    titles.clear();
    hosts.clear();
    const QList<KeptChat> chats = store.Chats();
    for (const KeptChat &chat : chats) {
        titles.insert(chat.id, ChatTitle(chat));
        hosts.insert(chat.id, HostOf(chat));
    }
    const QString words = search->text().trimmed();
    if (words.isEmpty()) {
        found->clear();
        for (const KeptChat &chat : chats) {
            auto *entry = new QListWidgetItem(tr("%1  (%n lines)", nullptr, chat.lines).arg(titles.value(chat.id)),
                                              found);
            entry->setData(kChatRole, chat.id);
        }
    } else {
        ListHits(words);
    }
    view->clear();
}

void HistoryWindow::ListHits(const QString &words)
{
    found->clear();
    for (const KeptText &hit : store.Search(words)) {
        auto *entry = new QListWidgetItem(
            QStringLiteral("%1  %2\n    %3").arg(TimeText(hit.at), hosts.value(hit.chat), SnippetShown(hit)), found);
        entry->setData(kChatRole, hit.chat);
        entry->setData(kTextRole, hit.id);
    }
}

void HistoryWindow::Show(const QListWidgetItem *entry)
{
    view->clear();
    if (!entry)
        return;
    const qint64 chat = entry->data(kChatRole).toLongLong();
    const qint64 hitText = entry->data(kTextRole).toLongLong();
    QTextCursor cursor(view->document());
    int hitBlock = -1;
    int hitBlocks = 0; // its name's block and its message's
    bool first = true;
    for (const KeptText &text : store.TextsOf(chat)) {
        const int before = first ? 0 : view->document()->blockCount();
        AppendChatParts(cursor, ShownParts(text.shown), first);
        if (text.id == hitText) {
            hitBlock = before;
            hitBlocks = view->document()->blockCount() - before;
        }
        first = false;
    }
    QTextCursor at(view->document()->findBlockByNumber(std::max(hitBlock, 0)));
    if (hitBlock >= 0)
        at.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    view->setTextCursor(at);
    view->centerCursor();
    QList<QTextEdit::ExtraSelection> marks;
    for (int block = hitBlock; hitBlock >= 0 && block < hitBlock + hitBlocks; ++block)
        MarkSearchedWords(view->document()->findBlockByNumber(block), marks);
    view->setExtraSelections(marks);
}

void HistoryWindow::MarkSearchedWords(const QTextBlock &hit, QList<QTextEdit::ExtraSelection> &marks) const
{
    const QString line = hit.text();
    for (const QString &word : search->text().split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts)) {
        for (qsizetype at = line.indexOf(word, 0, Qt::CaseInsensitive); at >= 0;
             at = line.indexOf(word, at + word.size(), Qt::CaseInsensitive)) {
            if (at > 0 && line[at - 1].isLetterOrNumber())
                continue; // inside a word: the search matches words and their starts only
            qsizetype end = at + word.size(); // a word's start finds the whole word
            while (end < line.size() && line[end].isLetterOrNumber())
                ++end;
            QTextEdit::ExtraSelection mark;
            mark.cursor = QTextCursor(hit);
            mark.cursor.setPosition(hit.position() + int(at));
            mark.cursor.setPosition(hit.position() + int(end), QTextCursor::KeepAnchor);
            mark.format.setBackground(view->palette().color(QPalette::Highlight));
            mark.format.setForeground(view->palette().color(QPalette::HighlightedText));
            marks << mark;
        }
    }
}

QStringList HistoryWindow::LinesOf(qint64 chat)
{
    QStringList lines;
    for (const KeptText &text : store.TextsOf(chat)) {
        const ChatTextParts parts = ShownParts(text.shown);
        if (parts.hasName)
            lines << parts.name;
        lines << parts.message;
    }
    return lines;
}

qint64 HistoryWindow::ChosenChat() const
{
    return found->currentItem() ? found->currentItem()->data(kChatRole).toLongLong() : 0;
}

void HistoryWindow::SaveAsClick()
{
    const qint64 chat = ChosenChat();
    if (chat == 0)
        return;
    FileDialogRequest request;
    request.title = tr("Save File");
    request.folder = folder;
    request.filter = TranscriptFilters();
    request.fileName = ProposeDirChatName(folder);
    const QString path = ChooseFileToWrite(prompts, request, WithTxtExtension);
    const TextEncoding encoding = TranscriptEncodingOf(request.filterIndex);
    if (!path.isEmpty() && !WriteWholeFile(path, TranscriptBytes(LinesOf(chat), codePage, encoding)))
        prompts.ShowError(tr("Cannot create file %1").arg(path));
}

void HistoryWindow::DeleteChatClick()
{
    const qint64 chat = ChosenChat();
    if (chat == 0 || !prompts.Confirm(tr("Delete the chat of %1 from the history?").arg(titles.value(chat))))
        return;
    if (!store.DeleteChat(chat))
        prompts.ShowError(store.LastError());
    List();
}

void HistoryWindow::ClearHistoryClick()
{
    if (!prompts.Confirm(tr("Delete every chat in the history?")))
        return;
    if (!store.Clear())
        prompts.ShowError(store.LastError());
    List();
}
