#include "QtPrompts.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>

QtPrompts::QtPrompts(QString applicationTitle) : title(std::move(applicationTitle)) {}

// A lone carriage return in a text is a line break on the screen.
static QString DisplayText(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

// Texts come from files and from the network: they are shown as they are,
// never read as markup.
static void ShowAsPlainText(QMessageBox &box)
{
    box.setTextFormat(Qt::PlainText);
}

QWidget *QtPrompts::DialogParent()
{
    if (QWidget *modal = QApplication::activeModalWidget())
        return modal;
    return QApplication::activeWindow();
}

std::optional<QString> QtPrompts::AskPassword(const QString &text)
{
    bool given = false;
    const QString password = QInputDialog::getText(DialogParent(), QCoreApplication::translate("Prompts", "Password"),
                                                   DisplayText(text), QLineEdit::Password, QString(), &given);
    return given ? std::optional<QString>(password) : std::nullopt;
}

bool QtPrompts::Confirm(const QString &text)
{
    QMessageBox box(QMessageBox::Question, QCoreApplication::translate("Prompts", "Confirm"), DisplayText(text),
                    QMessageBox::Ok | QMessageBox::Cancel, DialogParent());
    ShowAsPlainText(box);
    return box.exec() == QMessageBox::Ok;
}

Prompts::Answer QtPrompts::AskYesNoCancel(const QString &text)
{
    QMessageBox box(QMessageBox::Question, QCoreApplication::translate("Prompts", "Confirm"), DisplayText(text),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, DialogParent());
    ShowAsPlainText(box);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

void QtPrompts::ShowError(const QString &text)
{
    QMessageBox box(QMessageBox::Critical, QCoreApplication::translate("Prompts", "Error"), DisplayText(text),
                    QMessageBox::Ok, DialogParent());
    ShowAsPlainText(box);
    box.exec();
}

void QtPrompts::ShowMessage(const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, title, DisplayText(text), QMessageBox::Ok, DialogParent());
    ShowAsPlainText(box);
    box.exec();
}

QStringList QtPrompts::NameFilters(const QString &pipeFilter)
{
    const QStringList parts = pipeFilter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i];
        // "*.*" means every file on the desktop the format comes from; Qt says "*".
        description.replace(QStringLiteral("(*.*)"), QStringLiteral("(*)"));
        filters << description;
    }
    return filters;
}

static void PrepareDialog(QFileDialog &dialog, const FileDialogRequest &request)
{
    const QStringList filters = QtPrompts::NameFilters(request.filter);
    dialog.setWindowTitle(request.title);
    dialog.setDirectory(request.folder);
    dialog.setNameFilters(filters);
    if (request.filterIndex >= 1 && request.filterIndex <= filters.size())
        dialog.selectNameFilter(filters[request.filterIndex - 1]);
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
}

QString QtPrompts::SaveFileName(FileDialogRequest &request)
{
    QFileDialog dialog(DialogParent());
    PrepareDialog(dialog, request);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    request.filterIndex = int(QtPrompts::NameFilters(request.filter).indexOf(dialog.selectedNameFilter())) + 1;
    return dialog.selectedFiles().constFirst();
}

QString QtPrompts::ExistingFolder(const FileDialogRequest &request)
{
    QFileDialog dialog(DialogParent());
    PrepareDialog(dialog, request);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QStringList QtPrompts::OpenFileNames(const FileDialogRequest &request)
{
    QFileDialog dialog(DialogParent());
    PrepareDialog(dialog, request);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles();
}
