#include "UserPreferences.h"

#include <QAction>

QSettings UserPreferences()
{
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
