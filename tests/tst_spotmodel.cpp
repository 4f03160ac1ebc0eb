#include "SpotModel.h"

#include <QTest>

#include <algorithm>
#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>

Q_DECLARE_METATYPE(SpotOptics)

namespace {

quint32 Bits(float value)
{
    return std::bit_cast<quint32>(value);
}

const SpotOptics Converging{10.0f, 500.0f, 30.0f};
const SpotOptics Diverging{40.0f, 500.0f, 20.0f};

// The formulas written out plainly, each intermediate in long double and one
// rounding to float at the end; the model must match them bit for bit.
namespace Reference {

using Ext = long double;

float Spot(SpotOptics o, float x)
{
    const Ext ratio = Ext(x) / Ext(o.A);
    if (x > o.A)
        return float((ratio * (Ext(o.M90) + Ext(o.D))) - Ext(o.D));
    return float((ratio * (Ext(o.M90) - Ext(o.D))) + Ext(o.D));
}

float NearPiece(SpotOptics o, float s)
{
    const float x = float(((Ext(s) - Ext(o.D)) / (Ext(o.M90) - Ext(o.D))) * Ext(o.A));
    return x == 0 ? 0.0f : x;
}

float FarPiece(SpotOptics o, float s)
{
    return float(((Ext(s) + Ext(o.D)) / (Ext(o.M90) + Ext(o.D))) * Ext(o.A));
}

// Which piece serves a wanted spot, by the shape of the beam.
float Distance(SpotOptics o, float s, bool beyondFocus)
{
    if (o.M90 < o.D) // converging: two solutions between M90 and D
        return (s <= o.D && !beyondFocus) ? NearPiece(o, s) : FarPiece(o, s);
    // diverging: one solution; at s == M90 both pieces give a
    return (s < o.M90 || (s == o.M90 && !beyondFocus)) ? NearPiece(o, s) : FarPiece(o, s);
}

float DistanceForPosition(float a, int p)
{
    return float((Ext(p) * Ext(a)) * (1.0L / 192.0L));
}

int PositionForDistance(float a, float x)
{
    const float q = float((Ext(x) * 192.0L) / Ext(a));
    return int(Ext(q) + 0.5L);
}

} // namespace Reference

// Log-uniform positive floats between 10^low and 10^high.
float RandomLength(std::mt19937 &random, float low, float high)
{
    std::uniform_real_distribution<float> exponent(low, high);
    return std::pow(10.0f, exponent(random));
}

enum class Piece
{
    Unreachable,
    Near,
    Far,
    Focus, // both pieces give a
};

} // namespace

Q_DECLARE_METATYPE(Piece)

class TestSpotModel : public QObject
{
    Q_OBJECT

private slots:
    void areInputsValid_data();
    void areInputsValid();
    void spotAtDistance_data();
    void spotAtDistance();
    void focusBelongsToNearPiece();
    void distanceForSpot_data();
    void distanceForSpot();
    void pieceByShapeAndHalf_data();
    void pieceByShapeAndHalf();
    void distanceForPosition();
    void positionForDistance_data();
    void positionForDistance();
    void positionOfDistanceOfPositionIsPosition_data();
    void positionOfDistanceOfPositionIsPosition();
    void matchesReferenceBitForBit();
};

void TestSpotModel::areInputsValid_data()
{
    QTest::addColumn<SpotOptics>("optics");
    QTest::addColumn<float>("value");
    QTest::addColumn<bool>("valid");

    QTest::addRow("all-positive") << Converging << 1.0f << true;
    QTest::addRow("smallest-positive-value")
        << Converging << std::numeric_limits<float>::denorm_min() << true;
    QTest::addRow("value-zero") << Converging << 0.0f << false;
    QTest::addRow("value-negative") << Converging << -1.0f << false;
    QTest::addRow("value-nan") << Converging << std::numeric_limits<float>::quiet_NaN() << false;
    QTest::addRow("M90-zero") << SpotOptics{0.0f, 500.0f, 30.0f} << 1.0f << false;
    QTest::addRow("a-zero") << SpotOptics{10.0f, 0.0f, 30.0f} << 1.0f << false;
    QTest::addRow("D-zero") << SpotOptics{10.0f, 500.0f, 0.0f} << 1.0f << false;
    QTest::addRow("D-negative") << SpotOptics{10.0f, 500.0f, -30.0f} << 1.0f << false;
}

void TestSpotModel::areInputsValid()
{
    QFETCH(SpotOptics, optics);
    QFETCH(float, value);
    QFETCH(bool, valid);

    QCOMPARE(AreInputsValid(optics, value), valid);
}

void TestSpotModel::spotAtDistance_data()
{
    QTest::addColumn<SpotOptics>("optics");
    QTest::addColumn<float>("x");
    QTest::addColumn<float>("expected");

    QTest::addRow("converging-halfway") << Converging << 250.0f << 20.0f;
    QTest::addRow("converging-focus") << Converging << 500.0f << 10.0f;
    QTest::addRow("converging-twice-focus") << Converging << 1000.0f << 50.0f;
    QTest::addRow("converging-just-beyond") << Converging << 501.0f << 10.08f;
    QTest::addRow("converging-beyond-slider") << Converging << 2000.0f << 130.0f;
    QTest::addRow("diverging-halfway") << Diverging << 250.0f << 30.0f;
    QTest::addRow("diverging-twice-focus") << Diverging << 1000.0f << 100.0f;
    // The far piece would lose the low bits of M90 in M90 + D here.
    QTest::addRow("focus-is-M90-where-far-piece-is-not")
        << SpotOptics{std::nextafter(1.0f, 2.0f), 1.0f, 2199023255552.0f} << 1.0f
        << std::nextafter(1.0f, 2.0f);
    // Intermediates rounded to double would change the last bit of these.
    QTest::addRow("extended-precision-near-piece")
        << SpotOptics{5528.6f, 5009.5f, 5672.9f} << 7223.0f << 10478.1006f;
    QTest::addRow("extended-precision-far-piece")
        << SpotOptics{2772.5f, 580.5f, 9392.6f} << 5353.5f << 102796.656f;
}

void TestSpotModel::spotAtDistance()
{
    QFETCH(SpotOptics, optics);
    QFETCH(float, x);
    QFETCH(float, expected);

    QCOMPARE(Bits(SpotAtDistance(optics, x)), Bits(expected));
}

// x == a is exactly M90; the next float above a already takes the far piece.
void TestSpotModel::focusBelongsToNearPiece()
{
    std::mt19937 random(11);
    for (int n = 0; n < 20000; ++n) {
        const SpotOptics o{RandomLength(random, -2, 4), RandomLength(random, -2, 4),
                           RandomLength(random, -2, 4)};
        QCOMPARE(Bits(SpotAtDistance(o, o.A)), Bits(o.M90));
    }

    // A wide aperture makes the two pieces differ visibly just past the focus.
    const SpotOptics wide{1.0f, 1.0f, 1000.0f};
    const float justBeyond = std::nextafter(wide.A, 2.0f);
    const Reference::Ext ratio = Reference::Ext(justBeyond) / Reference::Ext(wide.A);
    const float farValue = float(ratio * (Reference::Ext(wide.M90) + wide.D) - wide.D);
    const float nearValue = float(ratio * (Reference::Ext(wide.M90) - wide.D) + wide.D);
    QVERIFY(nearValue != farValue);
    const float spot = SpotAtDistance(wide, justBeyond);
    QCOMPARE(Bits(spot), Bits(farValue));
    QVERIFY(spot > wide.M90);
}

void TestSpotModel::distanceForSpot_data()
{
    QTest::addColumn<SpotOptics>("optics");
    QTest::addColumn<float>("s");
    QTest::addColumn<bool>("beyondFocus");
    QTest::addColumn<float>("expected");

    QTest::addRow("converging-20-near") << Converging << 20.0f << false << 250.0f;
    QTest::addRow("converging-20-beyond") << Converging << 20.0f << true << 625.0f;
    QTest::addRow("converging-40-near-half") << Converging << 40.0f << false << 875.0f;
    QTest::addRow("converging-M90-near") << Converging << 10.0f << false << 500.0f;
    QTest::addRow("converging-M90-beyond") << Converging << 10.0f << true << 500.0f;
    QTest::addRow("converging-D-near-is-lens-front") << Converging << 30.0f << false << 0.0f;
    QTest::addRow("converging-D-beyond") << Converging << 30.0f << true << 750.0f;
    QTest::addRow("converging-50-near") << Converging << 50.0f << false << 1000.0f;
    QTest::addRow("converging-50-beyond") << Converging << 50.0f << true << 1000.0f;
    QTest::addRow("diverging-30-near") << Diverging << 30.0f << false << 250.0f;
    QTest::addRow("diverging-30-beyond") << Diverging << 30.0f << true << 250.0f;
    QTest::addRow("diverging-100-near") << Diverging << 100.0f << false << 1000.0f;
    QTest::addRow("diverging-100-beyond") << Diverging << 100.0f << true << 1000.0f;
    QTest::addRow("diverging-D-near-is-lens-front") << Diverging << 20.0f << false << 0.0f;
    QTest::addRow("diverging-D-beyond-is-lens-front") << Diverging << 20.0f << true << 0.0f;
    // Intermediates rounded to double would change the last bit of these.
    QTest::addRow("extended-precision-converging-near")
        << SpotOptics{2.5f, 3706.3f, 3914.5f} << 3418.0f << false << 470.393158f;
    QTest::addRow("extended-precision-diverging-near")
        << SpotOptics{7941.4f, 4037.5f, 4141.4f} << 5104.0f << true << 1022.76263f;
    QTest::addRow("extended-precision-converging-far")
        << SpotOptics{6503.6f, 6865.0f, 7226.4f} << 8346.5f << false << 7786.4502f;
    QTest::addRow("extended-precision-diverging-far")
        << SpotOptics{2172.0f, 5564.2f, 492.0f} << 2190.0f << true << 5601.79639f;
    // M90 == D: the near piece would divide by zero.
    QTest::addRow("equal-D-near-is-focus")
        << SpotOptics{8.0f, 100.0f, 8.0f} << 8.0f << false << 100.0f;
    QTest::addRow("equal-D-beyond-is-focus")
        << SpotOptics{8.0f, 100.0f, 8.0f} << 8.0f << true << 100.0f;
    QTest::addRow("equal-above-D-near-half-far-piece")
        << SpotOptics{8.0f, 100.0f, 8.0f} << 9.0f << false << 106.25f;
    QTest::addRow("equal-above-D-beyond")
        << SpotOptics{8.0f, 100.0f, 8.0f} << 9.0f << true << 106.25f;
}

void TestSpotModel::distanceForSpot()
{
    QFETCH(SpotOptics, optics);
    QFETCH(float, s);
    QFETCH(bool, beyondFocus);
    QFETCH(float, expected);

    QVERIFY(IsSpotReachable(optics, s));
    // Bits, not values: a distance of 0 must be +0, never -0.
    QCOMPARE(Bits(DistanceForSpot(optics, s, beyondFocus)), Bits(expected));
}

void TestSpotModel::pieceByShapeAndHalf_data()
{
    QTest::addColumn<SpotOptics>("optics");
    QTest::addColumn<float>("s");
    QTest::addColumn<Piece>("nearHalf");
    QTest::addColumn<Piece>("beyondHalf");

    // Uneven data so the two pieces never give the same distance by chance.
    const SpotOptics converging{3.0f, 700.0f, 11.0f};
    QTest::addRow("converging-below-M90")
        << converging << 2.5f << Piece::Unreachable << Piece::Unreachable;
    QTest::addRow("converging-M90") << converging << 3.0f << Piece::Focus << Piece::Focus;
    QTest::addRow("converging-between") << converging << 7.3f << Piece::Near << Piece::Far;
    QTest::addRow("converging-D") << converging << 11.0f << Piece::Near << Piece::Far;
    QTest::addRow("converging-above-D") << converging << 20.1f << Piece::Far << Piece::Far;

    const SpotOptics diverging{25.0f, 300.0f, 4.0f};
    QTest::addRow("diverging-below-D")
        << diverging << 3.9f << Piece::Unreachable << Piece::Unreachable;
    QTest::addRow("diverging-D") << diverging << 4.0f << Piece::Near << Piece::Near;
    QTest::addRow("diverging-between") << diverging << 10.3f << Piece::Near << Piece::Near;
    QTest::addRow("diverging-M90") << diverging << 25.0f << Piece::Focus << Piece::Focus;
    QTest::addRow("diverging-above-M90") << diverging << 40.7f << Piece::Far << Piece::Far;

    QTest::addRow("converging-9.9")
        << Converging << 9.9f << Piece::Unreachable << Piece::Unreachable;
    QTest::addRow("diverging-19.9")
        << Diverging << 19.9f << Piece::Unreachable << Piece::Unreachable;

    const SpotOptics equal{8.0f, 100.0f, 8.0f};
    QTest::addRow("equal-below-D") << equal << 7.9f << Piece::Unreachable << Piece::Unreachable;
    QTest::addRow("equal-D") << equal << 8.0f << Piece::Focus << Piece::Focus;
    QTest::addRow("equal-above-D") << equal << 8.3f << Piece::Far << Piece::Far;
}

void TestSpotModel::pieceByShapeAndHalf()
{
    QFETCH(SpotOptics, optics);
    QFETCH(float, s);
    QFETCH(Piece, nearHalf);
    QFETCH(Piece, beyondHalf);

    QCOMPARE(IsSpotReachable(optics, s), nearHalf != Piece::Unreachable);
    if (nearHalf == Piece::Unreachable)
        return;
    for (const bool beyondFocus : {false, true}) {
        const Piece piece = beyondFocus ? beyondHalf : nearHalf;
        const float distance = DistanceForSpot(optics, s, beyondFocus);
        if (piece == Piece::Focus) {
            QCOMPARE(distance, optics.A);
            continue;
        }
        const float nearValue = Reference::NearPiece(optics, s);
        const float farValue = Reference::FarPiece(optics, s);
        QVERIFY(nearValue != farValue);
        QCOMPARE(Bits(distance), Bits(piece == Piece::Near ? nearValue : farValue));
    }
}

void TestSpotModel::distanceForPosition()
{
    QCOMPARE(DistanceForPosition(500.0f, 96), 250.0f);
    QCOMPARE(DistanceForPosition(500.0f, 192), 500.0f);
    QCOMPARE(DistanceForPosition(500.0f, 384), 1000.0f);
    QCOMPARE(Bits(DistanceForPosition(500.0f, 0)), Bits(0.0f));
    QVERIFY(!AreInputsValid(Converging, DistanceForPosition(500.0f, 0)));
}

void TestSpotModel::positionForDistance_data()
{
    QTest::addColumn<float>("a");
    QTest::addColumn<float>("x");
    QTest::addColumn<int>("position");

    QTest::addRow("half-step-rounds-up") << 500.0f << 250.0f << 96;
    QTest::addRow("beyond-focus") << 500.0f << 625.0f << 240;
    QTest::addRow("short-distance") << 500.0f << 5.0f << 2;
    QTest::addRow("just-past-twice-focus") << 500.0f << 1001.0f << 384;
    QTest::addRow("not-clamped") << 500.0f << 2000.0f << 768;
    QTest::addRow("lens-front") << 500.0f << 0.0f << 0;
}

void TestSpotModel::positionForDistance()
{
    QFETCH(float, a);
    QFETCH(float, x);
    QFETCH(int, position);

    QCOMPARE(PositionForDistance(a, x), position);
}

void TestSpotModel::positionOfDistanceOfPositionIsPosition_data()
{
    QTest::addColumn<float>("a");

    for (const float a :
         {1e-30f, 1e30f, 0.1f, 333.3f, 1234.567f, 500.0f, 1.0f, 3.0f, 7.0f, 192.0f, 1e-35f, 1e37f})
        QTest::addRow("a=%g", double(a)) << a;
    std::mt19937 random(3);
    for (int n = 0; n < 20; ++n) {
        const float a = RandomLength(random, -35, 37);
        QTest::addRow("random-%d a=%.9g", n, double(a)) << a;
    }
}

void TestSpotModel::positionOfDistanceOfPositionIsPosition()
{
    QFETCH(float, a);

    for (int p = 0; p <= SliderPositions; ++p)
        QCOMPARE(PositionForDistance(a, DistanceForPosition(a, p)), p);

    // And over many more focus distances, typed ones (tenths) and random ones.
    std::mt19937 random(Bits(a));
    std::uniform_int_distribution<int> tenths(1, 999999);
    for (int n = 0; n < 200; ++n) {
        const float b = n % 2 ? RandomLength(random, -35, 37) : float(tenths(random)) / 10.0f;
        for (int p = 0; p <= SliderPositions; ++p)
            if (PositionForDistance(b, DistanceForPosition(b, p)) != p)
                QFAIL(qPrintable(QStringLiteral("a=%1 p=%2").arg(double(b), 0, 'g', 9).arg(p)));
    }
}

void TestSpotModel::matchesReferenceBitForBit()
{
    std::mt19937 random(42);
    std::bernoulli_distribution coin;
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    for (int n = 0; n < 200000; ++n) {
        // Wide ranges every other round, everyday ranges otherwise.
        const float low = n % 2 ? -20.0f : -1.0f;
        const float high = n % 2 ? 20.0f : 4.0f;
        const SpotOptics o{RandomLength(random, low, high), RandomLength(random, low, high),
                           RandomLength(random, low, high)};

        const float x = unit(random) * 2.5f * o.A;
        if (x > 0 && Bits(SpotAtDistance(o, x)) != Bits(Reference::Spot(o, x)))
            QFAIL(qPrintable(QStringLiteral("SpotAtDistance n=%1").arg(n)));

        const float narrowest = std::min(o.M90, o.D);
        const float s = narrowest + unit(random) * 3.0f * std::max(o.M90, o.D);
        const bool beyondFocus = coin(random);
        if (o.M90 != o.D && IsSpotReachable(o, s) &&
            Bits(DistanceForSpot(o, s, beyondFocus)) !=
                Bits(Reference::Distance(o, s, beyondFocus)))
            QFAIL(qPrintable(QStringLiteral("DistanceForSpot n=%1").arg(n)));

        const int p = int(random() % (SliderPositions + 1));
        if (Bits(DistanceForPosition(o.A, p)) != Bits(Reference::DistanceForPosition(o.A, p)))
            QFAIL(qPrintable(QStringLiteral("DistanceForPosition n=%1").arg(n)));
        if (PositionForDistance(o.A, x) != Reference::PositionForDistance(o.A, x))
            QFAIL(qPrintable(QStringLiteral("PositionForDistance n=%1").arg(n)));
    }
}

QTEST_APPLESS_MAIN(TestSpotModel)
#include "tst_spotmodel.moc"
