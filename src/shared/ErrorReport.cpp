#include "shared/ErrorReport.h"

#include "shared/Exception.h"

#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>

QString ApplicationTitle()
{
    const QString path = QCoreApplication::applicationFilePath();
    QString name = path.isEmpty() ? QStringLiteral("OpticCalc") : QFileInfo(path).fileName();
    name = name.left(name.indexOf(u'.') < 0 ? name.size() : name.indexOf(u'.'));
    return name.left(1) + name.mid(1).toLower();
}

QString ErrorReportText(const QString &message)
{
    if (!message.isEmpty() && message.back() > u'.')
        return message + u'.';
    return message;
}

namespace {

QString LastReport;
bool AnyReport = false;

} // namespace

void ShowErrorReport(const QString &message)
{
    LastReport = ErrorReportText(message);
    AnyReport = true;
    QMessageBox box(QMessageBox::Critical, ApplicationTitle(), ErrorReportText(message),
                    QMessageBox::Ok, QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void ReportCurrentException()
{
    try {
        throw;
    } catch (const Exception &error) {
        ShowErrorReport(error.Message());
    } catch (...) {
        ShowErrorReport(QString());
    }
}

void CallAndReport(const std::function<void()> &handler)
{
    try {
        handler();
    } catch (...) {
        ReportCurrentException();
    }
}

void CallAndReportUnlessRepeated(const std::function<void()> &handler)
{
    try {
        handler();
    } catch (...) {
        QString message;
        try {
            throw;
        } catch (const Exception &error) {
            message = error.Message();
        } catch (...) {
        }
        if (!AnyReport || ErrorReportText(message) != LastReport)
            ShowErrorReport(message);
    }
}
