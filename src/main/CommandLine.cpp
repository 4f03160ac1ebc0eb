#include "main/CommandLine.h"

#include "Fileinfo/FileInfo.h"

#include <QCommandLineParser>
#include <QFileInfo>

#include <cstdio>

namespace {

void Print(FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

// Whether Qt could start its window system and take its own options out.
// Without it the toolkit would end the program before the error is told.
bool WindowSystemReachable(const QStringList &arguments)
{
    for (const char *variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        if (!qEnvironmentVariableIsEmpty(variable))
            return true;
    }
    for (const QString &argument : arguments) {
        for (const QString &option : {QStringLiteral("platform"), QStringLiteral("display")}) {
            if (argument == u'-' + option || argument == QStringLiteral("--") + option ||
                argument.startsWith(u'-' + option + u'=') ||
                argument.startsWith(QStringLiteral("--") + option + u'='))
                return true;
        }
    }
    return false;
}

} // namespace

std::optional<int> AnswerCommandLine(const QStringList &arguments, CommandLineStage stage)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Calculator for the measuring spot of a pyrometer. Without options it "
                       "opens its window."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help and exit."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the version and exit."));
    parser.addOption(help);
    parser.addOption(version);

    const bool parsed = parser.parse(arguments);
    const QStringList extra = parser.positionalArguments();
    if (!parsed || !extra.isEmpty()) {
        // Until Qt has taken its own options out, a word unknown here may
        // still be one of them.
        if (stage == CommandLineStage::BeforeToolkit && WindowSystemReachable(arguments))
            return std::nullopt;
        const QString error = parsed
                                  ? QStringLiteral("Unexpected argument '%1'.").arg(extra.first())
                                  : parser.errorText();
        const QString program = arguments.isEmpty() ? QStringLiteral("opticcalc")
                                                    : QFileInfo(arguments.first()).fileName();
        Print(stderr, program + QStringLiteral(": ") + error + u'\n' + parser.helpText());
        return 2;
    }
    if (parser.isSet(help)) {
        Print(stdout, parser.helpText());
        return 0;
    }
    if (parser.isSet(version)) {
        Print(stdout, QStringLiteral("OpticCalc ") + FileInfo.GetFileVersion() + u'\n');
        return 0;
    }
    return std::nullopt;
}
