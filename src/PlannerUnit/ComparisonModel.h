#pragma once

#include "Planner.h"
#include "PlannerUnit/PlannerTexts.h"

#include <QAbstractTableModel>
#include <QByteArray>

// The comparison table over the planner's result rows: one row per optics,
// the best fit in bold on a tinted background and named in its last column.
class TComparisonModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column
    {
        OpticsColumn,
        SpotColumn,
        SurfaceColumn,
        RatioColumn,
        RatioFocusColumn,
        RatioFarColumn,
        FitsColumn,
        FigureColumn,
        RangeColumn,
        BestColumn,
        ColumnCount
    };

    using QAbstractTableModel::QAbstractTableModel;

    void SetPlan(const PlannerInput &input, const PlannerResults &results);
    void SetTexts(const TPlannerTexts &texts);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The text a cell shows; "." as the decimal point.
    QString CellText(int column, int row) const;
    QString HeaderText(int column) const;

private:
    PlannerInput FInput;
    PlannerResults FResults;
    TPlannerTexts FTexts;
};

// The comparison as a CSV file: the inputs it answers, then the table's
// columns with the range split into its two ends, the unit in the headers,
// ";" between cells, decimalSeparator in the numbers, Windows-1252, CR LF.
QByteArray ComparisonCsv(const PlannerInput &input, const PlannerResults &results,
                         const TPlannerTexts &texts, char decimalSeparator);
