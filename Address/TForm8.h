#pragma once

#include "Prompts.h"
#include "SetupSettings.h"

#include <QDialog>

class CodePage;
class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class TMouseUpCheckBox;
class TypedLengthLimit;

// The "Setup Configuration" dialog. Its controls are the one place where the
// current settings live: every edit takes effect at once, and the chat reads
// the settings from here when it needs them. OK saves them to "LastSetup.set"
// in the program folder, Cancel goes back to that file. A read-only folder,
// if given, is where the file is read from while the program folder has none.
class TForm8 : public QDialog {
    Q_OBJECT
public:
    TForm8(const QString &programFolder, Prompts &prompts, const CodePage &codePage,
           const QString &readOnlyFolder = {}, QWidget *parent = nullptr);

    // Fills in the host address and the port of a host picked from a list.
    void PickHost(const QString &address, quint16 port);

    // The current settings, read from the controls.
    QString HostAddress() const;
    int PortNumber() const { return portNumber; }
    QString Nickname() const;
    QString ColourName() const;
    QString ColourIndexText() const { return colourIndexText; }
    QStringList FilterLines() const;
    int FilterMode() const;
    SetupSettings Settings() const;

    bool LoadSetup(const QString &fileName);
    // A file from outside the program (the command line, a double click, the
    // Load button): loaded, then what it changed is shown, before any OK.
    bool LoadSetupFromOutside(const QString &fileName);
    bool SaveSetup(const QString &fileName);
    void ApplyColour(const QString &name, bool fromUser);
    QString LastSetupPath() const;
    // The "LastSetup.set" that is read: the program folder's, else the read-only folder's.
    QString LastSetupToRead() const;

    static constexpr int kHighestPort = 50000;
    static constexpr int kTypedNameLimit = 10;

    QTabWidget *TabbedNotebook1 = nullptr;
    QLineEdit *eHost = nullptr;
    TMouseUpCheckBox *CheckBox1 = nullptr;
    QLineEdit *ePort = nullptr;
    QLineEdit *eName = nullptr;
    QComboBox *cCollor = nullptr;
    QPushButton *LoadConf = nullptr;
    QPushButton *MakeConf = nullptr;
    QPlainTextEdit *mFilter = nullptr;
    // Under the filter box, while a line there is a whole address that longer ones begin with.
    QLabel *filterNote = nullptr;
    QGroupBox *RadioFilter = nullptr;
    QRadioButton *IncludeChoice = nullptr;
    QRadioButton *ExcludeChoice = nullptr;
    QPushButton *BitBtn1 = nullptr;
    QPushButton *BitBtn2 = nullptr;

    // The handlers, by the names the dialog's events have always had.
    void BitBtn1Click();
    void BitBtn2Click();
    bool FormCloseQuery();
    void FormClose();
    void CheckBox1MouseUp();
    void ePortChange();
    void cCollorChange();
    void MakeConfClick();
    void LoadConfClick();
    void ShowFilterNote();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createPersonalPage();
    void createServerPage();
    void createButtons();
    void Apply(const SetupSettings &settings);
    void SetFilterMode(int mode);
    void ShowColour(const QColor &colour, const QColor &boxText);
    bool FilterKeyPasses(const QKeyEvent &key) const;
    FileDialogRequest SetupFileDialog(const QString &title) const;
    // The characters of the settings that the code page has no place for.
    QString CharactersTheFileLoses() const;
    // True when nothing would be lost, or the user agrees to lose it.
    bool SaveDespiteLostCharacters();

    QString programFolder;
    QString readOnlyFolder;
    Prompts &prompts;
    const CodePage &codePage;
    QButtonGroup *filterChoices = nullptr;
    TypedLengthLimit *nameLimit = nullptr;
    int portNumber = SetupSettings::kDefaultPort;
    QString colourIndexText = QStringLiteral("0");
    QString ShownPort;
    bool settingColourText = false;
    int closeResult = QDialog::Rejected;
};
