// SPDX-License-Identifier: MIT
// Options of zelvoria-colortest, GNU style.
#include "commandline.h"

namespace zc {

namespace {

// Qt's own options, which it also takes with two dashes; their values follow them.
bool isToolkitOption(const QString &argument)
{
    static const QStringList names = {
        QStringLiteral("platform"),
        QStringLiteral("platformpluginpath"),
        QStringLiteral("platformtheme"),
        QStringLiteral("plugin"),
        QStringLiteral("qwindowgeometry"),
        QStringLiteral("qwindowicon"),
        QStringLiteral("qwindowtitle"),
        QStringLiteral("reverse"),
        QStringLiteral("session"),
        QStringLiteral("style"),
        QStringLiteral("stylesheet"),
        QStringLiteral("widgetcount"),
        QStringLiteral("display"),
        QStringLiteral("geometry"),
        QStringLiteral("title"),
        QStringLiteral("name"),
        QStringLiteral("nograb"),
        QStringLiteral("dograb"),
        QStringLiteral("sync"),
        QStringLiteral("visual"),
    };
    return names.contains(argument.mid(2).section(u'=', 0, 0));
}

} // namespace

CommandLine ParseCommandLine(const QStringList &arguments)
{
    CommandLine line;
    for (const QString &argument : arguments) {
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            line.Do = CommandLine::Action::ShowHelp;
            return line;
        }
        if (argument == QLatin1String("--version")) {
            line.Do = CommandLine::Action::ShowVersion;
            return line;
        }
    }
    for (const QString &argument : arguments) {
        if (argument == QLatin1String("--choose-language")) {
            line.ChooseLanguage = true;
        } else if (argument.startsWith(QLatin1String("--")) && !isToolkitOption(argument)) {
            line.Do = CommandLine::Action::Fail;
            line.Error = QStringLiteral("unrecognized option '%1'").arg(argument);
            return line;
        }
    }
    return line;
}

QString HelpText(const QString &program)
{
    return QStringLiteral(
               "Usage: %1 [OPTION]...\n"
               "The Zelvoria gemstone colour test: pick a colour on the ring to read the remedies\n"
               "of its gem, and print them.\n"
               "\n"
               "The program reads ZColor.ini (section [Install]) from the current directory:\n"
               "ChekLNG (the language: 0 ITA, 1 ENG, 2 FRA, 3 SPA, 4 OLA, -1 ask), DirData and\n"
               "FileGdb (the database), Server (a server prefix such as \"host/port:\", empty for\n"
               "the database file itself), DirReport (the printout's template and result) and\n"
               "Immagini (the colour-table pictures).\n"
               "\n"
               "      --choose-language  show the agreement and the language choice again and\n"
               "                         store the new choice\n"
               "  -h, --help             display this help and exit\n"
               "      --version          output version information and exit\n"
               "\n"
               "Qt's own options (-platform, -display, -style ...) are accepted too.\n"
               "Exit status: 0 when the window was closed, 1 when the program could not run\n"
               "(another instance holds the database), 2 on a wrong option.\n")
        .arg(program);
}

QString VersionText()
{
    return QStringLiteral("zelvoria-colortest (Zelvoria Color Test) " ZC_VERSION "\n");
}

} // namespace zc
