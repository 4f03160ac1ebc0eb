#include "DataSheetOptics.h"

#include <QTest>

#include <cmath>
#include <limits>

Q_DECLARE_METATYPE(SpotOptics)
Q_DECLARE_METATYPE(DataSheetProblem)
Q_DECLARE_METATYPE(std::optional<double>)
Q_DECLARE_METATYPE(std::vector<double>)
Q_DECLARE_METATYPE(std::vector<SpotPoint>)

namespace {

constexpr double Nan = std::numeric_limits<double>::quiet_NaN();
constexpr double Inf = std::numeric_limits<double>::infinity();

// The double cone in double precision, independent of the code under test.
double Cone(double m90, double a, double d, double x)
{
    return x <= a ? d + x / a * (m90 - d) : x / a * (m90 + d) - d;
}

std::vector<SpotPoint> PointsOf(const SpotOptics &o, const std::vector<double> &distances,
                                const std::vector<double> &noise = {})
{
    std::vector<SpotPoint> points;
    for (std::size_t i = 0; i < distances.size(); ++i) {
        const double factor = i < noise.size() ? 1 + noise[i] : 1;
        points.push_back({distances[i], Cone(o.M90, o.A, o.D, distances[i]) * factor});
    }
    return points;
}

double SquaredDeviations(double m90, double a, double d, const std::vector<SpotPoint> &points)
{
    double sum = 0;
    for (const SpotPoint &p : points) {
        const double deviation = (Cone(m90, a, d, p.Distance) - p.Spot) / p.Spot;
        sum += deviation * deviation;
    }
    return sum;
}

bool CloseRelative(double actual, double expected, double tolerance)
{
    return std::abs(actual - expected) <= tolerance * std::abs(expected);
}

// Each reported deviation is the fitted cone's at its point, and the largest
// is the largest of them.
bool DeviationsMatchCone(const OpticsFit &fit, const std::vector<SpotPoint> &points)
{
    if (fit.Deviations.size() != points.size())
        return false;
    double largest = 0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const double expected =
            (Cone(fit.M90, fit.A, fit.D, points[i].Distance) - points[i].Spot) / points[i].Spot;
        if (!(std::abs(fit.Deviations[i] - expected) < 1e-12))
            return false;
        largest = std::max(largest, std::abs(expected));
    }
    return std::abs(fit.MaxDeviation - largest) < 1e-12;
}

} // namespace

class TestDataSheetOptics : public QObject
{
    Q_OBJECT

private slots:
    void ratioForms_data();
    void ratioForms();
    void fitGivesBackExactCones_data();
    void fitGivesBackExactCones();
    void fitOfNoisyPointsIsTheLeastSquares_data();
    void fitOfNoisyPointsIsTheLeastSquares();
    void fitDeterminesNoCone_data();
    void fitDeterminesNoCone();
    void keptFocusFit_data();
    void keptFocusFit();
    void keptFocusRefused_data();
    void keptFocusRefused();
};

void TestDataSheetOptics::ratioForms_data()
{
    QTest::addColumn<bool>("focusSpot"); // the second figure is a spot, not a ratio
    QTest::addColumn<double>("a");
    QTest::addColumn<double>("second");
    QTest::addColumn<double>("farField");
    QTest::addColumn<std::optional<double>>("farDistance"); // where the ratio is printed
    QTest::addColumn<DataSheetProblem>("problem");
    QTest::addColumn<double>("m90");
    QTest::addColumn<double>("d");

    using P = DataSheetProblem;
    const std::optional<double> asymptote;
    // 10 / 500 / 30: D:S 50 at the focus, 500 / 40 = 12.5 in the far field.
    QTest::addRow("ratios-converging")
        << false << 500.0 << 50.0 << 12.5 << asymptote << P::None << 10.0 << 30.0;
    QTest::addRow("ratios-diverging")
        << false << 500.0 << 12.5 << 500.0 / 60 << asymptote << P::None << 40.0 << 20.0;
    QTest::addRow("ratios-m90-equal-d")
        << false << 300.0 << 15.0 << 7.5 << asymptote << P::None << 20.0 << 20.0;
    QTest::addRow("ratios-equal-give-d-0")
        << false << 500.0 << 50.0 << 50.0 << asymptote << P::FarRatioNotSmaller << 0.0 << 0.0;
    QTest::addRow("ratios-far-above-focus-give-d-negative")
        << false << 500.0 << 50.0 << 60.0 << asymptote << P::FarRatioNotSmaller << 0.0 << 0.0;
    QTest::addRow("ratios-d-just-above-0")
        << false << 500.0 << 50.0 << 49.999 << asymptote << P::None << 10.0 << 500.0 / 49.999 - 10;
    QTest::addRow("ratios-a-0") << false << 0.0 << 50.0 << 12.5 << asymptote << P::NotPositive
                                << 0.0 << 0.0;
    QTest::addRow("ratios-a-negative")
        << false << -500.0 << 50.0 << 12.5 << asymptote << P::NotPositive << 0.0 << 0.0;
    QTest::addRow("ratios-focus-ratio-0")
        << false << 500.0 << 0.0 << 12.5 << asymptote << P::NotPositive << 0.0 << 0.0;
    QTest::addRow("ratios-far-ratio-0")
        << false << 500.0 << 50.0 << 0.0 << asymptote << P::NotPositive << 0.0 << 0.0;
    QTest::addRow("ratios-nan") << false << 500.0 << Nan << 12.5 << asymptote << P::NotPositive
                                << 0.0 << 0.0;
    QTest::addRow("ratios-infinite-a")
        << false << Inf << 50.0 << 12.5 << asymptote << P::NotPositive << 0.0 << 0.0;
    // A D that exists in double precision but not as a float length.
    QTest::addRow("ratios-d-beyond-float")
        << false << 1e300 << 1e270 << 1e-10 << asymptote << P::NotSingle << 0.0 << 0.0;

    QTest::addRow("spot-converging")
        << true << 110.0 << 1.5 << 110.0 / 11.5 << asymptote << P::None << 1.5 << 10.0;
    QTest::addRow("spot-diverging")
        << true << 500.0 << 40.0 << 500.0 / 60 << asymptote << P::None << 40.0 << 20.0;
    QTest::addRow("spot-equal-to-far-spot-gives-d-0")
        << true << 500.0 << 40.0 << 12.5 << asymptote << P::FarRatioNotSmaller << 0.0 << 0.0;
    QTest::addRow("spot-above-far-spot")
        << true << 500.0 << 50.0 << 12.5 << asymptote << P::FarRatioNotSmaller << 0.0 << 0.0;
    QTest::addRow("spot-0") << true << 500.0 << 0.0 << 12.5 << asymptote << P::NotPositive << 0.0
                            << 0.0;
    QTest::addRow("spot-negative")
        << true << 500.0 << -10.0 << 12.5 << asymptote << P::NotPositive << 0.0 << 0.0;
    QTest::addRow("spot-a-0") << true << 0.0 << 10.0 << 12.5 << asymptote << P::NotPositive << 0.0
                              << 0.0;
    QTest::addRow("spot-far-ratio-negative")
        << true << 500.0 << 10.0 << -12.5 << asymptote << P::NotPositive << 0.0 << 0.0;

    // 10 / 500 / 30 at ten times the focus: s(5000) = 10 x 40 - 30 = 370,
    // where the asymptote would have given D = 27.
    QTest::addRow("stated-ten-times-focus") << false << 500.0 << 50.0 << 5000.0 / 370
                                            << std::optional(5000.0) << P::None << 10.0 << 30.0;
    // 40 / 500 / 20 at twice the focus: s(1000) = 2 x 60 - 20 = 100.
    QTest::addRow("stated-spot-diverging")
        << true << 500.0 << 40.0 << 10.0 << std::optional(1000.0) << P::None << 40.0 << 20.0;
    // 1.5 / 110 / 10 at 1100: s = 10 x 11.5 - 10 = 105.
    QTest::addRow("stated-short-focus") << false << 110.0 << 110.0 / 1.5 << 1100.0 / 105
                                        << std::optional(1100.0) << P::None << 1.5 << 10.0;
    QTest::addRow("stated-ratios-swapped")
        << false << 500.0 << 5000.0 / 370 << 50.0 << std::optional(5000.0) << P::FarRatioNotSmaller
        << 0.0 << 0.0;
    QTest::addRow("stated-spot-ratio-swapped")
        << true << 500.0 << 50.0 << 12.5 << std::optional(1000.0) << P::FarRatioNotSmaller << 0.0
        << 0.0;
    QTest::addRow("stated-ratio-equal-to-focus-ratio")
        << false << 500.0 << 50.0 << 50.0 << std::optional(1000.0) << P::FarRatioNotSmaller << 0.0
        << 0.0;
    QTest::addRow("stated-at-the-focus") << false << 500.0 << 50.0 << 12.5 << std::optional(500.0)
                                         << P::FarNotBeyondFocus << 0.0 << 0.0;
    QTest::addRow("stated-before-the-focus")
        << true << 500.0 << 10.0 << 12.5 << std::optional(300.0) << P::FarNotBeyondFocus << 0.0
        << 0.0;
    QTest::addRow("stated-distance-0")
        << false << 500.0 << 50.0 << 12.5 << std::optional(0.0) << P::NotPositive << 0.0 << 0.0;
    QTest::addRow("stated-distance-infinite")
        << true << 500.0 << 10.0 << 12.5 << std::optional(Inf) << P::NotPositive << 0.0 << 0.0;
}

void TestDataSheetOptics::ratioForms()
{
    QFETCH(bool, focusSpot);
    QFETCH(double, a);
    QFETCH(double, second);
    QFETCH(double, farField);
    QFETCH(std::optional<double>, farDistance);
    QFETCH(DataSheetProblem, problem);
    QFETCH(double, m90);
    QFETCH(double, d);

    const SheetOptics sheet = focusSpot ? OpticsFromFocusSpot(a, second, farField, farDistance)
                                        : OpticsFromRatios(a, second, farField, farDistance);
    QCOMPARE(sheet.Problem, problem);
    QCOMPARE(sheet.Optics.has_value(), problem == DataSheetProblem::None);
    if (!sheet.Optics)
        return;
    const SpotOptics &optics = *sheet.Optics;
    QCOMPARE(optics.A, float(a));
    QVERIFY2(CloseRelative(optics.M90, m90, 1e-6), qPrintable(QString::number(optics.M90)));
    QVERIFY2(CloseRelative(optics.D, d, 1e-6), qPrintable(QString::number(optics.D)));
}

void TestDataSheetOptics::fitGivesBackExactCones_data()
{
    QTest::addColumn<SpotOptics>("optics");
    QTest::addColumn<std::vector<double>>("distances");

    const SpotOptics converging{10, 500, 30};
    const SpotOptics diverging{40, 500, 20};
    const SpotOptics parallel{20, 300, 20};
    QTest::addRow("converging") << converging << std::vector<double>{100, 250, 400, 700, 1000};
    QTest::addRow("converging-point-at-focus")
        << converging << std::vector<double>{0, 250, 500, 750, 1000};
    QTest::addRow("converging-unsorted-with-duplicate")
        << converging << std::vector<double>{1000, 250, 700, 250, 100};
    QTest::addRow("converging-three-points") << converging << std::vector<double>{100, 300, 900};
    QTest::addRow("converging-one-point-beyond")
        << converging << std::vector<double>{50, 150, 300, 450, 520};
    QTest::addRow("converging-data-sheet-short-focus")
        << SpotOptics{1.5f, 110, 10} << std::vector<double>{0, 50, 110, 200, 400, 800};
    QTest::addRow("diverging") << diverging << std::vector<double>{0, 200, 450, 600, 1500};
    QTest::addRow("diverging-small-aperture")
        << SpotOptics{40, 500, 0.5f} << std::vector<double>{100, 300, 600, 2000};
    QTest::addRow("m90-equal-d") << parallel << std::vector<double>{0, 100, 200, 400, 600};
    QTest::addRow("m90-equal-d-eight-points")
        << parallel << std::vector<double>{10, 60, 120, 180, 240, 310, 450, 900};
    QTest::addRow("long-focus") << SpotOptics{50, 5000, 80}
                                << std::vector<double>{1000, 3000, 6000, 10000};
    QTest::addRow("inch-sized") << SpotOptics{0.04f, 0.5f, 0.3f}
                                << std::vector<double>{0.1, 0.3, 0.6, 1.2};
}

void TestDataSheetOptics::fitGivesBackExactCones()
{
    QFETCH(SpotOptics, optics);
    QFETCH(std::vector<double>, distances);

    const OpticsFit fit = FitOpticsToPoints(PointsOf(optics, distances));
    QVERIFY(fit.Ok);
    QVERIFY2(CloseRelative(fit.M90, optics.M90, 1e-9),
             qPrintable(QString::number(fit.M90, 'g', 17)));
    QVERIFY2(CloseRelative(fit.A, optics.A, 1e-9), qPrintable(QString::number(fit.A, 'g', 17)));
    QVERIFY2(CloseRelative(fit.D, optics.D, 1e-9), qPrintable(QString::number(fit.D, 'g', 17)));
    QCOMPARE(fit.Deviations.size(), distances.size());
    QVERIFY(fit.MaxDeviation < 1e-9);
    // Three points leave the free fit nothing to check; a fourth does.
    QCOMPARE(fit.Determined, distances.size() == 3);
}

void TestDataSheetOptics::fitOfNoisyPointsIsTheLeastSquares_data()
{
    QTest::addColumn<SpotOptics>("optics");
    QTest::addColumn<std::vector<double>>("distances");
    QTest::addColumn<std::vector<double>>("noise"); // relative, per point

    QTest::addRow("converging-read-off-a-diagram")
        << SpotOptics{10, 500, 30} << std::vector<double>{0, 150, 300, 500, 800, 1200}
        << std::vector<double>{0.02, -0.015, 0.01, 0.03, -0.02, 0.01};
    QTest::addRow("diverging-rounded-spots")
        << SpotOptics{40, 500, 20} << std::vector<double>{100, 300, 700, 1000}
        << std::vector<double>{-0.01, 0.012, 0.008, -0.005};
    QTest::addRow("m90-equal-d-eight-points")
        << SpotOptics{20, 300, 20} << std::vector<double>{0, 50, 100, 200, 300, 400, 600, 900}
        << std::vector<double>{0.01, -0.01, 0.02, -0.02, 0.01, 0.015, -0.01, 0.005};
    QTest::addRow("converging-focus-between-far-apart-points")
        << SpotOptics{1.5f, 110, 10} << std::vector<double>{20, 60, 250, 500}
        << std::vector<double>{0.03, -0.03, 0.02, -0.01};
}

void TestDataSheetOptics::fitOfNoisyPointsIsTheLeastSquares()
{
    QFETCH(SpotOptics, optics);
    QFETCH(std::vector<double>, distances);
    QFETCH(std::vector<double>, noise);

    const std::vector<SpotPoint> points = PointsOf(optics, distances, noise);
    const OpticsFit fit = FitOpticsToPoints(points);
    QVERIFY(fit.Ok);

    QVERIFY(DeviationsMatchCone(fit, points));

    // No better than the optics the points came from, and no better nearby.
    const double sum = SquaredDeviations(fit.M90, fit.A, fit.D, points);
    QVERIFY(sum <= SquaredDeviations(optics.M90, optics.A, optics.D, points));
    for (int step = 0; step < 27; ++step) {
        if (step == 13)
            continue;
        const double h = 1e-4;
        const double m90 = fit.M90 * (1 + h * (step % 3 - 1));
        const double a = fit.A * (1 + h * (step / 3 % 3 - 1));
        const double d = fit.D * (1 + h * (step / 9 - 1));
        QVERIFY2(SquaredDeviations(m90, a, d, points) >= sum * (1 - 1e-12),
                 qPrintable(QString::number(step)));
    }
    QVERIFY(CloseRelative(fit.A, optics.A, 0.15));
}

void TestDataSheetOptics::fitDeterminesNoCone_data()
{
    QTest::addColumn<std::vector<SpotPoint>>("points");

    const SpotOptics converging{10, 500, 30};
    QTest::addRow("no-points") << std::vector<SpotPoint>{};
    QTest::addRow("two-points") << PointsOf(converging, {100, 800});
    QTest::addRow("negative-distance") << std::vector<SpotPoint>{{-1, 30}, {250, 20}, {1000, 50}};
    QTest::addRow("spot-0") << std::vector<SpotPoint>{{0, 0}, {250, 20}, {1000, 50}, {800, 34}};
    QTest::addRow("spot-negative")
        << std::vector<SpotPoint>{{0, 30}, {250, -20}, {1000, 50}, {800, 34}};
    QTest::addRow("nan-distance") << std::vector<SpotPoint>{
        {Nan, 30}, {250, 20}, {1000, 50}, {800, 34}};
    QTest::addRow("infinite-spot")
        << std::vector<SpotPoint>{{0, 30}, {250, 20}, {1000, Inf}, {800, 34}};
    QTest::addRow("only-before-focus") << PointsOf(converging, {0, 100, 200, 300, 400});
    QTest::addRow("only-beyond-focus") << PointsOf(converging, {600, 800, 1000, 1500});
    QTest::addRow("before-and-up-to-focus") << PointsOf(converging, {100, 300, 500});
    QTest::addRow("only-beyond-focus-of-diverging")
        << PointsOf(SpotOptics{40, 500, 20}, {600, 700, 900});
    QTest::addRow("one-distance-only")
        << std::vector<SpotPoint>{{300, 20}, {300, 21}, {300, 19}, {300, 20}};
    // Cones with ever smaller M90 fit these ever better; none is best.
    QTest::addRow("points-ask-for-a-sharp-focus")
        << std::vector<SpotPoint>{{310, 28.6}, {2940, 56.1}, {3640, 77.2}, {3880, 89.2}};
    QTest::addRow("constant-spot") << std::vector<SpotPoint>{{0, 20}, {100, 20}, {400, 20}};
    // An M90 of 1e-50 exists in double precision but not as a float length.
    QTest::addRow("m90-beyond-float")
        << std::vector<SpotPoint>{{0, 1e-45}, {0.5, 5e-46 + 5e-51}, {2, 1e-45 + 2e-50}, {3, 2e-45}};
}

void TestDataSheetOptics::fitDeterminesNoCone()
{
    QFETCH(std::vector<SpotPoint>, points);

    const OpticsFit fit = FitOpticsToPoints(points);
    QVERIFY(!fit.Ok);
    QVERIFY(fit.Deviations.empty());
    QCOMPARE(fit.M90, 0.0);
    QCOMPARE(fit.A, 0.0);
    QCOMPARE(fit.D, 0.0);
}

void TestDataSheetOptics::keptFocusFit_data()
{
    QTest::addColumn<SpotOptics>("optics");
    QTest::addColumn<std::vector<double>>("distances");
    QTest::addColumn<std::vector<double>>("noise"); // relative, per point; none: exact

    const SpotOptics converging{10, 500, 30};
    const SpotOptics diverging{40, 500, 20};
    QTest::addRow("exact-both-sides")
        << converging << std::vector<double>{100, 250, 700, 1000} << std::vector<double>{};
    QTest::addRow("exact-three-points")
        << diverging << std::vector<double>{0, 450, 1500} << std::vector<double>{};
    QTest::addRow("exact-only-before-focus")
        << converging << std::vector<double>{0, 100, 200, 300, 400} << std::vector<double>{};
    QTest::addRow("exact-before-and-at-focus")
        << converging << std::vector<double>{100, 300, 500} << std::vector<double>{};
    QTest::addRow("exact-only-beyond-focus")
        << converging << std::vector<double>{600, 800, 1000, 1500} << std::vector<double>{};
    QTest::addRow("exact-diverging-only-beyond")
        << diverging << std::vector<double>{600, 700, 900} << std::vector<double>{};
    QTest::addRow("exact-inch-sized")
        << SpotOptics{0.04f, 0.5f, 0.3f} << std::vector<double>{0.6, 1.2, 2.5}
        << std::vector<double>{};
    QTest::addRow("noisy-both-sides")
        << converging << std::vector<double>{0, 150, 300, 500, 800, 1200}
        << std::vector<double>{0.02, -0.015, 0.01, 0.03, -0.02, 0.01};
    QTest::addRow("noisy-short-focus")
        << SpotOptics{1.5f, 110, 10} << std::vector<double>{20, 60, 250, 500}
        << std::vector<double>{0.03, -0.03, 0.02, -0.01};
    QTest::addRow("noisy-only-beyond-focus")
        << diverging << std::vector<double>{600, 800, 1000, 1500}
        << std::vector<double>{0.01, -0.02, 0.015, -0.005};
}

void TestDataSheetOptics::keptFocusFit()
{
    QFETCH(SpotOptics, optics);
    QFETCH(std::vector<double>, distances);
    QFETCH(std::vector<double>, noise);

    const std::vector<SpotPoint> points = PointsOf(optics, distances, noise);
    const OpticsFit fit = FitOpticsWithFocus(points, optics.A);
    QVERIFY(fit.Ok);
    QCOMPARE(fit.A, double(optics.A));
    QVERIFY(!fit.Determined);
    if (noise.empty()) {
        QVERIFY2(CloseRelative(fit.M90, optics.M90, 1e-9),
                 qPrintable(QString::number(fit.M90, 'g', 17)));
        QVERIFY2(CloseRelative(fit.D, optics.D, 1e-9), qPrintable(QString::number(fit.D, 'g', 17)));
        QVERIFY(fit.MaxDeviation < 1e-9);
        return;
    }

    QVERIFY(DeviationsMatchCone(fit, points));
    // The best M90 and D for this a, and no better than a free focus.
    const double sum = SquaredDeviations(fit.M90, fit.A, fit.D, points);
    for (int step = 0; step < 9; ++step) {
        const double h = 1e-4;
        const double m90 = fit.M90 * (1 + h * (step % 3 - 1));
        const double d = fit.D * (1 + h * (step / 3 - 1));
        QVERIFY2(SquaredDeviations(m90, fit.A, d, points) >= sum * (1 - 1e-12),
                 qPrintable(QString::number(step)));
    }
    if (const OpticsFit free = FitOpticsToPoints(points); free.Ok)
        QVERIFY(sum >= SquaredDeviations(free.M90, free.A, free.D, points) * (1 - 1e-12));
}

void TestDataSheetOptics::keptFocusRefused_data()
{
    QTest::addColumn<std::vector<SpotPoint>>("points");
    QTest::addColumn<double>("focus");

    const std::vector<SpotPoint> good = PointsOf(SpotOptics{10, 500, 30}, {100, 300, 800});
    QTest::addRow("two-points") << PointsOf(SpotOptics{10, 500, 30}, {100, 800}) << 500.0;
    QTest::addRow("negative-distance")
        << std::vector<SpotPoint>{{-1, 30}, {250, 20}, {1000, 50}} << 500.0;
    QTest::addRow("spot-0") << std::vector<SpotPoint>{{0, 0}, {250, 20}, {1000, 50}} << 500.0;
    QTest::addRow("nan-spot") << std::vector<SpotPoint>{{0, Nan}, {250, 20}, {1000, 50}} << 500.0;
    QTest::addRow("focus-0") << good << 0.0;
    QTest::addRow("focus-negative") << good << -500.0;
    QTest::addRow("focus-nan") << good << Nan;
    QTest::addRow("focus-infinite") << good << Inf;
    QTest::addRow("one-distance-only")
        << std::vector<SpotPoint>{{300, 20}, {300, 21}, {300, 19}} << 500.0;
    // The line through these meets the lens front at -10.
    QTest::addRow("d-negative") << std::vector<SpotPoint>{{100, 10}, {200, 30}, {300, 50}} << 500.0;
    // Shrinking by 0.1 per millimetre, the spot would be -20 at the focus.
    QTest::addRow("m90-negative") << std::vector<SpotPoint>{{0, 30}, {100, 20}, {200, 10}} << 500.0;
    QTest::addRow("m90-beyond-float")
        << std::vector<SpotPoint>{{0, 1e-45}, {0.5, 5e-46 + 5e-51}, {3, 2e-45}} << 1.0;
}

void TestDataSheetOptics::keptFocusRefused()
{
    QFETCH(std::vector<SpotPoint>, points);
    QFETCH(double, focus);

    const OpticsFit fit = FitOpticsWithFocus(points, focus);
    QVERIFY(!fit.Ok);
    QVERIFY(fit.Deviations.empty());
    QCOMPARE(fit.M90, 0.0);
    QCOMPARE(fit.A, 0.0);
    QCOMPARE(fit.D, 0.0);
}

QTEST_APPLESS_MAIN(TestDataSheetOptics)
#include "tst_datasheetoptics.moc"
