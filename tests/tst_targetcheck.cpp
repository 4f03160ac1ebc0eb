#include "Planner.h"
#include "TargetCheck.h"

#include <QTest>

#include <cmath>

Q_DECLARE_METATYPE(SpotOptics)

namespace {

const SpotOptics Converging{10.0f, 500.0f, 30.0f};
const SpotOptics Diverging{40.0f, 500.0f, 20.0f};
const SpotOptics Parallel{20.0f, 500.0f, 20.0f};

bool Close(double a, double b)
{
    return std::abs(a - b) <= 1e-9 * std::max(1.0, std::abs(b));
}

} // namespace

class TestTargetCheck : public QObject
{
    Q_OBJECT

private slots:
    void range_data();
    void range();
    void ratiosAndSurfaceSpot();
    void plannerRowsNeedTheirFields();
};

void TestTargetCheck::range_data()
{
    QTest::addColumn<SpotOptics>("optics");
    QTest::addColumn<double>("target");
    QTest::addColumn<double>("margin");
    QTest::addColumn<double>("tilt");
    QTest::addColumn<bool>("any");
    QTest::addColumn<double>("nearEnd");
    QTest::addColumn<double>("farEnd");

    // S = target x cos(tilt) / margin is the largest spot that fits.
    QTest::addRow("converging-S-below-M90-none")
        << Converging << 14.9 << 1.5 << 0.0 << false << 0.0 << 0.0;
    QTest::addRow("converging-S-equal-M90-single-point-at-a")
        << Converging << 15.0 << 1.5 << 0.0 << true << 500.0 << 500.0;
    QTest::addRow("converging-worked-example")
        << Converging << 20.0 << 1.5 << 0.0 << true << 1250.0 / 3 << 1625.0 / 3;
    QTest::addRow("converging-worked-example-tilt-30")
        << Converging << 20.0 << 1.5 << 30.0 << true << (30 - 40 * std::sqrt(3.0) / 6) * 25
        << (30 + 40 * std::sqrt(3.0) / 6) * 12.5;
    QTest::addRow("converging-S-just-below-D")
        << Converging << 44.9 << 1.5 << 0.0 << true << (30 - 44.9 / 1.5) * 25
        << (30 + 44.9 / 1.5) * 12.5;
    QTest::addRow("converging-S-equal-D-from-lens-front")
        << Converging << 45.0 << 1.5 << 0.0 << true << 0.0 << 750.0;
    QTest::addRow("converging-S-above-D-margin-2")
        << Converging << 80.0 << 2.0 << 0.0 << true << 0.0 << 875.0;
    QTest::addRow("diverging-S-below-D-none")
        << Diverging << 19.9 << 1.0 << 0.0 << false << 0.0 << 0.0;
    QTest::addRow("diverging-S-equal-D-lens-front-only")
        << Diverging << 30.0 << 1.5 << 0.0 << true << 0.0 << 0.0;
    QTest::addRow("diverging-S-between-D-and-M90")
        << Diverging << 45.0 << 1.5 << 0.0 << true << 0.0 << 250.0;
    QTest::addRow("diverging-S-equal-M90-near-piece-gives-a")
        << Diverging << 80.0 << 2.0 << 0.0 << true << 0.0 << 500.0;
    QTest::addRow("diverging-S-above-M90-far-piece")
        << Diverging << 90.0 << 1.5 << 0.0 << true << 0.0 << 2000.0 / 3;
    QTest::addRow("diverging-tilt-60-halves-S")
        << Diverging << 120.0 << 1.5 << 60.0 << true << 0.0 << 500.0;
    QTest::addRow("parallel-S-below-D-none")
        << Parallel << 19.9 << 1.0 << 0.0 << false << 0.0 << 0.0;
    QTest::addRow("parallel-S-equal-D-up-to-focus")
        << Parallel << 30.0 << 1.5 << 0.0 << true << 0.0 << 500.0;
    QTest::addRow("parallel-S-above-D-far-piece")
        << Parallel << 60.0 << 1.5 << 0.0 << true << 0.0 << 750.0;
    QTest::addRow("parallel-tilt-85-none")
        << Parallel << 200.0 << 1.0 << 85.0 << false << 0.0 << 0.0;
}

void TestTargetCheck::range()
{
    QFETCH(SpotOptics, optics);
    QFETCH(double, target);
    QFETCH(double, margin);
    QFETCH(double, tilt);
    QFETCH(bool, any);
    QFETCH(double, nearEnd);
    QFETCH(double, farEnd);

    const TargetFit fit = DistancesForTarget(optics, target, margin, tilt);
    QCOMPARE(fit.Any, any);
    QVERIFY2(Close(fit.Near, nearEnd), qPrintable(QString::number(fit.Near, 'g', 17)));
    QVERIFY2(Close(fit.Far, farEnd), qPrintable(QString::number(fit.Far, 'g', 17)));
    if (!any) {
        QCOMPARE(fit.Near, 0.0);
        QCOMPARE(fit.Far, 0.0);
        return;
    }
    // Each end that is not the lens front is where margin x spot = target;
    // just outside it the target no longer fits, just inside it does.
    const auto needed = [&](double x) { return margin * SpotOnSurface(optics, x, tilt); };
    QVERIFY(Close(needed(fit.Far), target));
    QVERIFY(needed(fit.Far * 1.001 + 1e-9) > target);
    if (fit.Near > 0) {
        QVERIFY(Close(needed(fit.Near), target));
        QVERIFY(needed(fit.Near * 0.999) > target);
    } else {
        QVERIFY(needed(0) <= target * (1 + 1e-12));
    }
    QVERIFY(needed((fit.Near + fit.Far) / 2) <= target * (1 + 1e-12));
}

void TestTargetCheck::ratiosAndSurfaceSpot()
{
    QCOMPARE(DistanceToSpotAt(Converging, 450), 37.5);
    QCOMPARE(DistanceToSpotAtFocus(Converging), 50.0);
    QCOMPARE(DistanceToSpotFarField(Converging), 12.5);
    QCOMPARE(SpotOnSurface(Converging, 0, 0), 30.0);
    QCOMPARE(SpotOnSurface(Converging, 500, 0), 10.0);
    QVERIFY(Close(SpotOnSurface(Converging, 0, 60), 60.0));
    QVERIFY(Close(SpotOnSurface(Converging, 450, 30), 24 / std::sqrt(3.0)));
    // The far piece is used strictly beyond the focus.
    QVERIFY(Close(SpotOnSurface(Diverging, 1000, 0), 100.0));
}

void TestTargetCheck::plannerRowsNeedTheirFields()
{
    PlannerInput input;
    input.Optics = {{"a", Converging, 0}, {"b", std::nullopt, 0}, {"c", SpotOptics{5, 300, 20}, 0}};
    input.Target = 20;
    input.Margin = 1.5;
    input.Tilt = 0;
    PlannerResults results = ComputePlanner(input);
    // Without a working distance only what does not need it is there.
    QVERIFY(!results.Rows[0].Spot && !results.Rows[0].Figure);
    QVERIFY(results.Rows[0].Range && results.Rows[0].RatioAtFocus);
    QVERIFY(!results.Rows[1].RatioAtFocus && !results.Rows[1].Range);
    QCOMPARE(results.Best, -1);

    input.Distance = 450;
    results = ComputePlanner(input);
    QCOMPARE(results.Best, 0);
    QVERIFY(results.Rows[0].Fits() && !results.Rows[2].Fits());
    QVERIFY(Close(*results.Rows[2].Figure, 20 / 26.25));
    QVERIFY(Close(*results.LargestFittingSpot, 40.0 / 3));

    input.Tilt.reset();
    results = ComputePlanner(input);
    QVERIFY(results.Rows[0].Spot && !results.Rows[0].SpotSurface && !results.Rows[0].Range);
    QCOMPARE(results.Best, -1);

    QCOMPARE(ParsePlannerNumber(" 1,5 "), std::optional<double>(1.5));
    QCOMPARE(ParsePlannerNumber("1.5"), std::optional<double>(1.5));
    QVERIFY(!ParsePlannerNumber("1,5.0") && !ParsePlannerNumber("") && !ParsePlannerNumber("mm"));
}

QTEST_APPLESS_MAIN(TestTargetCheck)
#include "tst_targetcheck.moc"
