#include "UserPreferences.h"

#include "FileWriting.h"

#include <QAction>
#include <QStandardPaths>

QSettings UserPreferences()
{
    // The chat password's key is kept here: as good as the password. Settings
    // are written into a new file that takes the old one's mode. (The path
    // is the one QSettings takes for these names.)
    // Once a process for each path: QSettings keeps the mode from then on.
    static QString keptPrivate;
    const QString path = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
                         + QStringLiteral("/Vanu/preferences.conf");
    if (path != keptPrivate) {
        KeepPrivate(path);
        keptPrivate = path;
    }
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Vanu"),
                     QStringLiteral("preferences"));
}

void KeepSwitchInPreferences(QAction &switchAction, const QString &key, bool byDefault)
{
    switchAction.setCheckable(true);
    switchAction.setChecked(UserPreferences().value(key, byDefault).toBool());
    QObject::connect(&switchAction, &QAction::toggled, &switchAction, [key](bool on) {
        QSettings preferences = UserPreferences();
        preferences.setValue(key, on);
    });
}
