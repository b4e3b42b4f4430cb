#include "ColourTable.h"

#include <QGuiApplication>
#include <QPalette>

#include <limits>
#include <utility>

const QStringList &ColourTable()
{
    static const QStringList names = {
        QStringLiteral("Blue"),   QStringLiteral("Black"),   QStringLiteral("Maroon"),
        QStringLiteral("Navy"),   QStringLiteral("Purple"),  QStringLiteral("Red"),
        QStringLiteral("Lime"),   QStringLiteral("Fuchsia"), QStringLiteral("Aqua"),
        QStringLiteral("White"),
    };
    return names;
}

QString IndexColourName(int index)
{
    if (index >= 0 && index < ColourTable().size())
        return ColourTable()[index];
    return QStringLiteral("Yellow");
}

int ColourTableIndexOf(const QString &name)
{
    const QStringList &names = ColourTable();
    for (qsizetype index = 0; index < names.size(); ++index)
        if (names[index].compare(name, Qt::CaseInsensitive) == 0)
            return int(index);
    return -1;
}

QString ColourIndexTextOf(const QString &name)
{
    return QString::number(ColourTableIndexOf(name));
}

namespace {

struct BasicColour {
    const char *name;
    QRgb value;
};

constexpr BasicColour kBasicColours[] = {
    {"clBlack", 0x000000},   {"clMaroon", 0x800000}, {"clGreen", 0x008000}, {"clOlive", 0x808000},
    {"clNavy", 0x000080},    {"clPurple", 0x800080}, {"clTeal", 0x008080},  {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0},  {"clRed", 0xFF0000},    {"clLime", 0x00FF00},  {"clYellow", 0xFFFF00},
    {"clBlue", 0x0000FF},    {"clFuchsia", 0xFF00FF}, {"clAqua", 0x00FFFF}, {"clWhite", 0xFFFFFF},
};

struct SystemColour {
    const char *name;
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// The desktop's scheme colours, by the palette role that plays the same part.
constexpr SystemColour kSystemColours[] = {
    {"clScrollBar", QPalette::Active, QPalette::Button},
    {"clBackground", QPalette::Active, QPalette::Window},
    {"clActiveCaption", QPalette::Active, QPalette::Highlight},
    {"clInactiveCaption", QPalette::Inactive, QPalette::Highlight},
    {"clMenu", QPalette::Active, QPalette::Window},
    {"clWindow", QPalette::Active, QPalette::Base},
    {"clWindowFrame", QPalette::Active, QPalette::WindowText},
    {"clMenuText", QPalette::Active, QPalette::WindowText},
    {"clWindowText", QPalette::Active, QPalette::Text},
    {"clCaptionText", QPalette::Active, QPalette::HighlightedText},
    {"clActiveBorder", QPalette::Active, QPalette::Window},
    {"clInactiveBorder", QPalette::Inactive, QPalette::Window},
    {"clAppWorkSpace", QPalette::Active, QPalette::Dark},
    {"clHighlight", QPalette::Active, QPalette::Highlight},
    {"clHighlightText", QPalette::Active, QPalette::HighlightedText},
    {"clBtnFace", QPalette::Active, QPalette::Button},
    {"clBtnShadow", QPalette::Active, QPalette::Dark},
    {"clGrayText", QPalette::Disabled, QPalette::Text},
    {"clBtnText", QPalette::Active, QPalette::ButtonText},
    {"clInactiveCaptionText", QPalette::Inactive, QPalette::HighlightedText},
    {"clBtnHighlight", QPalette::Active, QPalette::Light},
    {"cl3DDkShadow", QPalette::Active, QPalette::Shadow},
    {"cl3DLight", QPalette::Active, QPalette::Midlight},
    {"clInfoText", QPalette::Active, QPalette::ToolTipText},
    {"clInfoBk", QPalette::Active, QPalette::ToolTipBase},
};

bool SameName(const QString &wanted, const char *name)
{
    return wanted.compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
}

} // namespace

std::optional<QColor> NamedColour(const QString &name)
{
    const QString wanted = QStringLiteral("cl") + name;
    for (const BasicColour &colour : kBasicColours)
        if (SameName(wanted, colour.name))
            return QColor::fromRgb(colour.value);
    for (const SystemColour &colour : kSystemColours)
        if (SameName(wanted, colour.name))
            return QGuiApplication::palette().color(colour.group, colour.role);
    // "No colour" has nothing to paint with; text in it is drawn black.
    if (SameName(wanted, "clNone"))
        return QColor(Qt::black);
    return std::nullopt;
}

QColor ColourBoxTextColour(int index)
{
    return index >= 6 ? QColor(Qt::black) : QColor(Qt::white);
}

char ColourDigit(const QString &colourIndexText, const QColor &colour)
{
    if (colourIndexText.size() == 1 && colourIndexText[0] >= QLatin1Char('0') && colourIndexText[0] <= QLatin1Char('9'))
        return char(colourIndexText[0].unicode());
    int nearest = 0;
    int nearestDistance = std::numeric_limits<int>::max();
    for (int index = 0; index < ColourTable().size(); ++index) {
        const QColor candidate = NamedColour(ColourTable()[index]).value_or(QColor());
        const int red = candidate.red() - colour.red();
        const int green = candidate.green() - colour.green();
        const int blue = candidate.blue() - colour.blue();
        const int distance = red * red + green * green + blue * blue;
        if (distance < nearestDistance) {
            nearest = index;
            nearestDistance = distance;
        }
    }
    return char('0' + nearest);
}
