// The dialog that turns data-sheet figures into optics: each form, inputs
// that give none, and Add.

#include "PlannerUnit/DataSheetDialog.h"

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
};

void TestDataSheetDialog::forms_data()
{
    QTest::addColumn<LengthUnit>("unit");
    QTest::addColumn<int>("form");
    QTest::addColumn<QStringList>("fields"); // a, D:S at the focus, spot at the focus, far field
    QTest::addColumn<QString>("paste");
    QTest::addColumn<QStringList>("result"); // M90, a, D as shown
    QTest::addColumn<QString>("errorLabel");
    QTest::addColumn<QString>("error");
    QTest::addColumn<QString>("largest");

    const QStringList converging{"10 mm", "500 mm", "30 mm"};
    const QStringList none{"\u2013", "\u2013", "\u2013"};
    const int ratios = TDataSheetDialog::Ratios;
    const int spot = TDataSheetDialog::FocusSpot;
    const int points = TDataSheetDialog::Points;
    QTest::addRow("ratios") << LengthUnit::Millimetre << ratios
                            << QStringList{"500", "50", "", "12.5"} << QString() << converging
                            << QString() << QString() << QString();
    QTest::addRow("ratios-decimal-comma-inch")
        << LengthUnit::Inch << ratios << QStringList{"19,6850", "50", "", "12,5"} << QString()
        << QStringList{"0.3937 inch", "19.685 inch", "1.1811 inch"} << QString() << QString()
        << QString();
    QTest::addRow("ratios-equal-give-no-aperture")
        << LengthUnit::Millimetre << ratios << QStringList{"500", "50", "", "50"} << QString()
        << none << QStringLiteral("RatioFarError")
        << QStringLiteral("D would not be greater than 0") << QString();
    QTest::addRow("ratios-focus-missing")
        << LengthUnit::Millimetre << ratios << QStringList{"", "50", "", "12.5"} << QString()
        << none << QStringLiteral("FocusError") << QStringLiteral("enter a value") << QString();
    QTest::addRow("spot-at-focus")
        << LengthUnit::Millimetre << spot << QStringList{"110", "", "1.5", "9.5652174"} << QString()
        << QStringList{"1.5 mm", "110 mm", "10 mm"} << QString() << QString() << QString();
    QTest::addRow("spot-at-focus-zero")
        << LengthUnit::Millimetre << spot << QStringList{"110", "", "0", "9.5"} << QString() << none
        << QStringLiteral("SpotFocusError") << QStringLiteral("must be greater than 0")
        << QString();
    QTest::addRow("points-pasted-with-header")
        << LengthUnit::Millimetre << points << QStringList()
        << QStringLiteral("Abstand;Messfleck\r\n100;26\r\n250;20\r\n700\t26\r\n1000;50,0\r\n")
        << converging << QString() << QString() << QStringLiteral("Largest deviation: 0.00 %");
    QTest::addRow("points-noisy-show-deviation")
        << LengthUnit::Millimetre << points << QStringList()
        << QStringLiteral("0;30\n250;21\n500;10\n750;30\n1000;50\n")
        << QStringList{"9.96219 mm", "502.692 mm", "30.6407 mm"} << QString() << QString()
        << QStringLiteral("Largest deviation: 3.06 %");
    QTest::addRow("points-too-few")
        << LengthUnit::Millimetre << points << QStringList() << QStringLiteral("100;26\n250;20\n")
        << none << QStringLiteral("PointsError") << QStringLiteral("at least 3 points needed")
        << QString();
    QTest::addRow("points-one-side")
        << LengthUnit::Millimetre << points << QStringList()
        << QStringLiteral("100;26\n200;22\n300;18\n") << none << QStringLiteral("PointsError")
        << QStringLiteral("the points show one side of the focus only") << QString();
    QTest::addRow("points-negative-distance-marks-the-cell")
        << LengthUnit::Millimetre << points << QStringList()
        << QStringLiteral("-5;26\n250;20\n700;26\n1000;50\n") << none << QString() << QString()
        << QString();
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

    TDataSheetDialog dialog(TPlannerTexts(QStringLiteral("English")), unit,
                            QStringLiteral("From sheet"));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    dialog.SetForm(TDataSheetDialog::Form(form));
    const char *edits[] = {"FocusEdit", "RatioFocusEdit", "SpotFocusEdit", "RatioFarEdit"};
    for (int i = 0; i < fields.size(); ++i) {
        auto *edit = dialog.findChild<QLineEdit *>(QLatin1String(edits[i]));
        QVERIFY(edit);
        if (!fields[i].isEmpty())
            QTest::keyClicks(edit, fields[i]);
    }
    if (!paste.isEmpty())
        dialog.PastePoints(paste);

    const char *results[] = {"ResultM90", "ResultA", "ResultD"};
    for (int i = 0; i < 3; ++i)
        QCOMPARE(dialog.findChild<QLabel *>(QLatin1String(results[i]))->text(), result[i]);
    if (!errorLabel.isEmpty())
        QCOMPARE(dialog.findChild<QLabel *>(errorLabel)->text(), error);
    QCOMPARE(dialog.findChild<QLabel *>(QStringLiteral("MaxDeviationLabel"))->text(), largest);
    const QTableWidget *table = dialog.findChild<QTableWidget *>();
    if (QTest::currentDataTag() == QByteArray("points-negative-distance-marks-the-cell"))
        QCOMPARE(table->item(0, 0)->toolTip(), QStringLiteral("must not be below 0"));
    if (QTest::currentDataTag() == QByteArray("points-noisy-show-deviation"))
        QCOMPARE(table->item(1, 2)->text(), QStringLiteral("-3.06"));

    auto *add = dialog.findChild<QPushButton *>(QStringLiteral("AddButton"));
    const bool gives = result != QStringList{"\u2013", "\u2013", "\u2013"};
    QCOMPARE(add->isEnabled(), gives);
    QTest::mouseClick(add, Qt::LeftButton);
    QCOMPARE(dialog.result(), gives ? int(QDialog::Accepted) : int(QDialog::Rejected));
    QCOMPARE(dialog.Optics().has_value(), gives);
    QCOMPARE(dialog.Name(), QStringLiteral("From sheet"));
}

QTEST_MAIN(TestDataSheetDialog)
#include "tst_datasheetdialog.moc"
