// The calculator window: layout, start state, the interactive calculation,
// the enablement watch and the general error report.

#include "FormTestSupport.h"

#include "OpticCalcUnit/Controls.h"
#include "OpticCalcUnit/ResultsGrid.h"
#include "shared/ErrorReport.h"
#include "shared/Exception.h"

#include <QActionGroup>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

class TestOpticCalcForm : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void layout_data();
    void layout();
    void windowProperties();
    void startState();
    void decimalSeparatorFollowsRegionalSetting();
    void picturesAreSharpOnDenseScreens();

    void typicalUse();
    void wantedSpot_data();
    void wantedSpot();
    void unreachableSpotShowsBoxAndEmptiesResults();
    void typedDistance_data();
    void typedDistance();
    void keyFilter_data();
    void keyFilter();
    void pictureFollowsBasicData();
    void twoInvalidSpotsShowTwoBoxesOneAtATime();
    void lineTextStaysInsideWindow();
    void lineFollowsSliderThumb();
    void equalSpotAndApertureNeverShowsErrorReport_data();
    void equalSpotAndApertureNeverShowsErrorReport();
    void valueBeyondFloatRangeIsNoNumber();

    void watch_data();
    void watch();

    void tabOrderReachesEveryControl();
    void accessibleTextsFollowLanguage();

    void errorReportText_data();
    void errorReportText();
    void throwingHandlerIsReportedAndProgramGoesOn();

private:
    void SetBasicData(const QString &m90, const QString &a, const QString &d);

    std::unique_ptr<TemporarySettings> FSettings;
    std::unique_ptr<TOpticCalcForm> FForm;
};

void TestOpticCalcForm::init()
{
    FSettings = std::make_unique<TemporarySettings>();
    FForm = std::make_unique<TOpticCalcForm>();
    FForm->show();
    QVERIFY(QTest::qWaitForWindowExposed(FForm.get()));
}

void TestOpticCalcForm::cleanup()
{
    FForm.reset();
    FSettings.reset();
}

void TestOpticCalcForm::SetBasicData(const QString &m90, const QString &a, const QString &d)
{
    for (auto [name, text] : {std::pair{"MEdit", m90}, {"AEdit", a}, {"DEdit", d}}) {
        auto *edit = Child<QLineEdit>(*FForm, name);
        edit->clear();
        Type(edit, text);
    }
    // One tick of the watch enables the controls that follow the basic data.
    QVERIFY(WaitForWatch(*FForm));
}

void TestOpticCalcForm::layout_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    const auto row = [](const char *name, int x, int y, int w, int h) {
        QTest::addRow("%s", name) << QString::fromLatin1(name) << QRect(x, y, w, h);
    };
    row("BasicDataPanel", 6, 6, 325, 67);
    row("Label3", 5, 24, 90, 13);
    row("Label2", 117, 24, 90, 13);
    row("Label1", 230, 24, 90, 13);
    row("MEdit", 26, 42, 50, 21);
    row("AEdit", 136, 42, 50, 21);
    row("DEdit", 251, 42, 50, 21);
    row("Label10", 77, 46, -1, 13);
    row("Label11", 187, 46, -1, 13);
    row("Label12", 302, 46, -1, 13);
    row("CalcValuesPanel", 354, 6, 325, 67);
    row("Label6", 5, 24, 90, 13);
    row("Label5", 113, 24, 90, 13);
    row("M2Edit", 26, 42, 50, 21);
    row("A2Edit", 132, 42, 50, 21);
    row("Label13", 77, 46, -1, 13);
    row("Label14", 183, 46, -1, 13);
    row("ToTableButton", 216, 24, 103, 37);
    row("Bevel3", 6, 84, 674, 7);
    row("Image1", 6, 102, 674, 109);
    row("Line", 294, 102, 2, 121);
    row("Slider", 287, 216, 400, 31);
    row("Label8", 210, 225, -1, 13);
    row("Bevel1", 6, 249, 674, 7);
    row("Image3", 483, 422, 200, 64);
    // Heights and tops of the table's panel stay; widths follow the headers.
    row("CalcButton", -1, 24, 100, 31);
    row("PrintButton", -1, 61, 100, 31);
    row("ExportButton", -1, 98, 100, 31);
    row("NewRowButton", -1, 150, 100, 31);
    row("GridClearButton", -1, 186, 100, 31);
    row("Grid", 6, 25, -1, 192);
    row("CalcTablePanel", 6, 264, -1, 223);
}

void TestOpticCalcForm::layout()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    auto *control = Child<QWidget>(*FForm, name.toLatin1().constData());
    const QRect actual = control->geometry();
    QCOMPARE(actual.y(), geometry.y());
    QCOMPARE(actual.height(), geometry.height());
    if (geometry.x() >= 0)
        QCOMPARE(actual.x(), geometry.x());
    if (geometry.width() >= 0)
        QCOMPARE(actual.width(), geometry.width());
}

void TestOpticCalcForm::windowProperties()
{
    QCOMPARE(Child<QWidget>(*FForm, "ClientArea")->size(), QSize(687, 492));
    QCOMPARE(FForm->minimumSize(), FForm->maximumSize());
    QVERIFY(!(FForm->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(FForm->windowFlags() & Qt::WindowMinimizeButtonHint);
    QCOMPARE(FForm->palette().color(QPalette::Window), QColor(231, 231, 247));
    QCOMPARE(FForm->font().pixelSize(), 11);
    auto *menu = FForm->menuBar();
    // The planner's menu stands between the language menu and "?".
    QCOMPARE(menu->actions().size(), 3);
    QCOMPARE(menu->actions().at(0)->text(), QStringLiteral("Sprache/Language"));
    QCOMPARE(menu->actions().at(1)->menu()->objectName(), QStringLiteral("PlannerMenu"));
    QCOMPARE(menu->actions().at(2)->text(), QStringLiteral("?"));
    const auto items = menu->actions().at(0)->menu()->actions();
    QCOMPARE(items.size(), 2);
    QCOMPARE(items.at(0)->text(), QStringLiteral("Deutsch"));
    QCOMPARE(items.at(1)->text(), QStringLiteral("English"));
    QVERIFY(items.at(0)->actionGroup() && items.at(0)->actionGroup()->isExclusive());
    QCOMPARE(items.at(0)->actionGroup(), items.at(1)->actionGroup());
    QCOMPARE(menu->actions().at(2)->menu()->actions().at(0)->text(), QStringLiteral("info"));
    QCOMPARE(QApplication::focusWidget(), Child<QWidget>(*FForm, "MEdit"));
}

void TestOpticCalcForm::startState()
{
    QCOMPARE(Child<QSlider>(*FForm, "Slider")->value(), 0);
    QCOMPARE(Child<QSlider>(*FForm, "Slider")->maximum(), 384);
    QCOMPARE(Child<QWidget>(*FForm, "Line")->x(), 294);
    QVERIFY(Child<QLineEdit>(*FForm, "M2Edit")->text().isEmpty());
    QVERIFY(Child<QLineEdit>(*FForm, "A2Edit")->text().isEmpty());
    QVERIFY(Child<QLineEdit>(*FForm, "LineEdit")->text().isEmpty());
    QVERIFY(!Child<QWidget>(*FForm, "LineLabel")->isVisible());
    auto *shown = Child<TPicture>(*FForm, "Image1");
    QCOMPARE(shown->Tag, 0);
    QCOMPARE(shown->pixmap().toImage(), Child<TPicture>(*FForm, "Image_1")->pixmap().toImage());
    QVERIFY(!shown->pixmap().isNull());
    QCOMPARE(Child<TResultsGrid>(*FForm, "Grid")->RowCount(), 1);
}

// CTest runs this executable also with QT_SCALE_FACTOR=2.
void TestOpticCalcForm::picturesAreSharpOnDenseScreens()
{
    const qreal ratio = FForm->devicePixelRatioF();
    for (const char *name : {"Image1", "Image_1", "Image_2"}) {
        const QPixmap picture = Child<TPicture>(*FForm, name)->pixmap();
        QCOMPARE(picture.deviceIndependentSize(), QSizeF(674, 109));
        QCOMPARE(picture.devicePixelRatio(), ratio > 1 ? 2.0 : 1.0);
    }
    // The printed diagram keeps its own pixel size whatever the screen.
    QCOMPARE(Child<TPicture>(*FForm, "Image2")->pixmap().size(), QSize(674, 187));
    QCOMPARE(Child<QWidget>(*FForm, "Image1")->geometry(), QRect(6, 102, 674, 109));
}

// CTest runs this executable once under C and once under de_DE.UTF-8.
void TestOpticCalcForm::decimalSeparatorFollowsRegionalSetting()
{
    const bool german = qEnvironmentVariable("LC_ALL").startsWith(QLatin1String("de_DE"));
    QCOMPARE(FForm->SavedDecimalSeparator(), german ? ',' : '.');
    SetBasicData(QStringLiteral("10"), QStringLiteral("500"), QStringLiteral("30"));
    auto *distance = Child<QLineEdit>(*FForm, "A2Edit");
    Type(distance, QStringLiteral("12.5"));
    Enter(distance);
    QCOMPARE(distance->text(), QStringLiteral("12.5"));
    QCOMPARE(Child<QLineEdit>(*FForm, "M2Edit")->text(), QStringLiteral("29.5"));
}

void TestOpticCalcForm::typicalUse()
{
    SetBasicData(QStringLiteral("10"), QStringLiteral("500"), QStringLiteral("30"));
    Enter(Child<QLineEdit>(*FForm, "DEdit"));
    auto *spot = Child<QLineEdit>(*FForm, "M2Edit");
    auto *distance = Child<QLineEdit>(*FForm, "A2Edit");
    QVERIFY(spot->text().isEmpty());
    QVERIFY(distance->text().isEmpty());

    Child<QSlider>(*FForm, "Slider")->setValue(96);
    QCOMPARE(distance->text(), QStringLiteral("250.0"));
    QCOMPARE(spot->text(), QStringLiteral("20.0"));
    QCOMPARE(Child<QWidget>(*FForm, "Line")->x(), 390);
    QCOMPARE(Child<QLineEdit>(*FForm, "LineEdit")->text(), QStringLiteral("20.0@250.0mm"));
    QCOMPARE(FForm->CalcDistance(), 250.0f);
    QCOMPARE(FForm->CalcSpotValue(), 20.0f);
}

void TestOpticCalcForm::wantedSpot_data()
{
    QTest::addColumn<int>("sliderBefore");
    QTest::addColumn<QString>("wanted");
    QTest::addColumn<QString>("distance");
    QTest::addColumn<int>("sliderAfter");
    QTest::addRow("two-solutions-near-half") << 96 << "20"
                                             << "250.0" << 96;
    QTest::addRow("two-solutions-far-half") << 300 << "20"
                                            << "625.0" << 240;
    QTest::addRow("one-solution-beyond-aperture") << 96 << "40"
                                                  << "875.0" << 336;
    QTest::addRow("slider-at-focus-takes-near-half") << 192 << "20"
                                                     << "250.0" << 96;
    QTest::addRow("focus-spot-from-far-half") << 300 << "10"
                                              << "500.0" << 192;
    QTest::addRow("aperture-from-near-half-is-lens-front") << 96 << "30"
                                                           << "0.0" << 0;
}

void TestOpticCalcForm::wantedSpot()
{
    QFETCH(int, sliderBefore);
    QFETCH(QString, wanted);
    QFETCH(QString, distance);
    QFETCH(int, sliderAfter);
    SetBasicData(QStringLiteral("10"), QStringLiteral("500"), QStringLiteral("30"));
    auto *slider = Child<QSlider>(*FForm, "Slider");
    slider->setValue(sliderBefore);
    auto *spot = Child<QLineEdit>(*FForm, "M2Edit");
    spot->clear();
    Type(spot, wanted);
    Enter(spot);
    QCOMPARE(Child<QLineEdit>(*FForm, "A2Edit")->text(), distance);
    QCOMPARE(spot->text(), wanted + QStringLiteral(".0"));
    QCOMPARE(slider->value(), sliderAfter);
    QCOMPARE(Child<QWidget>(*FForm, "Line")->x(), 294 + sliderAfter);
}

void TestOpticCalcForm::unreachableSpotShowsBoxAndEmptiesResults()
{
    SetBasicData(QStringLiteral("10"), QStringLiteral("500"), QStringLiteral("30"));
    auto *slider = Child<QSlider>(*FForm, "Slider");
    slider->setValue(96);
    auto *spot = Child<QLineEdit>(*FForm, "M2Edit");
    spot->clear();
    Type(spot, QStringLiteral("5"));
    BoxWatcher watcher;
    Enter(spot);
    QCOMPARE(watcher.Boxes.size(), 1);
    QCOMPARE(watcher.Boxes.at(0).Title, QStringLiteral("Problem"));
    QCOMPARE(watcher.Boxes.at(0).Text, FForm->InvalidValueText());
    QVERIFY(!FForm->InvalidValueText().isEmpty());
    QVERIFY(spot->text().isEmpty());
    QVERIFY(Child<QLineEdit>(*FForm, "A2Edit")->text().isEmpty());
    QVERIFY(Child<QLineEdit>(*FForm, "LineEdit")->text().isEmpty());
    QCOMPARE(slider->value(), 96);
    QCOMPARE(FForm->CalcDistance(), 250.0f);
    QCOMPARE(FForm->CalcSpotValue(), 5.0f);
}

void TestOpticCalcForm::typedDistance_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("distance");
    QTest::addColumn<QString>("spot");
    QTest::addColumn<int>("slider");
    QTest::addRow("near-lens") << "5"
                               << "5.0"
                               << "29.8" << 2;
    QTest::addRow("beyond-twice-focus-shown-in-full") << "2000"
                                                      << "2000.0"
                                                      << "130.0" << 384;
    QTest::addRow("comma-typed-as-point") << "12,5"
                                          << "12.5"
                                          << "29.5" << 5;
    QTest::addRow("zero-is-rejected") << "0"
                                      << ""
                                      << "" << 0;
    QTest::addRow("empty-is-rejected") << ""
                                       << ""
                                       << "" << 0;
}

void TestOpticCalcForm::typedDistance()
{
    QFETCH(QString, typed);
    QFETCH(QString, distance);
    QFETCH(QString, spot);
    QFETCH(int, slider);
    SetBasicData(QStringLiteral("10"), QStringLiteral("500"), QStringLiteral("30"));
    auto *edit = Child<QLineEdit>(*FForm, "A2Edit");
    Type(edit, typed);
    Enter(edit);
    QCOMPARE(edit->text(), distance);
    QCOMPARE(Child<QLineEdit>(*FForm, "M2Edit")->text(), spot);
    QCOMPARE(Child<QSlider>(*FForm, "Slider")->value(), slider);
    QCOMPARE(Child<QWidget>(*FForm, "Line")->x(), 294 + slider);
}

void TestOpticCalcForm::keyFilter_data()
{
    QTest::addColumn<QString>("edit");
    for (const char *name : {"MEdit", "AEdit", "DEdit", "M2Edit", "A2Edit"})
        QTest::addRow("%s", name) << QString::fromLatin1(name);
}

void TestOpticCalcForm::keyFilter()
{
    QFETCH(QString, edit);
    SetBasicData(QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("1"));
    auto *control = Child<QLineEdit>(*FForm, edit.toLatin1().constData());
    control->clear();
    Type(control, QStringLiteral("1a2 ,-5ä+€x"));
    QCOMPARE(control->text(), QStringLiteral("12.5"));
    QTest::keyClick(control, Qt::Key_Backspace);
    QCOMPARE(control->text(), QStringLiteral("12."));
}

void TestOpticCalcForm::pictureFollowsBasicData()
{
    auto *shown = Child<TPicture>(*FForm, "Image1");
    const QImage converging = Child<TPicture>(*FForm, "Image_1")->pixmap().toImage();
    const QImage diverging = Child<TPicture>(*FForm, "Image_2")->pixmap().toImage();
    QVERIFY(converging != diverging);

    SetBasicData(QStringLiteral("10"), QStringLiteral("500"), QStringLiteral("30"));
    Enter(Child<QLineEdit>(*FForm, "MEdit"));
    QCOMPARE(shown->Tag, 1);
    QCOMPARE(shown->pixmap().toImage(), converging);

    auto *m90 = Child<QLineEdit>(*FForm, "MEdit");
    m90->clear();
    Type(m90, QStringLiteral("40"));
    Child<QSlider>(*FForm, "Slider")->setValue(96);
    Enter(m90);
    QCOMPARE(shown->Tag, 2);
    QCOMPARE(shown->pixmap().toImage(), diverging);
    QCOMPARE(Child<QLineEdit>(*FForm, "M2Edit")->text(), QStringLiteral("35.0"));

    m90->clear();
    Type(m90, QStringLiteral("30"));
    Enter(m90);
    QCOMPARE(shown->Tag, 1);
}

void TestOpticCalcForm::twoInvalidSpotsShowTwoBoxesOneAtATime()
{
    SetBasicData(QStringLiteral("10"), QStringLiteral("500"), QStringLiteral("30"));
    auto *spot = Child<QLineEdit>(*FForm, "M2Edit");
    // A second request while the box is open is dropped.
    BoxWatcher watcher([this] { FForm->ShowInvalidValue(QStringLiteral("second")); });
    for (int i = 0; i < 2; ++i) {
        spot->clear();
        Type(spot, QStringLiteral("5"));
        Enter(spot);
    }
    QCOMPARE(watcher.Boxes.size(), 2);
    QCOMPARE(watcher.Boxes.at(1).Text, FForm->InvalidValueText());
}

void TestOpticCalcForm::lineTextStaysInsideWindow()
{
    SetBasicData(QStringLiteral("10"), QStringLiteral("500"), QStringLiteral("30"));
    auto *edit = Child<QLineEdit>(*FForm, "A2Edit");
    Type(edit, QStringLiteral("2000"));
    Enter(edit);
    auto *label = Child<QLabel>(*FForm, "LineLabel");
    auto *lineEdit = Child<QLineEdit>(*FForm, "LineEdit");
    QCOMPARE(Child<QWidget>(*FForm, "Line")->x(), 678);
    QCOMPARE(label->text(), QStringLiteral("130.0@2000.0mm"));
    QCOMPARE(label->width(), label->fontMetrics().horizontalAdvance(label->text()));
    QCOMPARE(label->x() + label->width(), 687);
    // The edit draws its text 2 px inside: the red text starts at the
    // label's left and ends at the window's edge.
    const auto textStartsAtLabel = [&] {
        QCOMPARE(lineEdit->x() + 2, label->x());
        QCOMPARE(lineEdit->width(), label->width() + 4);
        QCOMPARE(lineEdit->y(), label->y());
    };
    textStartsAtLabel();

    // In the middle the text is centred over the line.
    Child<QSlider>(*FForm, "Slider")->setValue(96);
    QCOMPARE(label->x(), 390 - label->width() / 2);
    textStartsAtLabel();
}

void TestOpticCalcForm::lineFollowsSliderThumb()
{
    SetBasicData(QStringLiteral("10"), QStringLiteral("500"), QStringLiteral("30"));
    auto *slider = Child<QSlider>(*FForm, "Slider");
    for (int x : {103, 199, 391, 7}) {
        const int y = slider->height() / 2;
        QTest::mousePress(slider, Qt::LeftButton, {}, QPoint(slider->value() + 7, y));
        QTest::mouseMove(slider, QPoint(x, y));
        QTest::mouseRelease(slider, Qt::LeftButton, {}, QPoint(x, y));
        QCOMPARE(slider->value(), x - 7);
        QCOMPARE(Child<QWidget>(*FForm, "Line")->x(), slider->x() + x);
    }
}

void TestOpticCalcForm::equalSpotAndApertureNeverShowsErrorReport_data()
{
    QTest::addColumn<int>("slider");
    QTest::addColumn<QString>("wanted");
    QTest::addColumn<QString>("distance");
    QTest::addRow("below-aperture-is-unreachable") << 300 << "20"
                                                   << "";
    QTest::addRow("aperture-near-half-gives-focus") << 96 << "30"
                                                    << "500.0";
    QTest::addRow("aperture-far-half-gives-focus") << 300 << "30"
                                                   << "500.0";
    QTest::addRow("above-aperture-far-piece") << 96 << "45"
                                              << "625.0";
}

void TestOpticCalcForm::equalSpotAndApertureNeverShowsErrorReport()
{
    QFETCH(int, slider);
    QFETCH(QString, wanted);
    QFETCH(QString, distance);
    SetBasicData(QStringLiteral("30"), QStringLiteral("500"), QStringLiteral("30"));
    Child<QSlider>(*FForm, "Slider")->setValue(slider);
    auto *spot = Child<QLineEdit>(*FForm, "M2Edit");
    spot->clear();
    Type(spot, wanted);
    BoxWatcher watcher;
    Enter(spot);
    QCOMPARE(Child<QLineEdit>(*FForm, "A2Edit")->text(), distance);
    for (const SeenBox &box : watcher.Boxes)
        QCOMPARE(box.Title, QStringLiteral("Problem"));
    QCOMPARE(watcher.Boxes.size(), distance.isEmpty() ? 1 : 0);
}

void TestOpticCalcForm::valueBeyondFloatRangeIsNoNumber()
{
    SetBasicData(QStringLiteral("10"), QStringLiteral("500"), QStringLiteral("30"));
    const QString huge(60, u'9');
    auto *spot = Child<QLineEdit>(*FForm, "M2Edit");
    spot->setText(huge);
    BoxWatcher watcher;
    Enter(spot);
    QCOMPARE(watcher.Boxes.size(), 1);
    QCOMPARE(watcher.Boxes.at(0).Title, QStringLiteral("Problem"));

    auto *distance = Child<QLineEdit>(*FForm, "A2Edit");
    distance->setText(huge);
    Enter(distance);
    QVERIFY(distance->text().isEmpty());
    QCOMPARE(watcher.Boxes.size(), 1);
}

void TestOpticCalcForm::watch_data()
{
    QTest::addColumn<QStringList>("basic");
    QTest::addColumn<QStringList>("results");
    QTest::addColumn<int>("rows");
    // Expected enabled states in the order: Slider, CalcButton, PrintButton,
    // ExportButton, GridClearButton, ToTableButton, M2Edit, A2Edit, Grid,
    // NewRowButton, Label13, Label14.
    QTest::addColumn<QString>("expected");
    QTest::addRow("empty-at-start")
        << QStringList{"", "", ""} << QStringList{"", ""} << 0 << "000000000000";
    QTest::addRow("point-or-zero-counts-as-present")
        << QStringList{".", "0", "."} << QStringList{"", ""} << 0 << "100000111111";
    QTest::addRow("emptied-basic-edit-keeps-take-over")
        << QStringList{"10", "", "30"} << QStringList{"20.0", "250.0"} << 0 << "000001000000";
    QTest::addRow("rows-without-basic-data")
        << QStringList{"", "500", "30"} << QStringList{"", ""} << 2 << "001110000000";
    QTest::addRow("take-over-needs-both-results-spot-only")
        << QStringList{"10", "500", "30"} << QStringList{"20.0", ""} << 0 << "100000111111";
    QTest::addRow("take-over-needs-both-results-distance-only")
        << QStringList{"10", "500", "30"} << QStringList{"", "250.0"} << 0 << "100000111111";
    QTest::addRow("everything") << QStringList{"10", "500", "30"} << QStringList{"20.0", "250.0"}
                                << 1 << "111111111111";
}

void TestOpticCalcForm::watch()
{
    QFETCH(QStringList, basic);
    QFETCH(QStringList, results);
    QFETCH(int, rows);
    QFETCH(QString, expected);
    auto *grid = Child<TResultsGrid>(*FForm, "Grid");
    grid->InsertRows(1, rows);
    const char *basicNames[] = {"MEdit", "AEdit", "DEdit"};
    for (int i = 0; i < 3; ++i)
        Child<QLineEdit>(*FForm, basicNames[i])->setText(basic.at(i));
    Child<QLineEdit>(*FForm, "M2Edit")->setText(results.at(0));
    Child<QLineEdit>(*FForm, "A2Edit")->setText(results.at(1));
    QVERIFY(WaitForWatch(*FForm));

    const char *watched[] = {
        "Slider", "CalcButton", "PrintButton", "ExportButton", "GridClearButton", "ToTableButton",
        "M2Edit", "A2Edit",     "Grid",        "NewRowButton", "Label13",         "Label14"};
    QString actual;
    for (const char *name : watched)
        actual += Child<QWidget>(*FForm, name)->isEnabled() ? u'1' : u'0';
    QCOMPARE(actual, expected);
    for (const char *name : {"MEdit", "AEdit", "DEdit", "LineEdit", "Label10", "Image3"})
        QVERIFY2(Child<QWidget>(*FForm, name)->isEnabled(), name);
}

void TestOpticCalcForm::tabOrderReachesEveryControl()
{
    SetBasicData(QStringLiteral("10"), QStringLiteral("500"), QStringLiteral("30"));
    Child<QSlider>(*FForm, "Slider")->setValue(96);
    Child<TResultsGrid>(*FForm, "Grid")->InsertRows(1, 1);
    QVERIFY(WaitForWatch(*FForm));
    FForm->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(FForm.get()));
    Child<QWidget>(*FForm, "MEdit")->setFocus();
    QStringList visited;
    for (int i = 0; i < 14; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited.append(QApplication::focusWidget()->objectName());
    }
    QCOMPARE(visited,
             QStringList({"AEdit", "DEdit", "LineEdit", "Slider", "CalcButton", "PrintButton",
                          "Grid", "ExportButton", "NewRowButton", "GridClearButton", "M2Edit",
                          "A2Edit", "ToTableButton", "MEdit"}));

    // F10 opens the language menu.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F10);
    QCOMPARE(FForm->menuBar()->activeAction(), FForm->menuBar()->actions().at(0));
}

void TestOpticCalcForm::accessibleTextsFollowLanguage()
{
    FForm->ApplyLanguage(QStringLiteral("English"));
    QStringList unnamed;
    const auto controls = [this, &unnamed] {
        QMap<QString, QString> names;
        for (QWidget *control : FForm->findChildren<QWidget *>()) {
            const QString name = control->objectName();
            if (name.isEmpty() || name.startsWith(QLatin1String("qt_")) || !control->isVisible() ||
                control->parentWidget() == nullptr || name == QLatin1String("ClientArea") ||
                name == QLatin1String("AdvMainMenu1") || name.startsWith(QLatin1String("Bevel")) ||
                qobject_cast<QMenu *>(control) != nullptr)
                continue;
            if (control->accessibleName().isEmpty())
                unnamed.append(name);
            names[name] = control->accessibleName();
        }
        return names;
    };
    const QMap<QString, QString> english = controls();
    QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(u',')));
    QVERIFY(english.size() > 30);
    FForm->ApplyLanguage(QStringLiteral("Deutsch"));
    const QMap<QString, QString> german = controls();
    QCOMPARE(unnamed, QStringList());
    for (const char *name : {"MEdit", "A2Edit", "Slider", "Grid", "CalcButton", "ToTableButton"})
        QVERIFY2(german.value(QLatin1String(name)) != english.value(QLatin1String(name)), name);
    QVERIFY(!Child<QWidget>(*FForm, "MEdit")->accessibleDescription().isEmpty());
}

void TestOpticCalcForm::errorReportText_data()
{
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("shown");
    QTest::addRow("letter-gets-full-stop") << "Stream-Schreibfehler"
                                           << "Stream-Schreibfehler.";
    QTest::addRow("digit-gets-full-stop") << "Fehler 5"
                                          << "Fehler 5.";
    QTest::addRow("full-stop-stays-single") << "Fertig."
                                            << "Fertig.";
    QTest::addRow("exclamation-sorts-before-point") << "Achtung!"
                                                    << "Achtung!";
    QTest::addRow("blank-sorts-before-point") << "Ende "
                                              << "Ende ";
    QTest::addRow("empty-stays-empty") << ""
                                       << "";
}

void TestOpticCalcForm::errorReportText()
{
    QFETCH(QString, message);
    QFETCH(QString, shown);
    QCOMPARE(ErrorReportText(message), shown);
}

void TestOpticCalcForm::throwingHandlerIsReportedAndProgramGoesOn()
{
    BoxWatcher watcher;
    CallAndReport([] { throw Exception(QStringLiteral("Etwas ging schief")); });
    CallAndReport([] { throw 42; });
    QCOMPARE(watcher.Boxes.size(), 2);
    QCOMPARE(watcher.Boxes.at(0).Text, QStringLiteral("Etwas ging schief."));
    QCOMPARE(watcher.Boxes.at(0).Title, ApplicationTitle());
    QCOMPARE(watcher.Boxes.at(1).Text, QString());

    // An error escaping a real event handler: the window stays usable.
    FForm->AskExportPath = [] {
        return std::optional<QString>(QStringLiteral("/no/such/dir/x.csv"));
    };
    Child<TResultsGrid>(*FForm, "Grid")->InsertRows(1, 1);
    Child<QPushButton>(*FForm, "ExportButton")->setEnabled(true);
    QTest::mouseClick(Child<QPushButton>(*FForm, "ExportButton"), Qt::LeftButton);
    QCOMPARE(watcher.Boxes.size(), 3);
    QVERIFY(watcher.Boxes.at(2).Text.startsWith(QStringLiteral("Datei \"")));
    SetBasicData(QStringLiteral("10"), QStringLiteral("500"), QStringLiteral("30"));
    Child<QSlider>(*FForm, "Slider")->setValue(96);
    QCOMPARE(Child<QLineEdit>(*FForm, "M2Edit")->text(), QStringLiteral("20.0"));
}

QTEST_MAIN(TestOpticCalcForm)
#include "tst_opticcalcform.moc"
