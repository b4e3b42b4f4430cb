#include "ConversationWindow.h"

#include "ChatFindBar.h"
#include "ChatViewLook.h"
#include "HostIdentity.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QEvent>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTextBlock>
#include <QTextCursor>
#include <QVBoxLayout>

namespace {

constexpr int kColourOfName = 12;

QTextCharFormat MarkFormat()
{
    QTextCharFormat format;
    format.setForeground(QColor(0xC0, 0xC0, 0xC0));
    format.setFontItalic(true);
    return format;
}

} // namespace

ConversationWindow::ConversationWindow(const QString &name, const QByteArray &key, const QString &ownName,
                                       QWidget *parent)
    : QWidget(parent, Qt::Window), personName(name), personKey(key), ownName(ownName)
{
    Travels = new QLabel;
    Travels->setWordWrap(true);
    Travels->setTextFormat(Qt::PlainText);
    Warning = new QLabel;
    Warning->setWordWrap(true);
    Warning->setTextFormat(Qt::PlainText);
    Warning->setStyleSheet(QStringLiteral("QLabel { background: #fff3cd; color: #664d03; padding: 4px; }"));
    Warning->hide();
    View = new QPlainTextEdit;
    View->setReadOnly(true);
    StyleChatView(*View);
    FindBar = new ChatFindBar(*View);
    FindBar->hide();
    Input = new QLineEdit;
    Input->setAccessibleName(tr("Private message to %1").arg(name));
    SendFile = new QPushButton(tr("Send &file..."));
    SendFile->setToolTip(tr("Send files to %1 (Ctrl+Shift+F), or drop them on this window").arg(name));
    SendFile->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F));
    connect(SendFile, &QPushButton::clicked, this, &ConversationWindow::sendFileAsked);
    cards = new QVBoxLayout;
    cards->setContentsMargins(0, 0, 0, 0);
    auto *writing = new QHBoxLayout;
    writing->addWidget(Input, 1);
    writing->addWidget(SendFile);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(Travels);
    layout->addWidget(Warning);
    layout->addWidget(View, 1);
    layout->addLayout(cards);
    layout->addWidget(FindBar);
    layout->addLayout(writing);
    setAcceptDrops(true);
    connect(Input, &QLineEdit::returnPressed, this, [this] {
        const QString text = Input->text();
        if (text.trimmed().isEmpty())
            return;
        Input->clear();
        emit written(text);
    });
    auto *find = new QShortcut(QKeySequence::Find, this);
    connect(find, &QShortcut::activated, FindBar, &ChatFindBar::Open);
    connect(FindBar, &ChatFindBar::closed, Input, [this] { Input->setFocus(); });
    resize(380, 300);
    showTitle();
}

void ConversationWindow::rename(const QString &name)
{
    personName = name;
    showTitle();
}

void ConversationWindow::showTitle()
{
    setWindowTitle(unreadCount > 0 ? tr("%1 (%2 new)").arg(personName).arg(unreadCount) : personName);
}

void ConversationWindow::setTravels(const QString &text, bool canWrite)
{
    Travels->setText(text);
    // What is written to somebody away waits in the outbox; to somebody
    // who can never take part, nothing can be written.
    Input->setEnabled(canWrite);
}

void ConversationWindow::addCard(QWidget *card)
{
    cards->addWidget(card);
}

void ConversationWindow::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasUrls() && SendFile->isEnabled())
        event->acceptProposedAction();
}

void ConversationWindow::dropEvent(QDropEvent *event)
{
    QStringList paths;
    for (const QUrl &url : event->mimeData()->urls())
        if (url.isLocalFile())
            paths << url.toLocalFile();
    if (!paths.isEmpty()) {
        event->acceptProposedAction();
        emit filesDropped(paths);
    }
}

void ConversationWindow::warnKeyChanged(const QByteArray &knownKey, const QByteArray &newKey)
{
    Warning->setText(tr("%1's key has changed since you last chatted. It was %2 and is now %3. If %1 did not make a "
                        "new key, someone else may be using the name: ask %1 in person.")
                         .arg(personName, FingerprintText(knownKey).left(19), FingerprintText(newKey).left(19)));
    Warning->show();
}

void ConversationWindow::append(const QString &sender, const QString &text, const QDateTime &at, const QString &mark)
{
    QTextCursor cursor(View->document());
    cursor.movePosition(QTextCursor::End);
    ChatTextParts parts;
    parts.hasName = true;
    parts.colourIndex = kColourOfName;
    parts.name = QLatin1Char('<') + sender + QLatin1Char('>');
    parts.message = at.toString(QStringLiteral("HH:mm")) + QStringLiteral("  ") + text;
    AppendChatParts(cursor, parts, std::exchange(first, false));
    if (!mark.isEmpty())
        cursor.insertText(mark, MarkFormat());
    View->ensureCursorVisible();
}

void ConversationWindow::showReceived(const QString &text, const QDateTime &at)
{
    append(personName, text, at, QString());
    if (!isActiveWindow())
        setUnread(unreadCount + 1);
}

void ConversationWindow::showWritten(const QString &id, const QString &text, const QDateTime &at)
{
    append(ownName, text, at, QString());
    QTextCursor end(View->document());
    end.movePosition(QTextCursor::End);
    marks.insert(id, end.position());
    end.insertText(tr("  (waiting)"), MarkFormat());
}

void ConversationWindow::markDelivered(const QString &id)
{
    const auto mark = marks.constFind(id);
    if (mark == marks.cend())
        return;
    QTextCursor cursor(View->document());
    cursor.setPosition(*mark);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    const int before = int(cursor.selectedText().size());
    const QString delivered = tr("  (delivered)");
    cursor.insertText(delivered, MarkFormat());
    // The marks after this one moved with the text.
    const int moved = int(delivered.size()) - before;
    for (auto later = marks.begin(); later != marks.end(); ++later)
        if (later.value() > *mark)
            later.value() += moved;
    marks.remove(id);
}

QStringList ConversationWindow::lines() const
{
    QStringList lines;
    for (QTextBlock block = View->document()->begin(); block.isValid(); block = block.next())
        lines << block.text();
    return lines;
}

void ConversationWindow::bringForward()
{
    show();
    raise();
    activateWindow();
    setUnread(0);
    Input->setFocus();
}

void ConversationWindow::setUnread(int count)
{
    if (count == unreadCount)
        return;
    unreadCount = count;
    showTitle();
    emit unreadChanged();
}

bool ConversationWindow::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        setUnread(0);
    return QWidget::event(event);
}
