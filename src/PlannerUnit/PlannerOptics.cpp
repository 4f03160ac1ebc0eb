// The planner's optics list.
#include "PlannerUnit/PlannerForm.h"

#include "PlannerUnit/PlannerFormat.h"
#include "shared/PlainText.h"

#include <QColorDialog>
#include <QScopedValueRollback>

#include <cmath>

namespace {

const QColor ProblemBackground(255, 222, 222);
const QColor ReadOnlyText(90, 90, 110);

// Distinct on white; the first is the calculator's red line.
constexpr QRgb Palette[MaxPlannerOptics] = {0xd62728, 0x1f77b4, 0x2ca02c, 0xff7f0e,
                                            0x9467bd, 0x8c564b, 0xe377c2, 0x17becf};
constexpr int NameColumn = 0;
constexpr int ColourColumn = 4;

} // namespace

std::optional<float> TPlannerForm::OpticsEntry::Value(int index) const
{
    const std::optional<double> &value = Data[index].Reading.Value;
    return value ? std::optional<float>(float(*value)) : std::nullopt;
}

void TPlannerForm::SetCalculatorOptics(const SpotOptics &optics)
{
    OpticsEntry &entry = FOptics.front();
    const float values[DataColumns] = {optics.M90, optics.A, optics.D};
    for (int i = 0; i < DataColumns; ++i) {
        // The calculator's data are shown as they are, whatever their size.
        const bool valid = values[i] > 0 && std::isfinite(values[i]);
        TypedLength &data = entry.Data[i];
        data.Text = valid ? FormatEditableLength(values[i], LengthUnit::Millimetre) : QString();
        data.Unit = LengthUnit::Millimetre;
        data.Reading = valid ? FieldReading{double(values[i]), std::nullopt}
                             : FieldReading{std::nullopt, FieldProblem::NotPositive};
    }
    FillOpticsRow(0);
    Recalculate();
}

void TPlannerForm::OpticsTableItemChange(QTableWidgetItem *item)
{
    if (FFilling || item->row() <= 0 || item->row() >= int(FOptics.size()))
        return;
    OpticsEntry &entry = FOptics[std::size_t(item->row())];
    if (item->column() == NameColumn)
        entry.Name = item->text();
    else if (item->column() <= DataColumns)
        entry.Data[item->column() - 1].Type(item->text(), FUnit);
    else
        return;
    FillOpticsRow(item->row());
    Recalculate();
}

void TPlannerForm::FillOpticsTable()
{
    const QString unit = QStringLiteral(" [") + UnitName(FUnit) + u']';
    OpticsTable->setHorizontalHeaderLabels({FTexts[PlannerText::Name], QStringLiteral("M90") + unit,
                                            QStringLiteral("a") + unit, QStringLiteral("D") + unit,
                                            FTexts[PlannerText::Colour]});
    OpticsTable->setRowCount(int(FOptics.size()));
    for (int row = 0; row < int(FOptics.size()); ++row)
        FillOpticsRow(row);
    UpdateButtons();
}

void TPlannerForm::FillOpticsRow(int row)
{
    const OpticsEntry &entry = FOptics[std::size_t(row)];
    const bool fixed = row == 0;
    const QScopedValueRollback filling(FFilling, true);
    const auto cell = [&](int column) {
        QTableWidgetItem *item = OpticsTable->item(row, column);
        if (!item) {
            item = new QTableWidgetItem;
            OpticsTable->setItem(row, column, item);
        }
        Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        if (!fixed && column != ColourColumn)
            flags |= Qt::ItemIsEditable;
        item->setFlags(flags);
        item->setForeground(fixed ? QBrush(ReadOnlyText) : QBrush());
        return item;
    };
    cell(NameColumn)->setText(entry.Name);
    for (int i = 0; i < DataColumns; ++i) {
        QTableWidgetItem *item = cell(i + 1);
        const TypedLength &data = entry.Data[i];
        item->setText(data.Shown(FUnit));
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        const std::optional<FieldProblem> &problem = data.Reading.Problem;
        item->setBackground(problem ? QBrush(ProblemBackground) : QBrush());
        item->setToolTip(problem ? PlainToolTip(ProblemText(data.Reading)) : QString());
    }
    QTableWidgetItem *colour = cell(ColourColumn);
    colour->setBackground(QColor::fromRgb(entry.Colour));
    colour->setData(Qt::AccessibleTextRole, QColor::fromRgb(entry.Colour).name());
}

int TPlannerForm::SelectedRow() const
{
    return OpticsTable->currentRow();
}

void TPlannerForm::UpdateButtons()
{
    const bool room = FOptics.size() < std::size_t(MaxPlannerOptics);
    AddButton->setEnabled(room);
    DuplicateButton->setEnabled(room && SelectedRow() >= 0);
    RemoveButton->setEnabled(SelectedRow() > 0);
    ColourButton->setEnabled(SelectedRow() > 0);
    DataSheetButton->setEnabled(room);
    // A disabled button says why it is.
    const QString full =
        room
            ? QString()
            : PlainToolTip(FTexts[PlannerText::ListFull].arg(FOptics.size()).arg(MaxPlannerOptics));
    for (QPushButton *button : {AddButton, DuplicateButton, DataSheetButton})
        button->setToolTip(full);
}

QRgb TPlannerForm::FreeColour() const
{
    for (const QRgb colour : Palette) {
        if (std::none_of(FOptics.begin(), FOptics.end(), [colour](const OpticsEntry &e) {
                return (e.Colour & 0xffffff) == colour;
            }))
            return colour;
    }
    return Palette[FOptics.size() % std::size(Palette)];
}

// The new row's name is ready for typing.
void TPlannerForm::AppendOptics(OpticsEntry entry, std::optional<QRgb> colour)
{
    entry.Colour = colour ? *colour & 0xffffff : FreeColour();
    FOptics.push_back(std::move(entry));
    FillOpticsTable();
    OpticsTable->setCurrentCell(int(FOptics.size()) - 1, NameColumn);
    OpticsTable->setFocus(Qt::OtherFocusReason);
    Recalculate();
}

void TPlannerForm::AddButtonClick()
{
    if (FOptics.size() >= std::size_t(MaxPlannerOptics))
        return;
    OpticsEntry entry;
    entry.Name = FTexts[PlannerText::NewOptics] + u' ' + QString::number(FOptics.size() + 1);
    AppendOptics(std::move(entry));
}

void TPlannerForm::DuplicateButtonClick()
{
    const int row = SelectedRow();
    if (FOptics.size() >= std::size_t(MaxPlannerOptics) || row < 0 || row >= int(FOptics.size()))
        return;
    OpticsEntry copy = FOptics[std::size_t(row)];
    copy.Name += QStringLiteral(" (") + QString::number(FOptics.size() + 1) + u')';
    AppendOptics(std::move(copy));
}

void TPlannerForm::RemoveButtonClick()
{
    const int row = SelectedRow();
    if (row <= 0 || row >= int(FOptics.size()))
        return;
    FOptics.erase(FOptics.begin() + row);
    FillOpticsTable();
    OpticsTable->setCurrentCell(std::min(row, int(FOptics.size()) - 1), NameColumn);
    Recalculate();
}

void TPlannerForm::ColourButtonClick()
{
    const int row = SelectedRow();
    if (row <= 0 || row >= int(FOptics.size()))
        return;
    OpticsEntry &entry = FOptics[std::size_t(row)];
    const QColor current = QColor::fromRgb(entry.Colour);
    std::optional<QColor> chosen;
    if (AskColour) {
        chosen = AskColour(current);
    } else {
        const QColor picked = QColorDialog::getColor(current, this);
        if (picked.isValid())
            chosen = picked;
    }
    if (!chosen)
        return;
    entry.Colour = chosen->rgb() & 0xffffff;
    FillOpticsRow(row);
    Recalculate();
}
