#include "Artwork.h"

#include <QHash>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

struct Entry
{
    QRgb rgb;
    qint64 count;
};

int Channel(QRgb rgb, int c)
{
    return c == 0 ? qRed(rgb) : (c == 1 ? qGreen(rgb) : qBlue(rgb));
}

struct Box
{
    std::vector<Entry> entries;

    qint64 Weight() const
    {
        qint64 w = 0;
        for (const Entry &e : entries) {
            w += e.count;
        }
        return w;
    }

    // Widest channel and its range.
    std::pair<int, int> Spread() const
    {
        int best = 0;
        int bestRange = -1;
        for (int c = 0; c < 3; ++c) {
            int lo = 255;
            int hi = 0;
            for (const Entry &e : entries) {
                lo = std::min(lo, Channel(e.rgb, c));
                hi = std::max(hi, Channel(e.rgb, c));
            }
            if (hi - lo > bestRange) {
                bestRange = hi - lo;
                best = c;
            }
        }
        return {best, bestRange};
    }

    QRgb Mean() const
    {
        double r = 0;
        double g = 0;
        double b = 0;
        double w = 0;
        for (const Entry &e : entries) {
            r += double(qRed(e.rgb)) * double(e.count);
            g += double(qGreen(e.rgb)) * double(e.count);
            b += double(qBlue(e.rgb)) * double(e.count);
            w += double(e.count);
        }
        return qRgb(int(std::lround(r / w)), int(std::lround(g / w)), int(std::lround(b / w)));
    }
};

int Distance(QRgb a, QRgb b)
{
    const int dr = qRed(a) - qRed(b);
    const int dg = qGreen(a) - qGreen(b);
    const int db = qBlue(a) - qBlue(b);
    // Green weighs most for the eye; keeps grey ramps from drifting in hue.
    return 3 * dr * dr + 4 * dg * dg + 2 * db * db;
}

} // namespace

QImage ToIndexed8(const QImage &image)
{
    const QImage src = image.convertToFormat(QImage::Format_RGB32);
    QHash<QRgb, qint64> histogram;
    for (int y = 0; y < src.height(); ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(src.constScanLine(y));
        for (int x = 0; x < src.width(); ++x) {
            ++histogram[line[x] | 0xff000000u];
        }
    }

    // Colours that cover much of the picture (paper white, line black, flat
    // fills) keep their exact value; the rest share the remaining freeSlots.
    // Sorted, so the same picture always gives the same file (QHash order
    // changes from run to run).
    std::vector<Entry> colours;
    for (auto it = histogram.cbegin(); it != histogram.cend(); ++it) {
        colours.push_back({it.key(), it.value()});
    }
    std::sort(colours.begin(), colours.end(),
              [](const Entry &a, const Entry &b) { return a.rgb < b.rgb; });

    const qint64 pixels = qint64(src.width()) * src.height();
    QList<QRgb> palette;
    std::vector<Entry> rest;
    for (const Entry &e : colours) {
        if (e.count * 200 >= pixels && palette.size() < 32) {
            palette.append(e.rgb);
        } else {
            rest.push_back(e);
        }
    }

    std::vector<Box> boxes;
    if (!rest.empty()) {
        boxes.push_back({rest});
    }
    const size_t freeSlots = 256 - size_t(palette.size());
    while (boxes.size() < freeSlots) {
        // Split the box where a wide colour range meets many pixels.
        double bestScore = 0;
        size_t bestIndex = boxes.size();
        for (size_t i = 0; i < boxes.size(); ++i) {
            if (boxes[i].entries.size() < 2) {
                continue;
            }
            const int range = boxes[i].Spread().second;
            const double score = double(range) * std::sqrt(double(boxes[i].Weight()));
            if (score > bestScore) {
                bestScore = score;
                bestIndex = i;
            }
        }
        if (bestIndex == boxes.size()) {
            break;
        }
        Box &box = boxes[bestIndex];
        const int c = box.Spread().first;
        std::stable_sort(
            box.entries.begin(), box.entries.end(),
            [c](const Entry &a, const Entry &b) { return Channel(a.rgb, c) < Channel(b.rgb, c); });
        const qint64 half = box.Weight() / 2;
        qint64 acc = 0;
        size_t cut = 1;
        for (; cut < box.entries.size() - 1; ++cut) {
            acc += box.entries[cut - 1].count;
            if (acc >= half) {
                break;
            }
        }
        Box upper{std::vector<Entry>(box.entries.begin() + std::ptrdiff_t(cut), box.entries.end())};
        box.entries.resize(cut);
        boxes.push_back(std::move(upper));
    }
    for (const Box &box : boxes) {
        palette.append(box.Mean());
    }

    QHash<QRgb, uchar> index;
    for (auto it = histogram.cbegin(); it != histogram.cend(); ++it) {
        int best = 0;
        int bestDistance = Distance(it.key(), palette.at(0));
        for (int i = 1; i < palette.size() && bestDistance > 0; ++i) {
            const int d = Distance(it.key(), palette.at(i));
            if (d < bestDistance) {
                bestDistance = d;
                best = i;
            }
        }
        index.insert(it.key(), uchar(best));
    }

    QImage out(src.size(), QImage::Format_Indexed8);
    out.setColorTable(palette);
    for (int y = 0; y < src.height(); ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(src.constScanLine(y));
        uchar *dst = out.scanLine(y);
        for (int x = 0; x < src.width(); ++x) {
            dst[x] = index.value(line[x] | 0xff000000u);
        }
    }
    return out;
}
