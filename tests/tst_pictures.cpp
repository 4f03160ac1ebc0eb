// The committed pictures: their sizes, and the beam geometry that the
// calculator window relies on (lens front at column 288, focus at 480).

#include <QImage>
#include <QImageReader>
#include <QTest>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

QString ImagePath(const QString &name)
{
    return QStringLiteral(OPTICCALC_IMAGES_DIR "/") + name;
}

QImage LoadArgb(const QString &name)
{
    return QImage(ImagePath(name)).convertToFormat(QImage::Format_ARGB32);
}

// Rows of a column that are clearly drawn on; empty when nothing is.
struct Span
{
    int top = -1;
    int bottom = -2;
    int Extent() const { return bottom - top + 1; }
};

Span ColumnSpan(const QImage &image, int x)
{
    Span span;
    for (int y = 0; y < image.height(); ++y) {
        if (qAlpha(image.pixel(x, y)) >= 96) {
            if (span.top < 0) {
                span.top = y;
            }
            span.bottom = y;
        }
    }
    return span;
}

std::vector<int> Extents(const QImage &image)
{
    std::vector<int> extents(size_t(image.width()));
    for (int x = 0; x < image.width(); ++x) {
        extents[size_t(x)] = ColumnSpan(image, x).Extent();
    }
    return extents;
}

} // namespace

class TestPictures : public QObject
{
    Q_OBJECT

private slots:
    void sizes_data();
    void sizes();
    void transparentBackground_data();
    void transparentBackground();
    void lensFront_data();
    void lensFront();
    void convergingBeam_data();
    void convergingBeam();
    void divergingBeam_data();
    void divergingBeam();
    void diagramIsOpaquePaletteImage();
    void diagramHousingFrontFace();
};

void TestPictures::sizes_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("size");
    const struct
    {
        const char *name;
        QSize size;
        bool doubled;
    } files[] = {
        {"beam_converging", {674, 109}, true}, {"beam_diverging", {674, 109}, true},
        {"diagram", {674, 187}, false},        {"logo", {200, 64}, true},
        {"logo_large", {319, 96}, true},       {"opticcalc", {256, 256}, false},
        {"icon_calc", {16, 16}, true},         {"icon_print", {16, 16}, true},
        {"icon_export", {16, 16}, true},       {"icon_newrow", {16, 16}, true},
        {"icon_clear", {16, 16}, true},        {"icon_totable", {16, 16}, true},
        {"icon_deutsch", {16, 16}, true},      {"icon_english", {16, 16}, true},
        {"icon_info", {16, 16}, true},
    };
    for (const auto &f : files) {
        const QString name = QString::fromLatin1(f.name);
        QTest::addRow("%s", f.name) << name + ".png" << f.size;
        if (f.doubled) {
            QTest::addRow("%s@2x-is-double", f.name) << name + "@2x.png" << f.size * 2;
        }
    }
}

void TestPictures::sizes()
{
    QFETCH(QString, name);
    QFETCH(QSize, size);
    QImageReader reader(ImagePath(name));
    QVERIFY2(reader.canRead(), qPrintable(ImagePath(name)));
    QCOMPARE(reader.size(), size);
}

void TestPictures::transparentBackground_data()
{
    QTest::addColumn<QString>("name");
    for (const char *name : {"beam_converging", "beam_diverging", "logo", "logo_large", "icon_calc",
                             "icon_print", "icon_export", "icon_newrow", "icon_clear",
                             "icon_totable", "icon_deutsch", "icon_english", "icon_info"}) {
        QTest::addRow("%s", name) << QString::fromLatin1(name) + ".png";
        QTest::addRow("%s@2x", name) << QString::fromLatin1(name) + "@2x.png";
    }
}

void TestPictures::transparentBackground()
{
    QFETCH(QString, name);
    const QImage image = LoadArgb(name);
    QVERIFY(QImage(ImagePath(name)).hasAlphaChannel());
    const int right = image.width() - 1;
    const int bottom = image.height() - 1;
    const bool clearCorner = qAlpha(image.pixel(0, 0)) == 0 || qAlpha(image.pixel(right, 0)) == 0 ||
                             qAlpha(image.pixel(0, bottom)) == 0 ||
                             qAlpha(image.pixel(right, bottom)) == 0;
    QVERIFY2(clearCorner, "the background shows through at a corner");
}

void TestPictures::lensFront_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("scale");
    QTest::addRow("converging") << "beam_converging.png" << 1;
    QTest::addRow("converging@2x") << "beam_converging@2x.png" << 2;
    QTest::addRow("diverging") << "beam_diverging.png" << 1;
    QTest::addRow("diverging@2x") << "beam_diverging@2x.png" << 2;
}

// On the axis the opaque lens ends at column 288; from there on only the
// translucent beam is drawn.
void TestPictures::lensFront()
{
    QFETCH(QString, name);
    QFETCH(int, scale);
    const QImage image = LoadArgb(name);
    const int axis = image.height() / 2;
    QCOMPARE(qAlpha(image.pixel(287 * scale - 1, axis)), 255);
    for (int x = 289 * scale; x < image.width(); ++x) {
        QVERIFY2(qAlpha(image.pixel(x, axis)) < 255, qPrintable(QString::number(x)));
    }
}

void TestPictures::convergingBeam_data()
{
    QTest::addColumn<int>("scale");
    QTest::addRow("1x") << 1;
    QTest::addRow("2x") << 2;
}

// Widest at the lens front, narrowest at the focus, widening again to the
// right edge, and centred on the axis.
void TestPictures::convergingBeam()
{
    QFETCH(int, scale);
    const QImage image = LoadArgb(scale == 1 ? QStringLiteral("beam_converging.png")
                                             : QStringLiteral("beam_converging@2x.png"));
    const std::vector<int> e = Extents(image);
    const int first = 289 * scale;
    const int last = 673 * scale - 1;

    int narrowest = e[size_t(first)];
    for (int x = first; x <= last; ++x) {
        narrowest = std::min(narrowest, e[size_t(x)]);
    }
    int runStart = -1;
    int runEnd = -1;
    for (int x = first; x <= last; ++x) {
        if (e[size_t(x)] == narrowest) {
            runEnd = x;
            if (runStart < 0) {
                runStart = x;
            }
        }
    }
    const double focus = (runStart + runEnd) / 2.0 / scale;
    QVERIFY2(std::abs(focus - 480) <= 1, qPrintable(QString::number(focus)));
    QVERIFY2((runEnd - runStart) / scale <= 4, "the waist is a point, not a stretch");

    const int focusColumn = (runStart + runEnd) / 2;
    for (int x = first + 1; x <= focusColumn; ++x) {
        QVERIFY2(e[size_t(x)] <= e[size_t(x - 1)], qPrintable(QString::number(x)));
    }
    for (int x = focusColumn + 1; x <= last; ++x) {
        QVERIFY2(e[size_t(x)] >= e[size_t(x - 1)], qPrintable(QString::number(x)));
    }
    QVERIFY(e[size_t(first)] > narrowest + 40 * scale);
    QVERIFY(e[size_t(last)] > narrowest + 40 * scale);

    for (int x = first; x <= last; ++x) {
        const Span span = ColumnSpan(image, x);
        QVERIFY2(std::abs(span.top + span.bottom - (image.height() - 1)) <= 1,
                 qPrintable(QString::number(x)));
    }
}

void TestPictures::divergingBeam_data()
{
    convergingBeam_data();
}

void TestPictures::divergingBeam()
{
    QFETCH(int, scale);
    const QImage image = LoadArgb(scale == 1 ? QStringLiteral("beam_diverging.png")
                                             : QStringLiteral("beam_diverging@2x.png"));
    const std::vector<int> e = Extents(image);
    const int first = 288 * scale;
    const int last = image.width() - 1;
    for (int x = first + 1; x <= last; ++x) {
        QVERIFY2(e[size_t(x)] >= e[size_t(x - 1)], qPrintable(QString::number(x)));
    }
    QVERIFY(e[size_t(last)] > e[size_t(first)] + 20 * scale);
    QVERIFY(e[size_t(last)] < image.height());
}

// The report draws the diagram as an opaque 8-bit image with a colour table.
void TestPictures::diagramIsOpaquePaletteImage()
{
    const QImage image(ImagePath(QStringLiteral("diagram.png")));
    QCOMPARE(image.size(), QSize(674, 187));
    QCOMPARE(image.format(), QImage::Format_Indexed8);
    QVERIFY(image.colorCount() > 1);
    QVERIFY(image.colorCount() <= 256);
    for (const QRgb colour : image.colorTable()) {
        QCOMPARE(qAlpha(colour), 255);
    }
    QCOMPARE(image.pixel(0, 0), qRgb(255, 255, 255));
    QCOMPARE(image.pixel(673, 186), qRgb(255, 255, 255));
}

// Distances are dimensioned from the housing's front face at columns 254 and
// 255, with the beam picture 40 rows down.
void TestPictures::diagramHousingFrontFace()
{
    const QImage image(ImagePath(QStringLiteral("diagram.png")));
    const int axis = 40 + 109 / 2;
    for (int x : {254, 255}) {
        for (int y = axis - 30; y <= axis + 30; ++y) {
            QVERIFY2(qGray(image.pixel(x, y)) < 100,
                     qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
        }
    }
    QVERIFY(qGray(image.pixel(253, axis)) > qGray(image.pixel(254, axis)) + 30);
}

QTEST_GUILESS_MAIN(TestPictures)
#include "tst_pictures.moc"
