// The planner's rules below its window: how a field is read, which optics
// is best, how figures and range ends are rounded, how names are escaped.

#include "Planner.h"
#include "PlannerUnit/PlannerFormat.h"
#include "shared/EscapedText.h"

#include <QTest>

Q_DECLARE_METATYPE(FieldKind)
Q_DECLARE_METATYPE(LengthUnit)

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
