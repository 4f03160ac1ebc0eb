// The target planner: its comparison, its fields, its texts, its files and
// how the calculator opens it.

#include "FormTestSupport.h"
#include "TestFiles.h"

#include "PlannerUnit/ComparisonModel.h"
#include "PlannerUnit/PlannerChart.h"
#include "PlannerUnit/PlannerForm.h"
#include "PlannerUnit/PlannerFormat.h"
#include "Settingfiles/IniFile.h"
#include "main/PlannerLink.h"

#include <QAccessible>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStandardPaths>
#include <QTableView>
#include <QTableWidget>
#include <QWheelEvent>

class TestPlannerForm : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void comparison_data();
    void comparison();
    void invalidFields_data();
    void invalidFields();
    void builtInTextsForMissingKeys();
    void csvBytes();
    void chartFiles();
    void opticsKeptInSectionOfTheirOwn();
    void calculatorOpensAndFeedsPlanner();
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
    void everythingVisibleAtDefaultSize();
    void languageFileHandedToBothWindows_data();
    void languageFileHandedToBothWindows();

private:
    // The worked example: the calculator's 10/500/30 and a second optics
    // 5/300/20; margin 1.5, working distance 450, target 20.
    void EnterWorkedExample();
    void Retype(const char *edit, const QString &text);
    void SwitchUnit(int unit);
    void Reopen();

    std::unique_ptr<TemporarySettings> FSettings;
    std::unique_ptr<TPlannerForm> FForm;
    QTemporaryDir FDir;
};

void TestPlannerForm::init()
{
    FSettings = std::make_unique<TemporarySettings>();
    FForm = std::make_unique<TPlannerForm>();
    FForm->ApplyLanguage(QStringLiteral("English"));
    FForm->show();
    QVERIFY(QTest::qWaitForWindowExposed(FForm.get()));
}

void TestPlannerForm::cleanup()
{
    FForm.reset();
    FSettings.reset();
}

void TestPlannerForm::Retype(const char *edit, const QString &text)
{
    auto *field = Child<QLineEdit>(*FForm, edit);
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Delete);
    Type(field, text);
}

void TestPlannerForm::SwitchUnit(int unit)
{
    Child<QComboBox>(*FForm, "UnitCombo")->setCurrentIndex(unit);
}

void TestPlannerForm::Reopen()
{
    FForm.reset();
    FForm = std::make_unique<TPlannerForm>();
    FForm->ApplyLanguage(QStringLiteral("English"));
}

void TestPlannerForm::EnterWorkedExample()
{
    FForm->SetCalculatorOptics({10, 500, 30});
    FForm->AddButtonClick();
    auto *table = Child<QTableWidget>(*FForm, "OpticsTable");
    for (const auto &[column, text] : {std::pair{1, "5"}, {2, "300"}, {3, "20"}})
        table->item(1, column)->setText(QString::fromLatin1(text));
    Retype("TargetEdit", QStringLiteral("20"));
    Retype("DistanceEdit", QStringLiteral("450"));
}

void TestPlannerForm::comparison_data()
{
    QTest::addColumn<QString>("tilt");
    QTest::addColumn<int>("unit");
    QTest::addColumn<int>("row");
    QTest::addColumn<QStringList>("cells");

    const QString dash = QStringLiteral(" \u2013 ");
    QTest::addRow("first-optics-fits-best")
        << "0" << 0 << 0 << QStringList{"Calculator", "12.0", "12.0",
                                        "37.5",       "50.0", "12.5",
                                        "yes",        "1.11", "416.7" + dash + "541.6",
                                        "best"};
    QTest::addRow("second-optics-too-large-at-450")
        << "0" << 0 << 1 << QStringList{"Optics 2", "17.5", "17.5",
                                        "25.7",     "60.0", "12.0",
                                        "no",       "0.76", "133.4" + dash + "400.0",
                                        ""};
    QTest::addRow("tilt-30-narrows-the-range")
        << "30" << 0 << 0 << QStringList{"Calculator",
                                         "12.0",
                                         "13.9",
                                         "37.5",
                                         "50.0",
                                         "12.5",
                                         "no",
                                         "0.96",
                                         "461.4" + dash + "519.3",
                                         ""};
    QTest::addRow("tilt-typed-with-comma-and-blanks")
        << " 30,0 " << 0 << 0 << QStringList{"Calculator",
                                             "12.0",
                                             "13.9",
                                             "37.5",
                                             "50.0",
                                             "12.5",
                                             "no",
                                             "0.96",
                                             "461.4" + dash + "519.3",
                                             ""};
    QTest::addRow("inch-converts-what-was-typed")
        << "0" << 1 << 0 << QStringList{"Calculator", "0.472", "0.472",
                                        "37.5",       "50.0",  "12.5",
                                        "yes",        "1.11",  "16.405" + dash + "21.325",
                                        "best"};
}

void TestPlannerForm::comparison()
{
    QFETCH(QString, tilt);
    QFETCH(int, unit);
    QFETCH(int, row);
    QFETCH(QStringList, cells);

    EnterWorkedExample();
    Retype("TiltEdit", tilt);
    Child<QComboBox>(*FForm, "UnitCombo")->setCurrentIndex(unit);

    const TComparisonModel &model = FForm->Comparison();
    QCOMPARE(model.rowCount(), 2);
    QStringList shown;
    for (int column = 0; column < model.columnCount(); ++column)
        shown << model.data(model.index(row, column), Qt::DisplayRole).toString();
    QCOMPARE(shown, cells);
    // The best row stands out in bold; where none fits, no row is best.
    QCOMPARE(model.data(model.index(row, 1), Qt::FontRole).isValid(), cells.last() == "best");
}

void TestPlannerForm::invalidFields_data()
{
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("reason");

    QTest::addRow("target-empty") << QByteArray("Target") << ""
                                  << "enter a value";
    QTest::addRow("target-no-number") << QByteArray("Target") << "2O"
                                      << "no number";
    QTest::addRow("target-two-separators") << QByteArray("Target") << "1,2.5"
                                           << "no number";
    QTest::addRow("distance-zero") << QByteArray("Distance") << "0"
                                   << "must be greater than 0";
    QTest::addRow("distance-negative") << QByteArray("Distance") << "-450"
                                       << "must be greater than 0";
    QTest::addRow("margin-zero") << QByteArray("Margin") << "0"
                                 << "must be greater than 0";
    QTest::addRow("margin-typed-comma-is-valid") << QByteArray("Margin") << "1,5"
                                                 << "";
    QTest::addRow("tilt-85-is-valid") << QByteArray("Tilt") << "85"
                                      << "";
    QTest::addRow("tilt-above-85") << QByteArray("Tilt") << "85.1"
                                   << "0 to 85 degrees";
    QTest::addRow("tilt-negative") << QByteArray("Tilt") << "-1"
                                   << "0 to 85 degrees";
}

void TestPlannerForm::invalidFields()
{
    QFETCH(QByteArray, field);
    QFETCH(QString, text);
    QFETCH(QString, reason);

    EnterWorkedExample();
    BoxWatcher boxes;
    if (field == "Margin") {
        auto *margin = Child<QComboBox>(*FForm, "MarginCombo");
        margin->lineEdit()->selectAll();
        QTest::keyClick(margin->lineEdit(), Qt::Key_Delete);
        Type(margin->lineEdit(), text);
    } else {
        Retype(field + "Edit", text);
    }
    QCOMPARE(Child<QLabel>(*FForm, field + "Error")->text(), reason);
    QVERIFY(boxes.Boxes.isEmpty());
    // Every field feeds the figure; only the target, margin and tilt feed the
    // range, only the distance and tilt the spot on the surface.
    const PlannerRow &row = FForm->Results().Rows.at(0);
    QCOMPARE(row.Figure.has_value(), reason.isEmpty());
    QCOMPARE(row.Range.has_value(), reason.isEmpty() || field == "Distance");
    QCOMPARE(row.SpotSurface.has_value(),
             reason.isEmpty() || field == "Target" || field == "Margin");
    QVERIFY(row.RatioAtFocus.has_value());
}

void TestPlannerForm::builtInTextsForMissingKeys()
{
    // A language file from before the planner, with one planner key.
    const QString path = FDir.filePath(QStringLiteral("Lang.ini"));
    QVERIFY(WriteBytes(path, "[Deutsch]\r\nMessFeld=Messfleck\r\nPlanerNeigung=Kippung\r\n"
                             "[English]\r\nMessFeld=Spot size\r\n"));
    const TPlannerTexts german = TPlannerTexts::Load(QStringLiteral("Deutsch"), path);
    QCOMPARE(german[PlannerText::Tilt], QStringLiteral("Kippung"));
    QCOMPARE(german[PlannerText::Title], QStringLiteral("Messobjekt-Planer"));
    QCOMPARE(german[PlannerText::Target], QStringLiteral("Messobjekt-Durchmesser"));
    const TPlannerTexts english = TPlannerTexts::Load(QStringLiteral("English"), path);
    QCOMPARE(english[PlannerText::Title], QStringLiteral("Target planner"));
    for (int id = 0; id < int(PlannerText::Count); ++id) {
        QVERIFY2(!german[PlannerText(id)].isEmpty(), qPrintable(PlannerTextKey(PlannerText(id))));
        QVERIFY2(!english[PlannerText(id)].isEmpty(), qPrintable(PlannerTextKey(PlannerText(id))));
    }
    // The shipped file has every key in both languages.
    const TIniFile shipped(QCoreApplication::applicationDirPath() + QStringLiteral("/Lang.ini"));
    for (int id = 0; id < int(PlannerText::Count); ++id) {
        for (const char *section : {"Deutsch", "English"})
            QVERIFY2(
                !shipped.ReadString(QLatin1String(section), PlannerTextKey(PlannerText(id)), {})
                     .isEmpty(),
                qPrintable(PlannerTextKey(PlannerText(id))));
    }

    // What a screen reader reads under English.
    const auto name = [&](const char *control) {
        return QAccessible::queryAccessibleInterface(Child<QWidget>(*FForm, control))
            ->text(QAccessible::Name);
    };
    QCOMPARE(name("TargetEdit"), QStringLiteral("Target diameter"));
    QCOMPARE(name("DistanceEdit"), QStringLiteral("Working distance"));
    QCOMPARE(name("MarginCombo"), QStringLiteral("Margin"));
    QCOMPARE(name("TiltEdit"), QStringLiteral("Tilt"));
    QCOMPARE(name("UnitCombo"), QStringLiteral("Unit"));
    QCOMPARE(name("ComparisonView"), QStringLiteral("Comparison"));
}

void TestPlannerForm::csvBytes()
{
    EnterWorkedExample();
    const QString path = FDir.filePath(QStringLiteral("comparison.csv"));
    QVERIFY(WriteBytes(path, QByteArray(4000, 'x')));
    FForm->AskSavePath = [&](const QString &, const QString &suffix) {
        return suffix == QStringLiteral("csv") ? std::optional<QString>(path) : std::nullopt;
    };
    FForm->ExportCsvButtonClick();

    // CTest runs this executable once under C and once under de_DE.UTF-8.
    const bool german = qEnvironmentVariable("LC_ALL").startsWith(QLatin1String("de_DE"));
    QCOMPARE(FForm->DecimalSeparator(), german ? ',' : '.');
    const QByteArray header = "Optics;Spot [mm];On surface [mm];D:S;D:S focus;D:S far field;Fits;"
                              "Figure;Range from [mm];Range to [mm];Best\r\n";
    const QByteArray expected =
        german ? header + "Calculator;12,0;12,0;37,5;50,0;12,5;yes;1,11;416,7;541,6;best\r\n"
                          "Optics 2;17,5;17,5;25,7;60,0;12,0;no;0,76;133,4;400,0;\"\"\r\n"
               : header + "Calculator;12.0;12.0;37.5;50.0;12.5;yes;1.11;416.7;541.6;best\r\n"
                          "Optics 2;17.5;17.5;25.7;60.0;12.0;no;0.76;133.4;400.0;\"\"\r\n";
    QCOMPARE(ReadBytes(path), expected);

    // No range keeps "none" in the file; names keep their points.
    Retype("TargetEdit", QStringLiteral("5"));
    auto *table = Child<QTableWidget>(*FForm, "OpticsTable");
    table->item(1, 0)->setText(QStringLiteral("Lens 2.5"));
    FForm->ExportCsvButtonClick();
    QVERIFY(ReadBytes(path).endsWith(
        german ? "Lens 2.5;17,5;17,5;25,7;60,0;12,0;no;0,19;none;\"\";\"\"\r\n"
               : "Lens 2.5;17.5;17.5;25.7;60.0;12.0;no;0.19;none;\"\";\"\"\r\n"));
}

void TestPlannerForm::chartFiles()
{
    EnterWorkedExample();
    QString path;
    FForm->AskSavePath = [&](const QString &, const QString &suffix) {
        path = FDir.filePath(QStringLiteral("chart.") + suffix);
        return std::optional<QString>(path);
    };
    FForm->SavePngButtonClick();
    QImage image;
    QVERIFY(image.load(path, "PNG"));
    const QWidget *chart = Child<QWidget>(*FForm, "Chart");
    QCOMPARE(image.size(), chart->size() * 2);
    // Both curves are there in their optics' colours.
    int red = 0;
    int blue = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            red += pixel == qRgb(0xd6, 0x27, 0x28);
            blue += pixel == qRgb(0x1f, 0x77, 0xb4);
        }
    }
    QVERIFY2(red > 500 && blue > 500, qPrintable(QStringLiteral("%1 %2").arg(red).arg(blue)));

    // The keyboard moves the cursor; its readout is what a screen reader gets.
    auto *chartWidget = Child<QWidget>(*FForm, "Chart");
    QTest::keyClick(chartWidget, Qt::Key_End);
    QCOMPARE(chartWidget->accessibleDescription(),
             QStringLiteral("Distance 1000.0 mm:  Calculator 50.0  Optics 2 63.3  fits: none"));
    QTest::keyClick(chartWidget, Qt::Key_Home);
    QTest::keyClick(chartWidget, Qt::Key_Right);
    QCOMPARE(chartWidget->accessibleDescription(),
             QStringLiteral("Distance 10.0 mm:  Calculator 29.6  Optics 2 19.5  fits: none"));

    FForm->SaveSvgButtonClick();
    const QByteArray svg = ReadBytes(path);
    QVERIFY(svg.startsWith("<?xml"));
    QVERIFY(svg.contains("<svg"));
    QVERIFY(svg.contains("<title>Target planner</title>"));
    QVERIFY(svg.contains("largest fitting spot 13.3 mm"));
    QVERIFY(svg.contains("Working distance 450.0 mm"));
}

void TestPlannerForm::opticsKeptInSectionOfTheirOwn()
{
    const QByteArray calculatorSection =
        "[OpticCalc]\r\nSprache=English\r\nBasicM90=10\r\nBasicA=500\r\nBasicApertur=30\r\n";
    QVERIFY(WriteBytes(FSettings->UserIni(), calculatorSection));
    EnterWorkedExample();
    FForm->DuplicateButtonClick();
    FForm->RemoveButtonClick();
    FForm->AddButtonClick();
    Child<QComboBox>(*FForm, "UnitCombo")->setCurrentIndex(1);
    FForm.reset();

    const QByteArray bytes = ReadBytes(FSettings->UserIni());
    QVERIFY(bytes.startsWith(calculatorSection + "[TargetPlanner]\r\nUnit=inch\r\n"));
    QVERIFY(
        bytes.contains("\r\nOptics=2\r\nOptics1Name=Optics 2\r\nOptics1M90=5\r\nOptics1A=300\r\n"
                       "Optics1D=20\r\nOptics1Colour=#1f77b4\r\nOptics2Name=Optics 3\r\n"
                       "Optics2M90=\r\n"));

    FForm = std::make_unique<TPlannerForm>();
    FForm->ApplyLanguage(QStringLiteral("English"));
    auto *table = Child<QTableWidget>(*FForm, "OpticsTable");
    QCOMPARE(table->rowCount(), 3);
    QCOMPARE(table->item(1, 1)->text(), QStringLiteral("0.19685"));
    QCOMPARE(Child<QLineEdit>(*FForm, "TargetEdit")->text(), QStringLiteral("0.787402"));
    QVERIFY(FForm->Input().Optics.at(1).Optics.has_value());
    QVERIFY(!FForm->Input().Optics.at(2).Optics.has_value());
}

void TestPlannerForm::calculatorOpensAndFeedsPlanner()
{
    FForm.reset();
    TOpticCalcForm calculator;
    TPlannerLink link(calculator);
    calculator.ApplyLanguage(QStringLiteral("Deutsch"));
    QVERIFY(!link.Form());
    QAction *item = calculator.menuBar()->actions().at(1)->menu()->actions().at(0);
    QCOMPARE(item->shortcut(), QKeySequence(QStringLiteral("Ctrl+T")));
    item->trigger();
    QVERIFY(link.Form() && link.Form()->isVisible());
    QCOMPARE(link.Form()->windowTitle(), QStringLiteral("Messobjekt-Planer"));

    Type(Child<QLineEdit>(calculator, "MEdit"), QStringLiteral("10"));
    Type(Child<QLineEdit>(calculator, "AEdit"), QStringLiteral("500"));
    Type(Child<QLineEdit>(calculator, "DEdit"), QStringLiteral("3"));
    auto *table = Child<QTableWidget>(*link.Form(), "OpticsTable");
    QCOMPARE(table->item(0, 3)->text(), QStringLiteral("3"));
    QVERIFY(!(table->item(0, 3)->flags() & Qt::ItemIsEditable));
    Type(Child<QLineEdit>(calculator, "DEdit"), QStringLiteral("0"));
    QCOMPARE(table->item(0, 3)->text(), QStringLiteral("30"));
    QCOMPARE(link.Form()->Input().Optics.at(0).Optics->D, 30.0f);

    calculator.Deutsch2Click(calculator.findChild<QAction *>(QStringLiteral("Deutsch1")));
    QCOMPARE(link.Form()->windowTitle(), QStringLiteral("Target planner"));
}

void TestPlannerForm::unitRoundTrip_data()
{
    QTest::addColumn<QByteArray>("field"); // an edit, or "cell" for row 2's M90
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("inInch");

    // Target 15 with margin 1.5 fits the calculator's optics at exactly 500.
    QTest::addRow("distance-at-a-single-fitting-point") << QByteArray("DistanceEdit") << "500"
                                                        << "19.685";
    QTest::addRow("target-with-seven-digits-in-inch") << QByteArray("TargetEdit") << "15.00001"
                                                      << "0.590552";
    QTest::addRow("optics-cell") << QByteArray("cell") << "5.123456"
                                 << "0.201711";
    QTest::addRow("text-that-is-no-number-stays") << QByteArray("DistanceEdit") << "5OO"
                                                  << "5OO";
}

void TestPlannerForm::unitRoundTrip()
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

void TestPlannerForm::summary_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("margin");
    QTest::addColumn<QString>("tilt");
    QTest::addColumn<QString>("summary");

    QTest::addRow("best-fit-with-inward-ends")
        << "20"
        << "1.5"
        << "0"
        << "Target 20 mm at 450 mm: Calculator fits (1.11), from 416.7 to 541.6 mm.";
    QTest::addRow("none-fits-names-the-nearest")
        << "200"
        << "3"
        << "85"
        << "Target 200 mm at 450 mm: none fits at 450 mm; Optics 2 fits from 283.8 to 309.7 mm.";
    QTest::addRow("none-fits-anywhere")
        << "1"
        << "1.5"
        << "0"
        << "Target 1 mm at 450 mm: none fits at 450 mm, nor at any other distance.";
    QTest::addRow("a-field-missing") << ""
                                     << "1.5"
                                     << "0"
                                     << "Enter the target, the working distance, the margin and "
                                        "the tilt to see which optics fits.";
}

void TestPlannerForm::summary()
{
    QFETCH(QString, target);
    QFETCH(QString, margin);
    QFETCH(QString, tilt);
    QFETCH(QString, summary);

    EnterWorkedExample();
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

void TestPlannerForm::settingsKeepWhatWasTyped()
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
    QVERIFY(!Child<QWidget>(*FForm, "AddButton")->isEnabled());
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
    QCOMPARE(Child<QLineEdit>(*FForm, "DistanceEdit")->text(), QStringLiteral("19.685"));
    QCOMPARE(*FForm->Input().Distance, 500.0);
    // Back where it was, or within the screen where it did not fit.
    if (available.contains(place))
        QCOMPARE(FForm->geometry(), place);
    QVERIFY(available.contains(FForm->geometry()) || !available.contains(place));
}

void TestPlannerForm::exitReportsOnce()
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

void TestPlannerForm::saveDialogsStartInLastFolder()
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

void TestPlannerForm::newRowReadyForTyping_data()
{
    QTest::addColumn<bool>("duplicate");
    QTest::addRow("add") << false;
    QTest::addRow("duplicate") << true;
}

void TestPlannerForm::newRowReadyForTyping()
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

void TestPlannerForm::accessibility()
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

void TestPlannerForm::chartShowsTheDecision()
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
void TestPlannerForm::everythingVisibleAtDefaultSize()
{
    const QRect available = FForm->screen()->availableGeometry();
    // Clamped to the screen unless the screen is smaller than the least
    // the window can show.
    if (available.size().expandedTo(FForm->minimumSize()) == available.size())
        QVERIFY2(available.contains(FForm->frameGeometry()),
                 qPrintable(QStringLiteral("%1,%2 %3x%4")
                                .arg(FForm->x())
                                .arg(FForm->y())
                                .arg(FForm->width())
                                .arg(FForm->height())));
    EnterWorkedExample();
    for (int n = 2; n < MaxPlannerOptics; ++n)
        FForm->AddButtonClick();
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

void TestPlannerForm::languageFileHandedToBothWindows_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("title");

    QTest::addRow("planner-keys-of-the-file")
        << QByteArray("[English]\r\nPlanerMenue=Plan\r\nPlanerOeffnen=Open plan\r\n"
                      "PlanerTitel=Plan window\r\n")
        << "English"
        << "Plan"
        << "Open plan"
        << "Plan window";
    QTest::addRow("older-file-gets-english-built-ins")
        << QByteArray("[English]\r\nMessFeld=Spot\r\n") << "English"
        << "Planner"
        << "Target planner \u2026"
        << "Target planner";
    QTest::addRow("older-file-gets-german-built-ins")
        << QByteArray("[Deutsch]\r\nMessFeld=Messfleck\r\n") << "Deutsch"
        << "Planer"
        << "Messobjekt-Planer \u2026"
        << "Messobjekt-Planer";
    QTest::addRow("empty-values-get-built-ins")
        << QByteArray("[English]\r\nPlanerMenue=\r\nPlanerOeffnen=\r\nPlanerTitel=\r\n")
        << "English"
        << "Planner"
        << "Target planner \u2026"
        << "Target planner";
}

void TestPlannerForm::languageFileHandedToBothWindows()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, language);
    QFETCH(QString, menu);
    QFETCH(QString, item);
    QFETCH(QString, title);
    FForm.reset();
    const QString path = FDir.filePath(QStringLiteral("Handed.ini"));
    QVERIFY(WriteBytes(path, content));

    TOpticCalcForm calculator(nullptr, path);
    TPlannerLink link(calculator);
    calculator.ApplyLanguage(language);
    QMenu *plannerMenu = calculator.menuBar()->actions().at(1)->menu();
    QCOMPARE(plannerMenu->title(), menu);
    QCOMPARE(plannerMenu->actions().at(0)->text(), item);
    plannerMenu->actions().at(0)->trigger();
    QVERIFY(link.Form());
    QCOMPARE(link.Form()->windowTitle(), title);
}

QTEST_MAIN(TestPlannerForm)
#include "tst_plannerform.moc"
