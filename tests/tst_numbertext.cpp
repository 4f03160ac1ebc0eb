#include "NumberText.h"

#include <QTest>

#include <bit>
#include <cfloat>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>

namespace {

quint32 Bits(float value)
{
    return std::bit_cast<quint32>(value);
}

std::string_view View(const QByteArray &bytes)
{
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

// Exact decimals of float's subnormal-grid midpoints k * 2^-150.
constexpr char HalfSmallest[] =
    "7.00649232162408535461864791644958065640130970938257885878534141944"
    "895541342930300743319094181060791015625e-46";
constexpr char ThreeHalves[] =
    "2.101947696487225606385594374934874196920392912814773657635602425834"
    "686624028790902229957282543182373046875e-45";
constexpr char BelowFltMin[] =
    "1.17549428075736429172788299103576651332285899275899042768296311842500"
    "30649651730385585324256680905818939208984375e-38";

// Random finite floats, every bit pattern equally likely, so all exponents
// and subnormals turn up.
float RandomFinite(std::mt19937 &random)
{
    for (;;) {
        const float value = std::bit_cast<float>(static_cast<std::uint32_t>(random()));
        if (std::isfinite(value))
            return value;
    }
}

} // namespace

class TestNumberText : public QObject
{
    Q_OBJECT

private slots:
    // Every test runs under the C locale and again under a German one, whose
    // decimal comma must not leak into the number texts.
    void initTestCase_data();
    void init();
    void cleanup();

    void parse_data();
    void parse();
    void parseFallbacks_data();
    void parseFallbacks();
    void format_data();
    void format();
    void formatMatchesExactRounding();
    void formatThenParseRoundTrips();
};

void TestNumberText::initTestCase_data()
{
    QTest::addColumn<QByteArray>("locale");
    QTest::addRow("C") << QByteArray("C");
#ifdef Q_OS_WIN
    // The Windows C library names its locales by language, country and code page.
    QTest::addRow("de_DE") << QByteArray("German_Germany.1252");
#else
    QTest::addRow("de_DE") << QByteArray("de_DE.UTF-8");
#endif
}

void TestNumberText::init()
{
    QFETCH_GLOBAL(QByteArray, locale);
    if (!std::setlocale(LC_ALL, locale.constData()))
        QSKIP("locale not installed");
    if (locale != "C")
        QCOMPARE(*std::localeconv()->decimal_point, ','); // the locale really is in force
}

void TestNumberText::cleanup()
{
    std::setlocale(LC_ALL, "C");
}

void TestNumberText::parse_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("isNumber");
    QTest::addColumn<float>("expected");

    QTest::addRow("integer") << QByteArray("42") << true << 42.0f;
    QTest::addRow("plus-sign") << QByteArray("+7") << true << 7.0f;
    QTest::addRow("minus-sign") << QByteArray("-7.5") << true << -7.5f;
    QTest::addRow("leading-point") << QByteArray(".5") << true << 0.5f;
    QTest::addRow("trailing-point") << QByteArray("5.") << true << 5.0f;
    QTest::addRow("exponent") << QByteArray("1.5e3") << true << 1500.0f;
    QTest::addRow("exponent-capital-negative") << QByteArray("25E-1") << true << 2.5f;
    QTest::addRow("exponent-plus") << QByteArray("-1e+2") << true << -100.0f;
    QTest::addRow("point-then-exponent") << QByteArray("2.e1") << true << 20.0f;
    QTest::addRow("blanks-around") << QByteArray(" \t 12.5 \r\n") << true << 12.5f;
    QTest::addRow("control-characters-are-blanks") << QByteArray("\x01\x1f"
                                                                 "3 ")
                                                   << true << 3.0f;
    QTest::addRow("leading-zeros")
        << QByteArray("000000000000000000000000000001.25") << true << 1.25f;
    QTest::addRow("negative-zero") << QByteArray("-0.000") << true << -0.0f;
    QTest::addRow("zero-with-huge-exponent")
        << QByteArray("0e999999999999999999999") << true << 0.0f;
    QTest::addRow("decimal-rounded-to-nearest-float") << QByteArray("0.1") << true << 0.1f;
    // Via double this would land on the midpoint 1 + 2^-24 and tie down to 1.
    QTest::addRow("rounded-once-not-via-double")
        << QByteArray("1.0000000596046447753906251") << true << std::nextafter(1.0f, 2.0f);
    QTest::addRow("many-digits") << QByteArray("123456789012345678901234567890") << true
                                 << 123456789012345678901234567890.0f;
    QTest::addRow("smallest-normal") << QByteArray("1.17549435e-38") << true << FLT_MIN;
    QTest::addRow("largest-float")
        << QByteArray("340282346638528859811704183484516925440") << true << FLT_MAX;
    QTest::addRow("just-below-overflow-midpoint")
        << QByteArray("340282356779733661637539395458142568447") << true << FLT_MAX;

    QTest::addRow("underflow-to-subnormal")
        << QByteArray("1e-40") << true << std::ldexp(71362.0f, -149);
    QTest::addRow("smallest-subnormal")
        << QByteArray("1.4e-45") << true << std::numeric_limits<float>::denorm_min();
    QTest::addRow("underflow-to-zero") << QByteArray("1e-50") << true << 0.0f;
    QTest::addRow("underflow-to-negative-zero") << QByteArray("-1e-50") << true << -0.0f;
    QTest::addRow("underflow-huge-exponent")
        << QByteArray("1e-99999999999999999999") << true << 0.0f;
    QTest::addRow("half-smallest-subnormal-ties-to-zero")
        << QByteArray(HalfSmallest) << true << 0.0f;
    QTest::addRow("above-half-smallest-subnormal")
        << (QByteArray(HalfSmallest).replace("625e", "6251e")) << true
        << std::numeric_limits<float>::denorm_min();
    QTest::addRow("below-half-smallest-subnormal")
        << (QByteArray(HalfSmallest).replace("625e", "624999e")) << true << 0.0f;
    QTest::addRow("subnormal-tie-to-even-up")
        << QByteArray(ThreeHalves) << true << std::ldexp(2.0f, -149);
    QTest::addRow("below-subnormal-tie-rounds-down")
        << (QByteArray(ThreeHalves).replace("875e", "874e")) << true << std::ldexp(1.0f, -149);
    QTest::addRow("tie-below-smallest-normal-rounds-up")
        << QByteArray(BelowFltMin) << true << FLT_MIN;
    QTest::addRow("below-that-tie-stays-subnormal")
        << (QByteArray(BelowFltMin).replace("375e", "374e")) << true
        << std::nextafter(FLT_MIN, 0.0f);

    const QList<QByteArray> noNumbers = {"",
                                         "   ",
                                         ".",
                                         "+",
                                         "-",
                                         "-.",
                                         "e5",
                                         ".e5",
                                         "1e",
                                         "1e+",
                                         "1.2.3",
                                         "1,5",
                                         "1 5",
                                         "- 1",
                                         "--1",
                                         "+-1",
                                         "1e5.5",
                                         "1e2e3",
                                         "12a",
                                         "3\x7f",
                                         "1f",
                                         "inf",
                                         "-inf",
                                         "infinity",
                                         "nan",
                                         "NAN",
                                         "0x10",
                                         "0x1p3",
                                         "1e39",
                                         "340282356779733661637539395458142568448",
                                         "12345678901234567890123456789012345678901234567890",
                                         "-1e99999999999999999999",
                                         "0e",
                                         "0e+",
                                         ".0e"};
    for (const QByteArray &text : noNumbers)
        QTest::addRow("no-number \"%s\"", text.constData()) << text << false << 0.0f;
}

void TestNumberText::parse()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, isNumber);
    QFETCH(float, expected);

    const float untouched = 123.25f;
    float value = untouched;
    QCOMPARE(TryParseNumber(View(text), value), isNumber);
    QCOMPARE(Bits(value), Bits(isNumber ? expected : untouched));
}

void TestNumberText::parseFallbacks_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<float>("orZero");
    QTest::addColumn<float>("orMinusOne");

    QTest::addRow("number") << QByteArray("2.5") << 2.5f << 2.5f;
    QTest::addRow("minus-one-is-a-number") << QByteArray("-1") << -1.0f << -1.0f;
    QTest::addRow("empty") << QByteArray("") << 0.0f << -1.0f;
    QTest::addRow("letters") << QByteArray("abc") << 0.0f << -1.0f;
    QTest::addRow("overflow") << QByteArray("1e39") << 0.0f << -1.0f;
}

void TestNumberText::parseFallbacks()
{
    QFETCH(QByteArray, text);
    QFETCH(float, orZero);
    QFETCH(float, orMinusOne);

    QCOMPARE(Bits(ParseNumber(View(text))), Bits(orZero));
    QCOMPARE(Bits(ParseNumberOrMinusOne(View(text))), Bits(orMinusOne));
}

void TestNumberText::format_data()
{
    QTest::addColumn<float>("value");
    QTest::addColumn<QByteArray>("expected");

    QTest::addRow("zero") << 0.0f << QByteArray("0.0");
    QTest::addRow("negative-zero-has-no-sign") << -0.0f << QByteArray("0.0");
    QTest::addRow("integer") << 250.0f << QByteArray("250.0");
    QTest::addRow("exact-half-rounds-up") << 2.25f << QByteArray("2.3");
    QTest::addRow("exact-half-below-one") << 0.25f << QByteArray("0.3");
    QTest::addRow("negative-half-away-from-zero") << -2.25f << QByteArray("-2.3");
    // 0.35f is 0.349999994..., 0.05f is 0.0500000007..., 1.15f 1.14999997...
    QTest::addRow("binary-just-below-half") << 0.35f << QByteArray("0.3");
    QTest::addRow("binary-just-above-half") << 0.05f << QByteArray("0.1");
    QTest::addRow("binary-below-half-above-one") << 1.15f << QByteArray("1.1");
    QTest::addRow("just-below-99.95") << 99.95f << QByteArray("99.9");
    QTest::addRow("carry-into-new-digit") << 9.96f << QByteArray("10.0");
    QTest::addRow("carry-through-nines") << 999.96f << QByteArray("1000.0");
    QTest::addRow("spot-at-501") << 10.08f << QByteArray("10.1");
    QTest::addRow("negative-rounding-to-zero") << -0.04f << QByteArray("0.0");
    QTest::addRow("negative-rounding-to-tenth") << -0.05f << QByteArray("-0.1");
    QTest::addRow("smallest-subnormal")
        << std::numeric_limits<float>::denorm_min() << QByteArray("0.0");
    QTest::addRow("no-grouping") << 16777216.0f << QByteArray("16777216.0");
    // 1e20f is 100000002004087734272; only 18 significant digits are kept.
    QTest::addRow("huge-keeps-18-digits") << 1e20f << QByteArray("100000002004087734000.0");
    QTest::addRow("largest-float")
        << FLT_MAX << QByteArray("340282346638528860000000000000000000000.0");
    QTest::addRow("lowest-float") << -FLT_MAX
                                  << QByteArray("-340282346638528860000000000000000000000.0");
    QTest::addRow("infinity") << std::numeric_limits<float>::infinity() << QByteArray("INF");
    QTest::addRow("negative-infinity")
        << -std::numeric_limits<float>::infinity() << QByteArray("-INF");
    QTest::addRow("nan") << std::numeric_limits<float>::quiet_NaN() << QByteArray("NAN");
}

void TestNumberText::format()
{
    QFETCH(float, value);
    QFETCH(QByteArray, expected);

    QCOMPARE(QByteArray::fromStdString(FormatNumber(value)), expected);
}

// For values below 10^17 the tenths fit an integer, so the rounding can be
// done exactly in long double, independently of the decimal string work. A
// float is never close enough to a half tenth for the 18-digit form to turn
// the decision, so both must agree.
void TestNumberText::formatMatchesExactRounding()
{
    std::mt19937 random(20240611);
    std::uniform_real_distribution<float> moderate(-5000.0f, 5000.0f);
    for (int n = 0; n < 200000; ++n) {
        const float value = n % 2 ? moderate(random) : RandomFinite(random);
        const long double magnitude = std::fabs(static_cast<long double>(value));
        if (magnitude >= 1e17L)
            continue;
        const auto tenths = static_cast<unsigned long long>(std::floor(magnitude * 10 + 0.5L));
        std::string expected = std::to_string(tenths / 10) + '.' + std::to_string(tenths % 10);
        if (tenths != 0 && value < 0)
            expected.insert(0, 1, '-');
        const std::string actual = FormatNumber(value);
        if (actual != expected)
            QFAIL(qPrintable(QStringLiteral("%1 formatted as %2, expected %3")
                                 .arg(static_cast<double>(value), 0, 'g', 9)
                                 .arg(QString::fromStdString(actual))
                                 .arg(QString::fromStdString(expected))));
    }
}

// Format then parse lands within half a tenth of the start, or on the start
// itself where floats are coarser than tenths.
void TestNumberText::formatThenParseRoundTrips()
{
    std::mt19937 random(7);
    std::uniform_real_distribution<float> moderate(-1000.0f, 1000.0f);
    for (int n = 0; n < 200000; ++n) {
        const float value = n % 2 ? moderate(random) : RandomFinite(random);
        const std::string text = FormatNumber(value);
        float back = 0.0f;
        if (!TryParseNumber(text, back))
            QFAIL(qPrintable(QStringLiteral("%1 is no number").arg(QString::fromStdString(text))));
        const long double spacing =
            std::nextafter(std::fabs(value), std::numeric_limits<float>::infinity()) -
            std::fabs(value);
        const long double error = std::fabs(static_cast<long double>(back) - value);
        if (error > 0.05L + spacing / 2)
            QFAIL(qPrintable(QStringLiteral("%1 -> %2 -> %3")
                                 .arg(static_cast<double>(value), 0, 'g', 9)
                                 .arg(QString::fromStdString(text))
                                 .arg(static_cast<double>(back), 0, 'g', 9)));
        if (std::fabs(value) >= 16777216.0f && Bits(back) != Bits(value))
            QFAIL(qPrintable(
                QStringLiteral("%1 does not come back exactly").arg(QString::fromStdString(text))));
    }
}

QTEST_APPLESS_MAIN(TestNumberText)
#include "tst_numbertext.moc"
