// SPDX-License-Identifier: MIT
// fillrender: paints one gradient fill from an INI section (or a gallery of fills) into a PNG.
#include "gallery.h"

#include <rotarymenu/gradientfill.h>
#include <zc/inifile.h>

#include <QCommandLineParser>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QRegularExpression>

#include <cstdio>

namespace {

enum ExitCode
{
    Ok = 0,
    BadArguments = 1,
    BadIni = 2,
    CannotWrite = 3
};

int fail(int code, const QString &message)
{
    std::fprintf(stderr, "fillrender: %s\n", qPrintable(message));
    return code;
}

bool parseSize(const QString &text, QSize &size)
{
    static const QRegularExpression re(QStringLiteral("^(\\d{1,5})x(\\d{1,5})$"));
    const QRegularExpressionMatch m = re.match(text);
    if (!m.hasMatch()) {
        return false;
    }
    size = QSize(m.captured(1).toInt(), m.captured(2).toInt());
    return size.width() > 0 && size.height() > 0 && size.width() <= 10000 && size.height() <= 10000;
}

} // namespace

int main(int argc, char **argv)
{
    // Only images are painted, so no display is needed unless one is asked for.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Paints a gradient fill read from an INI section into a PNG, or a gallery of fills."));
    parser.addHelpOption();
    const QCommandLineOption ini(QStringLiteral("ini"), QStringLiteral("INI file to read."),
                                 QStringLiteral("FILE"));
    const QCommandLineOption section(QStringLiteral("section"),
                                     QStringLiteral("Section holding the fill."),
                                     QStringLiteral("NAME"));
    const QCommandLineOption size(QStringLiteral("size"),
                                  QStringLiteral("Image size; the fill covers (0,0,W,H)."),
                                  QStringLiteral("WxH"));
    const QCommandLineOption background(QStringLiteral("background"),
                                        QStringLiteral("Colour under the fill (default: none)."),
                                        QStringLiteral("#RRGGBB"));
    const QCommandLineOption focus(QStringLiteral("focus"),
                                   QStringLiteral("Draw the dotted focus outline."));
    const QCommandLineOption gallery(QStringLiteral("gallery"),
                                     QStringLiteral("Paint the labelled sheet of sample fills."));
    const QCommandLineOption output(QStringList{QStringLiteral("o"), QStringLiteral("output")},
                                    QStringLiteral("PNG file to write."), QStringLiteral("OUT"));
    parser.addOptions({ini, section, size, background, focus, gallery, output});
    if (!parser.parse(app.arguments())) {
        return fail(BadArguments, parser.errorText());
    }
    if (parser.isSet(QStringLiteral("help"))) {
        parser.showHelp(Ok);
    }
    if (!parser.positionalArguments().isEmpty()) {
        return fail(
            BadArguments,
            QStringLiteral("unexpected argument \"%1\"").arg(parser.positionalArguments().first()));
    }
    if (!parser.isSet(output)) {
        return fail(BadArguments, QStringLiteral("-o OUT.png is required"));
    }
    QImage image;
    if (parser.isSet(gallery)) {
        if (parser.isSet(ini) || parser.isSet(section) || parser.isSet(size)) {
            return fail(BadArguments,
                        QStringLiteral("--gallery takes no --ini, --section or --size"));
        }
        image = RenderGallery();
    } else {
        if (!parser.isSet(ini) || !parser.isSet(section) || !parser.isSet(size)) {
            return fail(BadArguments,
                        QStringLiteral("--ini FILE, --section NAME and --size WxH are required"));
        }
        QSize wh;
        if (!parseSize(parser.value(size), wh)) {
            return fail(BadArguments,
                        QStringLiteral("bad size \"%1\" (expected WxH, each side 1 to "
                                       "10000, e.g. 150x40)")
                            .arg(parser.value(size)));
        }
        QColor under(Qt::transparent);
        if (parser.isSet(background)) {
            under = QColor::fromString(parser.value(background));
            if (!under.isValid() || !parser.value(background).startsWith(QLatin1Char('#'))) {
                return fail(BadArguments, QStringLiteral("bad colour \"%1\" (expected #RRGGBB)")
                                              .arg(parser.value(background)));
            }
        }
        const QString file = parser.value(ini), name = parser.value(section);
        if (!QFileInfo(file).isFile()) {
            return fail(BadIni, QStringLiteral("cannot read \"%1\"").arg(file));
        }
        const zc::IniFile settings(file);
        if (!settings.SectionExists(name)) {
            return fail(BadIni, QStringLiteral("no section [%1] in \"%2\"").arg(name, file));
        }
        TGradientFill fill;
        try {
            fill.LoadFromFile(settings, name);
        } catch (const std::exception &e) {
            return fail(
                BadIni,
                QStringLiteral("[%1] in \"%2\": %3").arg(name, file, QString::fromUtf8(e.what())));
        }
        fill.SetFocus(parser.isSet(focus));
        image = QImage(wh, QImage::Format_ARGB32_Premultiplied);
        image.fill(under);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        fill.Fill(&painter, QRectF(0, 0, wh.width(), wh.height()));
    }
    if (!image.save(parser.value(output), "PNG")) {
        return fail(CannotWrite, QStringLiteral("cannot write \"%1\"").arg(parser.value(output)));
    }
    return Ok;
}
