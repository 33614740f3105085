// SPDX-License-Identifier: MIT
// Program entry of the colour test.
#include "apptheme.h"
#include "commandline.h"
#include "errordisplay.h"
#include "linguazcolor.h"
#include "terminationsignals.h"
#include "uzelvocolor.h"

#include <firebird/fbengine.h>

#include <QFont>

#include <cstdio>
#include <memory>

namespace {

// --help, --version and wrong options are answered before any window system is needed.
int answerCommandLine(const zc::CommandLine &line, const char *program)
{
    const QByteArray name = QByteArray(program).split('/').last();
    switch (line.Do) {
    case zc::CommandLine::Action::ShowHelp:
        std::fputs(zc::HelpText(QString::fromLocal8Bit(name)).toLocal8Bit().constData(), stdout);
        return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
    case zc::CommandLine::Action::ShowVersion:
        std::fputs(zc::VersionText().toLocal8Bit().constData(), stdout);
        return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
    case zc::CommandLine::Action::Fail:
        std::fprintf(stderr, "%s: %s\nTry '%s --help' for more information.\n", name.constData(),
                     line.Error.toLocal8Bit().constData(), name.constData());
        return 2;
    case zc::CommandLine::Action::Run:
        break;
    }
    return -1;
}

} // namespace

int main(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const zc::CommandLine line = zc::ParseCommandLine(arguments);
    if (const int rc = answerCommandLine(line, argv[0]); rc >= 0)
        return rc;

    zc::BlockTerminationSignals();
    zc::ZcApplication app(argc, argv);
    // The program ends when its main window closes, and only then: no other window or
    // box may end it by closing last (the main window is a tool window, which Qt does
    // not count among the windows that keep it running).
    QApplication::setQuitOnLastWindowClosed(false);
    zc::QuitOnTerminationSignals(app);
    QApplication::setApplicationName(QStringLiteral("zelvoria-colortest"));
    zc::RegisterTahoma();
    QApplication::setFont(QFont(QStringLiteral("Tahoma"), 8));
    zc::ApplyLightGreenStyle(app);

    int rc = 0;
    {
        auto main = std::make_unique<TFmColor>(QString(), nullptr,
                                               line.ChooseLanguage
                                                   ? TFmColor::LanguageChoice::AskAgain
                                                   : TFmColor::LanguageChoice::WhenNoneStored);
        QObject::connect(main.get(), &TFmColor::Closed, &app, &QCoreApplication::quit);
        auto hidden = std::make_unique<TFmSelLingua>(main.get());
        FmSelLingua = hidden.get();
        if (main->AlreadyRunning()) {
            rc = 1;
        } else if (!zc::TerminationRequested()) {
            main->show();
            main->activateWindow();
            rc = QApplication::exec();
        }
        FmSelLingua = nullptr;
        // Before the windows go: a plain detach can hang for ever once a signal has been
        // caught while attached; fb_shutdown ends the engine safely.
        zc::fb::ShutdownEngine();
    }
    return rc;
}
