// SPDX-License-Identifier: MIT
// The program's own command-line options, read before the windowing system is touched.
#pragma once

#include <QString>
#include <QStringList>

namespace zc {

struct CommandLine
{
    enum class Action
    {
        Run,
        ShowHelp,
        ShowVersion,
        Fail, ///< `Error` says why
    };
    Action Do = Action::Run;
    bool ChooseLanguage = false;
    QString Error;
};

/// Reads the program's options from `arguments` (without the program name). Arguments
/// with one dash and Qt's own options with two (-platform, --display ...) are left to Qt;
/// `--help` or `--version` anywhere win over everything else.
CommandLine ParseCommandLine(const QStringList &arguments);

/// The text of --help for `program`.
QString HelpText(const QString &program);
/// The text of --version.
QString VersionText();

} // namespace zc
