#include "PlannerUnit/DecisionSheet.h"

#include "PlannerUnit/PlannerFormat.h"
#include "PlannerUnit/PlannerSummary.h"
#include "shared/SafePrint.h"

#include <QAbstractItemModel>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainter>
#include <QPrinter>

namespace {

const QColor Ink(30, 30, 30);
const QColor Rule(150, 150, 160);
const QColor HeaderBackground(238, 238, 243);
constexpr double RowHeight = 19;
constexpr double CellPadding = 4;

QFont SheetFont(int pixels, bool bold)
{
    QFont font = QGuiApplication::font();
    // Pixels of 1/96 inch, scaled with the page: a point size would be taken
    // at the printer's resolution and scaled a second time.
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

// Draws text at the top of the rest of the page and returns the height used.
double Heading(QPainter &painter, const QRectF &area, const QString &text)
{
    painter.setFont(SheetFont(15, true));
    const double height = QFontMetricsF(painter.font()).height();
    painter.drawText(QRectF(area.left(), area.top(), area.width(), height),
                     Qt::AlignLeft | Qt::AlignVCenter, text);
    return height + 4;
}

double DrawInputs(QPainter &painter, const QRectF &area, const QList<InputLine> &inputs)
{
    double y = area.top();
    painter.setFont(SheetFont(12, false));
    for (const InputLine &line : inputs) {
        const QString unit =
            line.Unit == QStringLiteral("°") || line.Unit.isEmpty() ? line.Unit : u' ' + line.Unit;
        const QString value = line.Value.isEmpty() ? QStringLiteral("\u2013") : line.Value + unit;
        painter.drawText(QRectF(area.left(), y, 220, RowHeight), Qt::AlignLeft | Qt::AlignVCenter,
                         line.Label + u':');
        painter.drawText(QRectF(area.left() + 220, y, area.width() - 220, RowHeight),
                         Qt::AlignLeft | Qt::AlignVCenter, value);
        y += RowHeight;
    }
    return y - area.top();
}

// Each column as wide as its widest value or header word, the rest of the
// width shared out in proportion; a table too wide shrinks the same way.
std::vector<double> ColumnWidths(const DecisionSheetData &data, double available)
{
    // Bold for all: the header is bold, and so is the best row.
    const QFontMetricsF metrics(SheetFont(10, true));
    std::vector<double> widths(std::size_t(data.Headers.size()), 0.0);
    double total = 0;
    for (std::size_t c = 0; c < widths.size(); ++c) {
        for (const QString &word : data.Headers[qsizetype(c)].split(u' '))
            widths[c] = std::max(widths[c], metrics.horizontalAdvance(word));
        for (const QStringList &row : data.Rows)
            widths[c] = std::max(widths[c], metrics.horizontalAdvance(row.value(qsizetype(c))));
        // Room for the colour swatch before the name.
        widths[c] += 2 * CellPadding + (c == 0 ? 12 : 0);
        total += widths[c];
    }
    for (double &width : widths)
        width *= available / std::max(total, 1.0);
    return widths;
}

double DrawTable(QPainter &painter, const QRectF &area, const DecisionSheetData &data)
{
    const int columns = int(data.Headers.size());
    if (columns == 0)
        return 0;
    const std::vector<double> widths = ColumnWidths(data, area.width());
    std::vector<double> lefts{area.left()};
    for (const double width : widths)
        lefts.push_back(lefts.back() + width);
    const auto cell = [&](int column, double y, double height) {
        return QRectF(lefts[std::size_t(column)] + CellPadding, y,
                      widths[std::size_t(column)] - 2 * CellPadding, height);
    };

    painter.setFont(SheetFont(10, true));
    const QFontMetricsF headerMetrics(painter.font());
    double headerHeight = RowHeight;
    for (int c = 0; c < columns; ++c)
        headerHeight =
            std::max(headerHeight,
                     headerMetrics.boundingRect(cell(c, 0, 1000), Qt::TextWordWrap, data.Headers[c])
                             .height() +
                         6);
    double y = area.top();
    painter.fillRect(QRectF(area.left(), y, area.width(), headerHeight), HeaderBackground);
    for (int c = 0; c < columns; ++c)
        painter.drawText(cell(c, y, headerHeight),
                         (c == 0 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter |
                             Qt::TextWordWrap,
                         data.Headers[c]);
    y += headerHeight;
    painter.setPen(QPen(Rule, 0.8));
    painter.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));

    for (int r = 0; r < int(data.Rows.size()); ++r) {
        const QRectF band(area.left(), y, area.width(), RowHeight);
        if (r < data.Highlights.size() && data.Highlights[r].isValid())
            painter.fillRect(band, data.Highlights[r]);
        const bool bold = r < data.Bold.size() && data.Bold[r];
        painter.setFont(SheetFont(10, bold));
        painter.setPen(Ink);
        const QStringList &row = data.Rows[r];
        for (int c = 0; c < columns && c < row.size(); ++c) {
            QRectF rect = cell(c, y, RowHeight);
            if (c == 0 && r < data.Swatches.size()) {
                painter.fillRect(QRectF(rect.left(), y + 5.5, 8, 8), data.Swatches[r]);
                rect.setLeft(rect.left() + 12);
            }
            const QString text =
                QFontMetricsF(painter.font()).elidedText(row[c], Qt::ElideRight, rect.width());
            painter.drawText(rect, (c == 0 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter,
                             text);
        }
        y += RowHeight;
    }
    painter.setPen(QPen(Rule, 0.8));
    painter.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
    painter.setPen(Ink);
    return y - area.top();
}

} // namespace

DecisionSheetData GatherDecisionSheet(const ChartData &chart, const QAbstractItemModel &comparison,
                                      const QDate &date)
{
    const TPlannerTexts &texts = chart.Texts;
    DecisionSheetData data;
    data.Title = texts[PlannerText::SheetTitle];
    data.Date = date;
    data.InputsHeading = texts[PlannerText::SheetInputs];
    data.Inputs = InputLines(chart.Input, texts);
    data.ComparisonHeading = texts[PlannerText::Comparison];
    data.Summary = PlannerSummary(chart.Input, chart.Results, texts);
    data.ChartHeading = texts[PlannerText::Chart];
    data.Chart = chart;
    data.Chart.Cursor.reset();
    data.Chart.Hint.clear();
    for (int c = 0; c < comparison.columnCount(); ++c)
        // The header on one line: the page has the width the window lacks.
        data.Headers << comparison.headerData(c, Qt::Horizontal, Qt::AccessibleTextRole).toString();
    for (int r = 0; r < comparison.rowCount(); ++r) {
        QStringList row;
        for (int c = 0; c < comparison.columnCount(); ++c)
            row << comparison.index(r, c).data(Qt::DisplayRole).toString();
        data.Rows << row;
        const QModelIndex name = comparison.index(r, 0);
        data.Swatches << name.data(Qt::DecorationRole).value<QColor>();
        data.Highlights << name.data(Qt::BackgroundRole).value<QColor>();
        data.Bold << name.data(Qt::FontRole).value<QFont>().bold();
    }
    return data;
}

QImage ChartPicture(const ChartData &data, QSize size, const QFont &font, int scale)
{
    QImage image(size * scale, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::white);
    ChartData plain = data;
    plain.Cursor.reset();
    plain.Hint.clear();
    QPainter painter(&image);
    painter.setFont(font);
    DrawChart(painter, QRectF(QPointF(0, 0), QSizeF(size)), plain);
    return image;
}

void DrawDecisionSheet(QPainter &painter, const QRectF &page, const DecisionSheetData &data)
{
    painter.save();
    painter.setPen(Ink);
    double y = page.top();

    painter.setFont(SheetFont(22, true));
    const double titleHeight = QFontMetricsF(painter.font()).height();
    painter.drawText(QRectF(page.left(), y, page.width(), titleHeight),
                     Qt::AlignLeft | Qt::AlignVCenter, data.Title);
    painter.setFont(SheetFont(12, false));
    // ISO dates read the same in every language.
    painter.drawText(QRectF(page.left(), y, page.width(), titleHeight),
                     Qt::AlignRight | Qt::AlignVCenter, data.Date.toString(Qt::ISODate));
    y += titleHeight + 6;
    painter.setPen(QPen(Rule, 1));
    painter.drawLine(QPointF(page.left(), y), QPointF(page.right(), y));
    painter.setPen(Ink);
    y += 16;

    const auto rest = [&] { return QRectF(page.left(), y, page.width(), page.bottom() - y); };
    y += Heading(painter, rest(), data.InputsHeading);
    y += DrawInputs(painter, rest(), data.Inputs) + 16;
    y += Heading(painter, rest(), data.ComparisonHeading);
    painter.setFont(SheetFont(12, false));
    const QRectF summary = painter.boundingRect(rest(), Qt::TextWordWrap, data.Summary);
    painter.drawText(rest(), Qt::TextWordWrap, data.Summary);
    y += summary.height() + 6;
    y += DrawTable(painter, rest(), data) + 16;
    y += Heading(painter, rest(), data.ChartHeading);

    const double height = std::min(page.bottom() - y, page.width() * 0.7);
    if (height > 60) {
        const QRectF area(page.left(), y, page.width(), height);
        painter.setRenderHint(QPainter::LosslessImageRendering);
        painter.drawImage(area,
                          ChartPicture(data.Chart, area.size().toSize(), SheetFont(12, false), 2));
    }
    painter.restore();
}

void PrintDecisionSheet(std::unique_ptr<QPrinter> &printer, const DecisionSheetData &data)
{
    QPrinter &target = *printer;
    const bool letter = target.pageLayout().pageSize().id() == QPageSize::Letter;
    target.setPageLayout(QPageLayout(QPageSize(letter ? QPageSize::Letter : QPageSize::A4),
                                     QPageLayout::Portrait, QMarginsF(15, 15, 15, 15),
                                     QPageLayout::Millimeter));
    PrintKeepingPrinter(printer, [&](QPrinter &) {
        PrintThroughPartFile(target, [&](QPainter &painter) {
            const int resolution = target.resolution();
            const double scale = resolution / 96.0;
            const QRectF paint = target.pageLayout().paintRectPixels(resolution);
            painter.scale(scale, scale);
            DrawDecisionSheet(painter, QRectF(0, 0, paint.width() / scale, paint.height() / scale),
                              data);
        });
    });
}
