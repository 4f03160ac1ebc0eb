// The planner's rules below its window: how a field is read, which optics
// is best, how figures and range ends are rounded, how names are escaped.

#include "Planner.h"
#include "PlannerUnit/PlannerFormat.h"
#include "PlannerUnit/PlannerTexts.h"
#include "shared/EscapedText.h"

#include <QTest>

Q_DECLARE_METATYPE(FieldKind)
Q_DECLARE_METATYPE(LengthUnit)
Q_DECLARE_METATYPE(DecimalMark)

namespace {

// -1 stands for no value.
constexpr int NoProblem = -1;

PlannerOptics Optics(const char *name, float m90, float a, float d)
{
    return {name, SpotOptics{m90, a, d}, 0};
}

} // namespace

class TestPlannerRules : public QObject
{
    Q_OBJECT

private slots:
    void fieldRules_data();
    void fieldRules();
    void ambiguousReadings_data();
    void ambiguousReadings();
    void spotAt_data();
    void spotAt();
    void settledMark_data();
    void settledMark();
    void best_data();
    void best();
    void rounding_data();
    void rounding();
    void escapedNames_data();
    void escapedNames();
};

void TestPlannerRules::fieldRules_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<FieldKind>("kind");
    QTest::addColumn<LengthUnit>("unit");
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("problem");

    const auto mm = LengthUnit::Millimetre;
    const auto inch = LengthUnit::Inch;
    const auto length = FieldKind::Length;
    const int empty = int(FieldProblem::Empty);
    const int noNumber = int(FieldProblem::NoNumber);
    const int notPositive = int(FieldProblem::NotPositive);
    const int range = int(FieldProblem::OutOfRange);
    const int ambiguous = int(FieldProblem::Ambiguous);
    const int noLength = int(FieldProblem::NoLength);
    const int badRatio = int(FieldProblem::BadRatio);
    const auto ratio = FieldKind::Ratio;
    const auto position = FieldKind::Position;
    QTest::addRow("length-in-mm") << "450" << length << mm << 450.0 << NoProblem;
    QTest::addRow("length-in-inch-read-as-mm") << "2" << length << inch << 50.8 << NoProblem;
    QTest::addRow("comma-and-blanks") << " 1,5 " << length << mm << 1.5 << NoProblem;
    QTest::addRow("no-break-spaces-around")
        << QStringLiteral("\u00a0450\u202f") << length << mm << 450.0 << NoProblem;
    QTest::addRow("double-not-float") << "0.1" << length << mm << 0.1 << NoProblem;
    QTest::addRow("exponent") << "1.5e2" << length << mm << 150.0 << NoProblem;
    QTest::addRow("empty") << "  " << length << mm << 0.0 << empty;
    QTest::addRow("no-break-space-only")
        << QStringLiteral("\u00a0") << length << mm << 0.0 << empty;
    QTest::addRow("two-separators") << "1,2.5" << length << mm << 0.0 << noNumber;
    QTest::addRow("letters") << "2O" << length << mm << 0.0 << noNumber;
    QTest::addRow("inf-is-no-number") << "inf" << length << mm << 0.0 << noNumber;
    QTest::addRow("zero") << "0" << length << mm << 0.0 << notPositive;
    QTest::addRow("negative") << "-450" << length << mm << 0.0 << notPositive;
    QTest::addRow("smallest-plausible") << "0.001" << length << mm << 0.001 << NoProblem;
    QTest::addRow("below-a-micrometre") << "0.0009" << length << mm << 0.0 << range;
    QTest::addRow("a-kilometre") << "1000000" << length << mm << 1e6 << NoProblem;
    QTest::addRow("beyond-a-kilometre") << "1000001" << length << mm << 0.0 << range;
    QTest::addRow("float-overflow-is-out-of-range") << "3.5e38" << length << mm << 0.0 << range;
    QTest::addRow("beyond-double") << "1e400" << length << mm << 0.0 << range;
    QTest::addRow("limit-checked-in-mm") << "39371" << length << inch << 0.0 << range;
    QTest::addRow("factor-below-1-is-valid")
        << "0.5" << FieldKind::Factor << mm << 0.5 << NoProblem;
    QTest::addRow("factor-has-no-length-limit")
        << "2000000" << FieldKind::Factor << inch << 2e6 << NoProblem;
    QTest::addRow("factor-zero") << "0" << FieldKind::Factor << mm << 0.0 << notPositive;
    QTest::addRow("tilt-zero") << "0" << FieldKind::Tilt << mm << 0.0 << NoProblem;
    QTest::addRow("tilt-85") << "85" << FieldKind::Tilt << inch << 85.0 << NoProblem;
    QTest::addRow("tilt-above-85")
        << "85.1" << FieldKind::Tilt << mm << 0.0 << int(FieldProblem::Tilt);
    QTest::addRow("tilt-negative")
        << "-0.5" << FieldKind::Tilt << mm << 0.0 << int(FieldProblem::Tilt);

    // Grouping is never taken for a decimal mark in silence.
    QTest::addRow("comma-thousand-ambiguous") << "1,000" << length << mm << 0.0 << ambiguous;
    QTest::addRow("point-ten-thousand-ambiguous") << "10.000" << length << inch << 0.0 << ambiguous;
    QTest::addRow("point-1250-ambiguous") << "1.250" << length << inch << 0.0 << ambiguous;
    QTest::addRow("comma-12500-ambiguous") << "12,500" << length << mm << 0.0 << ambiguous;
    QTest::addRow("leading-zero-is-decimal") << "0,500" << length << mm << 0.5 << NoProblem;
    QTest::addRow("one-decimal-in-inch") << "12,5" << length << inch << 317.5 << NoProblem;
    QTest::addRow("two-decimals") << "1.25" << length << mm << 1.25 << NoProblem;
    QTest::addRow("four-decimals") << "1.2500" << length << mm << 1.25 << NoProblem;
    QTest::addRow("four-digits-before-is-decimal")
        << "1234,500" << length << mm << 1234.5 << NoProblem;
    QTest::addRow("both-marks-point-last") << "1,000.5" << length << mm << 1000.5 << NoProblem;
    QTest::addRow("both-marks-comma-last") << "1.000,5" << length << inch << 25412.7 << NoProblem;
    QTest::addRow("both-marks-bad-groups") << "1.00,5" << length << mm << 0.0 << noNumber;
    QTest::addRow("repeated-commas-group") << "1,000,000" << length << mm << 1e6 << NoProblem;
    QTest::addRow("repeated-points-range-in-mm") << "1.000.000" << length << inch << 0.0 << range;
    QTest::addRow("repeated-bad-groups") << "1,00,000" << length << mm << 0.0 << noNumber;
    QTest::addRow("blank-groups") << "1 000" << length << mm << 1000.0 << NoProblem;
    QTest::addRow("no-break-groups-decimal-comma")
        << QStringLiteral("12\u00a0500,5") << length << mm << 12500.5 << NoProblem;
    QTest::addRow("thin-space-groups-in-inch")
        << QStringLiteral("1\u2009000") << length << inch << 25400.0 << NoProblem;
    QTest::addRow("thin-spaces-around")
        << QStringLiteral("\u2009450\u2009") << length << mm << 450.0 << NoProblem;
    QTest::addRow("blank-group-of-two") << "1 00" << length << mm << 0.0 << noNumber;
    // Units in the text win over the place's.
    QTest::addRow("mm-in-inch-place") << "610 mm" << length << inch << 610.0 << NoProblem;
    QTest::addRow("mm-without-blank") << "610mm" << length << inch << 610.0 << NoProblem;
    QTest::addRow("centimetres") << "61 cm" << length << mm << 610.0 << NoProblem;
    QTest::addRow("metres") << "0.61 m" << length << inch << 610.0 << NoProblem;
    QTest::addRow("in") << "24 in" << length << mm << 609.6 << NoProblem;
    QTest::addRow("inch-any-case") << "24 INCH" << length << mm << 609.6 << NoProblem;
    QTest::addRow("inches") << "24 inches" << length << mm << 609.6 << NoProblem;
    QTest::addRow("double-prime") << QStringLiteral("24\u2033") << length << mm << 609.6
                                  << NoProblem;
    QTest::addRow("quote-mark") << "24\"" << length << mm << 609.6 << NoProblem;
    QTest::addRow("unit-then-range") << "1001 m" << length << mm << 0.0 << range;
    QTest::addRow("kilograms") << "24 kg" << length << mm << 0.0 << noLength;
    QTest::addRow("seconds") << "5 s" << length << inch << 0.0 << noLength;
    QTest::addRow("percent") << "3 %" << length << mm << 0.0 << noLength;
    QTest::addRow("length-on-factor") << "1.5 mm" << FieldKind::Factor << mm << 0.0 << noLength;
    QTest::addRow("percent-on-factor") << "3%" << FieldKind::Factor << mm << 0.0 << noLength;
    QTest::addRow("tilt-degree-sign")
        << QStringLiteral("30\u00b0") << FieldKind::Tilt << mm << 30.0 << NoProblem;
    QTest::addRow("tilt-in-mm") << "30 mm" << FieldKind::Tilt << mm << 0.0 << noLength;
    QTest::addRow("diameter-sign")
        << QStringLiteral("\u00d88 mm") << length << inch << 8.0 << NoProblem;
    QTest::addRow("small-diameter-sign-in-inch")
        << QStringLiteral("\u00f8 8") << length << inch << 203.2 << NoProblem;
    QTest::addRow("diameter-symbol")
        << QStringLiteral("\u23008") << length << mm << 8.0 << NoProblem;
    QTest::addRow("diameter-on-factor")
        << QStringLiteral("\u00d82") << FieldKind::Factor << mm << 0.0 << noNumber;
    // Ratios as sheets print them.
    QTest::addRow("ratio-n-to-1") << "75:1" << ratio << mm << 75.0 << NoProblem;
    QTest::addRow("ratio-spaced") << "75 : 1" << ratio << inch << 75.0 << NoProblem;
    QTest::addRow("ratio-bare") << "75" << ratio << mm << 75.0 << NoProblem;
    QTest::addRow("ratio-named") << "D:S 75:1" << ratio << mm << 75.0 << NoProblem;
    QTest::addRow("ratio-decimal-comma") << "52,5:1" << ratio << mm << 52.5 << NoProblem;
    QTest::addRow("ratio-upside-down") << "1:75" << ratio << mm << 0.0 << badRatio;
    QTest::addRow("ratio-to-2") << "75:2" << ratio << mm << 0.0 << badRatio;
    QTest::addRow("ratio-3-to-4") << "3:4" << ratio << inch << 0.0 << badRatio;
    QTest::addRow("ratio-zero") << "0:1" << ratio << mm << 0.0 << notPositive;
    QTest::addRow("ratio-with-unit") << "75 mm" << ratio << mm << 0.0 << noLength;
    QTest::addRow("ratio-half") << "75:" << ratio << mm << 0.0 << noNumber;
    // A position may lie at the lens front.
    QTest::addRow("position-zero") << "0" << position << mm << 0.0 << NoProblem;
    QTest::addRow("position-zero-with-unit") << "0 in" << position << inch << 0.0 << NoProblem;
    QTest::addRow("position-in-inch") << "610" << position << inch << 15494.0 << NoProblem;
    QTest::addRow("position-negative")
        << "-5" << position << mm << 0.0 << int(FieldProblem::Negative);
}

void TestPlannerRules::fieldRules()
{
    QFETCH(QString, text);
    QFETCH(FieldKind, kind);
    QFETCH(LengthUnit, unit);
    QFETCH(double, value);
    QFETCH(int, problem);

    const FieldReading reading = ReadPlannerField(text.toStdString(), kind, unit);
    QCOMPARE(reading.Problem ? int(*reading.Problem) : NoProblem, problem);
    QCOMPARE(reading.Value.has_value(), problem == NoProblem);
    if (reading.Value)
        QCOMPARE(*reading.Value, value);
}

void TestPlannerRules::ambiguousReadings_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("english");
    QTest::addColumn<QString>("german");

    QTest::addRow("comma-thousand") << "1,000"
                                    << "1,000: 1.0 or 1000? Write 1.0 or 1000"
                                    << "1,000: 1.0 oder 1000? 1.0 oder 1000 schreiben";
    QTest::addRow("point-ten-thousand") << "10.000"
                                        << "10.000: 10.0 or 10000? Write 10.0 or 10000"
                                        << "10.000: 10.0 oder 10000? 10.0 oder 10000 schreiben";
    QTest::addRow("trailing-zero-dropped") << "1.250"
                                           << "1.250: 1.25 or 1250? Write 1.25 or 1250"
                                           << "1.250: 1.25 oder 1250? 1.25 oder 1250 schreiben";
    QTest::addRow("unit-not-in-the-readings")
        << "12,500 mm"
        << "12,500: 12.5 or 12500? Write 12.5 or 12500"
        << "12,500: 12.5 oder 12500? 12.5 oder 12500 schreiben";
}

void TestPlannerRules::ambiguousReadings()
{
    QFETCH(QString, text);
    QFETCH(QString, english);
    QFETCH(QString, german);

    for (const LengthUnit unit : {LengthUnit::Millimetre, LengthUnit::Inch}) {
        const FieldReading reading = ReadPlannerField(text.toStdString(), FieldKind::Length, unit);
        QCOMPARE(reading.Problem, std::optional(FieldProblem::Ambiguous));
        QCOMPARE(FieldProblemText(TPlannerTexts(QStringLiteral("English")), reading, unit),
                 english);
        QCOMPARE(FieldProblemText(TPlannerTexts(QStringLiteral("Deutsch")), reading, unit), german);
    }
}

void TestPlannerRules::spotAt_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<LengthUnit>("unit");
    QTest::addColumn<double>("spot"); // -1: no value
    QTest::addColumn<bool>("hasDistance");
    QTest::addColumn<double>("distance");

    const auto mm = LengthUnit::Millimetre;
    QTest::addRow("at-sign-with-units")
        << "8 mm @ 610 mm" << LengthUnit::Inch << 8.0 << true << 610.0;
    QTest::addRow("at-sign-bare-in-inch")
        << "0.5 @ 24" << LengthUnit::Inch << 12.7 << true << 609.6;
    QTest::addRow("diameter-and-word")
        << QStringLiteral("\u00d88 mm at 610 mm") << mm << 8.0 << true << 610.0;
    QTest::addRow("german-word-any-case") << "8 mm BEI 61 cm" << mm << 8.0 << true << 610.0;
    QTest::addRow("word-without-blanks") << "8mm at 610mm" << mm << 8.0 << true << 610.0;
    QTest::addRow("spot-alone") << "8 mm" << mm << 8.0 << false << -1.0;
    QTest::addRow("letters-inside-a-word-do-not-split")
        << "8 mmat 6" << mm << -1.0 << false << -1.0;
    QTest::addRow("distance-is-a-length") << "8 @ 0" << mm << 8.0 << true << -1.0;
}

void TestPlannerRules::spotAt()
{
    QFETCH(QString, text);
    QFETCH(LengthUnit, unit);
    QFETCH(double, spot);
    QFETCH(bool, hasDistance);
    QFETCH(double, distance);

    const SpotAtReading reading = ReadSpotAt(text.toStdString(), unit);
    QCOMPARE(reading.Spot.Value.value_or(-1), spot);
    QCOMPARE(reading.HasDistance, hasDistance);
    QCOMPARE(reading.Distance.Value.value_or(-1), distance);
}

void TestPlannerRules::settledMark_data()
{
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<DecimalMark>("mark");
    QTest::addColumn<QString>("probe"); // read by the mark the texts settle
    QTest::addColumn<double>("value");  // -1: no value

    const auto point = DecimalMark::Point;
    const auto comma = DecimalMark::Comma;
    const auto unsettled = DecimalMark::Unsettled;
    QTest::addRow("one-decimal-settles-comma")
        << QStringList{"1,000", "12,5"} << comma << "1,000" << 1.0;
    QTest::addRow("leading-zero-settles") << QStringList{"0,500"} << comma << "10.000" << 10000.0;
    QTest::addRow("both-marks-settle") << QStringList{"1.000,5", "1,000"} << comma << "2,5" << 2.5;
    QTest::addRow("point-settles-comma-groups")
        << QStringList{"1.25", "10.000", "7"} << point << "1,000" << 1000.0;
    QTest::addRow("point-settled-refuses-decimal-comma")
        << QStringList{"1.25"} << point << "1,5" << -1.0;
    QTest::addRow("ambiguous-only")
        << QStringList{"1,000", "12.500"} << unsettled << "1,000" << -1.0;
    QTest::addRow("no-marks") << QStringList{"75:1", "610 mm"} << unsettled << "1.5" << 1.5;
    QTest::addRow("grouping-alone-settles-nothing")
        << QStringList{"1,000,000"} << unsettled << "1,000" << -1.0;
    QTest::addRow("texts-disagree") << QStringList{"1,5", "2.5"} << unsettled << "1,250" << -1.0;
    QTest::addRow("second-number-of-a-text") << QStringList{"8 @ 610,5"} << comma << "1,000" << 1.0;
    QTest::addRow("one-text-disagrees-with-itself")
        << QStringList{"1,5 @ 2.5"} << unsettled << "1,5" << 1.5;
    QTest::addRow("full-stop-after-a-number") << QStringList{"Line 7."} << unsettled << "7" << 7.0;
}

void TestPlannerRules::settledMark()
{
    QFETCH(QStringList, texts);
    QFETCH(DecimalMark, mark);
    QFETCH(QString, probe);
    QFETCH(double, value);

    std::vector<std::string> strings;
    for (const QString &text : texts)
        strings.push_back(text.toStdString());
    QCOMPARE(SettleDecimalMark(strings), mark);
    const FieldReading reading =
        ReadPlannerField(probe.toStdString(), FieldKind::Length, LengthUnit::Millimetre, mark);
    QCOMPARE(reading.Value.value_or(-1), value);
}

void TestPlannerRules::best_data()
{
    QTest::addColumn<QList<PlannerOptics>>("optics");
    QTest::addColumn<double>("target");
    QTest::addColumn<double>("margin");
    QTest::addColumn<double>("tilt");
    QTest::addColumn<int>("best");
    QTest::addColumn<int>("nearest");
    QTest::addColumn<LengthUnit>("unit");

    const auto mm = LengthUnit::Millimetre;
    const auto inch = LengthUnit::Inch;
    const PlannerOptics calculator = Optics("Calculator", 10, 500, 30);
    const PlannerOptics second = Optics("Optics 2", 5, 300, 20);
    QTest::addRow("largest-figure-that-fits")
        << QList{calculator, second, Optics("Close", 1.5f, 150, 12)} << 20.0 << 1.5 << 0.0 << 0 << 0
        << mm;
    // At 450 mm neither fits with margin 3 at 85 degrees; Optics 2 fits
    // from 283.8 to 309.7 mm, nearer than anything of the calculator's.
    QTest::addRow("none-fits-names-the-nearest")
        << QList{calculator, second} << 200.0 << 3.0 << 85.0 << -1 << 1 << mm;
    QTest::addRow("larger-figure-that-does-not-fit-is-not-best")
        << QList{Optics("Far", 2, 2000, 30), calculator} << 20.0 << 1.5 << 0.0 << 1 << 1 << mm;
    QTest::addRow("duplicate-keeps-the-mark-on-its-original")
        << QList{second, calculator, calculator} << 20.0 << 1.5 << 0.0 << 1 << 1 << mm;
    // Same spot at 450 mm, so the same figure; the wider range wins.
    QTest::addRow("equal-figures-wider-range-wins")
        << QList{calculator, Optics("Wide", 12, 450, 12)} << 20.0 << 1.5 << 0.0 << 1 << 0 << mm;
    QTest::addRow("nothing-fits-anywhere")
        << QList{calculator} << 1.0 << 1.5 << 0.0 << -1 << -1 << mm;

    // At 450 = a the spot is M90: 20 / 17.78 = 1.1249 and 20 / 17.85 = 1.1204
    // both show 1.12. The ranges show 368.3 to 470.9 and 314.7 to 472.5 mm.
    const PlannerOptics sharper = Optics("Sharper", 17.78f, 450, 30);
    const PlannerOptics wider = Optics("Wider", 17.85f, 450, 25);
    for (const auto &[unit, name] : {std::pair{mm, "mm"}, {inch, "inch"}}) {
        QTest::addRow("equal-shown-figures-wider-shown-range-wins-%s", name)
            << QList{sharper, wider} << 20.0 << 1.0 << 0.0 << 1 << 0 << unit;
        // 20 / 17.7798 = 1.12487; both show 368.3 to 470.9 mm and 14.498 to
        // 18.539 inch.
        QTest::addRow("equal-as-shown-earlier-wins-%s", name)
            << QList{sharper, Optics("Hair sharper", 17.7798f, 450, 30)} << 20.0 << 1.0 << 0.0 << 0
            << 0 << unit;
    }
    // 368.219 to 470.918 mm: the same 368.3 to 470.9 mm, but 14.497 to
    // 18.540 inch against 14.498 to 18.539.
    const PlannerOptics finer = Optics("Finer", 17.779f, 450, 30);
    QTest::addRow("equal-in-mm-earlier-wins")
        << QList{sharper, finer} << 20.0 << 1.0 << 0.0 << 0 << 0 << mm;
    QTest::addRow("inch-digits-show-the-wider-range")
        << QList{sharper, finer} << 20.0 << 1.0 << 0.0 << 1 << 0 << inch;
}

void TestPlannerRules::best()
{
    QFETCH(QList<PlannerOptics>, optics);
    QFETCH(double, target);
    QFETCH(double, margin);
    QFETCH(double, tilt);
    QFETCH(int, best);
    QFETCH(int, nearest);
    QFETCH(LengthUnit, unit);

    PlannerInput input;
    input.Optics.assign(optics.begin(), optics.end());
    input.Target = target;
    input.Distance = 450;
    input.Margin = margin;
    input.Tilt = tilt;
    input.Unit = unit;
    const PlannerResults results = ComputePlanner(input);
    QCOMPARE(results.Best, best);
    QCOMPARE(results.Nearest, nearest);
    if (best >= 0)
        QVERIFY(results.Rows[std::size_t(best)].Fits());
}

void TestPlannerRules::rounding_data()
{
    QTest::addColumn<double>("nearEnd");
    QTest::addColumn<double>("farEnd");
    QTest::addColumn<LengthUnit>("unit");
    QTest::addColumn<QString>("range");

    const auto mm = LengthUnit::Millimetre;
    const auto inch = LengthUnit::Inch;
    QTest::addRow("ends-rounded-inward") << 1250.0 / 3 << 1625.0 / 3 << mm << "416.7 541.6";
    QTest::addRow("exact-ends-stay") << 500.0 << 500.0 << mm << "500.0 500.0";
    QTest::addRow("lens-front") << 0.0 << 281.42857 << mm << "0.0 281.4";
    QTest::addRow("decimal-a-hair-below-stays") << 0.3 << 0.7 << mm << "0.300 0.700";
    QTest::addRow("small-optics-three-digits") << 0.653 << 0.7049 << mm << "0.653 0.704";
    QTest::addRow("inch-up-to-four-decimals") << 0.5 << 0.75 << inch << "0.0197 0.0295";
    QTest::addRow("inch-thousandths") << 1250.0 / 3 << 1625.0 / 3 << inch << "16.405 21.325";
    QTest::addRow("narrow-range-takes-more-digits") << 500.01 << 500.04 << mm << "500.01 500.04";
}

void TestPlannerRules::rounding()
{
    QFETCH(double, nearEnd);
    QFETCH(double, farEnd);
    QFETCH(LengthUnit, unit);
    QFETCH(QString, range);

    const RangeTexts ends = FormatRange({true, nearEnd, farEnd}, unit);
    QCOMPARE(ends.Near + u' ' + ends.Far, range);
    // A shown end, typed back, lies inside the range.
    QVERIFY(FromUnit(ends.Near.toDouble(), unit) >= nearEnd);
    QVERIFY(FromUnit(ends.Far.toDouble(), unit) <= farEnd);

    // Figures: "no" never shows 1.00, "yes" never less.
    QCOMPARE(FormatFigure(std::nextafter(1.0, 0.0)), QStringLiteral("0.99"));
    QCOMPARE(FormatFigure(1.0), QStringLiteral("1.00"));
    QCOMPARE(FormatFigure(1.1111), QStringLiteral("1.11"));
    QCOMPARE(FormatFigure(0.29), QStringLiteral("0.29"));
}

void TestPlannerRules::escapedNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("stored");

    QTest::addRow("code-page-names-unchanged")
        << QStringLiteral("Linse 5µm, Ø 20") << QStringLiteral("Linse 5µm, Ø 20");
    QTest::addRow("outside-the-code-page")
        << QStringLiteral("\u03a9-lens \u2192 5µm") << QStringLiteral("\\u03a9-lens \\u2192 5µm");
    QTest::addRow("backslash-doubled") << QStringLiteral("C:\\u") << QStringLiteral("C:\\\\u");
    QTest::addRow("beyond-the-basic-plane")
        << QStringLiteral("\U0001F525") << QStringLiteral("\\ud83d\\udd25");
    QTest::addRow("question-mark-stays") << QStringLiteral("Lens?") << QStringLiteral("Lens?");
}

void TestPlannerRules::escapedNames()
{
    QFETCH(QString, name);
    QFETCH(QString, stored);

    QCOMPARE(EscapeForCp1252(name), stored);
    QCOMPARE(UnescapeFromCp1252(stored), name);
    // Names written before the escapes existed read as they were.
    QCOMPARE(UnescapeFromCp1252(QStringLiteral("a\\b \\uxyz1 \\u12")),
             QStringLiteral("a\\b \\uxyz1 \\u12"));
}

QTEST_APPLESS_MAIN(TestPlannerRules)
#include "tst_plannerrules.moc"
