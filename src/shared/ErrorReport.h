#pragma once

#include <QString>

#include <functional>

// The general error report, shared by every window: what escapes an event
// handler is shown in one modal box and the program goes on.

// The executable's file name up to its first dot, every letter after the
// first in lower case: "Opticcalc".
QString ApplicationTitle();

// The report's text: the message, with a full stop appended when it is not
// empty and its last character sorts after ".".
QString ErrorReportText(const QString &message);

// The modal error box with the application's title as caption.
void ShowErrorReport(const QString &message);

// Shows the exception being handled; call it only inside a catch block. An
// error that is not one of ours shows an empty text.
void ReportCurrentException();

// Runs an event handler; an error escaping it is shown in the error report
// and the program goes on with whatever state the handler reached.
void CallAndReport(const std::function<void()> &handler);

// As CallAndReport, but an error whose text is the one the last report
// showed is not shown again: at exit both windows write User.ini, and a
// failure of the second tells nothing new.
void CallAndReportUnlessRepeated(const std::function<void()> &handler);
