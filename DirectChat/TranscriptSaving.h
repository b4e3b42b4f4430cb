#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include "TextEncoding.h"

#include <functional>

class CodePage;
class Prompts;

// Saving the chat view's lines as a transcript: "Save Chat" writes the file
// the user chose last, and asks for one the first time.
class TranscriptSaving {
    Q_DECLARE_TR_FUNCTIONS(TranscriptSaving)
public:
    // `lines` gives the view's lines as they are when the file is written,
    // after the file dialog, which may take a while.
    TranscriptSaving(Prompts &prompts, const CodePage &codePage, const QString &programFolder,
                     std::function<QStringList()> lines);

    void save();
    // Asks for a file, proposing a new name in the program's folder.
    void saveAs();
    QString rememberedPath() const { return path; }

private:
    void write();

    Prompts &prompts;
    const CodePage &codePage;
    QString programFolder;
    std::function<QStringList()> lines;
    QString path;
    // "Save Chat" writes as the file was chosen: a transcript, or UTF-8.
    TextEncoding encoding = TextEncoding::CodePage;
};
