#include "SetupChanges.h"

#include "AddressFilter.h"

#include <QStringList>

namespace {

constexpr qsizetype kMostLinesShown = 5;

QString Quoted(const QString &text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

QString ModeName(int mode)
{
    switch (mode) {
    case 0:
        return QStringLiteral("Include");
    case 1:
        return QStringLiteral("Exclude");
    default:
        return QStringLiteral("neither Include nor Exclude");
    }
}

QString LinesShown(const QStringList &lines)
{
    if (lines.isEmpty())
        return QStringLiteral("none");
    QStringList shown;
    for (const QString &line : lines.first(std::min(lines.size(), kMostLinesShown)))
        shown << Quoted(line);
    QString text = shown.join(QStringLiteral(", "));
    if (lines.size() > kMostLinesShown)
        text += QStringLiteral(" and %1 more").arg(lines.size() - kMostLinesShown);
    return text;
}

void AddChange(QStringList &changes, const QString &what, const QString &before, const QString &after)
{
    if (before != after)
        changes << QStringLiteral("%1: %2 → %3").arg(what, before, after);
}

} // namespace

QString SetupChangesNotice(const QString &fileName, const SetupSettings &before, const SetupSettings &after)
{
    QStringList changes;
    AddChange(changes, QStringLiteral("Host address"), before.HostAddress, after.HostAddress);
    AddChange(changes, QStringLiteral("Nickname"), Quoted(before.Nickname), Quoted(after.Nickname));
    AddChange(changes, QStringLiteral("Colour"), before.ColourName, after.ColourName);
    AddChange(changes, QStringLiteral("Filter"), ModeName(before.FilterMode), ModeName(after.FilterMode));
    AddChange(changes, QStringLiteral("Filter lines"), LinesShown(before.FilterLines), LinesShown(after.FilterLines));
    if (changes.isEmpty())
        return {};
    QString notice = QStringLiteral("%1 changes your settings:\n\n").arg(fileName) + changes.join(QLatin1Char('\n'));
    if (AdmitsEveryone(after.FilterLines, after.FilterMode))
        notice += QStringLiteral("\n\nWith these settings, anyone on the network can join the chat you host.");
    return notice + QStringLiteral("\n\nNothing is kept until you press OK.");
}
