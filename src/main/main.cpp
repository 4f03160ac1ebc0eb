#include "InfoUnit/InfoForm.h"
#include "OpticCalcUnit/OpticCalcForm.h"
#include "PlannerUnit/PlannerLink.h"
#include "main/Application.h"
#include "main/CommandLine.h"
#include "main/Console.h"
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
        // entry; the about window stays hidden until "info" shows it.
        auto calculator = std::make_unique<TOpticCalcForm>();
        auto about = std::make_unique<TInfoForm>(calculator.get());
        calculator->SetInfoForm(about.get());
        // The planner is built on first use, so it costs the start nothing.
        auto planner = std::make_unique<TPlannerLink>(*calculator);
        calculator->show();
        QApplication::exec();
        about.reset();
        // The calculator's settings are written first, so a new settings
        // file begins with its section.
        calculator.reset();
        planner.reset();
    });
    return 0;
}
