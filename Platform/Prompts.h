#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// A file dialog as the program asks for it. The filter is written the classic
// way, description and pattern joined by "|":
// "Text files (*.txt)|*.txt|All files (*.*)|*.*".
struct FileDialogRequest {
    QString title;
    QString folder;
    QString fileName;
    QString filter;
    // 1-based, as the filter pairs are counted; a save dialog sets it to the filter chosen.
    int filterIndex = 1;
};

// Everything the program asks of the user through a box or a file dialog.
// The real implementation shows Qt dialogs; tests answer from a script.
class Prompts {
public:
    enum class Answer { Yes, No, Cancel };

    virtual ~Prompts() = default;

    // A confirmation with OK and Cancel; true for OK.
    virtual bool Confirm(const QString &text) = 0;
    // A question with Yes, No and Cancel.
    virtual Answer AskYesNoCancel(const QString &text) = 0;
    // An error box with an OK button.
    virtual void ShowError(const QString &text) = 0;
    // A plain message box with an OK button.
    virtual void ShowMessage(const QString &text) = 0;
    // A save dialog; the chosen path, or empty text when the user cancelled.
    // The dialog itself never asks about overwriting: the program does.
    virtual QString SaveFileName(FileDialogRequest &request) = 0;
    // An open dialog for existing files, several may be marked; empty when cancelled.
    virtual QStringList OpenFileNames(const FileDialogRequest &request) = 0;
    // A dialog for an existing folder; empty when cancelled.
    virtual QString ExistingFolder(const FileDialogRequest &request) = 0;
    // A password, typed unseen; nothing when the user cancelled.
    virtual std::optional<QString> AskPassword(const QString &text) = 0;
};
