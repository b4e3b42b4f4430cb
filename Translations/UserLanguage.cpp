#include "UserLanguage.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace {

// Loads the catalogue for the locale's first language that has one; the
// translator then belongs to the application.
void Install(const QString &name, const QString &folder)
{
    auto *translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(QLocale(), name, QStringLiteral("_"), folder))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

} // namespace

QString TranslationsFolder()
{
    const QDir program(QCoreApplication::applicationDirPath());
    const QString installed = program.absoluteFilePath(QStringLiteral("../" VANU_INSTALLED_TRANSLATIONS));
    return QDir(installed).exists() ? installed : QStringLiteral(VANU_BUILD_TRANSLATIONS);
}

void UseUserLanguage()
{
    Install(QStringLiteral("qtbase"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    Install(QStringLiteral("vanu"), TranslationsFolder()); // installed last, asked first
}
