#pragma once

#include "OpticCalcUnit/Controls.h"

#include <QTableWidget>

#include <functional>

class TResultsGridDelegate;

// The results table: two text columns whose header row counts as grid row 0, so data row k is
// table row k - 1. Column 0 is edited in place, column 1 is read-only.
class TResultsGrid : public QTableWidget
{
    Q_OBJECT
public:
    static constexpr int ColumnCount = 2;
    static constexpr int HeaderHeight = 22;
    static constexpr int RowHeight = 18;

    explicit TResultsGrid(QWidget *parent = nullptr);

    // Data rows + 1; the header row always exists.
    int RowCount() const;
    // Row 0 is the header; a cell that was never written reads as "".
    QString Cell(int column, int row) const;
    void SetCell(int column, int row, const QString &text);
    // Inserts empty rows before grid row index (>= 1); index == RowCount() appends.
    void InsertRows(int index, int count);
    // Removes count rows from grid row index (>= 1) on; rows past the end are ignored.
    void RemoveRows(int index, int count);

    // The hint of the parts of the table that are no cell.
    void SetGeneralHint(const QString &hint);
    const QString &GeneralHint() const { return FGeneralHint; }

    // The hint shown at a point of the viewport, or of the horizontal header.
    QString HintAt(const QPoint &viewportPos) const;
    QString HeaderHintAt(const QPoint &headerPos) const;

    // Raised for every character typed into the table or a cell editor, before it takes effect.
    KeyPressEvent OnKeyPress;
    // Asked for the hint of a cell (grid row, column); hint starts as the general hint.
    std::function<void(int row, int column, QString &hint)> OnGridHint;

    void keyboardSearch(const QString &search) override;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    bool viewportEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    friend class TResultsGridDelegate;

    void RaiseKeyPress(char &key);
    QString CellHint(int row, int column) const;
    bool ShowHint(QEvent *event, const QString &hint, QWidget *owner);
    void InitRow(int tableRow);

    QString FGeneralHint;
    // Set while the table hands a key it has already filtered on to the editor it opens.
    bool FForwardingKey = false;
};
