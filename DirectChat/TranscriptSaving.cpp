#include "TranscriptSaving.h"

#include "FileChoice.h"
#include "FileWriting.h"
#include "Prompts.h"
#include "Transcript.h"

#include <utility>

TranscriptSaving::TranscriptSaving(Prompts &prompts, const CodePage &codePage, const QString &programFolder,
                                   std::function<QStringList()> lines)
    : prompts(prompts), codePage(codePage), programFolder(programFolder), lines(std::move(lines))
{
}

void TranscriptSaving::save()
{
    if (path.isEmpty())
        saveAs();
    else
        write();
}

void TranscriptSaving::saveAs()
{
    FileDialogRequest request;
    request.title = tr("Save File");
    request.folder = programFolder;
    request.filter = TranscriptFilters();
    request.filterIndex = 1;
    request.fileName = ProposeDirChatName(programFolder);
    // A file the user chose to keep is never written by a later "Save Chat".
    path = ChooseFileToWrite(prompts, request, WithTxtExtension);
    encoding = TranscriptEncodingOf(request.filterIndex);
    if (!path.isEmpty())
        write();
}

void TranscriptSaving::write()
{
    if (!WriteWholeFile(path, TranscriptBytes(lines(), codePage, encoding)))
        prompts.ShowError(tr("Cannot create file %1").arg(path));
}
