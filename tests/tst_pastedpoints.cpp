// A spot-size diagram pasted from a spreadsheet or a data sheet, read line
// by line with the planner's number rules.

#include "PastedPoints.h"

#include <QStringList>
#include <QTest>

Q_DECLARE_METATYPE(LengthUnit)
Q_DECLARE_METATYPE(DecimalMark)

namespace {

// "line:distance/spot" per point, "line:column:problem" per skipped line.
QString Describe(const PastedPoints &pasted)
{
    QStringList parts;
    for (std::size_t i = 0; i < pasted.Points.size(); ++i)
        parts << QStringLiteral("%1:%2/%3")
                     .arg(pasted.Lines[i])
                     .arg(pasted.Points[i].Distance)
                     .arg(pasted.Points[i].Spot);
    for (const PasteSkip &skip : pasted.Skipped)
        parts << QStringLiteral("%1:%2:%3")
                     .arg(skip.Line)
                     .arg(skip.Column)
                     .arg(skip.Reading.Problem ? int(*skip.Reading.Problem) : -1);
    return parts.join(u' ');
}

} // namespace

class TestPastedPoints : public QObject
{
    Q_OBJECT

private slots:
    void read_data();
    void read();
};

void TestPastedPoints::read_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<LengthUnit>("unit");
    QTest::addColumn<QString>("points");
    QTest::addColumn<bool>("header");
    QTest::addColumn<DecimalMark>("mark");

    const auto mm = LengthUnit::Millimetre;
    const auto inch = LengthUnit::Inch;
    const auto unsettled = DecimalMark::Unsettled;
    const int empty = int(FieldProblem::Empty);
    const int ambiguous = int(FieldProblem::Ambiguous);
    QTest::addRow("tabs-crlf-empty-lines-skipped")
        << "0\t10\r\n\r\n610\t8\r\n1000\t12\r\n"
        << mm << "1:0/10 3:610/8 4:1000/12" << false << unsettled;
    QTest::addRow("semicolons-in-inch")
        << "1;0.5\n24;0.3\n"
        << inch << "1:25.4/12.7 2:609.6/7.62" << false << DecimalMark::Point;
    QTest::addRow("runs-of-blanks-with-units")
        << "610 mm  8 mm\n  61 cm   0.9 cm\n24in 0.5\"" << mm << "1:610/8 2:610/9 3:609.6/12.7"
        << false << DecimalMark::Point;
    QTest::addRow("no-break-space-groups-a-number")
        << QStringLiteral("1\u00a0000 12\n2\u2009000 15") << mm << "1:1000/12 2:2000/15" << false
        << unsettled;
    QTest::addRow("header-units-per-column")
        << "Distance (m)\tSpot [mm]\n0.61\t8\n1.2\t15 cm\n"
        << mm << "2:610/8 3:1200/150" << true << DecimalMark::Point;
    QTest::addRow("header-in-inch-blank-separated") << "Distance in inch   Spot in mm\n24 8\n"
                                                    << mm << "2:609.6/8" << true << unsettled;
    QTest::addRow("spot-at-lines") << QStringLiteral("8 mm @ 610 mm\n\u00d812 at 1 m\n4 bei 0")
                                   << mm << "1:610/8 2:1000/12 3:0/4" << false << unsettled;
    QTest::addRow("more-than-eight-all-taken")
        << "1;1\n2;2\n3;3\n4;4\n5;5\n6;6\n7;7\n8;8\n9;9\n10;10\n"
        << mm << "1:1/1 2:2/2 3:3/3 4:4/4 5:5/5 6:6/6 7:7/7 8:8/8 9:9/9 10:10/10" << false
        << unsettled;
    QTest::addRow("mark-settled-by-another-cell")
        << "0,5;1,250\n12,5;2\n"
        << mm << "1:0.5/1.25 2:12.5/2" << false << DecimalMark::Comma;
    QTest::addRow("point-settled-comma-groups")
        << "1,000;8\n610.5;9\n"
        << mm << "1:1000/8 2:610.5/9" << false << DecimalMark::Point;
    QTest::addRow("unsettled-ambiguous-line-skipped")
        << "610;8\n1,000;12\n"
        << mm << QStringLiteral("1:610/8 2:0:%1").arg(ambiguous) << false << unsettled;
    QTest::addRow("disagreeing-cells-leave-it-unsettled")
        << "1,5;2\n2.5;1.250\n"
        << mm << QStringLiteral("1:1.5/2 2:1:%1").arg(ambiguous) << false << unsettled;
    QTest::addRow("line-with-one-number")
        << "610;8\n700\n"
        << mm << QStringLiteral("1:610/8 2:-1:%1").arg(empty) << false << unsettled;
    QTest::addRow("bad-cells-name-their-column") << "-5;8\n610;x\n610;\n"
                                                 << mm
                                                 << QStringLiteral("1:0:%1 2:1:%2 3:1:%3")
                                                        .arg(int(FieldProblem::Negative))
                                                        .arg(int(FieldProblem::NoNumber))
                                                        .arg(empty)
                                                 << false << unsettled;
}

void TestPastedPoints::read()
{
    QFETCH(QString, text);
    QFETCH(LengthUnit, unit);
    QFETCH(QString, points);
    QFETCH(bool, header);
    QFETCH(DecimalMark, mark);

    const PastedPoints pasted = ReadPastedPoints(text.toStdString(), unit);
    QCOMPARE(Describe(pasted), points);
    QCOMPARE(pasted.HeaderSkipped, header);
    QCOMPARE(pasted.Mark, mark);
    for (const PasteSkip &skip : pasted.Skipped) {
        if (skip.Reading.Problem == FieldProblem::Ambiguous)
            QVERIFY(!skip.Reading.AsDecimal.empty() && !skip.Reading.AsGrouped.empty());
    }
}

QTEST_APPLESS_MAIN(TestPastedPoints)
#include "tst_pastedpoints.moc"
