#include "main/Application.h"

#include "shared/ErrorReport.h"

TApplication::TApplication(int &argc, char **argv) : QApplication(argc, argv)
{
    // X11 takes the window class from the application's name, which would
    // otherwise be the name the program was started by ("opticcalc" through
    // its link); the desktop entry's StartupWMClass names this one.
    setApplicationName(QStringLiteral("OpticCalc"));
}

// Every event passes here: no function object is built per event.
bool TApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        ReportCurrentException();
        return false;
    }
}
