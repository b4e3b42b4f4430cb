#include "ChatPane.h"

#include "ChatFindBar.h"
#include "ChatLog.h"
#include "ChatViewLook.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QShortcut>
#include <QVBoxLayout>

namespace {

const QColor kOlive(0x80, 0x80, 0x00);
// The text of the closed input line: the olive stays, the text fades into it.
const QColor kDimmedOnOlive(0xB0, 0xB0, 0x60);

QPlainTextEdit *MakeView(QWidget *parent)
{
    auto *view = new QPlainTextEdit(parent);
    view->setReadOnly(true);
    view->setUndoRedoEnabled(false); // nothing to undo in a read-only view; a long chat would pile it up
    view->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    StyleChatView(*view);
    view->setAccessibleName(ChatPane::tr("Chat"));
    view->setAccessibleDescription(ChatPane::tr("The lines of the chat, the newest last"));
    return view;
}

QLineEdit *MakeInput(QWidget *parent)
{
    auto *input = new QLineEdit(parent);
    input->setMaxLength(1000);
    input->setFont(ChatFont());
    QPalette colours = input->palette();
    colours.setColor(QPalette::Base, kOlive);
    colours.setColor(QPalette::Text, Qt::white);
    colours.setColor(QPalette::Disabled, QPalette::Text, kDimmedOnOlive); // closed, and seen to be
    input->setPalette(colours);
    input->setAccessibleName(ChatPane::tr("Message"));
    input->setAccessibleDescription(ChatPane::tr("Your line; Enter sends it to everybody in the chat"));
    return input;
}

} // namespace

ChatPane::ChatPane(int mostLines, QWidget *parent)
    : QWidget(parent), view(MakeView(this)), findBar(new ChatFindBar(*view, this)), log(new ChatLog(*view, mostLines)),
      band(new QWidget(this)), input(MakeInput(band))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(view, 1);
    layout->addWidget(findBar);
    auto *find = new QShortcut(QKeySequence::Find, parent);
    connect(find, &QShortcut::activated, findBar, &ChatFindBar::Open);
    connect(findBar, &ChatFindBar::closed, input, [this] { input->setFocus(); });

    band->setFixedHeight(22);
    auto *row = new QHBoxLayout(band);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(input);
    layout->addWidget(band);
}
