// SPDX-License-Identifier: MIT
// mkcolortables: writes the five colour-table pictures "Tabella_ZelvoColor_<code>.jpg".
#include "apptheme.h"
#include "colortable.h"
#include "remedystore.h"

#include <QDir>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    // A build step: no display is needed to paint into an image.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2 || args[1].startsWith(QLatin1Char('-'))) {
        std::fprintf(stderr, "usage: mkcolortables OUTPUT-FOLDER\n");
        return 2;
    }
    const QString folder = args[1];
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "mkcolortables: cannot create %s\n", qPrintable(folder));
        return 1;
    }
    if (!zc::RegisterTahoma())
        std::fprintf(stderr, "mkcolortables: Tahoma fonts not found, using a stand-in\n");

    for (int language = 0; language < int(zc::LanguageCodes.size()); ++language) {
        const QString file = QDir(folder).filePath(QStringLiteral("Tabella_ZelvoColor_") +
                                                   QLatin1String(zc::LanguageCodes[language]) +
                                                   QStringLiteral(".jpg"));
        if (!zc::DrawColorTable(language).save(file, "JPG", 90)) {
            std::fprintf(stderr, "mkcolortables: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
