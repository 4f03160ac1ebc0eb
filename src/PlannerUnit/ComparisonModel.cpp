#include "PlannerUnit/ComparisonModel.h"

#include "PlannerUnit/InputLines.h"
#include "PlannerUnit/PlannerFormat.h"
#include "shared/Cp1252.h"
#include "shared/CsvWriter.h"

#include <QColor>
#include <QFont>

namespace {

const QColor BestBackground(222, 244, 222);

QString Optional(const std::optional<double> &value, QString (*format)(double))
{
    return value ? format(*value) : QString();
}

// The unit's own numbers, as rows of the file or of the table.
struct Cells
{
    const PlannerInput &Input;
    const PlannerResults &Results;
    const TPlannerTexts &Texts;

    QString Length(const std::optional<double> &value) const
    {
        return value ? FormatLength(*value, Input.Unit) : QString();
    }

    QString Range(const TargetFit &range) const
    {
        const RangeTexts ends = FormatRange(range, Input.Unit);
        return ends.Near + QStringLiteral(" \u2013 ") + ends.Far;
    }

    QString Text(TComparisonModel::Column column, int row) const
    {
        const PlannerRow &r = Results.Rows[std::size_t(row)];
        switch (column) {
        case TComparisonModel::OpticsColumn:
            return QString::fromStdString(Input.Optics[std::size_t(row)].Name);
        case TComparisonModel::SpotColumn:
            return Length(r.Spot);
        case TComparisonModel::SurfaceColumn:
            return Length(r.SpotSurface);
        case TComparisonModel::RatioColumn:
            return Optional(r.RatioAtDistance, FormatRatio);
        case TComparisonModel::RatioFocusColumn:
            return Optional(r.RatioAtFocus, FormatRatio);
        case TComparisonModel::RatioFarColumn:
            return Optional(r.RatioFarField, FormatRatio);
        case TComparisonModel::FitsColumn:
            return r.Figure ? Texts[r.Fits() ? PlannerText::Yes : PlannerText::No] : QString();
        case TComparisonModel::FigureColumn:
            return Optional(r.Figure, FormatFigure);
        case TComparisonModel::RangeColumn:
            if (!r.Range)
                return {};
            if (!r.Range->Any)
                return Texts[PlannerText::None];
            return Range(*r.Range);
        case TComparisonModel::BestColumn:
            return row == Results.Best ? Texts[PlannerText::Best] : QString();
        case TComparisonModel::ColumnCount:
            break;
        }
        return {};
    }

    QString Header(TComparisonModel::Column column) const
    {
        const QString unit = QStringLiteral(" [") + UnitName(Input.Unit) + u']';
        switch (column) {
        case TComparisonModel::OpticsColumn:
            return Texts[PlannerText::HeadOptics];
        case TComparisonModel::SpotColumn:
            return Texts[PlannerText::HeadSpot] + unit;
        case TComparisonModel::SurfaceColumn:
            return Texts[PlannerText::HeadSurface] + unit;
        case TComparisonModel::RatioColumn:
            return Texts[PlannerText::HeadRatio];
        case TComparisonModel::RatioFocusColumn:
            return Texts[PlannerText::HeadRatioFocus];
        case TComparisonModel::RatioFarColumn:
            return Texts[PlannerText::HeadRatioFar];
        case TComparisonModel::FitsColumn:
            return Texts[PlannerText::HeadFits];
        case TComparisonModel::FigureColumn:
            return Texts[PlannerText::HeadFigure];
        case TComparisonModel::RangeColumn:
            return Texts[PlannerText::HeadRange] + unit;
        case TComparisonModel::BestColumn:
            return Texts[PlannerText::HeadBest];
        case TComparisonModel::ColumnCount:
            break;
        }
        return {};
    }
};

} // namespace

void TComparisonModel::SetPlan(const PlannerInput &input, const PlannerResults &results)
{
    // With the same rows only the cells change; a reset would lose the view's
    // selection and scroll position on every typed character.
    const bool sameRows = results.Rows.size() == FResults.Rows.size();
    if (!sameRows)
        beginResetModel();
    FInput = input;
    FResults = results;
    if (!sameRows) {
        endResetModel();
        return;
    }
    emit headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1);
    if (!FResults.Rows.empty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
}

void TComparisonModel::SetTexts(const TPlannerTexts &texts)
{
    FTexts = texts;
    emit headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1);
    if (!FResults.Rows.empty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
}

int TComparisonModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(FResults.Rows.size());
}

int TComparisonModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QString TComparisonModel::CellText(int column, int row) const
{
    return Cells{FInput, FResults, FTexts}.Text(Column(column), row);
}

QString TComparisonModel::HeaderText(int column) const
{
    return Cells{FInput, FResults, FTexts}.Header(Column(column));
}

QVariant TComparisonModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const bool best = index.row() == FResults.Best;
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return CellText(index.column(), index.row());
    case Qt::DecorationRole:
        if (index.column() == OpticsColumn)
            return QColor::fromRgb(FInput.Optics[std::size_t(index.row())].Colour);
        return {};
    case Qt::TextAlignmentRole:
        if (index.column() == OpticsColumn)
            return QVariant(Qt::AlignLeft | Qt::AlignVCenter);
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    case Qt::FontRole:
        if (best) {
            QFont font;
            font.setBold(true);
            return font;
        }
        return {};
    case Qt::BackgroundRole:
        return best ? QVariant(BestBackground) : QVariant();
    default:
        return {};
    }
}

QVariant TComparisonModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    // The unit below the name keeps the columns narrow enough for every
    // one of them to show at the default size, in German too.
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return HeaderText(section).replace(QStringLiteral(" ["), QStringLiteral("\n["));
    if (orientation == Qt::Horizontal && role == Qt::AccessibleTextRole)
        return HeaderText(section);
    if (orientation == Qt::Vertical && role == Qt::DisplayRole)
        return section + 1;
    return {};
}

QByteArray ComparisonCsv(const PlannerInput &input, const PlannerResults &results,
                         const TPlannerTexts &texts, char decimalSeparator)
{
    const Cells cells{input, results, texts};
    using M = TComparisonModel;
    // The range takes two columns in the file, so a spreadsheet can reckon
    // with its ends.
    const M::Column columns[] = {M::OpticsColumn, M::SpotColumn,       M::SurfaceColumn,
                                 M::RatioColumn,  M::RatioFocusColumn, M::RatioFarColumn,
                                 M::FitsColumn,   M::FigureColumn,     M::RangeColumn,
                                 M::RangeColumn,  M::BestColumn};
    constexpr int columnCount = int(std::size(columns));
    constexpr int fromColumn = 8;
    const QString separator = FromCp1252(QByteArray(1, decimalSeparator));
    const QString unit = QStringLiteral(" [") + UnitName(input.Unit) + u']';

    const auto cell = [&](int column, int row) -> QString {
        const M::Column which = columns[column];
        if (row == 0) {
            if (which == M::RangeColumn)
                return texts[column == fromColumn ? PlannerText::HeadFrom : PlannerText::HeadTo] +
                       unit;
            return cells.Header(which);
        }
        const int index = row - 1;
        const PlannerRow &r = results.Rows[std::size_t(index)];
        QString text;
        if (which == M::RangeColumn) {
            if (r.Range && !r.Range->Any)
                return column == fromColumn ? texts[PlannerText::None] : QString();
            if (r.Range) {
                const RangeTexts ends = FormatRange(*r.Range, input.Unit);
                text = column == fromColumn ? ends.Near : ends.Far;
            }
        } else {
            text = cells.Text(which, index);
        }
        // Names and words keep their points; only numbers take the regional
        // separator.
        const bool number =
            which != M::OpticsColumn && which != M::FitsColumn && which != M::BestColumn;
        return number ? text.replace(u'.', separator) : text;
    };
    return InputLinesCsv(input, texts, decimalSeparator) +
           BuildCsv(columnCount, int(results.Rows.size()) + 1, cell, ';', nullptr);
}
