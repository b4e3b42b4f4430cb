#include "SetupChanges.h"

#include "AddressFilter.h"

#include <QCoreApplication>
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
        return QCoreApplication::translate("SetupChanges", "Include");
    case 1:
        return QCoreApplication::translate("SetupChanges", "Exclude");
    default:
        return QCoreApplication::translate("SetupChanges", "neither Include nor Exclude");
    }
}

QString LinesShown(const QStringList &lines)
{
    if (lines.isEmpty())
        return QCoreApplication::translate("SetupChanges", "none");
    QStringList shown;
    for (const QString &line : lines.first(std::min(lines.size(), kMostLinesShown)))
        shown << Quoted(line);
    QString text = shown.join(QStringLiteral(", "));
    if (lines.size() > kMostLinesShown)
        text +=
            QCoreApplication::translate("SetupChanges", " and %n more", nullptr, int(lines.size() - kMostLinesShown));
    return text;
}

void AddChange(QStringList &changes, const QString &what, const QString &before, const QString &after)
{
    if (before != after)
        changes << QCoreApplication::translate("SetupChanges", "%1: %2 → %3").arg(what, before, after);
}

} // namespace

QString SetupChangesNotice(const QString &fileName, const SetupSettings &before, const SetupSettings &after)
{
    QStringList changes;
    AddChange(changes, QCoreApplication::translate("SetupChanges", "Host address"), before.HostAddress,
              after.HostAddress);
    AddChange(changes, QCoreApplication::translate("SetupChanges", "Nickname"), Quoted(before.Nickname),
              Quoted(after.Nickname));
    AddChange(changes, QCoreApplication::translate("SetupChanges", "Colour"), before.ColourName, after.ColourName);
    AddChange(changes, QCoreApplication::translate("SetupChanges", "Filter"), ModeName(before.FilterMode),
              ModeName(after.FilterMode));
    AddChange(changes, QCoreApplication::translate("SetupChanges", "Filter lines"), LinesShown(before.FilterLines),
              LinesShown(after.FilterLines));
    if (changes.isEmpty())
        return {};
    QString notice = QCoreApplication::translate("SetupChanges", "%1 changes your settings:\n\n").arg(fileName) +
                     changes.join(QLatin1Char('\n'));
    if (AdmitsEveryone(after.FilterLines, after.FilterMode))
        notice += QCoreApplication::translate(
            "SetupChanges", "\n\nWith these settings, anyone on the network can join the chat you host.");
    return notice + QCoreApplication::translate("SetupChanges", "\n\nNothing is kept until you press OK.");
}
