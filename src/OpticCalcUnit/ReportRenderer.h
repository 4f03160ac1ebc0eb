#pragma once

#include <QFont>
#include <QImage>
#include <QList>
#include <QString>

#include <utility>

class QPainter;
class QPaintDevice;
class QPrinter;

// Everything the printed page shows, gathered by the window at print time.
struct ReportData
{
    QString Caption;                         // the window's caption
    QString PrintHeading;                    // FPrintHeading
    QString CalcValuesHeading;               // FCalcValuesHeading
    QString SpotName;                        // caption of Label3
    QString DistanceName;                    // caption of Label2
    QString ApertureName;                    // caption of Label1
    QString SpotValue;                       // text of MEdit, verbatim
    QString DistanceValue;                   // text of AEdit, verbatim
    QString ApertureValue;                   // text of DEdit, verbatim
    QString Header0;                         // table cell (0, 0)
    QString Header1;                         // table cell (1, 0)
    QList<std::pair<QString, QString>> Rows; // data rows, column 0 and 1
    QImage Diagram;                          // the beam diagram
};

// A page in units of 0.1 mm with y upward, origin at the top-left of the
// printable area; text is placed by the top-left of its character cell.
class ReportSurface
{
public:
    virtual ~ReportSurface() = default;
    // height is the character cell (ascent + descent), not the em size.
    virtual void SetFont(const QString &family, int height, bool bold) = 0;
    virtual int TextWidth(const QString &text) = 0;
    virtual int TextHeight(const QString &text) = 0;
    virtual void TextOut(int x, int y, const QString &text) = 0;
    virtual void Line(int x1, int y1, int x2, int y2) = 0;
    // Fills the rectangle exactly (top > bottom), upright and opaque.
    virtual void PrintBitmap(int left, int top, int right, int bottom, const QImage &image) = 0;
    // Ends the page; the next one starts with the same origin.
    virtual void NewPage() = 0;
};

// Draws the report; pageWidth is W, pageHeight the printable height, both in
// page units. What fits on one page is laid out as that one page; rows below
// the printable area continue on further pages under the repeated table
// header, and the diagram follows the last row, or starts a page of its own.
void RenderReport(ReportSurface &surface, const ReportData &data, int pageWidth, int pageHeight);

// W (or the printable height): printable pixels in page units, truncated
// toward zero.
int PageWidthUnits(int printableWidthPixels, int dotsPerInch);

// A surface on a painter whose device origin is the top-left of the printable
// area (a QPrinter, a QPdfWriter, a QImage).
class PainterSurface : public ReportSurface
{
public:
    explicit PainterSurface(QPainter &painter);

    void SetFont(const QString &family, int height, bool bold) override;
    int TextWidth(const QString &text) override;
    int TextHeight(const QString &text) override;
    void TextOut(int x, int y, const QString &text) override;
    void Line(int x1, int y1, int x2, int y2) override;
    void PrintBitmap(int left, int top, int right, int bottom, const QImage &image) override;
    // Throws Exception when the device refuses a further page.
    void NewPage() override;

private:
    QPointF ToDevice(int x, int y) const;

    QPainter &FPainter;
    QPaintDevice *FDevice;
    double FDpiX;
    double FDpiY;
    QFont FFont;
};

// Steps after the print dialog: portrait, measure the page, name the job,
// draw, end the job. Throws Exception when the job cannot be started or
// ended. A PDF file is written beside its target and takes its place only
// when complete; otherwise EFileError names it, and no cut-off file remains.
void PrintReport(QPrinter &printer, const ReportData &data);
