// What the planner shares: optics from data sheets, the optics file and the
// printed decision sheet.
#include "PlannerUnit/PlannerForm.h"

#include "PlannerUnit/ComparisonModel.h"
#include "PlannerUnit/DataSheetDialog.h"
#include "PlannerUnit/DecisionSheet.h"
#include "PlannerUnit/OpticsFile.h"
#include "PlannerUnit/PlannerChart.h"
#include "PlannerUnit/PlannerFormat.h"
#include "shared/CsvWriter.h"
#include "shared/ErrorReport.h"
#include "shared/Exception.h"
#include "shared/SafeFile.h"
#include "shared/SaveFolders.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>

namespace {

const QString CsvFilter = QStringLiteral("CSV File (*.csv)");

} // namespace

void TPlannerForm::DataSheetButtonClick()
{
    if (FOptics.size() >= std::size_t(MaxPlannerOptics))
        return;
    TDataSheetDialog dialog(
        FTexts, FUnit, FTexts[PlannerText::NewOptics] + u' ' + QString::number(FOptics.size() + 1),
        this);
    const bool added = RunDataSheet ? RunDataSheet(dialog) : dialog.exec() == QDialog::Accepted;
    if (!added || !dialog.Optics())
        return;
    OpticsEntry entry;
    entry.Name = dialog.Name();
    const float data[DataColumns] = {dialog.Optics()->M90, dialog.Optics()->A, dialog.Optics()->D};
    for (int i = 0; i < DataColumns; ++i)
        entry.Data[i].Type(FormatEditableLength(data[i], LengthUnit::Millimetre),
                           LengthUnit::Millimetre, DecimalMark::Point);
    AppendOptics(std::move(entry));
}

void TPlannerForm::ImportButtonClick()
{
    std::optional<QString> path;
    if (AskOpenPath)
        path = AskOpenPath(CsvFilter);
    else if (const QString chosen = QFileDialog::getOpenFileName(
                 this, QString(), FSaveFolders->StartFolder(QStringLiteral("csv")), CsvFilter);
             !chosen.isEmpty())
        path = chosen;
    if (!path)
        return;
    QFile file(*path);
    if (!file.open(QIODevice::ReadOnly))
        throw EFileError(QStringLiteral("Datei \"%1\" kann nicht gelesen werden. %2")
                             .arg(QDir::toNativeSeparators(QFileInfo(*path).absoluteFilePath()),
                                  file.errorString()));
    const OpticsImport import =
        ReadOpticsCsv(file.readAll(), MaxPlannerOptics - int(FOptics.size()), FTexts);
    for (const OpticsFileRow &row : import.Rows) {
        OpticsEntry entry;
        entry.Name = row.Name;
        for (int i = 0; i < DataColumns; ++i)
            entry.Data[i].Type(ExactLengthText(*row.Data[std::size_t(i)], LengthUnit::Millimetre),
                               LengthUnit::Millimetre, DecimalMark::Point);
        AppendOptics(std::move(entry), row.Colour);
    }
    const QString message = ImportMessage(import, FTexts);
    if (message.isEmpty())
        return;
    // A file taken whole only names its decimal mark: no warning for that.
    const bool taken =
        import.Problems.isEmpty() && import.NotFitting == 0 && import.FileProblem.isEmpty();
    if (ShowMessage)
        ShowMessage(message);
    else if (taken)
        QMessageBox::information(this, ApplicationTitle(), message);
    else
        QMessageBox::warning(this, ApplicationTitle(), message);
}

void TPlannerForm::ExportOpticsButtonClick()
{
    const std::optional<QString> path = SavePath(CsvFilter, QStringLiteral("csv"));
    if (!path)
        return;
    std::vector<OpticsFileRow> rows;
    for (std::size_t n = 1; n < FOptics.size(); ++n) {
        const OpticsEntry &entry = FOptics[n];
        rows.push_back(
            {entry.Name, {entry.Value(0), entry.Value(1), entry.Value(2)}, entry.Colour});
    }
    WriteFileAtomically(*path, OpticsCsv(rows, FUnit, FTexts, FDecimalSeparator));
}

void TPlannerForm::PrintButtonClick()
{
    if (!FPrinter)
        FPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
    const bool confirmed = AskPrinter
                               ? AskPrinter(*FPrinter)
                               : QPrintDialog(FPrinter.get(), this).exec() == QDialog::Accepted;
    if (!confirmed)
        return;
    PrintDecisionSheet(FPrinter,
                       GatherDecisionSheet(Chart->Data(), *FComparison, QDate::currentDate()));
}
