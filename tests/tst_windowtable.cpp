// The calculator window's results table, its CSV export, the print run and
// the links to the about window.

#include "FormTestSupport.h"

#include "InfoUnit/InfoForm.h"
#include "OpticCalcUnit/Controls.h"
#include "OpticCalcUnit/ResultsGrid.h"

#include <QFile>
#include <QLineEdit>
#include <QMenuBar>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>

class TestWindowTable : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void toTableCopiesShownTextsEvenWhileNewRowIsDisabled();
    void recalculation_data();
    void recalculation();
    void recalculationLeavesSliderLineAndEditsAlone();
    void enterInTheTableRecalculates();
    void typedCommaBecomesPointInACell();
    void clearingKeepsHeaders();
    void hintsPerColumn();

    void exportWorkedExample();
    void exportCancelledWritesNothing();

    void printToPdfPagesFollowRows_data();
    void printToPdfPagesFollowRows();
    void printCancelledPrintsNothing();

    void logoOpensWebAddressWithoutAboutWindow();
    void infoShowsAboutWindowWithCurrentCaption();

private:
    TResultsGrid *Grid() { return Child<TResultsGrid>(*FForm, "Grid"); }
    void SetBasicData(const char *m90, const char *a, const char *d);
    void AddRow(const QString &distance, const QString &spot);

    std::unique_ptr<TemporarySettings> FSettings;
    std::unique_ptr<TOpticCalcForm> FForm;
    QTemporaryDir FDir;
};

void TestWindowTable::init()
{
    FSettings = std::make_unique<TemporarySettings>();
    FForm = std::make_unique<TOpticCalcForm>();
    FForm->show();
    QVERIFY(QTest::qWaitForWindowExposed(FForm.get()));
}

void TestWindowTable::cleanup()
{
    FForm.reset();
    FSettings.reset();
}

void TestWindowTable::SetBasicData(const char *m90, const char *a, const char *d)
{
    Child<QLineEdit>(*FForm, "MEdit")->setText(QString::fromLatin1(m90));
    Child<QLineEdit>(*FForm, "AEdit")->setText(QString::fromLatin1(a));
    Child<QLineEdit>(*FForm, "DEdit")->setText(QString::fromLatin1(d));
}

void TestWindowTable::AddRow(const QString &distance, const QString &spot)
{
    FForm->NewRowButtonClick();
    Grid()->SetCell(0, Grid()->RowCount() - 1, distance);
    Grid()->SetCell(1, Grid()->RowCount() - 1, spot);
}

void TestWindowTable::toTableCopiesShownTextsEvenWhileNewRowIsDisabled()
{
    auto *newRow = Child<QPushButton>(*FForm, "NewRowButton");
    QTRY_VERIFY(!newRow->isEnabled());
    Child<QLineEdit>(*FForm, "A2Edit")->setText(QStringLiteral("typed \"x\""));
    Child<QLineEdit>(*FForm, "M2Edit")->setText(QStringLiteral("20.0"));
    QTRY_VERIFY(Child<QPushButton>(*FForm, "ToTableButton")->isEnabled());
    QVERIFY(!newRow->isEnabled());
    QTest::mouseClick(Child<QPushButton>(*FForm, "ToTableButton"), Qt::LeftButton);
    QCOMPARE(Grid()->RowCount(), 2);
    QCOMPARE(Grid()->Cell(0, 1), QStringLiteral("typed \"x\""));
    QCOMPARE(Grid()->Cell(1, 1), QStringLiteral("20.0"));
}

void TestWindowTable::recalculation_data()
{
    QTest::addColumn<QString>("basicD");
    QTest::addColumn<QString>("distance");
    QTest::addColumn<QString>("spot");
    QTest::addRow("typed-distance") << "20"
                                    << "250"
                                    << "15.0";
    QTest::addRow("taken-over-distance") << "20"
                                         << "1000.0"
                                         << "40.0";
    QTest::addRow("decimal-distance") << "20"
                                      << "5.5"
                                      << "19.9";
    QTest::addRow("exponent-distance") << "20"
                                       << "2.5e2"
                                       << "15.0";
    QTest::addRow("empty-distance-skipped") << "20"
                                            << ""
                                            << "old";
    QTest::addRow("point-alone-skipped") << "20"
                                         << "."
                                         << "old";
    QTest::addRow("two-points-skipped") << "20"
                                        << "1.2.3"
                                        << "old";
    QTest::addRow("negative-pasted-skipped") << "20"
                                             << "-5"
                                             << "old";
    QTest::addRow("beyond-float-range-skipped") << "20" << QString(50, u'9') << "old";
    // Rows the model rejects get no spot rather than an earlier row's.
    QTest::addRow("zero-distance-rejected") << "20"
                                            << "0"
                                            << "";
    QTest::addRow("zero-aperture-rejected") << "0"
                                            << "250"
                                            << "";
}

void TestWindowTable::recalculation()
{
    QFETCH(QString, basicD);
    QFETCH(QString, distance);
    QFETCH(QString, spot);
    SetBasicData("10", "500", basicD.toLatin1().constData());
    AddRow(QStringLiteral("100"), QString());
    AddRow(distance, QStringLiteral("old"));
    FForm->CalcButtonClick();
    QCOMPARE(Grid()->Cell(1, 2), spot);
    QCOMPARE(Grid()->Cell(0, 2), distance);
}

void TestWindowTable::recalculationLeavesSliderLineAndEditsAlone()
{
    SetBasicData("10", "500", "30");
    Child<QSlider>(*FForm, "Slider")->setValue(96);
    AddRow(QStringLiteral("1000"), QString());
    AddRow(QStringLiteral("625"), QString());
    Child<QLineEdit>(*FForm, "DEdit")->setText(QStringLiteral("20"));
    QVERIFY(WaitForWatch(*FForm));
    QTest::mouseClick(Child<QPushButton>(*FForm, "CalcButton"), Qt::LeftButton);
    QCOMPARE(Grid()->Cell(1, 1), QStringLiteral("40.0"));
    QCOMPARE(Grid()->Cell(1, 2), QStringLiteral("17.5"));
    QCOMPARE(Child<QSlider>(*FForm, "Slider")->value(), 96);
    QCOMPARE(Child<QWidget>(*FForm, "Line")->x(), 390);
    QCOMPARE(Child<QLineEdit>(*FForm, "A2Edit")->text(), QStringLiteral("250.0"));
    QCOMPARE(Child<QLineEdit>(*FForm, "M2Edit")->text(), QStringLiteral("20.0"));
    QCOMPARE(FForm->CalcDistance(), 625.0f);
    QCOMPARE(FForm->CalcSpotValue(), 17.5f);
}

void TestWindowTable::enterInTheTableRecalculates()
{
    SetBasicData("10", "500", "30");
    QVERIFY(WaitForWatch(*FForm));
    AddRow(QStringLiteral("250"), QString());
    Grid()->setFocus();
    QTest::keyClick(Grid(), Qt::Key_Return);
    QCOMPARE(Grid()->Cell(1, 1), QStringLiteral("20.0"));

    // With the header row alone only the basic data are read again.
    FForm->GridClearButtonClick();
    Child<QLineEdit>(*FForm, "MEdit")->setText(QStringLiteral("40"));
    QTest::keyClick(Grid(), Qt::Key_Return);
    QCOMPARE(Grid()->RowCount(), 1);
    QCOMPARE(Child<TPicture>(*FForm, "Image1")->Tag, 2);
}

void TestWindowTable::typedCommaBecomesPointInACell()
{
    SetBasicData("10", "500", "30");
    QVERIFY(WaitForWatch(*FForm));
    AddRow(QString(), QString());
    Grid()->setFocus();
    Grid()->setCurrentCell(0, 0);
    for (const char c : {'5', ',', 'a', '-', ' ', '5'})
        QTest::keyClick(QApplication::focusWidget(), c);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(Grid()->Cell(0, 1), QStringLiteral("5.5"));
    QCOMPARE(Grid()->Cell(1, 1), QStringLiteral("29.8"));
}

void TestWindowTable::clearingKeepsHeaders()
{
    const QString header0 = Grid()->Cell(0, 0);
    const QString header1 = Grid()->Cell(1, 0);
    FForm->GridClearButtonClick();
    QCOMPARE(Grid()->RowCount(), 1);
    for (int i = 0; i < 5; ++i)
        AddRow(QString::number(i), QString());
    FForm->GridClearButtonClick();
    QCOMPARE(Grid()->RowCount(), 1);
    QCOMPARE(Grid()->Cell(0, 0), header0);
    QCOMPARE(Grid()->Cell(1, 0), header1);
}

void TestWindowTable::hintsPerColumn()
{
    QVERIFY(!FForm->HintDistance().isEmpty());
    AddRow(QStringLiteral("250"), QStringLiteral("20.0"));
    QString hint;
    for (int row : {0, 1, 7}) {
        FForm->GridGridHint(row, 0, hint);
        QCOMPARE(hint, FForm->HintDistance());
        FForm->GridGridHint(row, 1, hint);
        QCOMPARE(hint, FForm->HintSpot());
    }
    auto *grid = Grid();
    const QRect cell = grid->visualRect(grid->model()->index(0, 1));
    QCOMPARE(grid->HintAt(cell.center()), FForm->HintSpot());
    QCOMPARE(grid->HintAt(QPoint(5, grid->viewport()->height() - 3)), grid->GeneralHint());
    QCOMPARE(grid->HeaderHintAt(QPoint(3, 5)), FForm->HintDistance());
}

void TestWindowTable::exportWorkedExample()
{
    FForm->ApplyLanguage(QStringLiteral("Deutsch"));
    QCOMPARE(Grid()->Cell(0, 0), QStringLiteral("Messabstand a [mm]"));
    QCOMPARE(Grid()->Cell(1, 0), QStringLiteral("Messfleck M90 [mm]"));
    AddRow(QStringLiteral("250.0"), QStringLiteral("15.0"));
    AddRow(QStringLiteral("1000"), QStringLiteral("40.0"));
    const QString path = FDir.filePath(QStringLiteral("table.csv"));
    FForm->AskExportPath = [&] { return std::optional<QString>(path); };
    FForm->ExportButtonClick();

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const bool german = FForm->SavedDecimalSeparator() == ',';
    const QByteArray expected =
        german ? QByteArray("Messabstand a [mm];Messfleck M90 [mm]\r\n250,0;15,0\r\n1000;40,0\r\n")
               : QByteArray("Messabstand a [mm];Messfleck M90 [mm]\r\n250.0;15.0\r\n1000;40.0\r\n");
    QCOMPARE(file.readAll(), expected);
    QCOMPARE(expected.size(), 62);
    QCOMPARE(Grid()->Cell(0, 1), QStringLiteral("250.0"));
}

void TestWindowTable::exportCancelledWritesNothing()
{
    AddRow(QStringLiteral("1"), QString());
    int asked = 0;
    FForm->AskExportPath = [&] {
        ++asked;
        return std::optional<QString>();
    };
    BoxWatcher watcher;
    const QStringList before = QDir(FDir.path()).entryList(QDir::Files);
    FForm->ExportButtonClick();
    QCOMPARE(asked, 1);
    QVERIFY(watcher.Boxes.isEmpty());
    QCOMPARE(QDir(FDir.path()).entryList(QDir::Files), before);
}

void TestWindowTable::printToPdfPagesFollowRows_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("pages");
    QTest::addRow("what-fits-keeps-one-page") << 20 << 1;
    QTest::addRow("sixty-rows-continue-on-a-second-page") << 60 << 2;
}

void TestWindowTable::printToPdfPagesFollowRows()
{
    QFETCH(int, rows);
    QFETCH(int, pages);
    SetBasicData("10", "500", "30");
    for (int i = 0; i < rows; ++i)
        AddRow(QString::number(250 + i), QStringLiteral("20.0"));
    const QString pdf = FDir.filePath(QStringLiteral("report.pdf"));
    FForm->AskPrinter = [&](QPrinter &printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return true;
    };
    FForm->PrintButtonClick();
    QVERIFY(QFileInfo(pdf).size() > 0);

    const QString pdfinfo = QStandardPaths::findExecutable(QStringLiteral("pdfinfo"));
    if (pdfinfo.isEmpty())
        QSKIP("pdfinfo (poppler-utils) is not installed");
    QProcess info;
    info.start(pdfinfo, {pdf});
    QVERIFY(info.waitForFinished());
    const QString details = QString::fromUtf8(info.readAllStandardOutput());
    QVERIFY2(QRegularExpression(QStringLiteral("^Pages: +%1$").arg(pages),
                                QRegularExpression::MultilineOption)
                 .match(details)
                 .hasMatch(),
             qPrintable(details));
    QProcess text;
    text.start(QStandardPaths::findExecutable(QStringLiteral("pdftotext")),
               {pdf, QStringLiteral("-")});
    QVERIFY(text.waitForFinished());
    const QString page = QString::fromUtf8(text.readAllStandardOutput());
    QVERIFY(page.contains(QStringLiteral("TAVREL")));
    QVERIFY(page.contains(FForm->PrintHeading().trimmed()));
    QVERIFY(page.contains(QStringLiteral("250")));
}

void TestWindowTable::printCancelledPrintsNothing()
{
    AddRow(QStringLiteral("1"), QString());
    const QString pdf = FDir.filePath(QStringLiteral("cancelled.pdf"));
    FForm->AskPrinter = [&](QPrinter &printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return false;
    };
    FForm->PrintButtonClick();
    QVERIFY(!QFileInfo::exists(pdf));
}

void TestWindowTable::logoOpensWebAddressWithoutAboutWindow()
{
    TInfoForm about(FForm.get());
    FForm->SetInfoForm(&about);
    QList<QUrl> opened;
    const auto previous = TInfoForm::OpenUrl;
    TInfoForm::OpenUrl = [&](const QUrl &url) {
        opened.append(url);
        return false;
    };
    QTest::mouseClick(Child<QWidget>(*FForm, "Image3"), Qt::LeftButton);
    TInfoForm::OpenUrl = previous;
    QCOMPARE(opened.size(), 1);
    QCOMPARE(opened.at(0).host(), QStringLiteral("www.tavrel.example"));
    QVERIFY(!about.isVisible());
}

void TestWindowTable::infoShowsAboutWindowWithCurrentCaption()
{
    TInfoForm about(FForm.get());
    FForm->SetInfoForm(&about);
    FForm->ApplyLanguage(QStringLiteral("Deutsch"));
    QString shownName;
    bool wasModal = false;
    QTimer::singleShot(50, this, [&] {
        wasModal = QApplication::activeModalWidget() == &about;
        shownName = about.findChild<QLabel *>(QStringLiteral("ProgrammNameLabel"))->text();
        about.accept();
    });
    FForm->menuBar()->actions().at(2)->menu()->actions().at(0)->trigger();
    QVERIFY(wasModal);
    QCOMPARE(shownName, FForm->windowTitle());
    QVERIFY(!about.isVisible());
}

QTEST_MAIN(TestWindowTable)
#include "tst_windowtable.moc"
