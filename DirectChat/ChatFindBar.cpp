#include "ChatFindBar.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextDocument>

namespace {

const QColor kMatch(0xFF, 0xFF, 0x80);
const QColor kCurrentMatch(0xFF, 0x90, 0x00);

} // namespace

ChatFindBar::ChatFindBar(QPlainTextEdit &view, QWidget *parent) : QWidget(parent), view(view)
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 1, 2, 1);
    auto *label = new QLabel(tr("Find:"), this);
    layout->addWidget(label);
    FindText = new QLineEdit(this);
    label->setBuddy(FindText);
    FindText->setAccessibleName(tr("Find in the chat"));
    FindText->setAccessibleDescription(tr("Enter and Shift+Enter step through the matches; Escape closes"));
    layout->addWidget(FindText, 1);
    MatchCount = new QLabel(this);
    MatchCount->setAccessibleDescription(tr("Matches"));
    layout->addWidget(MatchCount);
    FindText->installEventFilter(this);
    connect(FindText, &QLineEdit::textChanged, this, [this] {
        Search();
        if (current < 0)
            Step(1); // the first match, unless the current one still matches
    });
    // New lines, and lines the view drops at its limit, move the matches.
    connect(view.document(), &QTextDocument::contentsChanged, this, [this] {
        if (isVisible())
            Search();
    });
    hide();
}

void ChatFindBar::Open()
{
    show();
    FindText->setFocus();
    FindText->selectAll();
    Search();
    Highlight();
}

QString ChatFindBar::CountText() const
{
    return tr("%1 of %2").arg(current + 1).arg(matches.size());
}

void ChatFindBar::Search()
{
    const QTextCursor before = current >= 0 && current < matches.size() ? matches[current] : QTextCursor();
    matches.clear();
    current = -1;
    const QString text = FindText->text();
    if (!text.isEmpty()) {
        QTextDocument *document = view.document();
        for (QTextCursor found = document->find(text, 0); !found.isNull(); found = document->find(text, found))
            matches << found;
    }
    // The match that was current stays current where it still is.
    for (int index = 0; index < matches.size(); ++index)
        if (!before.isNull() && matches[index].selectionStart() == before.selectionStart())
            current = index;
    Highlight();
}

void ChatFindBar::FindNext()
{
    Search();
    Step(1);
}

void ChatFindBar::FindPrevious()
{
    Search();
    Step(-1);
}

void ChatFindBar::Step(int by)
{
    if (matches.isEmpty()) {
        current = -1;
    } else if (current < 0) {
        current = by > 0 ? 0 : int(matches.size()) - 1;
    } else {
        current = int((current + by + matches.size()) % matches.size());
    }
    Highlight();
    if (current >= 0) {
        // The view shows the match; its own cursor and selection stay as they are.
        QTextCursor at(matches[current]);
        at.clearSelection();
        view.setTextCursor(at);
        view.ensureCursorVisible();
    }
}

void ChatFindBar::Highlight()
{
    QList<QTextEdit::ExtraSelection> selections;
    for (int index = 0; index < matches.size(); ++index) {
        QTextEdit::ExtraSelection selection;
        selection.cursor = matches[index];
        selection.format.setBackground(index == current ? kCurrentMatch : kMatch);
        selection.format.setForeground(Qt::black);
        selections << selection;
    }
    view.setExtraSelections(isVisible() ? selections : QList<QTextEdit::ExtraSelection>());
    MatchCount->setText(CountText());
}

bool ChatFindBar::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == FindText && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            if (key->modifiers() & Qt::ShiftModifier)
                FindPrevious();
            else
                FindNext();
            return true;
        }
        if (key->key() == Qt::Key_Escape) {
            hide();
            view.setExtraSelections({});
            emit closed();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
