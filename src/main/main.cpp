#include "InfoUnit/InfoForm.h"
#include "OpticCalcUnit/OpticCalcForm.h"
#include "main/Application.h"
#include "shared/ErrorReport.h"

#include <memory>

int main(int argc, char *argv[])
{
    TApplication application(argc, argv);
    // Lets the desktop match the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("opticcalc"));
    CallAndReport([] {
        // The calculator window is the main window and owns the task-bar
        // entry; the about window stays hidden until "info" shows it.
        auto calculator = std::make_unique<TOpticCalcForm>();
        auto about = std::make_unique<TInfoForm>(calculator.get());
        calculator->SetInfoForm(about.get());
        calculator->show();
        QApplication::exec();
        about.reset();
        calculator.reset();
    });
    return 0;
}
