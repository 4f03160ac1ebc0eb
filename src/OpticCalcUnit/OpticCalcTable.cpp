// The results table, its CSV export and the printed report of the calculator
// window.
#include "OpticCalcUnit/OpticCalcForm.h"

#include "NumberText.h"
#include "OpticCalcUnit/KeyFilter.h"
#include "OpticCalcUnit/ReportRenderer.h"
#include "shared/Cp1252.h"
#include "shared/CsvWriter.h"
#include "shared/PlainText.h"
#include "shared/SafePrint.h"
#include "shared/SaveDialog.h"

#include <QPrintDialog>
#include <QPrinter>

namespace {

// The application has one printer: the settings chosen in one dialog are
// the ones the next dialog opens with.
std::unique_ptr<QPrinter> &ApplicationPrinter()
{
    static auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return printer;
}

} // namespace

void TOpticCalcForm::NewRowButtonClick()
{
    Grid->InsertRows(Grid->RowCount(), 1);
}

void TOpticCalcForm::ToTableButtonClick()
{
    // A programmatic click: runs also while NewRowButton is disabled.
    NewRowButtonClick();
    const int row = Grid->RowCount() - 1;
    Grid->SetCell(0, row, A2Edit->text());
    Grid->SetCell(1, row, M2Edit->text());
}

void TOpticCalcForm::GridClearButtonClick()
{
    if (Grid->RowCount() > 1)
        Grid->RemoveRows(1, Grid->RowCount() - 1);
}

void TOpticCalcForm::CalcButtonClick()
{
    ReadBasicData();
    for (int row = 1; row < Grid->RowCount(); ++row) {
        const float distance = ParseNumberOrMinusOne(AnsiText(Grid->Cell(0, row)));
        if (distance < 0)
            continue;
        // A rejected row gets no spot rather than the spot of an earlier row.
        const bool accepted = CalcSpot(CalcButton, distance);
        Grid->SetCell(1, row,
                      accepted ? QString::fromStdString(FormatNumber(FCalcSpot)) : QString());
    }
}

void TOpticCalcForm::GridGridHint(int /*row*/, int column, QString &hint)
{
    hint = column == 0 ? FHintDistance : FHintSpot;
}

// ------------------------------------------------------------------ export

std::optional<QString> TOpticCalcForm::RunExportDialog()
{
    const std::optional<QString> path = AskSaveFile(this, QStringLiteral("CSV File (*.csv)"),
                                                    QStringLiteral("csv"), FLastExportFile);
    if (path)
        FLastExportFile = *path;
    return path;
}

void TOpticCalcForm::ExportButtonClick()
{
    const std::optional<QString> path = AskExportPath ? AskExportPath() : RunExportDialog();
    if (!path)
        return;
    const QByteArray bytes = BuildCsv(
        2, Grid->RowCount(), [this](int column, int row) { return Grid->Cell(column, row); }, ';',
        [this](int column, int row, QString &value) { GridSaveCell(column, row, value); });
    WriteFileAtomically(*path, bytes);
}

void TOpticCalcForm::GridSaveCell(int /*column*/, int row, QString &value)
{
    if (row > 0)
        value.replace(u'.', FromCp1252(QByteArray(1, FSavedDecimalSeparator)));
}

// ------------------------------------------------------------------- print

void TOpticCalcForm::PrintButtonClick()
{
    QPrinter &printer = *ApplicationPrinter();
    const bool confirmed =
        AskPrinter ? AskPrinter(printer) : QPrintDialog(&printer, this).exec() == QDialog::Accepted;
    if (!confirmed)
        return;

    ReportData data;
    data.Caption = CaptionOfWindowTitle(windowTitle());
    data.PrintHeading = FPrintHeading;
    data.CalcValuesHeading = FCalcValuesHeading;
    data.SpotName = Label3->text();
    data.DistanceName = Label2->text();
    data.ApertureName = Label1->text();
    data.SpotValue = MEdit->text();
    data.DistanceValue = AEdit->text();
    data.ApertureValue = DEdit->text();
    data.Header0 = Grid->Cell(0, 0);
    data.Header1 = Grid->Cell(1, 0);
    for (int row = 1; row < Grid->RowCount(); ++row)
        data.Rows.append({Grid->Cell(0, row), Grid->Cell(1, row)});
    LoadHiddenPictures();
    data.Diagram = Image2->pixmap().toImage();
    PrintKeepingPrinter(ApplicationPrinter(), [&](QPrinter &job) { PrintReport(job, data); });
}
