// The dialog that turns data-sheet figures into optics: each form, inputs
// that give none, and Add.

#include "PlannerUnit/DataSheetDialog.h"

#include "PlannerUnit/PlannerChart.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

Q_DECLARE_METATYPE(LengthUnit)

class TestDataSheetDialog : public QObject
{
    Q_OBJECT

private slots:
    void forms_data();
    void forms();
    void unitSwitchKeepsWhatWasTyped_data();
    void unitSwitchKeepsWhatWasTyped();
};

void TestDataSheetDialog::forms_data()
{
    QTest::addColumn<LengthUnit>("unit");
    QTest::addColumn<int>("form");
    // a, D:S at the focus, spot at the focus, far field, its distance, the
    // printed focus to keep (kept where it ends in "!")
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QString>("paste");
    QTest::addColumn<QStringList>("result"); // M90, a, D as shown
    QTest::addColumn<QString>("errorLabel");
    QTest::addColumn<QString>("error");
    QTest::addColumn<QString>("largest");
    QTest::addColumn<QString>("report"); // below the points
    QTest::addColumn<int>("marks");      // printed figures on the chart

    const QStringList converging{"10 mm", "500 mm", "30 mm"};
    const QStringList none{"\u2013", "\u2013", "\u2013"};
    const int ratios = TDataSheetDialog::Ratios;
    const int spot = TDataSheetDialog::FocusSpot;
    const int points = TDataSheetDialog::Points;
    const LengthUnit mm = LengthUnit::Millimetre;
    const QString determined = QStringLiteral(
        "Three points determine M90, a and D: the beam passes through each of them, nothing "
        "is checked. A fourth point checks it.");
    const QString noisy = QStringLiteral("0;30\n250;21\n500;10\n750;30\n1000;50\n");

    QTest::addRow("ratios") << mm << ratios << QStringList{"500", "50", "", "12.5"} << QString()
                            << converging << QString() << QString() << QString() << QString() << 1;
    QTest::addRow("ratios-as-printed-with-colon")
        << mm << ratios << QStringList{"610", "75:1", "", "40 : 1"} << QString()
        << QStringList{"8.13333 mm", "610 mm", "7.11667 mm"} << QString() << QString() << QString()
        << QString() << 1;
    QTest::addRow("ratios-decimal-comma-inch")
        << LengthUnit::Inch << ratios << QStringList{"19,6850", "50", "", "12,5"} << QString()
        << QStringList{"0.3937 inch", "19.685 inch", "1.1811 inch"} << QString() << QString()
        << QString() << QString() << 1;
    QTest::addRow("ratios-grouping-is-ambiguous")
        << mm << ratios << QStringList{"1,000", "50", "", "12.5"} << QString() << none
        << QStringLiteral("FocusError") << QStringLiteral("1,000: 1.0 or 1000? Write 1.0 or 1000")
        << QString() << QString() << 0;
    QTest::addRow("ratios-equal-give-no-aperture")
        << mm << ratios << QStringList{"500", "50", "", "50"} << QString() << none
        << QStringLiteral("RatioFarError")
        << QStringLiteral("the far-field D:S must be smaller than the D:S at the focus")
        << QString() << QString() << 1;
    // 10/500/30 has the spot 2 x 40 - 30 = 50 at 1000, so D:S 20 there;
    // read as the asymptote, D:S 20 would give D = 15.
    QTest::addRow("ratios-far-field-at-a-stated-distance")
        << mm << ratios << QStringList{"500", "50", "", "20", "1000"} << QString() << converging
        << QString() << QString() << QString() << QString() << 2;
    QTest::addRow("ratios-far-field-distance-before-the-focus")
        << mm << ratios << QStringList{"500", "50", "", "20", "400"} << QString() << none
        << QStringLiteral("FarDistanceError") << QStringLiteral("must lie beyond the focus")
        << QString() << QString() << 1;
    QTest::addRow("ratios-one-ratio-names-what-is-missing")
        << mm << ratios << QStringList{"", "12:1", "", ""} << QString() << none
        << QStringLiteral("MissingNote")
        << QStringLiteral("Missing for this form: Focus distance a, D:S in the far field. A sheet "
                          "with one ratio only (12:1) or a focus at infinity fits none of the "
                          "three forms.")
        << QString() << QString() << 0;
    QTest::addRow("spot-at-focus") << mm << spot << QStringList{"110", "", "1.5", "9.5652174"}
                                   << QString() << QStringList{"1.5 mm", "110 mm", "10 mm"}
                                   << QString() << QString() << QString() << QString() << 1;
    QTest::addRow("spot-printed-with-its-distance")
        << mm << spot << QStringList{"", "", "8 mm @ 610 mm", "40:1"} << QString()
        << QStringList{"8 mm", "610 mm", "7.25 mm"} << QString() << QString() << QString()
        << QString() << 1;
    QTest::addRow("spot-names-another-focus")
        << mm << spot << QStringList{"600", "", "8 @ 610", "40"} << QString() << none
        << QStringLiteral("SpotFocusError") << QStringLiteral("names another focus distance than a")
        << QString() << QString() << 0;
    QTest::addRow("spot-at-focus-zero")
        << mm << spot << QStringList{"110", "", "0", "9.5"} << QString() << none
        << QStringLiteral("SpotFocusError") << QStringLiteral("must be greater than 0") << QString()
        << QString() << 0;
    QTest::addRow("points-pasted-with-header")
        << mm << points << QStringList()
        << QStringLiteral("Abstand;Messfleck\r\n100;26\r\n250;20\r\n700\t26\r\n1000;50,0\r\n")
        << converging << QString() << QString() << QStringLiteral("Largest deviation: 0.00 %")
        << QStringLiteral("Decimal mark: comma (,).") << 4;
    QTest::addRow("points-three-determine-and-check-nothing")
        << mm << points << QStringList() << QStringLiteral("100;26\n700;26\n1000;50\n")
        << converging << QString() << QString() << determined << QString() << 3;
    QTest::addRow("points-blank-separated-with-units")
        << mm << points << QStringList()
        << QStringLiteral("100 mm   26 mm\n250 mm  20 mm\n700 mm 26 mm\n1 m 50 mm\n") << converging
        << QString() << QString() << QStringLiteral("Largest deviation: 0.00 %") << QString() << 4;
    QTest::addRow("points-noisy-show-deviation")
        << mm << points << QStringList() << noisy
        << QStringList{"9.96219 mm", "502.692 mm", "30.6407 mm"} << QString() << QString()
        << QStringLiteral("Largest deviation: 3.06 %") << QString() << 5;
    QTest::addRow("points-printed-focus-shown-beside-the-free-fit")
        << mm << points << QStringList{"", "", "", "", "", "500"} << noisy
        << QStringList{"9.96219 mm", "502.692 mm", "30.6407 mm"} << QString() << QString()
        << QStringLiteral("Largest deviation: 3.06 % with a free focus, KEPT with a = 500 mm.")
        << QString() << 5;
    QTest::addRow("points-printed-focus-kept")
        << mm << points << QStringList{"", "", "", "", "", "500!"} << noisy
        << QStringList{"M90", "500 mm", "D"} << QString() << QString()
        << QStringLiteral("Largest deviation: 3.06 % with a free focus, KEPT with a = 500 mm.")
        << QString() << 5;
    QTest::addRow("points-too-few")
        << mm << points << QStringList() << QStringLiteral("100;26\n250;20\n") << none
        << QStringLiteral("PointsError") << QStringLiteral("at least 3 points needed") << QString()
        << QString() << 2;
    QTest::addRow("points-one-side")
        << mm << points << QStringList() << QStringLiteral("100;26\n200;22\n300;18\n") << none
        << QStringLiteral("PointsError")
        << QStringLiteral("the points show one side of the focus only") << QString() << QString()
        << 3;
    QTest::addRow("points-negative-distance-is-named")
        << mm << points << QStringList() << QStringLiteral("-5;26\n250;20\n700;26\n1000;50\n")
        << converging << QString() << QString() << determined
        << QStringLiteral("Not taken:\nLine 1: Distance: must not be below 0") << 3;
    QString ten;
    for (int i = 1; i <= 10; ++i)
        ten += QStringLiteral("%1;%2\n").arg(i * 100).arg(i <= 5 ? 30 - i * 4 : i * 8 - 30);
    QTest::addRow("points-beyond-eight-are-counted")
        << mm << points << QStringList() << ten << QStringList{"M90", "a", "D"} << QString()
        << QString() << QStringLiteral("Largest deviation: ANY")
        << QStringLiteral("2 lines left out: the diagram takes at most 8 points.") << 8;
}

void TestDataSheetDialog::forms()
{
    QFETCH(LengthUnit, unit);
    QFETCH(int, form);
    QFETCH(QStringList, fields);
    QFETCH(QString, paste);
    QFETCH(QStringList, result);
    QFETCH(QString, errorLabel);
    QFETCH(QString, error);
    QFETCH(QString, largest);
    QFETCH(QString, report);
    QFETCH(int, marks);

    TDataSheetDialog dialog(TPlannerTexts(QStringLiteral("English")), unit,
                            QStringLiteral("From sheet"));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    dialog.SetForm(TDataSheetDialog::Form(form));
    const char *edits[] = {"FocusEdit",    "RatioFocusEdit",  "SpotFocusEdit",
                           "RatioFarEdit", "FarDistanceEdit", "KeepFocusEdit"};
    for (int i = 0; i < fields.size(); ++i) {
        auto *edit = dialog.findChild<QLineEdit *>(QLatin1String(edits[i]));
        QVERIFY(edit);
        QString text = fields[i];
        const bool keep = text.endsWith(u'!');
        if (keep)
            text.chop(1);
        if (!text.isEmpty())
            QTest::keyClicks(edit, text);
        if (keep)
            dialog.findChild<QCheckBox *>(QStringLiteral("KeepFocusCheck"))->setChecked(true);
    }
    if (!paste.isEmpty())
        dialog.PastePoints(paste);

    // The kept fit's own figures are pinned by the model's tests; here what
    // the dialog shows of it.
    const OpticsFit &kept = dialog.KeptFit();
    const auto shown = [&](double mm) {
        return QString::number(mm, 'g', 6) + QStringLiteral(" mm");
    };
    const char *results[] = {"ResultM90", "ResultA", "ResultD"};
    const QString keptLargest = QString::number(kept.MaxDeviation * 100, 'f', 2) + " %";
    for (int i = 0; i < 3; ++i) {
        QString expected = result[i];
        if (expected == QStringLiteral("M90"))
            expected = shown(float(dialog.Fit().M90));
        else if (expected == QStringLiteral("a"))
            expected = shown(float(dialog.Fit().A));
        else if (expected == QStringLiteral("D"))
            expected = shown(float(dialog.Fit().D));
        QCOMPARE(dialog.findChild<QLabel *>(QLatin1String(results[i]))->text(), expected);
    }
    if (!errorLabel.isEmpty())
        QCOMPARE(dialog.findChild<QLabel *>(errorLabel)->text(), error);
    const QString largestShown =
        dialog.findChild<QLabel *>(QStringLiteral("MaxDeviationLabel"))->text();
    if (largest.endsWith(QStringLiteral("ANY")))
        QVERIFY2(largestShown.startsWith(largest.chopped(3)), qPrintable(largestShown));
    else
        QCOMPARE(largestShown, QString(largest).replace(QStringLiteral("KEPT"), keptLargest));
    QCOMPARE(dialog.findChild<QLabel *>(QStringLiteral("PasteReport"))->text(), report);
    const QTableWidget *table = dialog.findChild<QTableWidget *>();
    const QString tag = QString::fromLatin1(QTest::currentDataTag());
    if (tag == QStringLiteral("points-noisy-show-deviation"))
        QCOMPARE(table->item(1, 2)->text(), QStringLiteral("-3.06"));
    if (tag == QStringLiteral("points-three-determine-and-check-nothing"))
        QCOMPARE(table->item(0, 2)->text(), QString());
    if (tag.startsWith(QStringLiteral("points-printed-focus"))) {
        QVERIFY(kept.Ok && kept.A == 500 && kept.MaxDeviation >= dialog.FreeFit().MaxDeviation);
        QCOMPARE(dialog.Fit().A, tag.endsWith(QStringLiteral("kept")) ? 500.0 : dialog.FreeFit().A);
    }
    const auto *chart = dialog.findChild<TPlannerChart *>(QStringLiteral("SheetChart"));
    QCOMPARE(int(chart->Data().Marks.size()), marks);
    QCOMPARE(int(chart->Data().Input.Optics.size()),
             dialog.Optics() ? 1 + (kept.Ok && dialog.FreeFit().Ok) : 0);

    auto *add = dialog.findChild<QPushButton *>(QStringLiteral("AddButton"));
    const bool gives = result != QStringList{"\u2013", "\u2013", "\u2013"};
    QCOMPARE(add->isEnabled(), gives);
    QTest::mouseClick(add, Qt::LeftButton);
    QCOMPARE(dialog.result(), gives ? int(QDialog::Accepted) : int(QDialog::Rejected));
    QCOMPARE(dialog.Optics().has_value(), gives);
    QCOMPARE(dialog.Name(), QStringLiteral("From sheet"));
}

// A bare number keeps its length across a unit switch and comes back as
// typed; a number that names its unit stays as it is.
void TestDataSheetDialog::unitSwitchKeepsWhatWasTyped_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("inInch");

    QTest::addRow("bare-number-converted") << "500"
                                           << "19.6850";
    QTest::addRow("named-unit-stays") << "610 mm"
                                      << "610 mm";
    QTest::addRow("no-number-stays") << "5OO"
                                     << "5OO";
}

void TestDataSheetDialog::unitSwitchKeepsWhatWasTyped()
{
    QFETCH(QString, typed);
    QFETCH(QString, inInch);

    TDataSheetDialog dialog(TPlannerTexts(QStringLiteral("English")), LengthUnit::Millimetre,
                            QStringLiteral("From sheet"));
    auto *focus = dialog.findChild<QLineEdit *>(QStringLiteral("FocusEdit"));
    auto *combo = dialog.findChild<QComboBox *>(QStringLiteral("UnitCombo"));
    QTest::keyClicks(focus, typed);
    QTest::keyClicks(dialog.findChild<QLineEdit *>(QStringLiteral("RatioFocusEdit")), "50");
    QTest::keyClicks(dialog.findChild<QLineEdit *>(QStringLiteral("RatioFarEdit")), "12.5");
    const std::optional<SpotOptics> before = dialog.Optics();
    combo->setCurrentIndex(1);
    QCOMPARE(focus->text(), inInch);
    QCOMPARE(dialog.Unit(), LengthUnit::Inch);
    QCOMPARE(dialog.Optics().has_value(), before.has_value());
    auto *ratio = dialog.findChild<QLineEdit *>(QStringLiteral("RatioFocusEdit"));
    QCOMPARE(ratio->text(), QStringLiteral("50"));
    if (before) {
        QCOMPARE(dialog.Optics()->A, before->A);
        QCOMPARE(dialog.Optics()->M90, before->M90);
    }
    combo->setCurrentIndex(0);
    QCOMPARE(focus->text(), typed);
}

QTEST_MAIN(TestDataSheetDialog)
#include "tst_datasheetdialog.moc"
