// The planner's answers at a glance: quantities that survive a unit switch,
// the summary, what the settings keep, the dialogs, the keyboard, what a
// screen reader gets, the chart's decision and a small screen.

#include "PlannerTestSupport.h"

#include "PlannerUnit/ComparisonModel.h"
#include "PlannerUnit/PlannerChart.h"
#include "PlannerUnit/PlannerFormat.h"
#include "main/PlannerLink.h"

#include <QAccessible>
#include <QLabel>
#include <QScreen>
#include <QStandardPaths>
#include <QTableView>
#include <QWheelEvent>

class TestPlannerAnswers : public QObject, private PlannerFixture
{
    Q_OBJECT

private slots:
    void init() { SetUp(); }
    void cleanup() { TearDown(); }

    void unitRoundTrip_data();
    void unitRoundTrip();
    void summary_data();
    void summary();
    void settingsKeepWhatWasTyped();
    void exitReportsOnce();
    void saveDialogsStartInLastFolder();
    void newRowReadyForTyping_data();
    void newRowReadyForTyping();
    void accessibility();
    void chartShowsTheDecision();
    void everythingVisibleAtDefaultSize_data();
    void everythingVisibleAtDefaultSize();
};

void TestPlannerAnswers::unitRoundTrip_data()
{
    QTest::addColumn<QByteArray>("field"); // an edit, or "cell" for row 2's M90
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("inInch");

    // Target 15 with margin 1.5 fits the calculator's optics at exactly 500.
    QTest::addRow("distance-at-a-single-fitting-point") << QByteArray("DistanceEdit") << "500"
                                                        << "19.6850";
    QTest::addRow("target-with-seven-digits-in-inch") << QByteArray("TargetEdit") << "15.00001"
                                                      << "0.590552";
    QTest::addRow("optics-cell") << QByteArray("cell") << "5.123456"
                                 << "0.201711";
    QTest::addRow("text-that-is-no-number-stays") << QByteArray("DistanceEdit") << "5OO"
                                                  << "5OO";
}

void TestPlannerAnswers::unitRoundTrip()
{
    QFETCH(QByteArray, field);
    QFETCH(QString, typed);
    QFETCH(QString, inInch);

    EnterWorkedExample();
    Retype("TargetEdit", QStringLiteral("15"));
    Retype("DistanceEdit", QStringLiteral("500"));
    auto *table = Child<QTableWidget>(*FForm, "OpticsTable");
    const auto text = [&] {
        return field == "cell" ? table->item(1, 1)->text()
                               : Child<QLineEdit>(*FForm, field.constData())->text();
    };
    if (field == "cell")
        table->item(1, 1)->setText(typed);
    else
        Retype(field.constData(), typed);
    const PlannerResults before = FForm->Results();
    const auto sameResults = [&] {
        for (std::size_t i = 0; i < before.Rows.size(); ++i) {
            const PlannerRow &was = before.Rows[i];
            const PlannerRow &is = FForm->Results().Rows[i];
            if (was.Figure != is.Figure || was.Fits() != is.Fits() ||
                was.Range.has_value() != is.Range.has_value() ||
                (was.Range &&
                 (was.Range->Near != is.Range->Near || was.Range->Far != is.Range->Far)))
                return false;
        }
        return FForm->Results().Best == before.Best;
    };
    SwitchUnit(1);
    QCOMPARE(text(), inInch);
    QVERIFY(sameResults());
    SwitchUnit(0);
    QCOMPARE(text(), typed);
    QVERIFY(sameResults());
    if (field == "DistanceEdit" && typed == "500")
        QCOMPARE(FForm->Comparison().CellText(TComparisonModel::FitsColumn, 0),
                 QStringLiteral("yes"));
}

void TestPlannerAnswers::summary_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("margin");
    QTest::addColumn<QString>("tilt");
    QTest::addColumn<bool>("noValidOptics"); // both rows without M90
    QTest::addColumn<QString>("summary");

    QTest::addRow("best-fit-with-inward-ends")
        << "20"
        << "1.5"
        << "0" << false
        << "Target 20 mm at 450 mm: Calculator fits (1.11), from 416.7 to 541.6 mm.";
    QTest::addRow("none-fits-names-the-nearest")
        << "200"
        << "3"
        << "85" << false
        << "Target 200 mm at 450 mm: none fits at 450 mm; Optics 2 fits from 283.8 to 309.7 mm.";
    QTest::addRow("none-fits-anywhere")
        << "1"
        << "1.5"
        << "0" << false << "Target 1 mm at 450 mm: none fits at 450 mm, nor at any other distance.";
    QTest::addRow("a-field-missing") << ""
                                     << "1.5"
                                     << "0" << false
                                     << "Enter the target, the working distance, the margin and "
                                        "the tilt to see which optics fits.";
    QTest::addRow("no-valid-optics")
        << "20"
        << "1.5"
        << "0" << true << "No optics holds valid data: enter M90, a and D of at least one optics.";
    QTest::addRow("no-valid-optics-and-a-field-missing")
        << "20"
        << "1.5"
        << "" << true
        << "No optics holds valid data: enter M90, a and D of at least one optics. Enter the "
           "target, the working distance, the margin and the tilt to see which optics fits.";
}

void TestPlannerAnswers::summary()
{
    QFETCH(QString, target);
    QFETCH(QString, margin);
    QFETCH(QString, tilt);
    QFETCH(bool, noValidOptics);
    QFETCH(QString, summary);

    EnterWorkedExample();
    if (noValidOptics) {
        // The calculator's row follows the calculator; the other is typed.
        FForm->SetCalculatorOptics({0, 500, 30});
        Child<QTableWidget>(*FForm, "OpticsTable")->item(1, 1)->setText(QString());
    }
    Retype("TargetEdit", target);
    Retype("TiltEdit", tilt);
    Child<QComboBox>(*FForm, "MarginCombo")->setCurrentText(margin);
    QCOMPARE(Child<QLabel>(*FForm, "SummaryLabel")->text(), summary);
    // A screen reader gets the answer with the comparison.
    QCOMPARE(Child<QWidget>(*FForm, "ComparisonView")->accessibleDescription(), summary);
    // Where none fits, no row is marked.
    if (summary.contains(QStringLiteral("none fits")))
        QCOMPARE(FForm->Results().Best, -1);
}

void TestPlannerAnswers::settingsKeepWhatWasTyped()
{
    // A hand-edited file with nine optics: the calculator's and eight more.
    QByteArray section = "[TargetPlanner]\r\nOptics=8\r\n";
    for (int n = 1; n <= 8; ++n)
        section += QStringLiteral("Optics%1Name=Lens %1\r\nOptics%1M90=%1\r\nOptics%1A=300\r\n"
                                  "Optics%1D=20\r\n")
                       .arg(n)
                       .toLatin1();
    FForm.reset();
    QVERIFY(WriteBytes(FSettings->UserIni(), section));
    Reopen();
    auto *table = Child<QTableWidget>(*FForm, "OpticsTable");
    QCOMPARE(table->rowCount(), 9);
    for (const char *button : {"AddButton", "DuplicateButton", "DataSheetButton"}) {
        QVERIFY(!Child<QWidget>(*FForm, button)->isEnabled());
        QVERIFY(
            Child<QWidget>(*FForm, button)->toolTip().contains(QStringLiteral("holds 9 optics")));
    }
    const QString omega = QStringLiteral("\u03a9-lens \u2192 5\u00b5m");
    table->item(2, 0)->setText(omega);
    table->item(3, 2)->setText(QStringLiteral("3OO"));
    Retype("DistanceEdit", QStringLiteral("500"));
    SwitchUnit(1);
    const QRect available = FForm->screen()->availableGeometry();
    FForm->move(available.topLeft() + QPoint(6, 30));
    const QRect place = FForm->geometry();
    FForm.reset();

    const QByteArray bytes = ReadBytes(FSettings->UserIni());
    QVERIFY(bytes.contains("\r\nOptics8Name=Lens 8\r\nOptics8M90=8\r\n"));
    QVERIFY(bytes.contains("\r\nOptics2Name=\\u03a9-lens \\u2192 5\xb5m\r\n"));
    QVERIFY(bytes.contains("\r\nOptics3A=3OO\r\n"));
    QVERIFY(bytes.contains("\r\nDistance=500\r\nDistanceUnit=mm\r\n"));
    Reopen();
    table = Child<QTableWidget>(*FForm, "OpticsTable");
    QCOMPARE(table->rowCount(), 9);
    QCOMPARE(table->item(2, 0)->text(), omega);
    QCOMPARE(table->item(3, 2)->text(), QStringLiteral("3OO"));
    QCOMPARE(Child<QLineEdit>(*FForm, "DistanceEdit")->text(), QStringLiteral("19.6850"));
    QCOMPARE(*FForm->Input().Distance, 500.0);
    // Back where it was, or within the screen where it did not fit.
    if (available.contains(place))
        QCOMPARE(FForm->geometry(), place);
    QVERIFY(available.contains(FForm->geometry()) || !available.contains(place));
}

void TestPlannerAnswers::exitReportsOnce()
{
    FForm.reset();
    // A folder where the file should be: every write of User.ini fails.
    QFile::remove(FSettings->UserIni());
    QVERIFY(QDir().mkpath(FSettings->UserIni()));
    BoxWatcher boxes;
    {
        auto calculator = std::make_unique<TOpticCalcForm>();
        auto link = std::make_unique<TPlannerLink>(*calculator);
        emit calculator->PlannerRequested();
        QVERIFY(link->Form());
        // As at the program's end: the calculator's settings first.
        calculator.reset();
        link.reset();
    }
    QCOMPARE(boxes.Boxes.size(), 1);
    QVERIFY(boxes.Boxes.front().Text.contains(QStringLiteral("kann nicht geschrieben werden")));
}

void TestPlannerAnswers::saveDialogsStartInLastFolder()
{
    EnterWorkedExample();
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString start = FForm->SaveFolder(QStringLiteral("csv"));
    QVERIFY2(start == documents || start == QDir::homePath(), qPrintable(start));
    QVERIFY(QDir(FDir.path()).mkpath(QStringLiteral("exports")));
    const QString folder = FDir.filePath(QStringLiteral("exports"));
    FForm->AskSavePath = [&](const QString &, const QString &suffix) {
        return std::optional<QString>(folder + QStringLiteral("/comparison.") + suffix);
    };
    FForm->ExportCsvButtonClick();
    QCOMPARE(FForm->SaveFolder(QStringLiteral("csv")), folder);
    // Each kind of file keeps its own folder.
    QCOMPARE(FForm->SaveFolder(QStringLiteral("png")), start);
    Reopen();
    QCOMPARE(FForm->SaveFolder(QStringLiteral("csv")), folder);
}

void TestPlannerAnswers::newRowReadyForTyping_data()
{
    QTest::addColumn<bool>("duplicate");
    QTest::addRow("add") << false;
    QTest::addRow("duplicate") << true;
}

void TestPlannerAnswers::newRowReadyForTyping()
{
    QFETCH(bool, duplicate);

    EnterWorkedExample();
    auto *table = Child<QTableWidget>(*FForm, "OpticsTable");
    table->setCurrentCell(1, 2);
    Child<QWidget>(*FForm, "TargetEdit")->setFocus();
    if (duplicate)
        FForm->DuplicateButtonClick();
    else
        FForm->AddButtonClick();
    QCOMPARE(table->currentRow(), 2);
    QCOMPARE(table->currentColumn(), 0);
    QTRY_COMPARE(QApplication::focusWidget(), table);
    // Typing replaces the name at once.
    QTest::keyClick(table, 'H');

    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("ot strip"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    // The editor hands its text over from the event loop.
    QTRY_COMPARE(table->item(2, 0)->text(), QStringLiteral("Hot strip"));
}

void TestPlannerAnswers::accessibility()
{
    EnterWorkedExample();
    const auto interface = [&](QObject *object) {
        return QAccessible::queryAccessibleInterface(object);
    };
    // The window is a frame; an empty reason is not there to be read.
    QCOMPARE(interface(FForm.get())->role(), QAccessible::Window);
    auto *error = Child<QLabel>(*FForm, "TargetError");
    QVERIFY(interface(error)->state().invisible);
    Retype("TargetEdit", QStringLiteral("x"));
    QVERIFY(!interface(error)->state().invisible);
    QCOMPARE(interface(error)->text(QAccessible::Name), QStringLiteral("no number"));
    QCOMPARE(
        interface(Child<QComboBox>(*FForm, "MarginCombo")->lineEdit())->text(QAccessible::Name),
        QStringLiteral("Margin"));

    // The chart shows when it has the keyboard.
    auto *chart = Child<QWidget>(*FForm, "Chart");
    const QColor highlight = chart->palette().color(QPalette::Highlight);
    QVERIFY(chart->grab().toImage().pixelColor(1, chart->height() / 2) != highlight);
    chart->setFocus();
    QTRY_VERIFY(chart->hasFocus());
    QCOMPARE(chart->grab().toImage().pixelColor(1, chart->height() / 2), highlight);
}

void TestPlannerAnswers::chartShowsTheDecision()
{
    EnterWorkedExample();
    auto *chart = static_cast<TPlannerChart *>(Child<QWidget>(*FForm, "Chart"));
    const ChartFrame frame = chart->Frame();
    // Up to half again the farthest range end (541.7), to a whole tick; the
    // spots to three times the largest fitting spot (13.3).
    QCOMPARE(frame.XMax, 1000.0);
    QCOMPARE(frame.YMax, 40.0);

    // The curves in the file: both sides of every focus, solid and in colour.
    const QImage image = FForm->ChartImage(chart->size());
    const auto colourNear = [&](QRgb colour, double distance, const SpotOptics &optics) {
        const double x = frame.Plot.left() + distance / frame.XMax * frame.Plot.width();
        const double y = frame.Plot.bottom() -
                         SpotOnSurface(optics, distance, 0) / frame.YMax * frame.Plot.height();
        for (int dy = -3; dy <= 3; ++dy) {
            if (image.pixel(int(x * 2), int(y * 2) + dy) == colour)
                return true;
        }
        return false;
    };
    for (const double distance : {250.0, 750.0}) {
        QVERIFY2(colourNear(0xffd62728, distance, {10, 500, 30}),
                 qPrintable(QString::number(distance)));
        QVERIFY2(colourNear(0xff1f77b4, distance * 0.6, {5, 300, 20}),
                 qPrintable(QString::number(distance)));
    }

    // The wheel zooms the distance axis, a double-click resets it.
    QWheelEvent wheel(QPointF(200, 150), chart->mapToGlobal(QPointF(200, 150)), {}, {0, -120},
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(chart, &wheel);
    QCOMPARE(chart->Frame().XMax, 1250.0);
    QTest::mouseDClick(chart, Qt::LeftButton, {}, QPoint(200, 150));
    QCOMPARE(chart->Frame().XMax, 1000.0);

    // The cursor at a typed distance; it says which optics fit there.
    auto *cursor = Child<QLineEdit>(*FForm, "CursorEdit");
    Type(cursor, QStringLiteral("450"));
    Enter(cursor);
    QCOMPARE(
        chart->accessibleDescription(),
        QStringLiteral("Distance 450.0 mm:  Calculator 12.0  Optics 2 17.5  fits: Calculator"));
    // A cursor beyond the axis that new data bring follows the axis' end.
    QTest::keyClick(chart, Qt::Key_End);
    Retype("TargetEdit", QStringLiteral("10"));
    QVERIFY(chart->accessibleDescription().startsWith(
        QStringLiteral("Distance %1 mm:")
            .arg(FormatLength(chart->Frame().XMax, LengthUnit::Millimetre))));

    // The SVG's text is as large as the screen's: its font size in pixels.
    FForm->AskSavePath = [&](const QString &, const QString &suffix) {
        return std::optional<QString>(FDir.filePath(QStringLiteral("chart.") + suffix));
    };
    FForm->SaveSvgButtonClick();
    const QByteArray svg = ReadBytes(FDir.filePath(QStringLiteral("chart.svg")));
    const QByteArray size =
        "font-size=\"" +
        QByteArray::number(chart->font().pointSizeF() * chart->logicalDpiY() / 72) + '"';
    QVERIFY2(svg.contains(size), size.constData());
}

// On a 1366 x 768 screen with a task bar, as the extra run of this test
// gives it, nothing needs scrolling; on a smaller screen at least every row
// is there.
void TestPlannerAnswers::everythingVisibleAtDefaultSize_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<int>("unit");
    // German headers are the widest; inch values have the most digits.
    for (const char *language : {"English", "Deutsch"})
        for (const int unit : {0, 1})
            QTest::addRow("%s-%s", language, unit == 0 ? "mm" : "inch")
                << QString::fromLatin1(language) << unit;
}

void TestPlannerAnswers::everythingVisibleAtDefaultSize()
{
    QFETCH(QString, language);
    QFETCH(int, unit);
    FForm->ApplyLanguage(language);
    const QRect available = FForm->screen()->availableGeometry();
    // Clamped to the screen unless the screen is smaller than the least
    // the window's layout and frame can show (Windows' wider Tahoma on the
    // offscreen screen under Wine).
    const QSize least = FForm->minimumSize().expandedTo(FForm->minimumSizeHint()) +
                        (FForm->frameGeometry().size() - FForm->size());
    if (available.size().expandedTo(least) == available.size())
        QVERIFY2(available.contains(FForm->frameGeometry()),
                 qPrintable(QStringLiteral("%1,%2 %3x%4")
                                .arg(FForm->x())
                                .arg(FForm->y())
                                .arg(FForm->width())
                                .arg(FForm->height())));
    EnterWorkedExample();
    for (int n = 2; n < MaxPlannerOptics; ++n)
        FForm->AddButtonClick();
    SwitchUnit(unit);
    QCoreApplication::processEvents();
    const bool wide = available.width() >= 1366;
    for (const char *name : {"OpticsTable", "ComparisonView"}) {
        auto *view = Child<QTableView>(*FForm, name);
        QCOMPARE(view->model()->rowCount(), MaxPlannerOptics);
        const int columns = wide ? view->model()->columnCount() : 1;
        for (int row = 0; row < MaxPlannerOptics; ++row) {
            for (int column = 0; column < columns; ++column) {
                const QRect cell = view->visualRect(view->model()->index(row, column));
                QVERIFY2(view->viewport()->rect().contains(cell),
                         qPrintable(QStringLiteral("%1 %2 %3").arg(name).arg(row).arg(column)));
            }
        }
    }
    auto *summary = Child<QLabel>(*FForm, "SummaryLabel");
    QVERIFY(summary->isVisible() && summary->height() >= summary->heightForWidth(summary->width()));
    if (wide) {
        const QWidget *chart = Child<QWidget>(*FForm, "Chart");
        QVERIFY2(chart->width() >= 400 && chart->height() >= 300,
                 qPrintable(QStringLiteral("%1x%2").arg(chart->width()).arg(chart->height())));
    }
}

QTEST_MAIN(TestPlannerAnswers)
#include "tst_planneranswers.moc"
