#pragma once

#include <QApplication>

#include <functional>

// The application object: shows whatever escapes an event handler in the
// general error report and lets the program go on.
class TApplication : public QApplication
{
    Q_OBJECT
public:
    TApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
};

// Where the system has no Tahoma, Liberation Sans stands in: its widths
// are close, so the fixed layout keeps its texts inside their controls.
void InstallFontSubstitutes();

// The executable's file name up to its first dot, every letter after the
// first in lower case: "Opticcalc".
QString ApplicationTitle();

// The report's text: the message, with a full stop appended when it is not
// empty and its last character sorts after ".".
QString ErrorReportText(const QString &message);

// The modal error box with the application's title as caption.
void ShowErrorReport(const QString &message);

// Runs an event handler; an error escaping it is shown in the error report
// and the program goes on with whatever state the handler reached. An error
// that is not one of ours shows an empty text.
void CallAndReport(const std::function<void()> &handler);
