#pragma once

#include <QSettings>
#include <QString>

class QAction;

// The user's own preferences: $XDG_CONFIG_HOME/Vanu/preferences.conf, beside
// the settings but never in a setup file, which other copies read.
QSettings UserPreferences();

// Makes the action a switch that starts as the user last left it (on or off
// by default) and is remembered under `key` whenever it is switched.
void KeepSwitchInPreferences(QAction &switchAction, const QString &key, bool byDefault);
