#include "ScriptedPrompts.h"

std::optional<QString> ScriptedPrompts::AskPassword(const QString &text)
{
    shown << QStringLiteral("password: ") + text;
    return passwordAnswers.isEmpty() ? std::nullopt : std::optional<QString>(passwordAnswers.takeFirst());
}

bool ScriptedPrompts::Confirm(const QString &text)
{
    shown << QStringLiteral("confirm: ") + text;
    return confirmAnswers.isEmpty() ? false : confirmAnswers.takeFirst();
}

Prompts::Answer ScriptedPrompts::AskYesNoCancel(const QString &text)
{
    shown << QStringLiteral("question: ") + text;
    return questionAnswers.isEmpty() ? Answer::Cancel : questionAnswers.takeFirst();
}

void ScriptedPrompts::ShowError(const QString &text)
{
    shown << QStringLiteral("error: ") + text;
}

void ScriptedPrompts::ShowMessage(const QString &text)
{
    shown << QStringLiteral("message: ") + text;
}

QString ScriptedPrompts::SaveFileName(FileDialogRequest &request)
{
    fileRequests << request;
    if (!saveFilterAnswers.isEmpty())
        request.filterIndex = saveFilterAnswers.takeFirst();
    shown << QStringLiteral("save dialog: ") + request.title;
    return saveAnswers.isEmpty() ? QString() : saveAnswers.takeFirst();
}

QString ScriptedPrompts::ExistingFolder(const FileDialogRequest &request)
{
    fileRequests << request;
    shown << QStringLiteral("folder dialog: ") + request.title;
    return folderAnswers.isEmpty() ? QString() : folderAnswers.takeFirst();
}

QStringList ScriptedPrompts::OpenFileNames(const FileDialogRequest &request)
{
    fileRequests << request;
    shown << QStringLiteral("open dialog: ") + request.title;
    return openAnswers.isEmpty() ? QStringList() : openAnswers.takeFirst();
}
