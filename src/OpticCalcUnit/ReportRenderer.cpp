#include "ReportRenderer.h"

#include "shared/Exception.h"
#include "shared/SafeFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QScopeGuard>

#include <algorithm>

namespace {

const QString Family = QStringLiteral("Arial");

constexpr int Left = 250;
constexpr int PageTop = -250;
constexpr int ValueX = 600;
constexpr int Column1X = Left + 500;
constexpr int TableRuleRight = Left + 900;
constexpr int SubscriptGap = 20;
constexpr int SubscriptDrop = 20;

// Name, lowered "0", colon, value: the spot and the distance lines.
void BasicDataLine(ReportSurface &surface, int y, const QString &name, const QString &value)
{
    surface.SetFont(Family, 40, false);
    surface.TextOut(Left, y, name);
    const int w = surface.TextWidth(name);
    surface.SetFont(Family, 30, false);
    surface.TextOut(Left + w, y - SubscriptDrop, QStringLiteral("0"));
    surface.SetFont(Family, 40, false);
    surface.TextOut(Left + w + SubscriptGap, y, QStringLiteral(":"));
    surface.TextOut(ValueX, y, value + QStringLiteral(" mm"));
}

// "Name [unit]" prints as the name, a lowered "n" and the unit. A header
// without a complete "[...]" has no unit to set apart and prints whole.
void HeaderCell(ReportSurface &surface, int x0, int y, const QString &header)
{
    const qsizetype open = header.indexOf(u'[');
    const qsizetype close = open < 0 ? -1 : header.indexOf(u']', open);
    surface.SetFont(Family, 40, true);
    if (close < 0) {
        surface.TextOut(x0, y, header.trimmed());
        return;
    }
    const QString name = header.left(open).trimmed();
    surface.TextOut(x0, y, name);
    const int w = surface.TextWidth(name);
    surface.SetFont(Family, 30, true);
    surface.TextOut(x0 + w, y - SubscriptDrop, QStringLiteral("n"));
    surface.SetFont(Family, 40, true);
    surface.TextOut(x0 + w + SubscriptGap, y, header.mid(open, close - open + 1));
}

void Cell(ReportSurface &surface, int x, int y, const QString &text)
{
    if (!text.isEmpty())
        surface.TextOut(x, y, text);
}

} // namespace

void RenderReport(ReportSurface &surface, const ReportData &data, int pageWidth, int pageHeight)
{
    const int pageBottom = -pageHeight;
    surface.SetFont(Family, 80, true);
    int y = PageTop;
    surface.TextOut(Left, y, QStringLiteral("TAVREL  ") + data.Caption);
    const int ht = surface.TextHeight(data.Caption);

    y -= 1 + ht + 100;
    surface.SetFont(Family, 40, true);
    surface.TextOut(Left, y, data.PrintHeading);
    // Every later advance uses this one height, whatever font follows.
    const int h = surface.TextHeight(data.PrintHeading);

    y -= 1 + h + 10;
    surface.Line(Left, y, pageWidth - Left, y);

    y -= 1 + h + 10;
    BasicDataLine(surface, y, data.SpotName, data.SpotValue);
    y -= 1 + h + 8;
    BasicDataLine(surface, y, data.DistanceName + QStringLiteral(" a"), data.DistanceValue);
    y -= 1 + h + 8;
    surface.TextOut(Left, y, data.ApertureName + QStringLiteral(":"));
    surface.TextOut(ValueX, y, data.ApertureValue + QStringLiteral(" mm"));

    y -= 1 + h + 100;
    surface.SetFont(Family, 40, true);
    surface.TextOut(Left, y, data.CalcValuesHeading);
    y -= 1 + h + 10;
    surface.Line(Left, y, pageWidth - Left, y);

    y -= 1 + h + 10;
    // The header line and its rule; y ends at the first row's position.
    const auto tableHeader = [&] {
        HeaderCell(surface, Left, y, data.Header0);
        HeaderCell(surface, Column1X, y, data.Header1);
        y -= 1 + h + 10;
        surface.Line(Left, y, TableRuleRight, y);
        y -= 1 + h + 10;
        surface.SetFont(Family, 40, false);
    };
    tableHeader();
    for (const auto &[distance, spot] : data.Rows) {
        if (y - h < pageBottom) {
            surface.NewPage();
            y = PageTop;
            tableHeader();
        }
        Cell(surface, Left, y, distance);
        Cell(surface, Column1X, y, spot);
        y -= 1 + h + 3;
    }

    const QImage &diagram = data.Diagram;
    if (diagram.isNull())
        return;
    int top = y - (1 + h + 150);
    const int width = pageWidth - 2 * Left;
    const int height = int(double(diagram.height()) / diagram.width() * width);
    if (top - height < pageBottom) {
        surface.NewPage();
        top = PageTop;
    }
    surface.PrintBitmap(Left, top, pageWidth - Left, top - height, diagram);
}

int PageWidthUnits(int printableWidthPixels, int dotsPerInch)
{
    if (dotsPerInch <= 0)
        return 0;
    return int(qint64(printableWidthPixels) * 254 / dotsPerInch);
}

PainterSurface::PainterSurface(QPainter &painter)
    : FPainter(painter), FDevice(painter.device()), FDpiX(FDevice->logicalDpiX()),
      FDpiY(FDevice->logicalDpiY())
{
}

QPointF PainterSurface::ToDevice(int x, int y) const
{
    return {x * FDpiX / 254.0, -y * FDpiY / 254.0};
}

void PainterSurface::SetFont(const QString &family, int height, bool bold)
{
    // Fonts are sized by their em; the page sizes them by their cell. The
    // cell grows linearly with the em once hinting is off, so one reference
    // measurement gives the scale.
    constexpr double ReferencePoints = 720;
    QFont font(family);
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setPointSizeF(ReferencePoints);
    const QFontMetricsF reference(font, FDevice);
    const double cell = reference.ascent() + reference.descent();
    const double wantedPixels = height * FDpiY / 254.0;
    if (cell > 0)
        font.setPointSizeF(ReferencePoints * wantedPixels / cell);
    FFont = font;
}

int PainterSurface::TextWidth(const QString &text)
{
    return qRound(QFontMetricsF(FFont, FDevice).horizontalAdvance(text) * 254.0 / FDpiX);
}

int PainterSurface::TextHeight(const QString &)
{
    const QFontMetricsF metrics(FFont, FDevice);
    return qRound((metrics.ascent() + metrics.descent()) * 254.0 / FDpiY);
}

void PainterSurface::TextOut(int x, int y, const QString &text)
{
    if (text.isEmpty())
        return;
    FPainter.setFont(FFont);
    FPainter.setPen(Qt::black);
    const QFontMetricsF metrics(FFont, FDevice);
    FPainter.drawText(ToDevice(x, y) + QPointF(0, metrics.ascent()), text);
}

void PainterSurface::Line(int x1, int y1, int x2, int y2)
{
    QPen pen(Qt::black);
    pen.setWidthF(FDpiX / 254.0);
    FPainter.setPen(pen);
    FPainter.drawLine(ToDevice(x1, y1), ToDevice(x2, y2));
}

void PainterSurface::PrintBitmap(int left, int top, int right, int bottom, const QImage &image)
{
    if (image.isNull())
        return;
    // The page gets an 8-bit picture with its colour table, drawn opaque:
    // what is transparent in the source prints as white paper.
    QImage indexed;
    if (image.format() == QImage::Format_Indexed8) {
        indexed = image;
        QList<QRgb> colours = indexed.colorTable();
        for (QRgb &c : colours) {
            const int a = qAlpha(c);
            const auto overWhite = [a](int v) { return (v * a + 255 * (255 - a) + 127) / 255; };
            c = qRgb(overWhite(qRed(c)), overWhite(qGreen(c)), overWhite(qBlue(c)));
        }
        indexed.setColorTable(colours);
    } else {
        QImage opaque(image.size(), QImage::Format_RGB32);
        opaque.fill(Qt::white);
        {
            QPainter p(&opaque);
            p.drawImage(0, 0, image);
        }
        indexed = opaque.convertToFormat(QImage::Format_Indexed8);
    }
    // Line art: a PDF printer would otherwise store it as JPEG.
    FPainter.setRenderHint(QPainter::LosslessImageRendering);
    FPainter.drawImage(QRectF(ToDevice(left, top), ToDevice(right, bottom)), indexed);
}

void PainterSurface::NewPage()
{
    auto *paged = dynamic_cast<QPagedPaintDevice *>(FDevice);
    if (paged == nullptr || !paged->newPage())
        throw Exception(QStringLiteral("Der Druckauftrag kann keine weitere Seite beginnen"));
}

namespace {

void PrintJob(QPrinter &printer, const ReportData &data)
{
    const int resolution = printer.resolution();
    const QRect printable = printer.pageLayout().paintRectPixels(resolution);
    QPainter painter;
    if (!painter.begin(&printer))
        throw Exception(QStringLiteral("Der Druckauftrag kann nicht gestartet werden"));
    PainterSurface surface(painter);
    RenderReport(surface, data, PageWidthUnits(printable.width(), resolution),
                 PageWidthUnits(printable.height(), resolution));
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

void PrintReport(QPrinter &printer, const ReportData &data)
{
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setDocName(QFileInfo(QCoreApplication::applicationFilePath()).fileName());
    const QString target =
        printer.outputFormat() == QPrinter::PdfFormat ? printer.outputFileName() : QString();
    if (target.isEmpty()) {
        PrintJob(printer, data);
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
    PrintJob(printer, data);
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
