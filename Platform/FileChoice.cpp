#include "FileChoice.h"

#include <QCoreApplication>

#include "FileWriting.h"

QString ChooseFileToWrite(Prompts &prompts, FileDialogRequest &request,
                          const std::function<QString(const QString &)> &nameFor)
{
    for (;;) {
        const QString chosen = prompts.SaveFileName(request);
        if (chosen.isEmpty())
            return {};
        const QString name = nameFor(chosen);
        const WriteTarget target = TargetOfWrite(name);
        if (target.danglingLink) {
            prompts.ShowError(QCoreApplication::translate(
                                  "FileChoice", "%1 is a link to %2, which does not exist. Choose another name.")
                                  .arg(name, target.path));
            continue;
        }
        const QString overwrite = QCoreApplication::translate("FileChoice", "OK to overwrite %1").arg(target.path);
        if (target.exists && prompts.AskYesNoCancel(overwrite) != Prompts::Answer::Yes)
            return {};
        return target.path;
    }
}
