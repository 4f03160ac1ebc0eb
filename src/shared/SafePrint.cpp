#include "shared/SafePrint.h"

#include "shared/Exception.h"
#include "shared/SafeFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPrinter>
#include <QScopeGuard>

#include <algorithm>

namespace {

void PrintJob(QPrinter &printer, const std::function<void(QPainter &)> &paint)
{
    QPainter painter;
    if (!painter.begin(&printer))
        throw Exception(QStringLiteral("Der Druckauftrag kann nicht gestartet werden"));
    paint(painter);
    // A job the printing system refused must not pass for printed.
    if (!painter.end())
        throw Exception(QStringLiteral("Der Druckauftrag kann nicht abgeschlossen werden"));
}

// Qt's PDF engine reports no failed write: a cut-off file ends its job as
// if it were whole. A complete file ends with the end-of-file marker.
bool IsCompletePdf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || !file.seek(std::max<qint64>(0, file.size() - 64)))
        return false;
    return file.readAll().trimmed().endsWith("%%EOF");
}

} // namespace

void PrintThroughPartFile(QPrinter &printer, const std::function<void(QPainter &)> &paint)
{
    printer.setDocName(QFileInfo(QCoreApplication::applicationFilePath()).fileName());
    const QString target =
        printer.outputFormat() == QPrinter::PdfFormat ? printer.outputFileName() : QString();
    if (target.isEmpty()) {
        PrintJob(printer, paint);
        return;
    }

    const QString obstacle = ReplaceObstacle(target);
    if (!obstacle.isEmpty())
        throw EFileError(CannotCreateText(target, obstacle));
    QString error;
    const QString part = CreatePartFile(target, error);
    if (part.isEmpty())
        throw EFileError(CannotCreateText(target, error));
    auto removePart = qScopeGuard([&] { QFile::remove(part); });
    const auto back = qScopeGuard([&printer, target] { printer.setOutputFileName(target); });
    printer.setOutputFileName(part);
    PrintJob(printer, paint);
    if (!IsCompletePdf(part))
        throw EFileError(QStringLiteral("Datei \"%1\" kann nicht vollständig geschrieben werden")
                             .arg(QDir::toNativeSeparators(QFileInfo(target).absoluteFilePath())));
    if (!MoveOver(part, target, error))
        throw EFileError(CannotCreateText(target, error));
    removePart.dismiss();
}

std::unique_ptr<QPrinter> CopyOfPrinter(const QPrinter &printer)
{
    auto copy = std::make_unique<QPrinter>(QPrinter::HighResolution);
    copy->setOutputFormat(printer.outputFormat());
    if (printer.outputFormat() == QPrinter::NativeFormat)
        copy->setPrinterName(printer.printerName());
    copy->setOutputFileName(printer.outputFileName());
    copy->setResolution(printer.resolution());
    copy->setPageLayout(printer.pageLayout());
    copy->setFullPage(printer.fullPage());
    copy->setCopyCount(printer.copyCount());
    copy->setCollateCopies(printer.collateCopies());
    copy->setColorMode(printer.colorMode());
    copy->setDuplex(printer.duplex());
    copy->setPageOrder(printer.pageOrder());
    copy->setPaperSource(printer.paperSource());
    copy->setPrintRange(printer.printRange());
    copy->setFromTo(printer.fromPage(), printer.toPage());
    copy->setPdfVersion(printer.pdfVersion());
    copy->setDocName(printer.docName());
    copy->setCreator(printer.creator());
    return copy;
}

void PrintKeepingPrinter(std::unique_ptr<QPrinter> &printer,
                         const std::function<void(QPrinter &)> &job)
{
    try {
        job(*printer);
    } catch (...) {
        std::unique_ptr<QPrinter> fresh = CopyOfPrinter(*printer);
        printer = std::move(fresh);
        throw;
    }
}
