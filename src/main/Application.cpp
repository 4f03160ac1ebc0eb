#include "main/Application.h"

#include "shared/Exception.h"

#include <QFileInfo>
#include <QFont>
#include <QFontDatabase>
#include <QMessageBox>

TApplication::TApplication(int &argc, char **argv) : QApplication(argc, argv) {}

namespace {

// Shows the exception being handled; called from inside a catch block.
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

} // namespace

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

void InstallFontSubstitutes()
{
    const QString tahoma = QStringLiteral("Tahoma");
    if (!QFontDatabase::families().contains(tahoma, Qt::CaseInsensitive))
        QFont::insertSubstitution(tahoma, QStringLiteral("Liberation Sans"));
}

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

void ShowErrorReport(const QString &message)
{
    QMessageBox box(QMessageBox::Critical, ApplicationTitle(), ErrorReportText(message),
                    QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

void CallAndReport(const std::function<void()> &handler)
{
    try {
        handler();
    } catch (...) {
        ReportCurrentException();
    }
}
