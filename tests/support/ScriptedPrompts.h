#pragma once

#include "Prompts.h"

#include <QList>
#include <QStringList>

// Answers prompts from a script instead of showing them, and records every
// text shown, so that a test can assert that "Close the Chat?" was asked.
// An answer that the script does not hold is the cautious one: Cancel, and
// no file chosen.
class ScriptedPrompts final : public Prompts {
public:
    QStringList shown;             // every text, prefixed with its kind: "confirm: ..."
    QList<bool> confirmAnswers;    // taken from the front
    QList<Answer> questionAnswers; // taken from the front
    QStringList saveAnswers;       // paths, taken from the front
    QList<int> saveFilterAnswers;  // the filters chosen with them, taken from the front
    QList<QStringList> openAnswers;
    QStringList folderAnswers; // taken from the front
    QList<FileDialogRequest> fileRequests;
    QStringList passwordAnswers; // taken from the front; none is a cancel

    bool Confirm(const QString &text) override;
    Answer AskYesNoCancel(const QString &text) override;
    void ShowError(const QString &text) override;
    void ShowMessage(const QString &text) override;
    QString SaveFileName(FileDialogRequest &request) override;
    QStringList OpenFileNames(const FileDialogRequest &request) override;
    QString ExistingFolder(const FileDialogRequest &request) override;
    std::optional<QString> AskPassword(const QString &text) override;
};
