#include "OpticCalcUnit/OpticCalcForm.h"
#include "main/Application.h"
#include "main/CommandLine.h"
#include "main/Console.h"
#include "main/PlannerLink.h"
#include "shared/ErrorReport.h"

#include <memory>

int main(int argc, char *argv[])
{
    if (argc > 1) {
        AttachParentConsole();
        // Answered before the window system is reached: a terminal without
        // a display still gets --help and --version.
        const QCoreApplication core(argc, argv);
        if (const auto status =
                AnswerCommandLine(QCoreApplication::arguments(), CommandLineStage::BeforeToolkit))
            return *status;
    }
    TApplication application(argc, argv);
    if (const auto status =
            AnswerCommandLine(QCoreApplication::arguments(), CommandLineStage::AfterToolkit))
        return *status;
    // Lets the desktop match the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("example.tavrel.OpticCalc"));
    CallAndReport([] {
        // The calculator window is the main window and owns the task-bar
        // entry; it builds the about window when "info" first asks for it.
        auto calculator = std::make_unique<TOpticCalcForm>();
        // The planner is built on first use, so it costs the start nothing.
        auto planner = std::make_unique<TPlannerLink>(*calculator);
        calculator->show();
        QApplication::exec();
        // The calculator's settings are written first, so a new settings
        // file begins with its section.
        calculator.reset();
        planner.reset();
    });
    return 0;
}
