// SPDX-License-Identifier: MIT
// Program entry of the colour test.
#include "apptheme.h"
#include "errordisplay.h"
#include "linguazcolor.h"
#include "terminationsignals.h"
#include "uzelvocolor.h"

#include <fbengine.h>

#include <QFont>

#include <memory>

int main(int argc, char **argv)
{
    zc::BlockTerminationSignals();
    zc::ZcApplication app(argc, argv);
    zc::QuitOnTerminationSignals(app);
    QApplication::setApplicationName(QStringLiteral("zelvoria-colortest"));
    zc::RegisterTahoma();
    QApplication::setFont(QFont(QStringLiteral("Tahoma"), 8));
    zc::ApplyLightGreenStyle(app);

    int rc = 0;
    {
        auto main = std::make_unique<TFmColor>();
        auto hidden = std::make_unique<TFmSelLingua>(main.get());
        FmSelLingua = hidden.get();
        main->show();
        main->activateWindow();
        if (!zc::TerminationRequested())
            rc = QApplication::exec();
        FmSelLingua = nullptr;
        // Before the windows go: a plain detach can hang for ever once a signal has been
        // caught while attached; fb_shutdown ends the engine safely.
        zc::fb::ShutdownEngine();
    }
    return rc;
}
