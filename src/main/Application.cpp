#include "main/Application.h"

#include "shared/ErrorReport.h"

TApplication::TApplication(int &argc, char **argv) : QApplication(argc, argv) {}

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
