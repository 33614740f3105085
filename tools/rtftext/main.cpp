// SPDX-License-Identifier: MIT
// rtftext: loads a file as the result window's view does and prints its text.
#include <richtext/rtfplaintext.h>
#include <richtext/rtfreader.h>

#include <QCommandLineParser>
#include <QFile>
#include <QGuiApplication>
#include <QTextDocument>

#include <cstdio>

// Exit codes: 0 text printed, 1 bad usage, 2 file not readable. Malformed
// RTF still prints what was read, with a warning on stderr.
int main(int argc, char **argv)
{
    // Text layout needs the GUI module but no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("rtftext"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Prints the plain text of an RTF (or plain text) file as UTF-8 with LF "
                       "line ends, as the rich-text view shows it."));
    parser.addHelpOption();
    const QCommandLineOption html(QStringLiteral("html"),
                                  QStringLiteral("Print the document as Qt's HTML instead."));
    parser.addOption(html);
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The file to read."));
    parser.process(app);

    const QStringList args = parser.positionalArguments();
    if (args.size() != 1) {
        std::fprintf(stderr, "rtftext: give exactly one FILE (see --help)\n");
        return 1;
    }
    QFile file(args.first());
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "rtftext: cannot read %s: %s\n", qPrintable(args.first()),
                     qPrintable(file.errorString()));
        return 2;
    }
    const QByteArray bytes = file.readAll();

    QTextDocument document;
    const rtf::ReadResult result = rtf::loadRichText(bytes, document);
    if (result.error != rtf::RtfError::None) {
        std::fprintf(stderr, "rtftext: %s: %s at byte %lld\n", qPrintable(args.first()),
                     qPrintable(rtf::errorText(result.error)),
                     static_cast<long long>(result.errorOffset));
    }

    QString out = parser.isSet(html) ? document.toHtml() : rtf::plainText(document);
    out.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    if (!out.endsWith(u'\n'))
        out += u'\n';
    const QByteArray utf8 = out.toUtf8();
    std::fwrite(utf8.constData(), 1, size_t(utf8.size()), stdout);
    return 0;
}
