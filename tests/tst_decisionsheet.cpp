// The planner's printed decision sheet: one page with its texts and the chart
// as one picture, on A4 or Letter, and a failed job that leaves the printer
// usable.

#include "PlannerUnit/ComparisonModel.h"
#include "PlannerUnit/DecisionSheet.h"
#include "shared/Exception.h"

#include <QApplication>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The worked example: 10/500/30 and 5/300/20, target 20 at 450 mm, margin 1.5.
ChartData WorkedExample(const QString &language)
{
    ChartData chart;
    chart.Texts = TPlannerTexts(language);
    chart.Input.Optics = {{"Calculator", SpotOptics{10, 500, 30}, 0xd62728},
                          {"Short focus", SpotOptics{5, 300, 20}, 0x1f77b4}};
    chart.Input.Target = 20;
    chart.Input.Distance = 450;
    chart.Input.Margin = 1.5;
    chart.Input.Tilt = 0;
    chart.Results = ComputePlanner(chart.Input);
    return chart;
}

QString Run(const QString &tool, const QStringList &arguments)
{
    QProcess run;
    run.start(tool, arguments);
    run.waitForFinished();
    return QString::fromUtf8(run.readAllStandardOutput());
}

} // namespace

class TestDecisionSheet : public QObject
{
    Q_OBJECT

private slots:
    void printedPage_data();
    void printedPage();
};

void TestDecisionSheet::printedPage_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<int>("printerPage"); // QPageSize::PageSizeId
    QTest::addColumn<QString>("pageSize");
    QTest::addColumn<QStringList>("words");

    const QStringList english{"Target planner: decision",
                              "2026-12-10",
                              "Inputs",
                              "Target diameter:",
                              "20 mm",
                              "Working distance:",
                              "450 mm",
                              "Margin:",
                              "1.5",
                              "Tilt:",
                              "0°",
                              "Unit:",
                              "Comparison",
                              "Short focus",
                              "best",
                              "Chart"};
    QTest::addRow("english-a4") << QStringLiteral("English") << int(QPageSize::A4)
                                << QStringLiteral("595 x 842 pts (A4)") << english;
    QTest::addRow("english-letter-kept") << QStringLiteral("English") << int(QPageSize::Letter)
                                         << QStringLiteral("612 x 792 pts (letter)") << english;
    QTest::addRow("german-a3-becomes-a4")
        << QStringLiteral("Deutsch") << int(QPageSize::A3) << QStringLiteral("595 x 842 pts (A4)")
        << QStringList{"Messobjekt-Planer: Entscheidung",
                       "Eingaben",
                       "Arbeitsabstand:",
                       "Vergleich",
                       "beste",
                       "Diagramm"};
}

void TestDecisionSheet::printedPage()
{
    QFETCH(QString, language);
    QFETCH(int, printerPage);
    QFETCH(QString, pageSize);
    QFETCH(QStringList, words);
    for (const char *tool : {"pdftotext", "pdfimages", "pdfinfo"}) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            QSKIP(qPrintable(QStringLiteral("%1 is not installed").arg(QLatin1String(tool))));
    }

    const ChartData chart = WorkedExample(language);
    TComparisonModel comparison;
    comparison.SetTexts(chart.Texts);
    comparison.SetPlan(chart.Input, chart.Results);
    const DecisionSheetData data = GatherDecisionSheet(chart, comparison, QDate(2026, 12, 10));

    QTemporaryDir dir;
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setPageSize(QPageSize(QPageSize::PageSizeId(printerPage)));
    printer->setPageOrientation(QPageLayout::Landscape);

    // A folder that is not there: reported, no file, and a fresh printer.
    printer->setOutputFileName(dir.filePath(QStringLiteral("missing/sheet.pdf")));
    const QPrinter *failed = printer.get();
    QVERIFY_THROWS_EXCEPTION(EFileError, PrintDecisionSheet(printer, data));
    QVERIFY(printer.get() != failed);
    QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("missing"))));

    const QString pdf = dir.filePath(QStringLiteral("sheet.pdf"));
    printer->setOutputFileName(pdf);
    PrintDecisionSheet(printer, data);
    QCOMPARE(printer->pageLayout().orientation(), QPageLayout::Portrait);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("sheet.pdf")});

    const QString info = Run(QStringLiteral("pdfinfo"), {pdf}).simplified();
    QVERIFY2(info.contains(QStringLiteral("Pages: 1 ")), qPrintable(info));
    QVERIFY2(info.contains(pageSize), qPrintable(info));
    const QString text = Run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, "-"});
    for (const QString &word : words)
        QVERIFY2(text.contains(word), qPrintable(word + QStringLiteral(" missing in\n") + text));
    // The best row is the only one marked.
    QCOMPARE(text.count(chart.Texts[PlannerText::Best] + u'\n'), 1);

    // The chart is the one picture, stored without loss.
    const QStringList images = Run(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf})
                                   .split(u'\n', Qt::SkipEmptyParts)
                                   .mid(2);
    QCOMPARE(images.size(), 1);
    QVERIFY(images.first().simplified().split(u' ').value(8) != QStringLiteral("jpeg"));
}

QTEST_MAIN(TestDecisionSheet)
#include "tst_decisionsheet.moc"
