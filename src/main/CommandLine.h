#pragma once

#include <QStringList>

#include <optional>

// The program's own options, --help and --version. The arguments are read
// twice: before the window system is reached, so that both options answer
// on a terminal without a display, and again once Qt has taken its own
// options (-platform, -style, ...) out of them.
enum class CommandLineStage
{
    BeforeToolkit,
    AfterToolkit
};

// The exit status when the command line is answered without a window;
// nothing when the window is to open. Answers go to stdout, errors and the
// usage after them to stderr.
std::optional<int> AnswerCommandLine(const QStringList &arguments, CommandLineStage stage);
