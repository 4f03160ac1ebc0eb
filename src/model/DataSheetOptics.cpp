#include "DataSheetOptics.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <limits>
#include <numeric>

namespace {

using Extended = long double;

bool Positive(double value)
{
    return value > 0 && std::isfinite(value);
}

// The data as the model holds them; a value that does not survive the
// rounding to float (0 or infinite) gives no optics.
std::optional<SpotOptics> ToOptics(double m90, double a, double d)
{
    const SpotOptics optics{float(m90), float(a), float(d)};
    if (!Positive(optics.M90) || !Positive(optics.A) || !Positive(optics.D))
        return std::nullopt;
    return optics;
}

constexpr std::size_t MaxColumns = 3;
using Row = std::array<Extended, MaxColumns>;

// min |rows c - 1| by Householder reflections. The normal equations would
// square the condition, which the distances' scale makes large; the exact
// points of a cone must come back to 1e-9. Empty where the columns are
// dependent, as with one point per piece at the lens front.
std::optional<Row> SolveLeastSquares(std::vector<Row> rows, std::size_t columns)
{
    const std::size_t n = rows.size();
    if (n < columns)
        return std::nullopt;
    std::vector<Extended> rhs(n, 1.0L);
    Row scale{};
    for (std::size_t j = 0; j < columns; ++j)
        for (const Row &row : rows)
            scale[j] = std::max(scale[j], std::abs(row[j]));

    for (std::size_t j = 0; j < columns; ++j) {
        Extended norm = 0;
        for (std::size_t i = j; i < n; ++i)
            norm += rows[i][j] * rows[i][j];
        norm = std::sqrt(norm);
        if (!(norm > 1e-12L * scale[j]))
            return std::nullopt;
        const Extended alpha = rows[j][j] > 0 ? -norm : norm;
        std::vector<Extended> v(n - j);
        v[0] = rows[j][j] - alpha;
        for (std::size_t i = j + 1; i < n; ++i)
            v[i - j] = rows[i][j];
        const Extended vv = std::inner_product(v.begin(), v.end(), v.begin(), 0.0L);
        for (std::size_t c = j; c < columns; ++c) {
            Extended s = 0;
            for (std::size_t i = j; i < n; ++i)
                s += v[i - j] * rows[i][c];
            const Extended f = 2 * s / vv;
            for (std::size_t i = j; i < n; ++i)
                rows[i][c] -= f * v[i - j];
        }
        Extended s = 0;
        for (std::size_t i = j; i < n; ++i)
            s += v[i - j] * rhs[i];
        const Extended f = 2 * s / vv;
        for (std::size_t i = j; i < n; ++i)
            rhs[i] -= f * v[i - j];
    }

    Row solution{};
    for (std::size_t j = columns; j-- > 0;) {
        Extended s = rhs[j];
        for (std::size_t c = j + 1; c < columns; ++c)
            s -= rows[j][c] * solution[c];
        solution[j] = s / rows[j][j];
    }
    return solution;
}

struct Cone
{
    Extended M90;
    Extended A;
    Extended D;
};

Extended ConeSpot(const Cone &cone, Extended x)
{
    if (x > cone.A)
        return (x / cone.A) * (cone.M90 + cone.D) - cone.D;
    return (x / cone.A) * (cone.M90 - cone.D) + cone.D;
}

Extended SquaredDeviations(const Cone &cone, const std::vector<SpotPoint> &points)
{
    Extended sum = 0;
    for (const SpotPoint &p : points) {
        const Extended deviation = (ConeSpot(cone, p.Distance) - p.Spot) / p.Spot;
        sum += deviation * deviation;
    }
    return sum;
}

// A and D above 0, and points strictly on both sides of the focus: the cone
// is then determined by the points rather than by its constraints. A point
// that misses the focus only by rounding lies on it.
bool IsDetermined(const Cone &cone, const std::vector<SpotPoint> &points)
{
    const auto finitePositive = [](Extended v) { return v > 0 && std::isfinite(v); };
    if (!std::isfinite(cone.M90) || !finitePositive(cone.A) || !finitePositive(cone.D))
        return false;
    const Extended margin = cone.A * 1e-12L;
    const bool before = std::any_of(points.begin(), points.end(), [&](const SpotPoint &p) {
        return p.Distance < cone.A - margin;
    });
    const bool beyond = std::any_of(points.begin(), points.end(), [&](const SpotPoint &p) {
        return p.Distance > cone.A + margin;
    });
    return before && beyond;
}

// Both pieces are straight lines, D + x p before the focus and -D + x q
// beyond it, meeting at a = 2D / (q - p). With the points before the focus
// fixed, the relative deviations are linear in D, p and q. A sharp focus
// (M90 = 0, q = -p) leaves D and the slope r = D / a.
std::optional<Cone> FitSplit(const std::vector<SpotPoint> &sorted, std::size_t nearCount,
                             bool sharp)
{
    std::vector<Row> rows;
    rows.reserve(sorted.size());
    for (std::size_t i = 0; i < sorted.size(); ++i) {
        const Extended w = 1.0L / sorted[i].Spot;
        const Extended x = sorted[i].Distance;
        const Extended side = i < nearCount ? 1 : -1;
        if (sharp)
            rows.push_back({side * w, -side * x * w, 0});
        else
            rows.push_back({side * w, i < nearCount ? x * w : 0, i < nearCount ? 0 : x * w});
    }
    const std::optional<Row> c = SolveLeastSquares(std::move(rows), sharp ? 2 : 3);
    if (!c)
        return std::nullopt;
    const Extended d = (*c)[0];
    const Extended kink = sharp ? 2 * (*c)[1] : (*c)[2] - (*c)[1];
    if (!(kink > 0))
        return std::nullopt;
    const Extended a = 2 * d / kink;
    // The split only describes the cone where its focus lies between the
    // two groups; elsewhere some point sits on the other piece.
    if (!(sorted[nearCount - 1].Distance <= a && a <= sorted[nearCount].Distance))
        return std::nullopt;
    return Cone{sharp ? 0 : d + (*c)[1] * a, a, d};
}

// The focus on a point: continuity gives q = p + 2D / a, so beyond the focus
// the spot is D (2x / a - 1) + x p, again linear in D and p. A sharp focus
// leaves D |1 - x / a|.
std::optional<Cone> FitWithFocusAt(const std::vector<SpotPoint> &points, Extended a, bool sharp)
{
    std::vector<Row> rows;
    rows.reserve(points.size());
    for (const SpotPoint &p : points) {
        const Extended w = 1.0L / p.Spot;
        const Extended x = p.Distance;
        if (sharp)
            rows.push_back({std::abs(1 - x / a) * w, 0, 0});
        else
            rows.push_back({(x > a ? 2 * x / a - 1 : 1.0L) * w, x * w, 0});
    }
    const std::optional<Row> c = SolveLeastSquares(std::move(rows), sharp ? 1 : 2);
    if (!c)
        return std::nullopt;
    return Cone{sharp ? 0 : (*c)[0] + (*c)[1] * a, a, (*c)[0]};
}

struct Candidates
{
    std::optional<Cone> Best; // M90 above 0
    Extended BestSum = std::numeric_limits<Extended>::infinity();
    Extended SharpSum = std::numeric_limits<Extended>::infinity(); // M90 = 0
};

// Each piece of the cone's domain is a convex least-squares problem, so its
// optimum is the free solution of some split, or lies on an edge: the focus
// on a point, or M90 = 0.
Candidates CollectCandidates(const std::vector<SpotPoint> &points)
{
    std::vector<SpotPoint> sorted = points;
    std::stable_sort(sorted.begin(), sorted.end(), [](const SpotPoint &l, const SpotPoint &r) {
        return l.Distance < r.Distance;
    });

    Candidates result;
    const auto consider = [&](const std::optional<Cone> &cone) {
        if (!cone || !IsDetermined(*cone, points) || cone->M90 < 0)
            return;
        const Extended sum = SquaredDeviations(*cone, points);
        if (cone->M90 == 0) {
            result.SharpSum = std::min(result.SharpSum, sum);
        } else if (sum < result.BestSum) {
            result.BestSum = sum;
            result.Best = cone;
        }
    };
    for (const bool sharp : {false, true}) {
        for (std::size_t k = 1; k < sorted.size(); ++k)
            if (sorted[k - 1].Distance < sorted[k].Distance)
                consider(FitSplit(sorted, k, sharp));
        for (std::size_t k = 0; k < sorted.size(); ++k)
            if (sorted[k].Distance > 0 && (k == 0 || sorted[k - 1].Distance < sorted[k].Distance))
                consider(FitWithFocusAt(sorted, sorted[k].Distance, sharp));
    }
    return result;
}

Extended LineSquaredDeviations(const std::vector<SpotPoint> &points)
{
    std::vector<Row> rows;
    rows.reserve(points.size());
    for (const SpotPoint &p : points)
        rows.push_back({1.0L / p.Spot, Extended(p.Distance) / p.Spot, 0});
    const std::optional<Row> c = SolveLeastSquares(rows, 2);
    if (!c)
        return std::numeric_limits<Extended>::infinity();
    Extended sum = 0;
    for (const SpotPoint &p : points) {
        const Extended deviation = ((*c)[0] + (*c)[1] * p.Distance - p.Spot) / p.Spot;
        sum += deviation * deviation;
    }
    return sum;
}

bool ArePointsUsable(const std::vector<SpotPoint> &points)
{
    return points.size() >= 3 && std::all_of(points.begin(), points.end(), [](const SpotPoint &p) {
               return p.Distance >= 0 && std::isfinite(p.Distance) && Positive(p.Spot);
           });
}

const OpticsFit NoFit{false, 0, 0, 0, {}, 0, false};

// Refused where M90 or D is not above 0 or a datum does not survive the
// rounding to float.
OpticsFit FitOf(const Cone &cone, const std::vector<SpotPoint> &points, bool determined)
{
    const double m90 = double(cone.M90);
    const double a = double(cone.A);
    const double d = double(cone.D);
    if (!(m90 > 0) || !(d > 0) || !ToOptics(m90, a, d))
        return NoFit;
    OpticsFit fit{true, m90, a, d, {}, 0, determined};
    fit.Deviations.reserve(points.size());
    for (const SpotPoint &p : points) {
        const double deviation = double((ConeSpot(cone, p.Distance) - p.Spot) / p.Spot);
        fit.Deviations.push_back(deviation);
        fit.MaxDeviation = std::max(fit.MaxDeviation, std::abs(deviation));
    }
    return fit;
}

} // namespace

SheetOptics OpticsFromRatios(double focusDistance, double ratioAtFocus, double ratioFarField,
                             std::optional<double> farFieldDistance)
{
    if (!Positive(focusDistance) || !Positive(ratioAtFocus) || !Positive(ratioFarField))
        return {std::nullopt, DataSheetProblem::NotPositive};
    const double m90 = focusDistance / ratioAtFocus;
    return OpticsFromFocusSpot(focusDistance, m90, ratioFarField, farFieldDistance);
}

SheetOptics OpticsFromFocusSpot(double focusDistance, double spotAtFocus, double ratioFarField,
                                std::optional<double> farFieldDistance)
{
    if (!Positive(focusDistance) || !Positive(spotAtFocus) || !Positive(ratioFarField) ||
        (farFieldDistance && !Positive(*farFieldDistance)))
        return {std::nullopt, DataSheetProblem::NotPositive};
    double d = 0;
    if (farFieldDistance) {
        // Beyond the focus s(L) = (L / a)(M90 + D) - D, solved for D with
        // s(L) = L / ratio.
        const double l = *farFieldDistance;
        if (!(l > focusDistance))
            return {std::nullopt, DataSheetProblem::FarNotBeyondFocus};
        d = (l / ratioFarField - l * spotAtFocus / focusDistance) / (l / focusDistance - 1);
    } else {
        // Far from the lens the spot is x (M90 + D) / a, so the far-field
        // ratio is a / (M90 + D).
        d = focusDistance / ratioFarField - spotAtFocus;
    }
    // Either way D > 0 exactly when the far-field ratio lies below the ratio
    // at the focus, a / M90.
    if (!(d > 0))
        return {std::nullopt, DataSheetProblem::FarRatioNotSmaller};
    const std::optional<SpotOptics> optics = ToOptics(spotAtFocus, focusDistance, d);
    return {optics, optics ? DataSheetProblem::None : DataSheetProblem::NotSingle};
}

OpticsFit FitOpticsToPoints(const std::vector<SpotPoint> &points)
{
    if (!ArePointsUsable(points))
        return NoFit;

    const Candidates candidates = CollectCandidates(points);
    const Extended sum = candidates.BestSum;
    // A line is the limit of cones whose focus leaves the points behind; a
    // cone no better than it has no focus the points could show. Where a
    // sharp focus fits better, cones with M90 above 0 approach it without
    // end and none is best. Sums below the floor are rounding, deviations of
    // about 1e-10.
    if (!candidates.Best || !(sum < LineSquaredDeviations(points) * (1 - 1e-9L) - 1e-20L) ||
        !(sum <= candidates.SharpSum * (1 + 1e-9L) + 1e-20L))
        return NoFit;
    return FitOf(*candidates.Best, points, points.size() == 3);
}

OpticsFit FitOpticsWithFocus(const std::vector<SpotPoint> &points, double focusDistance)
{
    if (!ArePointsUsable(points) || !Positive(focusDistance))
        return NoFit;
    // With a given the spots are linear in M90 and D, so points on one side
    // of the focus alone determine both.
    const std::optional<Cone> cone = FitWithFocusAt(points, focusDistance, false);
    return cone ? FitOf(*cone, points, false) : NoFit;
}
