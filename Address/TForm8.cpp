#include "TForm8.h"

#include "AddressFilter.h"
#include "CodePage.h"
#include "ColourTable.h"
#include "FileChoice.h"
#include "FileWriting.h"
#include "RuntimeErrors.h"
#include "SetupChanges.h"
#include "SetupFile.h"
#include "TMouseUpCheckBox.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTextDocument>
#include <QValidator>

#include <algorithm>

namespace {

const char *const kMustEnter = QT_TRANSLATE_NOOP("TForm8", "You really must enter\rNickname and Host address");
const QColor kTeal(0x00, 0x80, 0x80);
// Setup files are a few lines; a larger one is no setup file.
constexpr qint64 kLongestSetupFile = 16 * 1024 * 1024;
// The filter box's height, and with the note under it.
constexpr int kFilterHeight = 89;
constexpr int kNotedFilterHeight = 46;

} // namespace

namespace {

// The characters that end a line, in a file or on the screen.
bool IsLineBreak(QChar character)
{
    return character == QLatin1Char('\n') || character == QLatin1Char('\r') || character == QChar::LineSeparator
           || character == QChar::ParagraphSeparator || character == QChar(0x85);
}

// What a single-line field keeps of a text pasted into it: its first line.
void KeepFirstLine(QString &text, int &cursor)
{
    for (qsizetype at = 0; at < text.size(); ++at) {
        if (IsLineBreak(text[at])) {
            text.truncate(at);
            cursor = std::min(cursor, int(at));
            return;
        }
    }
}

} // namespace

// A single-line field keeps only the first line of what is pasted into it,
// so that no line break reaches a setup file or the wire. The host field also
// drops surrounding white space.
class SingleLineField : public QValidator {
public:
    SingleLineField(QLineEdit *edit, bool trimmed) : QValidator(edit), trimmed(trimmed) {}

    State validate(QString &input, int &cursor) const override
    {
        KeepFirstLine(input, cursor);
        if (trimmed && input != input.trimmed()) {
            const auto firstKept = std::find_if(input.cbegin(), input.cend(), [](QChar c) { return !c.isSpace(); });
            const qsizetype dropped = firstKept - input.cbegin();
            input = input.trimmed();
            cursor = int(std::clamp<qsizetype>(cursor - dropped, 0, input.size()));
        }
        return Acceptable;
    }

private:
    bool trimmed;
};

// Limits what is typed into a field: a paste that would go past the limit is
// cut to it. A longer text the program put there can still be shortened.
class TypedLengthLimit final : public SingleLineField {
public:
    TypedLengthLimit(QLineEdit *edit, int limit)
        : SingleLineField(edit, false), limit(limit), lengthBefore(edit->text().size())
    {
        // The field already holds the new text while it is validated, so keep
        // the length of the last text it took.
        QObject::connect(edit, &QLineEdit::textChanged, this,
                         [this](const QString &text) { lengthBefore = text.size(); });
    }

    State validate(QString &input, int &cursor) const override
    {
        SingleLineField::validate(input, cursor);
        const qsizetype allowed = std::max<qsizetype>(limit, lengthBefore);
        if (input.size() > allowed) {
            // What was just put in ends at the cursor: its end goes.
            const qsizetype excess = input.size() - allowed;
            const qsizetype from = std::max<qsizetype>(0, cursor - excess);
            input.remove(from, excess);
            cursor = int(from);
        }
        return Acceptable;
    }

private:
    int limit;
    qsizetype lengthBefore;
};

namespace {

// Removes every character of code 32 or less from both ends.
QString TrimControlCharacters(const QString &text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text[first].unicode() <= 32)
        ++first;
    while (last > first && text[last - 1].unicode() <= 32)
        --last;
    return text.mid(first, last - first);
}

QLabel *PlaceLabel(const QString &text, QWidget *page, int x, int y)
{
    auto *label = new QLabel(text, page);
    label->move(x, y);
    label->adjustSize();
    return label;
}

void SetColours(QWidget *widget, const QColor &background, const QColor &text)
{
    QPalette palette = widget->palette();
    for (QPalette::ColorRole role : {QPalette::Base, QPalette::Button, QPalette::Window})
        palette.setColor(role, background);
    for (QPalette::ColorRole role : {QPalette::Text, QPalette::ButtonText, QPalette::WindowText})
        palette.setColor(role, text);
    widget->setPalette(palette);
}

void MakeBold(QWidget *widget)
{
    QFont font = widget->font();
    font.setBold(true);
    widget->setFont(font);
}

} // namespace

TForm8::TForm8(const QString &programFolder, Prompts &prompts, const CodePage &codePage,
               const QString &readOnlyFolder, QWidget *parent)
    : QDialog(parent), programFolder(programFolder), readOnlyFolder(readOnlyFolder), prompts(prompts),
      codePage(codePage)
{
    setWindowTitle(tr("Setup Configuration"));
    setWindowIcon(QIcon(QStringLiteral(":/Address/guest.png")));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                   | Qt::WindowCloseButtonHint);
    setFixedSize(171, 221);
    TabbedNotebook1 = new QTabWidget(this);
    TabbedNotebook1->setGeometry(0, 0, 171, 185);
    // Both labels, blanks and all, show whole in the dialog's width.
    TabbedNotebook1->setUsesScrollButtons(false);
    TabbedNotebook1->setElideMode(Qt::ElideNone);
    TabbedNotebook1->tabBar()->setStyleSheet(QStringLiteral("QTabBar::tab { padding: 3px 3px; }"));
    createPersonalPage();
    createServerPage();
    createButtons();
    ApplyColour(cCollor->currentText(), false);
    LoadSetup(LastSetupToRead());
}

void TForm8::createPersonalPage()
{
    auto *page = new QWidget;
    QLabel *hostLabel = PlaceLabel(tr("Host Address"), page, 6, 6);
    eHost = new QLineEdit(QStringLiteral("127.0.0.1"), page);
    hostLabel->setBuddy(eHost);
    eHost->setAccessibleName(tr("Host address"));
    eHost->setAccessibleDescription(tr("The address of the host to join as a guest"));
    eHost->setGeometry(6, 22, 78, 21);
    eHost->setValidator(new SingleLineField(eHost, true));

    CheckBox1 = new TMouseUpCheckBox(tr("Port def."), page);
    CheckBox1->setLayoutDirection(Qt::RightToLeft); // caption on the left
    CheckBox1->setGeometry(90, 4, 72, 18);
    CheckBox1->setChecked(true);
    ePort = new QLineEdit(QStringLiteral("4000"), page);
    ePort->setGeometry(90, 22, 72, 21);
    ePort->setReadOnly(true);
    CheckBox1->setAccessibleName(tr("Default port"));
    CheckBox1->setAccessibleDescription(tr("When unchecked, the port field below can be changed"));
    ePort->setAccessibleName(tr("Port"));

    QLabel *nameLabel = PlaceLabel(tr("Your Name"), page, 6, 52);
    eName = new QLineEdit(QStringLiteral("Anonymous"), page);
    nameLabel->setBuddy(eName);
    eName->setAccessibleName(tr("Your name"));
    eName->setGeometry(6, 68, 78, 21);
    nameLimit = new TypedLengthLimit(eName, kTypedNameLimit);
    eName->setValidator(nameLimit);
    MakeBold(eName);

    QLabel *colourLabel = PlaceLabel(tr("Your Colour"), page, 90, 52);
    cCollor = new QComboBox(page);
    colourLabel->setBuddy(cCollor);
    cCollor->setAccessibleName(tr("Your colour"));
    cCollor->setEditable(true);
    cCollor->setInsertPolicy(QComboBox::NoInsert);
    cCollor->addItems(ColourTable());
    cCollor->setCompleter(nullptr);
    cCollor->setEditText(QStringLiteral("Blue"));
    cCollor->setGeometry(90, 68, 72, 21);
    MakeBold(cCollor);

    LoadConf = new QPushButton(tr("Load"), page);
    LoadConf->setGeometry(6, 112, 75, 25);
    MakeConf = new QPushButton(tr("Save"), page);
    MakeConf->setGeometry(87, 112, 75, 25);
    LoadConf->setAccessibleName(tr("Load a setup file"));
    MakeConf->setAccessibleName(tr("Save a setup file"));
    TabbedNotebook1->addTab(page, tr("    Personally    "));

    connect(CheckBox1, &TMouseUpCheckBox::mouseReleased, this, &TForm8::CheckBox1MouseUp);
    connect(CheckBox1, &TMouseUpCheckBox::keyboardToggled, this, &TForm8::CheckBox1MouseUp);
    connect(ePort, &QLineEdit::textChanged, this, &TForm8::ePortChange);
    connect(cCollor, &QComboBox::editTextChanged, this, [this] {
        if (!settingColourText)
            cCollorChange();
    });
    connect(LoadConf, &QPushButton::clicked, this, &TForm8::LoadConfClick);
    connect(MakeConf, &QPushButton::clicked, this, &TForm8::MakeConfClick);
}

void TForm8::createServerPage()
{
    auto *page = new QWidget;
    QLabel *filterLabel = PlaceLabel(tr("Permission to Server (FireWall)"), page, 6, 4);
    mFilter = new QPlainTextEdit(page);
    filterLabel->setBuddy(mFilter);
    mFilter->setAccessibleName(tr("Filter lines"));
    mFilter->setAccessibleDescription(tr("One address, or the beginning of addresses, a line; Tab leaves the box"));
    mFilter->setGeometry(9, 20, 145, kFilterHeight);
    mFilter->setTabChangesFocus(true);
    mFilter->installEventFilter(this);
    filterNote = new QLabel(page);
    filterNote->setGeometry(9, kNotedFilterHeight + 22, 145, kFilterHeight - kNotedFilterHeight - 2);
    filterNote->setWordWrap(true);
    filterNote->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QFont smaller = filterNote->font();
    // The program's font is set in pixels; a point size is -1 then.
    if (smaller.pixelSize() > 0)
        smaller.setPixelSize(qMax(1, qRound(smaller.pixelSize() * 0.85)));
    else
        smaller.setPointSizeF(smaller.pointSizeF() * 0.85);
    filterNote->setFont(smaller);
    filterNote->hide();
    filterNote->setAccessibleName(tr("Filter note"));
    connect(mFilter, &QPlainTextEdit::textChanged, this, &TForm8::ShowFilterNote);

    RadioFilter = new QGroupBox(tr("filter"), page);
    RadioFilter->setAccessibleName(tr("Filter mode"));
    RadioFilter->setGeometry(9, 112, 145, 44);
    IncludeChoice = new QRadioButton(tr("Include"), RadioFilter);
    IncludeChoice->setGeometry(6, 18, 66, 20);
    ExcludeChoice = new QRadioButton(tr("Exclude"), RadioFilter);
    ExcludeChoice->setGeometry(74, 18, 66, 20);
    filterChoices = new QButtonGroup(this);
    filterChoices->addButton(IncludeChoice, 0);
    filterChoices->addButton(ExcludeChoice, 1);
    IncludeChoice->setChecked(true);
    TabbedNotebook1->addTab(page, tr("    SetServer    "));
}

void TForm8::ShowFilterNote()
{
    QStringList notes;
    for (const QString &line : FilterLines()) {
        const QString covered = LongerAddressesCovered(line);
        if (!covered.isEmpty())
            notes << tr("%1 also covers %2").arg(line, covered);
    }
    // The first under the box, all of them in its tooltip.
    const QString note = notes.isEmpty() ? QString()
                         : notes.size() == 1
                             ? notes.constFirst()
                             : tr("%1 (+%n more)", nullptr, int(notes.size() - 1)).arg(notes.constFirst());
    filterNote->setText(note);
    filterNote->setToolTip(notes.join(QLatin1Char('\n'))
                           + QLatin1Char('\n') + tr("A filter line stands for every address that begins with it."));
    filterNote->setVisible(!note.isEmpty());
    mFilter->resize(mFilter->width(), note.isEmpty() ? kFilterHeight : kNotedFilterHeight);
}

void TForm8::createButtons()
{
    BitBtn1 = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), tr("OK"), this);
    BitBtn1->setGeometry(8, 191, 75, 25);
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton), tr("Cancel"), this);
    BitBtn2->setGeometry(88, 191, 75, 25);
    connect(BitBtn1, &QPushButton::clicked, this, &TForm8::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TForm8::BitBtn2Click);
}

QString TForm8::HostAddress() const
{
    return eHost->text();
}

QString TForm8::Nickname() const
{
    // A field set by the program is not validated; no line break leaves it all the same.
    QString name = eName->text();
    int end = int(name.size());
    KeepFirstLine(name, end);
    return name;
}

QString TForm8::ColourName() const
{
    return cCollor->currentText();
}

QStringList TForm8::FilterLines() const
{
    // The raw text keeps no-break spaces, which the plain text turns into blanks.
    QString text = mFilter->document()->toRawText();
    // Shift+Enter puts a line separator in the box, and a paste may bring CR LF
    // or a lone CR: each is a line break of the list.
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    for (QChar &character : text)
        if (IsLineBreak(character))
            character = QLatin1Char('\n');
    return FilterLinesOfText(text);
}

int TForm8::FilterMode() const
{
    return filterChoices->checkedId();
}

SetupSettings TForm8::Settings() const
{
    SetupSettings settings;
    settings.HostAddress = HostAddress();
    settings.PortNumber = PortNumber();
    settings.Nickname = Nickname();
    settings.ColourName = ColourName();
    settings.ColourIndexText = ColourIndexText();
    settings.FilterLines = FilterLines();
    settings.FilterMode = FilterMode();
    return settings;
}

QString TForm8::LastSetupPath() const
{
    return QDir(programFolder).filePath(QStringLiteral("LastSetup.set"));
}

QString TForm8::LastSetupToRead() const
{
    if (readOnlyFolder.isEmpty() || QFileInfo::exists(LastSetupPath()))
        return LastSetupPath();
    return QDir(readOnlyFolder).filePath(QStringLiteral("LastSetup.set"));
}

void TForm8::SetFilterMode(int mode)
{
    // Neither choice marked needs the group's exclusiveness off for a moment.
    filterChoices->setExclusive(false);
    IncludeChoice->setChecked(mode == 0);
    ExcludeChoice->setChecked(mode == 1);
    filterChoices->setExclusive(true);
}

void TForm8::Apply(const SetupSettings &settings)
{
    SetFilterMode(settings.FilterMode);
    // A name from a file is cut where typing stops, so that no run of blanks
    // can push its end out of sight.
    eName->setText(settings.Nickname.left(kTypedNameLimit));
    eHost->setText(settings.HostAddress);
    mFilter->setPlainText(FilterTextOfLines(settings.FilterLines));
    ApplyColour(settings.ColourName, false);
}

bool TForm8::LoadSetup(const QString &fileName)
{
    const QFileInfo info(fileName);
    if (!info.exists())
        return false;
    const QString shownName = QDir::toNativeSeparators(fileName);
    QFile file(fileName);
    // A FIFO or a device would block the reading, or never end.
    if (!info.isFile() || !file.open(QIODevice::ReadOnly)) {
        prompts.ShowError(tr("Cannot open file %1").arg(shownName));
        return false;
    }
    const QByteArray bytes = file.read(kLongestSetupFile + 1);
    if (bytes.size() > kLongestSetupFile) {
        prompts.ShowError(tr("File %1 is too large for a setup file").arg(shownName));
        return false;
    }
    try {
        Apply(ParseSetupFile(bytes, codePage));
    } catch (const EConvertError &error) {
        prompts.ShowError(error.Message());
        return false;
    }
    return true;
}

bool TForm8::LoadSetupFromOutside(const QString &fileName)
{
    const SetupSettings before = Settings();
    if (!LoadSetup(fileName))
        return false;
    const QString changes = SetupChangesNotice(QDir::toNativeSeparators(fileName), before, Settings());
    if (!changes.isEmpty())
        prompts.ShowMessage(changes);
    return true;
}

QString TForm8::CharactersTheFileLoses() const
{
    const SetupSettings settings = Settings();
    QString lost;
    const QStringList texts = QStringList{settings.ColourName, settings.Nickname, settings.HostAddress}
                              + settings.FilterLines;
    for (const QString &text : texts)
        for (const QChar character : text)
            if (!lost.contains(character) && codePage.toUnicode(codePage.fromUnicode(character)) != character)
                lost += character;
    return lost;
}

bool TForm8::SaveDespiteLostCharacters()
{
    const QString lost = CharactersTheFileLoses();
    return lost.isEmpty()
           || prompts.Confirm(tr("These characters cannot be written to a setup file and become "
                                 "\"?\": %1\rSave all the same?")
                                  .arg(lost));
}

bool TForm8::SaveSetup(const QString &fileName)
{
    // A failed write leaves the old file as it was; a link at the name is
    // replaced, not followed.
    return WriteWholeFile(fileName, ComposeSetupFile(Settings(), codePage));
}

void TForm8::ShowColour(const QColor &colour, const QColor &boxText)
{
    SetColours(eName, kTeal, colour);
    SetColours(cCollor, colour, boxText);
    if (cCollor->lineEdit())
        SetColours(cCollor->lineEdit(), colour, boxText);
}

void TForm8::ApplyColour(const QString &name, bool fromUser)
{
    colourIndexText = ColourIndexTextOf(name);
    if (cCollor->currentText() != name) {
        settingColourText = true;
        cCollor->setEditText(name);
        settingColourText = false;
    }
    if (const std::optional<QColor> colour = NamedColour(name)) {
        // Light colours get black text, from the list and from a file alike.
        ShowColour(*colour, ColourBoxTextColour(ColourTableIndexOf(name)));
        return;
    }
    if (fromUser)
        prompts.ShowMessage(tr("This collor is not valid"));
    ApplyColour(ColourTable().constFirst(), fromUser);
}

void TForm8::cCollorChange()
{
    ApplyColour(cCollor->currentText(), true);
}

void TForm8::ePortChange()
{
    const QString text = ePort->text();
    int value = ReadWholeNumber(text).value_or(SetupSettings::kDefaultPort);
    // Port 0 would be any port the system picks, and a negative one wraps round.
    if (value > kHighestPort || value < 1)
        value = SetupSettings::kDefaultPort;
    portNumber = value;
    const QString normal = QString::number(value);
    if (normal != text)
        ePort->setText(normal);
}

void TForm8::CheckBox1MouseUp()
{
    if (!CheckBox1->isChecked()) {
        ePort->setReadOnly(false);
        return;
    }
    ePort->setReadOnly(true);
    portNumber = SetupSettings::kDefaultPort;
    ePort->setText(QString::number(SetupSettings::kDefaultPort));
}

void TForm8::BitBtn1Click()
{
    const QString filterText = FilterTextOfLines(FilterLines());
    const QString trimmed = TrimControlCharacters(filterText);
    if (trimmed != filterText)
        mFilter->setPlainText(trimmed);
    if (eHost->text().isEmpty() || eName->text().isEmpty()) {
        prompts.ShowMessage(tr(kMustEnter));
        return;
    }
    if (!SaveDespiteLostCharacters())
        return; // back to the dialog, to change what cannot be kept
    if (!SaveSetup(LastSetupPath())) {
        prompts.ShowMessage(tr("I cannot save settings!"));
        return;
    }
    closeResult = QDialog::Accepted;
    close();
}

void TForm8::BitBtn2Click()
{
    ePort->setText(ShownPort);
    if (QFile::exists(LastSetupToRead()))
        LoadSetup(LastSetupToRead());
    closeResult = QDialog::Rejected;
    close();
}

bool TForm8::FormCloseQuery()
{
    if (eHost->text().isEmpty() || eName->text().isEmpty()) {
        prompts.ShowMessage(tr(kMustEnter));
        return false;
    }
    return true;
}

void TForm8::FormClose()
{
    ePort->setText(QString::number(ReadWholeNumber(ePort->text()).value_or(SetupSettings::kDefaultPort)));
}

FileDialogRequest TForm8::SetupFileDialog(const QString &title) const
{
    FileDialogRequest request;
    request.title = title;
    request.folder = programFolder;
    request.filter = tr("Text files (*.set)|*.set");
    return request;
}

void TForm8::MakeConfClick()
{
    FileDialogRequest request = SetupFileDialog(tr("Save Setup"));
    const QString fileName = ChooseFileToWrite(prompts, request, [](const QString &chosen) {
        return QDir::toNativeSeparators(SetupFileNameFor(chosen));
    });
    if (fileName.isEmpty() || !SaveDespiteLostCharacters())
        return;
    if (!SaveSetup(fileName))
        prompts.ShowError(tr("Cannot create file %1").arg(fileName));
}

void TForm8::PickHost(const QString &address, quint16 port)
{
    // Saved as its address, as if it had been typed.
    eHost->setText(address);
    const bool defaultPort = port == SetupSettings::kDefaultPort;
    CheckBox1->setChecked(defaultPort);
    ePort->setReadOnly(defaultPort);
    ePort->setText(QString::number(port));
}

void TForm8::LoadConfClick()
{
    const QStringList chosen = prompts.OpenFileNames(SetupFileDialog(tr("Open Setup")));
    if (!chosen.isEmpty())
        LoadSetupFromOutside(chosen.constFirst());
}

void TForm8::showEvent(QShowEvent *event)
{
    ShownPort = ePort->text();
    closeResult = QDialog::Rejected;
    QDialog::showEvent(event);
}

void TForm8::closeEvent(QCloseEvent *event)
{
    if (!isVisible()) { // the hiding that done() does below
        event->accept();
        return;
    }
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
    done(closeResult);
}

void TForm8::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape)
        return; // no key stands for Cancel
    QDialog::keyPressEvent(event);
}

bool TForm8::FilterKeyPasses(const QKeyEvent &key) const
{
    switch (key.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return true;
    default:
        break;
    }
    const QString text = key.text();
    if (text.isEmpty())
        return true; // arrows and the like: no character, nothing to filter
    const QChar character = text.size() == 1 ? text[0] : QChar();
    return (character >= QLatin1Char('0') && character <= QLatin1Char('9')) || character == QLatin1Char('.');
}

bool TForm8::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == mFilter && event->type() == QEvent::KeyPress
        && !FilterKeyPasses(*static_cast<QKeyEvent *>(event)))
        return true; // the character is dropped
    return QDialog::eventFilter(watched, event);
}
