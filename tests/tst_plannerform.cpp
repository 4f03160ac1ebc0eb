// The target planner: its comparison, its fields, its texts, its files and
// how the calculator opens it.

#include "PlannerTestSupport.h"

#include "PlannerUnit/ComparisonModel.h"
#include "PlannerUnit/PlannerForm.h"
#include "Settingfiles/IniFile.h"
#include "main/PlannerLink.h"

#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTableWidget>

class TestPlannerForm : public QObject, private PlannerFixture
{
    Q_OBJECT

private slots:
    void init() { SetUp(); }
    void cleanup() { TearDown(); }

    void comparison_data();
    void comparison();
    void invalidFields_data();
    void invalidFields();
    void builtInTextsForMissingKeys();
    void csvBytes();
    void chartFiles();
    void opticsKeptInSectionOfTheirOwn();
    void calculatorOpensAndFeedsPlanner();
    void languageFileHandedToBothWindows_data();
    void languageFileHandedToBothWindows();
};

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
    QTest::addRow("target-ambiguous-names-both-readings")
        << QByteArray("Target") << "1,000"
        << "1,000: 1.0 or 1000? Write 1.0 or 1000";
    QTest::addRow("margin-with-a-unit") << QByteArray("Margin") << "1.5 mm"
                                        << "no length unit";
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
    // The inputs it answers come first, then an empty line.
    const QByteArray header =
        QByteArray("Target diameter [mm];20\r\nWorking distance [mm];450\r\n") +
        (german ? "Margin;1,5\r\n" : "Margin;1.5\r\n") +
        "Tilt [\xB0];0\r\nUnit;mm\r\n\r\n"
        "Optics;Spot [mm];On surface [mm];D:S;D:S focus;D:S far field;Fits;"
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
