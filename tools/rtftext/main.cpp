// SPDX-License-Identifier: MIT
// rtftext: loads a file as the result window's view does and prints its text.
#include <richtext/rtfplaintext.h>
#include <richtext/rtfreader.h>

#include <QCommandLineParser>
#include <QFile>
#include <QGuiApplication>
#include <QTextDocument>

#include <cerrno>
#include <cstdio>
#include <cstring>

// Exit codes: 0 text printed, 1 bad usage, 2 file not readable, 3 malformed RTF (what
// was read is still printed, the reason goes to stderr), 4 the text could not be written.
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
    const bool malformed = result.error != rtf::RtfError::None;
    if (malformed) {
        std::fprintf(stderr, "rtftext: %s: %s at byte %lld\n", qPrintable(args.first()),
                     qPrintable(rtf::errorText(result.error)),
                     static_cast<long long>(result.errorOffset));
    }

    QString out = parser.isSet(html) ? document.toHtml() : rtf::plainText(document);
    out.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    if (!out.endsWith(u'\n'))
        out += u'\n';
    const QByteArray utf8 = out.toUtf8();
    const bool written =
        std::fwrite(utf8.constData(), 1, size_t(utf8.size()), stdout) == size_t(utf8.size()) &&
        std::fflush(stdout) == 0;
    if (!written) {
        std::fprintf(stderr, "rtftext: cannot write the text to standard output: %s\n",
                     std::strerror(errno));
        return 4;
    }
    return malformed ? 3 : 0;
}
