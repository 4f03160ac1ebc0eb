#include "OpticCalcUnit/ReportRenderer.h"
#include "shared/Exception.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Writes every drawing call as one line, with the font in force for texts.
class RecordingSurface : public ReportSurface
{
public:
    int TitleHeight = 80;
    int LineHeight = 40;
    QStringList Calls;

    void SetFont(const QString &family, int height, bool bold) override
    {
        Font = QStringLiteral("%1/%2%3").arg(family).arg(height).arg(bold ? "b" : "");
        Height = height;
    }
    int TextWidth(const QString &text) override { return 20 * int(text.size()); }
    int TextHeight(const QString &) override
    {
        return Height == 80 ? TitleHeight : Height == 40 ? LineHeight : Height;
    }
    void TextOut(int x, int y, const QString &text) override
    {
        Calls << QStringLiteral("text %1,%2 %3 %4").arg(x).arg(y).arg(Font, text);
    }
    void Line(int x1, int y1, int x2, int y2) override
    {
        Calls << QStringLiteral("line %1,%2 %3,%4").arg(x1).arg(y1).arg(x2).arg(y2);
    }
    void PrintBitmap(int left, int top, int right, int bottom, const QImage &image) override
    {
        Calls << QStringLiteral("image %1,%2 %3,%4 %5x%6")
                     .arg(left)
                     .arg(top)
                     .arg(right)
                     .arg(bottom)
                     .arg(image.width())
                     .arg(image.height());
    }
    void NewPage() override { Calls << QStringLiteral("page"); }

private:
    QString Font;
    int Height = 0;
};

QImage SyntheticDiagram()
{
    QImage image(674, 187, QImage::Format_Indexed8);
    image.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 255), qRgb(0, 0, 0)});
    image.fill(1);
    for (int x = 0; x < image.width(); ++x)
        image.setPixel(x, 90, 2);
    return image;
}

ReportData Sample(int rows = 0)
{
    ReportData d;
    d.Caption = "Optikrechner Spot";
    d.PrintHeading = "Optische Basisdaten Pyrometer";
    d.CalcValuesHeading = "Berechnete Werte";
    d.SpotName = "Messfleck M90";
    d.DistanceName = "Messabstand";
    d.ApertureName = "Apertur D";
    d.SpotValue = "10";
    d.DistanceValue = "500";
    d.ApertureValue = "20";
    d.Header0 = "Messabstand a [mm]";
    d.Header1 = "Messfleck M90 [mm]";
    for (int k = 1; k <= rows; ++k)
        d.Rows.append({QString::number(100 * k) + ".0", "12.5"});
    d.Diagram = SyntheticDiagram();
    return d;
}

// A page tall enough for everything, unless another height is given.
QStringList Record(const ReportData &data, int titleHeight = 80, int lineHeight = 40,
                   int pageHeight = 100000)
{
    RecordingSurface surface;
    surface.TitleHeight = titleHeight;
    surface.LineHeight = lineHeight;
    RenderReport(surface, data, 2032, pageHeight);
    return surface.Calls;
}

QStringList CallsStartingWith(const QStringList &calls, const QString &prefix)
{
    QStringList found;
    for (const QString &c : calls) {
        if (c.startsWith(prefix))
            found << c;
    }
    return found;
}

struct Word
{
    QString Text;
    double X; // page units from the printable area's left
    double Y; // page units below the printable area's top
    double Right;
};

} // namespace

class TstReport : public QObject
{
    Q_OBJECT

private slots:
    void pageLayout();
    void measuredHeightsDriveAdvances();
    void diagramFollowsTable_data();
    void diagramFollowsTable();
    void longTableContinuesOnPages_data();
    void longTableContinuesOnPages();
    void headerSplit_data();
    void headerSplit();
    void pageWidth_data();
    void pageWidth();

    void fontCellHeights();
    void imageFillsRectOpaqueUpright();
    void pdfPage();
    void unwritableTargetThrows();
};

void TstReport::pageLayout()
{
    ReportData data = Sample();
    data.SpotValue.clear();
    data.Rows = {{"250.0", "15.0"}, {"1000", ""}};
    const QStringList expected = {
        "text 250,-250 Arial/80b TAVREL  Optikrechner Spot",
        "text 250,-431 Arial/40b Optische Basisdaten Pyrometer",
        "line 250,-482 1782,-482",
        "text 250,-533 Arial/40 Messfleck M90",
        "text 510,-553 Arial/30 0",
        "text 530,-533 Arial/40 :",
        "text 600,-533 Arial/40  mm",
        "text 250,-582 Arial/40 Messabstand a",
        "text 510,-602 Arial/30 0",
        "text 530,-582 Arial/40 :",
        "text 600,-582 Arial/40 500 mm",
        "text 250,-631 Arial/40 Apertur D:",
        "text 600,-631 Arial/40 20 mm",
        "text 250,-772 Arial/40b Berechnete Werte",
        "line 250,-823 1782,-823",
        "text 250,-874 Arial/40b Messabstand a",
        "text 510,-894 Arial/30b n",
        "text 530,-874 Arial/40b [mm]",
        "text 750,-874 Arial/40b Messfleck M90",
        "text 1010,-894 Arial/30b n",
        "text 1030,-874 Arial/40b [mm]",
        "line 250,-925 1150,-925",
        "text 250,-976 Arial/40 250.0",
        "text 750,-976 Arial/40 15.0",
        "text 250,-1020 Arial/40 1000",
        "image 250,-1255 1782,-1680 674x187",
    };
    QCOMPARE(Record(data), expected);
}

void TstReport::measuredHeightsDriveAdvances()
{
    // HT only moves the heading; H moves everything after it.
    const QStringList calls = Record(Sample(1), 90, 45);
    QVERIFY(calls.contains("text 250,-441 Arial/40b Optische Basisdaten Pyrometer"));
    QVERIFY(calls.contains("line 250,-497 1782,-497"));
    QVERIFY(calls.contains("text 250,-553 Arial/40 Messfleck M90"));
    QVERIFY(calls.contains("text 250,-661 Arial/40 Apertur D:"));
    QVERIFY(calls.contains("text 250,-919 Arial/40b Messabstand a"));
    QVERIFY(calls.contains("text 250,-1031 Arial/40 100.0"));
    QCOMPARE(calls.last(), "image 250,-1276 1782,-1701 674x187");
}

void TstReport::diagramFollowsTable_data()
{
    QTest::addColumn<int>("rows");
    QTest::addRow("no-data-rows") << 0;
    QTest::addRow("one-row") << 1;
    QTest::addRow("thirty-rows") << 30;
    QTest::addRow("forty-five-rows") << 45;
}

void TstReport::diagramFollowsTable()
{
    QFETCH(int, rows);
    const QStringList calls = Record(Sample(rows));
    const QStringList texts = CallsStartingWith(calls, "text 250,-");
    if (rows > 0) {
        QCOMPARE(texts.last(), QStringLiteral("text 250,%1 Arial/40 %2.0")
                                   .arg(-976 - 44 * (rows - 1))
                                   .arg(100 * rows));
    }
    const int top = -1167 - 44 * rows;
    QCOMPARE(calls.last(), QStringLiteral("image 250,%1 1782,%2 674x187").arg(top).arg(top - 425));
    QCOMPARE(CallsStartingWith(calls, "image").size(), 1);
}

void TstReport::longTableContinuesOnPages_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("pages");
    // On a page 2930 units high the first page holds 44 rows, each later one 58.
    QTest::addRow("all-on-one-page-as-before") << 10 << 1;
    QTest::addRow("44-rows-diagram-on-a-page-of-its-own") << 44 << 2;
    QTest::addRow("45-rows-one-continues") << 45 << 2;
    QTest::addRow("200-rows") << 200 << 4;
}

void TstReport::longTableContinuesOnPages()
{
    QFETCH(int, rows);
    QFETCH(int, pages);
    constexpr int pageHeight = 2930;
    const QStringList calls = Record(Sample(rows), 80, 40, pageHeight);
    if (pages == 1)
        QCOMPARE(calls, Record(Sample(rows)));
    QCOMPARE(calls.count("page") + 1, pages);
    QCOMPARE(CallsStartingWith(calls, "image").size(), 1);

    static const QRegularExpression text(
        QStringLiteral("^text (\\d+),(-?\\d+) Arial/(\\d+)b? (.*)$"));
    static const QRegularExpression other(
        QStringLiteral("^(?:line|image) \\d+,(-?\\d+) \\d+,(-?\\d+)"));
    QStringList distances;
    for (qsizetype i = 0; i < calls.size(); ++i) {
        const QString &call = calls.at(i);
        if (call == "page") {
            // A continuation page starts with the table header or the diagram.
            const QString next = calls.value(i + 1);
            QVERIFY2(next.startsWith("text 250,-250 Arial/40b Messabstand") ||
                         next.startsWith("image 250,-250 "),
                     qPrintable(next));
            continue;
        }
        int top = 0;
        int bottom = 0;
        if (const auto m = text.match(call); m.hasMatch()) {
            top = m.captured(2).toInt();
            bottom = top - m.captured(3).toInt();
            if (m.captured(1) == "250" && m.captured(3) == "40" && m.captured(4).endsWith(".0"))
                distances << m.captured(4);
        } else if (const auto n = other.match(call); n.hasMatch()) {
            top = n.captured(1).toInt();
            bottom = n.captured(2).toInt();
        }
        QVERIFY2(top <= 0 && bottom >= -pageHeight, qPrintable(call));
    }
    QStringList expected;
    for (int k = 1; k <= rows; ++k)
        expected << QString::number(100 * k) + ".0";
    QCOMPARE(distances, expected);
}

void TstReport::headerSplit_data()
{
    QTest::addColumn<QString>("header");
    QTest::addColumn<QStringList>("expected");
    QTest::addRow("blanks-around-name-removed")
        << " Abstand a  [mm] x"
        << QStringList{"text 250,-874 Arial/40b Abstand a", "text 430,-894 Arial/30b n",
                       "text 450,-874 Arial/40b [mm]"};
    QTest::addRow("no-bracket-prints-whole")
        << "Abstand" << QStringList{"text 250,-874 Arial/40b Abstand"};
    QTest::addRow("no-closing-bracket-prints-whole")
        << "Abstand [mm " << QStringList{"text 250,-874 Arial/40b Abstand [mm"};
    QTest::addRow("closing-bracket-before-opening-one")
        << "a]b [in]"
        << QStringList{"text 250,-874 Arial/40b a]b", "text 310,-894 Arial/30b n",
                       "text 330,-874 Arial/40b [in]"};
}

void TstReport::headerSplit()
{
    QFETCH(QString, header);
    QFETCH(QStringList, expected);
    ReportData data = Sample();
    data.Header0 = header;
    data.Header1.clear();
    const QStringList calls = Record(data);
    const qsizetype begin = calls.indexOf("line 250,-823 1782,-823") + 1;
    const qsizetype end = calls.indexOf("line 250,-925 1150,-925");
    QVERIFY(begin > 0 && end > begin);
    QStringList header0 = calls.mid(begin, end - begin);
    header0.removeIf([](const QString &c) { return c.startsWith("text 750,"); });
    QCOMPARE(header0, expected);
}

void TstReport::pageWidth_data()
{
    QTest::addColumn<int>("pixels");
    QTest::addColumn<int>("dpi");
    QTest::addColumn<int>("units");
    QTest::addRow("a4-at-600") << 4800 << 600 << 2032;
    QTest::addRow("truncated-not-rounded") << 4958 << 600 << 2098;
    QTest::addRow("no-overflow") << 2000000000 << 600 << 846666666;
    QTest::addRow("no-resolution") << 4800 << 0 << 0;
}

void TstReport::pageWidth()
{
    QFETCH(int, pixels);
    QFETCH(int, dpi);
    QFETCH(int, units);
    QCOMPARE(PageWidthUnits(pixels, dpi), units);
}

void TstReport::fontCellHeights()
{
    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath("fonts.pdf"));
    printer.setResolution(600);
    QPainter painter(&printer);
    PainterSurface surface(painter);
    for (const int height : {80, 40, 30}) {
        for (const bool bold : {true, false}) {
            surface.SetFont("Arial", height, bold);
            QVERIFY2(qAbs(surface.TextHeight("Optikrechner Spot") - height) <= 1,
                     qPrintable(QString::number(surface.TextHeight("x"))));
        }
    }
    // An em of Arial-metric fonts is 0.895 of its cell; "M" is about 0.83 em.
    surface.SetFont("Arial", 40, false);
    QVERIFY(qAbs(surface.TextWidth("MMMMMMMMMM") - 297) <= 6);
}

void TstReport::imageFillsRectOpaqueUpright()
{
    // 254 dpi makes one page unit one pixel.
    QImage page(100, 60, QImage::Format_RGB32);
    page.setDotsPerMeterX(10000);
    page.setDotsPerMeterY(10000);
    page.fill(Qt::black);
    QImage source(4, 2, QImage::Format_ARGB32);
    source.fill(Qt::transparent);
    for (int x = 2; x < 4; ++x) {
        source.setPixel(x, 0, qRgb(255, 0, 0));
        source.setPixel(x, 1, qRgb(0, 0, 255));
    }
    {
        QPainter painter(&page);
        PainterSurface surface(painter);
        surface.PrintBitmap(10, -10, 50, -30, source);
    }
    QCOMPARE(page.pixel(30, 15), qRgb(255, 0, 0));
    QCOMPARE(page.pixel(30, 25), qRgb(0, 0, 255));
    QCOMPARE(page.pixel(15, 15), qRgb(255, 255, 255));
    QCOMPARE(page.pixel(10, 10), qRgb(255, 255, 255));
    QCOMPARE(page.pixel(49, 29), qRgb(0, 0, 255));
    QCOMPARE(page.pixel(9, 15), qRgb(0, 0, 0));
    QCOMPARE(page.pixel(50, 25), qRgb(0, 0, 0));
    QCOMPARE(page.pixel(30, 9), qRgb(0, 0, 0));
    QCOMPARE(page.pixel(30, 30), qRgb(0, 0, 0));
}

void TstReport::pdfPage()
{
    for (const char *tool : {"pdftotext", "pdfimages", "pdftoppm"}) {
        if (QStandardPaths::findExecutable(tool).isEmpty())
            QSKIP(qPrintable(QStringLiteral("%1 is not installed").arg(tool)));
    }
    QTemporaryDir dir;
    const QString pdf = dir.filePath("report.pdf");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setResolution(600);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageMargins(QMarginsF(6.35, 6.35, 6.35, 6.35), QPageLayout::Millimeter);
    printer.setPageOrientation(QPageLayout::Landscape); // the report turns it back

    ReportData data = Sample();
    data.Rows = {{"250.0", "15.0"}, {"1000", "40.0"}};
    // The sample page shows the program's own diagram once it exists.
    const QString diagram =
        QStringLiteral(QT_TESTCASE_SOURCEDIR "/../resources/images/diagram.png");
    if (qEnvironmentVariableIsSet("OPTICCALC_REPORT_SAMPLE") && QFileInfo::exists(diagram))
        data.Diagram = QImage(diagram);
    PrintReport(printer, data);
    QCOMPARE(printer.pageLayout().orientation(), QPageLayout::Portrait);
    QCOMPARE(printer.docName(), QStringLiteral("tst_report"));
    const QRectF printable = printer.pageLayout().paintRect(QPageLayout::Point);
    const double pageWidth = PageWidthUnits(
        printer.pageLayout().paintRectPixels(printer.resolution()).width(), printer.resolution());

    QProcess run;
    run.start("pdftotext", {"-bbox", pdf, "-"});
    QVERIFY(run.waitForFinished());
    const QString html = QString::fromUtf8(run.readAllStandardOutput());
    QCOMPARE(html.count("<page "), 1);
    QList<Word> words;
    static const QRegularExpression wordPattern(QStringLiteral(
        "<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\"[^>]*>([^<]*)</word>"));
    const auto units = [](const QString &points, double origin) {
        return (points.toDouble() - origin) * 254 / 72;
    };
    for (const auto &m : wordPattern.globalMatch(html)) {
        words.append({m.captured(4), units(m.captured(1), printable.left()),
                      units(m.captured(2), printable.top()),
                      units(m.captured(3), printable.left())});
    }
    const auto rightOf = [&](const QString &text, int y) {
        for (const Word &w : words) {
            if (w.Text == text && qAbs(w.Y - y) <= 1)
                return qRound(w.Right);
        }
        return -1000;
    };
    // The word's top is the top of its character cell (ascent + descent).
    const auto expectWord = [&](const QString &text, int x, int y) {
        for (const Word &w : words) {
            if (w.Text == text && qAbs(w.X - x) <= 1 && qAbs(w.Y - y) <= 1)
                return true;
        }
        qWarning() << "missing" << text << x << y;
        for (const Word &w : words) {
            if (w.Text == text)
                qWarning() << "  found at" << w.X << w.Y;
        }
        return false;
    };
    QVERIFY(expectWord("TAVREL", 250, 250));
    QVERIFY(expectWord("Optische", 250, 431));
    QVERIFY(expectWord("Messfleck", 250, 533));
    QVERIFY(expectWord("10", 600, 533));
    QVERIFY(expectWord("500", 600, 582));
    QVERIFY(expectWord("Apertur", 250, 631));
    QVERIFY(expectWord("20", 600, 631));
    QVERIFY(expectWord("Berechnete", 250, 772));
    QVERIFY(expectWord("Messabstand", 250, 874));
    QVERIFY(expectWord("Messfleck", 750, 874));
    // Subscripts start where their name ends, 20 lower; what follows, 20 further.
    QVERIFY(expectWord("0", rightOf("a", 582), 602));
    QVERIFY(expectWord(":", rightOf("a", 582) + 20, 582));
    QVERIFY(expectWord("n", rightOf("a", 874), 894));
    QVERIFY(expectWord("[mm]", rightOf("a", 874) + 20, 874));
    QVERIFY(expectWord("n", rightOf("M90", 874), 894));
    QVERIFY(expectWord("250.0", 250, 976));
    QVERIFY(expectWord("15.0", 750, 976));
    QVERIFY(expectWord("1000", 250, 1020));
    QVERIFY(expectWord("40.0", 750, 1020));
    QCOMPARE(html.count(">Spot</word>"), 1);

    run.start("pdfimages", {"-list", pdf});
    QVERIFY(run.waitForFinished());
    const QStringList imageLines =
        QString::fromUtf8(run.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts).mid(2);
    QCOMPARE(imageLines.size(), 1);
    const QStringList fields = imageLines.first().simplified().split(' ');
    QCOMPARE(fields.value(3), QString::number(data.Diagram.width()));
    QCOMPARE(fields.value(4), QString::number(data.Diagram.height()));
    QVERIFY2(fields.value(8) != "jpeg", "the diagram was stored lossy");

    // At 254 dpi one pixel is one page unit: the blue diagram must fill its
    // rectangle between the margins, below the last data row.
    run.start("pdftoppm", {"-r", "254", "-png", "-singlefile", pdf, dir.filePath("page")});
    QVERIFY(run.waitForFinished());
    const QImage page(dir.filePath("page.png"));
    QVERIFY(!page.isNull());
    if (data.Diagram.pixel(0, 0) == qRgb(0, 0, 255)) {
        QRect blue;
        for (int y = 0; y < page.height(); ++y) {
            for (int x = 0; x < page.width(); ++x) {
                const QRgb c = page.pixel(x, y);
                if (qBlue(c) > 200 && qRed(c) < 60 && qGreen(c) < 60)
                    blue |= QRect(x, y, 1, 1);
            }
        }
        const QPointF origin = printable.topLeft() * 254 / 72;
        const int height = int(187.0 / 674 * (pageWidth - 500));
        const QRectF expected(QPointF(250, 1255) + origin,
                              QPointF(pageWidth - 250, 1255 + height) + origin);
        QVERIFY2(qAbs(blue.left() - expected.left()) <= 2 &&
                     qAbs(blue.top() - expected.top()) <= 2 &&
                     qAbs(blue.right() + 1 - expected.right()) <= 2 &&
                     qAbs(blue.bottom() + 1 - expected.bottom()) <= 2,
                 qPrintable(QStringLiteral("diagram at %1,%2 %3x%4")
                                .arg(blue.x())
                                .arg(blue.y())
                                .arg(blue.width())
                                .arg(blue.height())));
    }

    const QString sample = qEnvironmentVariable("OPTICCALC_REPORT_SAMPLE");
    if (!sample.isEmpty()) {
        run.start("pdftoppm", {"-r", "100", "-png", "-singlefile", pdf, dir.filePath("sample")});
        QVERIFY(run.waitForFinished());
        QFile::remove(sample);
        QVERIFY(QFile::copy(dir.filePath("sample.png"), sample));
    }
}

void TstReport::unwritableTargetThrows()
{
    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString target = dir.filePath("missing/report.pdf");
    printer.setOutputFileName(target);
    try {
        PrintReport(printer, Sample());
        QFAIL("no error for a folder that does not exist");
    } catch (const EFileError &error) {
        QVERIFY2(error.Message().contains(QDir::toNativeSeparators(target)),
                 qPrintable(error.Message()));
    }
    QCOMPARE(printer.outputFileName(), target);
}

QTEST_MAIN(TstReport)
#include "tst_report.moc"
