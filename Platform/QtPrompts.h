#pragma once

#include "Prompts.h"

class QWidget;

// Prompts shown as Qt message boxes and file dialogs, modal to the active window.
class QtPrompts final : public Prompts {
public:
    explicit QtPrompts(QString applicationTitle);

    bool Confirm(const QString &text) override;
    Answer AskYesNoCancel(const QString &text) override;
    void ShowError(const QString &text) override;
    void ShowMessage(const QString &text) override;
    QString SaveFileName(FileDialogRequest &request) override;
    QStringList OpenFileNames(const FileDialogRequest &request) override;
    QString ExistingFolder(const FileDialogRequest &request) override;
    std::optional<QString> AskPassword(const QString &text) override;

    // "Text files (*.txt)|*.txt|All files (*.*)|*.*" as Qt's name filters
    // ("Text files (*.txt)", "All files (*)").
    static QStringList NameFilters(const QString &pipeFilter);

private:
    static QWidget *DialogParent();
    QString title;
};
