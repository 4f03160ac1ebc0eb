#include "OpticCalcUnit/ResultsGrid.h"

#include "shared/PlainText.h"

#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QScopedValueRollback>
#include <QStyledItemDelegate>
#include <QToolTip>

namespace {

const QColor ReadOnlyColour(231, 231, 247);

QTableWidgetItem *NewItem(int column, const QString &text = {})
{
    auto *item = new QTableWidgetItem(text);
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (column == 0)
        flags |= Qt::ItemIsEditable;
    item->setFlags(flags);
    return item;
}

} // namespace

// Paints the cells, hands out filtering editors and turns Enter in an editor into
// commit-then-event.
class TResultsGridDelegate : public QStyledItemDelegate
{
public:
    explicit TResultsGridDelegate(TResultsGrid *grid) : QStyledItemDelegate(grid), FGrid(grid) {}

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &,
                          const QModelIndex &) const override
    {
        auto *editor = new TEdit(parent);
        editor->setFrame(false);
        editor->setAlignment(Qt::AlignCenter);
        QPalette pal = editor->palette();
        pal.setColor(QPalette::Base, Qt::white);
        editor->setPalette(pal);
        TResultsGrid *grid = FGrid;
        editor->OnKeyPress = [grid](char &key) {
            if (!grid->FForwardingKey)
                grid->RaiseKeyPress(key);
        };
        return editor;
    }

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        option->displayAlignment = Qt::AlignCenter;
        option->backgroundBrush = index.column() == 0 ? QColor(Qt::white) : ReadOnlyColour;
        option->state &= ~QStyle::State_Selected;
    }

    bool eventFilter(QObject *object, QEvent *event) override
    {
        auto *editor = qobject_cast<QWidget *>(object);
        if (editor && event->type() == QEvent::KeyPress &&
            IsEnterKey(*static_cast<QKeyEvent *>(event))) {
            // The handler of Enter recalculates the table, so the typed distance must already
            // be in its cell. Qt's own handling would commit only later, from the event loop.
            emit commitData(editor);
            emit closeEditor(editor, QAbstractItemDelegate::NoHint);
            char enter = 13;
            FGrid->RaiseKeyPress(enter);
            return true;
        }
        return QStyledItemDelegate::eventFilter(object, event);
    }

private:
    TResultsGrid *FGrid;
};

TResultsGrid::TResultsGrid(QWidget *parent) : QTableWidget(0, ColumnCount, parent)
{
    QFont cellFont(QStringLiteral("Tahoma"));
    cellFont.setPixelSize(11);
    setFont(cellFont);

    QPalette pal = palette();
    pal.setColor(QPalette::Base, ReadOnlyColour);
    setPalette(pal);

    // Without header items the table would number its columns.
    for (int column = 0; column < ColumnCount; ++column)
        setHorizontalHeaderItem(column, new QTableWidgetItem);
    QHeaderView *header = horizontalHeader();
    QFont headerFont = cellFont;
    headerFont.setBold(true);
    header->setFont(headerFont);
    header->setDefaultAlignment(Qt::AlignCenter);
    header->setFixedHeight(HeaderHeight);
    header->setHighlightSections(false);
    header->setSectionsClickable(false);
    header->viewport()->installEventFilter(this);

    // A fixed row height keeps inserting and scrolling cheap with very many rows.
    QHeaderView *rows = verticalHeader();
    rows->hide();
    rows->setMinimumSectionSize(1);
    rows->setDefaultSectionSize(RowHeight);
    rows->setSectionResizeMode(QHeaderView::Fixed);

    setColumnWidth(0, 40);
    setColumnWidth(1, 50);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                    QAbstractItemView::EditKeyPressed);
    setSortingEnabled(false);
    setWordWrap(false);
    setItemDelegate(new TResultsGridDelegate(this));
}

int TResultsGrid::RowCount() const
{
    return rowCount() + 1;
}

QString TResultsGrid::Cell(int column, int row) const
{
    const QTableWidgetItem *cell = nullptr;
    if (row == 0)
        cell = horizontalHeaderItem(column);
    else if (row > 0)
        cell = item(row - 1, column);
    return cell ? cell->text() : QString();
}

void TResultsGrid::SetCell(int column, int row, const QString &text)
{
    if (column < 0 || column >= columnCount() || row < 0 || row >= RowCount())
        return;
    if (row == 0) {
        if (QTableWidgetItem *header = horizontalHeaderItem(column))
            header->setText(text);
        else
            setHorizontalHeaderItem(column, new QTableWidgetItem(text));
        return;
    }
    if (QTableWidgetItem *cell = item(row - 1, column))
        cell->setText(text);
    else
        setItem(row - 1, column, NewItem(column, text));
}

void TResultsGrid::InitRow(int tableRow)
{
    for (int column = 0; column < columnCount(); ++column)
        setItem(tableRow, column, NewItem(column));
}

void TResultsGrid::InsertRows(int index, int count)
{
    if (count < 1 || index < 1 || index > RowCount())
        return;
    const int first = index - 1;
    model()->insertRows(first, count);
    for (int row = first; row < first + count; ++row)
        InitRow(row);
}

void TResultsGrid::RemoveRows(int index, int count)
{
    if (index < 1 || index >= RowCount())
        return;
    count = std::min(count, RowCount() - index);
    if (count < 1)
        return;
    if (index + count == RowCount())
        setRowCount(index - 1);
    else
        model()->removeRows(index - 1, count);
}

void TResultsGrid::SetGeneralHint(const QString &hint)
{
    FGeneralHint = hint;
    // The scroll bars and the corner are no cells either; the widget's own tool tip covers them.
    setToolTip(PlainToolTip(hint));
}

QString TResultsGrid::CellHint(int row, int column) const
{
    QString hint = FGeneralHint;
    if (OnGridHint)
        OnGridHint(row, column, hint);
    return hint;
}

QString TResultsGrid::HintAt(const QPoint &viewportPos) const
{
    const QModelIndex index = indexAt(viewportPos);
    return index.isValid() ? CellHint(index.row() + 1, index.column()) : FGeneralHint;
}

QString TResultsGrid::HeaderHintAt(const QPoint &headerPos) const
{
    const int column = horizontalHeader()->logicalIndexAt(headerPos);
    return column >= 0 ? CellHint(0, column) : FGeneralHint;
}

bool TResultsGrid::ShowHint(QEvent *event, const QString &hint, QWidget *owner)
{
    const auto *help = static_cast<QHelpEvent *>(event);
    if (hint.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(help->globalPos(), PlainToolTip(hint), owner);
    return true;
}

bool TResultsGrid::viewportEvent(QEvent *event)
{
    if (event->type() == QEvent::ToolTip)
        return ShowHint(event, HintAt(static_cast<QHelpEvent *>(event)->pos()), viewport());
    return QTableWidget::viewportEvent(event);
}

bool TResultsGrid::eventFilter(QObject *watched, QEvent *event)
{
    QWidget *headerViewport = horizontalHeader()->viewport();
    if (watched == headerViewport && event->type() == QEvent::ToolTip)
        return ShowHint(event, HeaderHintAt(static_cast<QHelpEvent *>(event)->pos()),
                        headerViewport);
    return QTableWidget::eventFilter(watched, event);
}

void TResultsGrid::RaiseKeyPress(char &key)
{
    if (OnKeyPress)
        OnKeyPress(key);
}

void TResultsGrid::keyPressEvent(QKeyEvent *event)
{
    // A key that an open editor passes up has had its turn in the editor already.
    if (state() == QAbstractItemView::EditingState) {
        QTableWidget::keyPressEvent(event);
        return;
    }
    // Enter is the recalculation key here and never opens an editor.
    DeliverFilteredKey(
        event, [this](char &key) { RaiseKeyPress(key); },
        [this](QKeyEvent *key) {
            // The editor that the table may open for this key gets it already filtered.
            const QScopedValueRollback forwarding(FForwardingKey, true);
            QTableWidget::keyPressEvent(key);
        },
        true);
}

void TResultsGrid::keyboardSearch(const QString &)
{
    // Typing on a read-only cell must not jump to another row.
}
