#pragma once

#include <QString>
#include <QStringList>

// The user's settings as one record. The setup dialog's controls hold the
// current ones; this record is what a setup file holds and what a reader
// takes a copy of.
struct SetupSettings {
    static constexpr int kDefaultPort = 4000;

    QString HostAddress = QStringLiteral("127.0.0.1");
    int PortNumber = kDefaultPort; // never stored in a setup file
    QString Nickname = QStringLiteral("Anonymous");
    QString ColourName = QStringLiteral("Blue");
    QString ColourIndexText = QStringLiteral("0");
    // The filter box's text, line by line; a last empty entry is a line end
    // at the end of the text.
    QStringList FilterLines;
    int FilterMode = 0; // 0 "Include", 1 "Exclude", -1 neither
};
