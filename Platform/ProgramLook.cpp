#include "ProgramLook.h"

#include <QApplication>
#include <QFont>

void UseProgramLook()
{
    QApplication::setStyle(QStringLiteral("Fusion"));
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(11);
    QApplication::setFont(font);
}
