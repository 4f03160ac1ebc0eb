#pragma once

#include <QApplication>

// The application object: shows whatever escapes an event handler in the
// general error report and lets the program go on.
class TApplication : public QApplication
{
    Q_OBJECT
public:
    TApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
};
