#include "CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>

namespace {

// Qt's own options, which the application takes before the program reads
// its arguments; known here so that they are no unknown option before that.
void AcceptQtOptions(QCommandLineParser &parser)
{
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const auto add = [&parser](const QStringList &names, bool takesValue) {
        for (const QString &name : names) {
            QCommandLineOption option(name);
            if (takesValue)
                option.setValueName(QStringLiteral("value"));
            option.setFlags(QCommandLineOption::HiddenFromHelp);
            parser.addOption(option);
        }
    };
    add({"platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry", "geometry", "qwindowtitle",
         "title", "qwindowicon", "icon", "display", "style", "stylesheet", "session", "name", "visual"},
        true);
    add({"reverse", "widgetcount", "nograb", "dograb", "sync"}, false);
}

void Describe(QCommandLineParser &parser)
{
    parser.setApplicationDescription(
        QCoreApplication::translate("CommandLine", "Vanu: text chat between several people on one local network."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("file"),
                                 QCoreApplication::translate("CommandLine", "A setup file (.set) to load and confirm."),
                                 QStringLiteral("[file]"));
    parser.addOption(QCommandLineOption(
        QStringLiteral("history"),
        QCoreApplication::translate("CommandLine", "Print the last 50 lines of the chat history, or with words "
                                                   "after it every kept line that has them all.")));
    parser.addOption(QCommandLineOption(
        QStringLiteral("send"),
        QCoreApplication::translate("CommandLine", "Send the files and folders named after it: the running copy "
                                                   "asks to whom.")));
}

// The usage names the program by the file name it was started by (the
// parser would take the application object's, which may not be made yet).
QString HelpText(const QCommandLineParser &parser, const QStringList &arguments)
{
    QString text = parser.helpText();
    const QString name = arguments.isEmpty() ? QStringLiteral("vanu") : QFileInfo(arguments.constFirst()).fileName();
    // Qt's own text, translated with Qt's translations.
    const QString usage = QCoreApplication::translate("QCommandLineParser", "Usage: %1").arg(QString());
    const qsizetype start = text.indexOf(usage) + usage.size();
    const QString options = QLatin1Char(' ') + QCoreApplication::translate("QCommandLineParser", "[options]");
    const qsizetype end = text.indexOf(options, start);
    if (text.startsWith(usage) && end > start)
        text.replace(start, end - start, name);
    return text;
}

} // namespace

CommandLine ReadCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    Describe(parser);
    AcceptQtOptions(parser);
    CommandLine line;
    const bool history = parser.parse(arguments) && parser.isSet(QStringLiteral("history"));
    if (history && !parser.isSet(QStringLiteral("help")) && !parser.isSet(QStringLiteral("version"))) {
        line.action = CommandLine::Action::History;
        line.historyWords = parser.positionalArguments().join(QLatin1Char(' '));
        return line;
    }
    const bool sending = parser.parse(arguments) && parser.isSet(QStringLiteral("send"));
    if (sending && !parser.positionalArguments().isEmpty() && !parser.isSet(QStringLiteral("help"))
        && !parser.isSet(QStringLiteral("version"))) {
        for (const QString &path : parser.positionalArguments())
            line.sendPaths << QFileInfo(path).absoluteFilePath();
        return line;
    }
    if (!parser.parse(arguments) || parser.positionalArguments().size() > 1 || sending) {
        const QString error = !parser.errorText().isEmpty() ? parser.errorText()
                              : sending ? QCoreApplication::translate("CommandLine", "Name the files to send after --send.")
                                        : QCoreApplication::translate("CommandLine", "Only one setup file can be given.");
        line.action = CommandLine::Action::Usage;
        line.text = error + QLatin1Char('\n') + HelpText(parser, arguments);
        return line;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        line.action = CommandLine::Action::Help;
        line.text = HelpText(parser, arguments);
    } else if (parser.isSet(QStringLiteral("version"))) {
        line.action = CommandLine::Action::Version;
        line.text = QStringLiteral("vanu %1\n").arg(QStringLiteral(VANU_VERSION));
    } else if (!parser.positionalArguments().isEmpty()) {
        line.setupFile = parser.positionalArguments().constFirst();
    }
    return line;
}
