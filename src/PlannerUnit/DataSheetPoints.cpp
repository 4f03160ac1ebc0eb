// The data-sheet dialog's spot-size diagram: the points' cells, pasting,
// the free fit and the one with the printed focus kept.
#include "PlannerUnit/DataSheetDialog.h"

#include "PastedPoints.h"
#include "PlannerUnit/PlannerFormat.h"
#include "shared/PlainText.h"

#include <cmath>

namespace {

const QColor ProblemBackground(255, 222, 222);
constexpr int DistanceColumn = 0;
constexpr int SpotColumn = 1;
constexpr int DeviationColumn = 2;

} // namespace

// Two decimals of a percent; a deviation that rounds to nothing shows no
// sign.
QString TDataSheetDialog::Percent(double fraction) const
{
    const QString text = QString::number(fraction * 100, 'f', 2);
    return text == QStringLiteral("-0.00") ? text.mid(1) : text;
}

std::optional<double> TDataSheetDialog::ReadCell(int row, int column, bool &bad)
{
    const std::string text = PointsTable->item(row, column)->text().toStdString();
    // A point may lie at the lens front.
    const FieldReading reading = ReadPlannerField(
        text, column == DistanceColumn ? FieldKind::Position : FieldKind::Length, FUnit);
    const QString reason = FieldProblemText(FTexts, reading, FUnit);
    MarkCell(row, column, reason);
    bad = bad || !reason.isEmpty();
    return reason.isEmpty() ? reading.Value : std::nullopt;
}

void TDataSheetDialog::MarkCell(int row, int column, const QString &reason)
{
    FFilling = true;
    QTableWidgetItem *item = PointsTable->item(row, column);
    item->setBackground(reason.isEmpty() ? QBrush() : QBrush(ProblemBackground));
    item->setToolTip(PlainToolTip(reason));
    FFilling = false;
}

void TDataSheetDialog::CalculatePoints()
{
    std::vector<SpotPoint> points;
    std::vector<int> rows;
    bool bad = false;
    for (int row = 0; row < PointsTable->rowCount(); ++row) {
        if (PointsTable->item(row, DistanceColumn)->text().trimmed().isEmpty() &&
            PointsTable->item(row, SpotColumn)->text().trimmed().isEmpty()) {
            MarkCell(row, DistanceColumn, QString());
            MarkCell(row, SpotColumn, QString());
            continue;
        }
        const std::optional<double> distance = ReadCell(row, DistanceColumn, bad);
        const std::optional<double> spot = ReadCell(row, SpotColumn, bad);
        if (distance && spot) {
            points.push_back({*distance, *spot});
            rows.push_back(row);
        }
    }
    FPrinted = points;

    if (!KeepFocusEdit->text().trimmed().isEmpty())
        FKeptFocus = ReadField(KeepFocusEdit, KeepFocusError, FieldKind::Length);
    else
        MarkField(KeepFocusEdit, KeepFocusError, QString());
    KeepFocusCheck->setEnabled(FKeptFocus.has_value());
    FKeepFocus = FKeptFocus && KeepFocusCheck->isChecked();

    // A marked cell tells its own reason.
    std::optional<PlannerText> problem;
    if (!bad && points.size() < 3)
        problem = PlannerText::ErrFewPoints;
    if (!bad && !problem) {
        FFreeFit = FitOpticsToPoints(points);
        if (FKeptFocus)
            FKeptFit = FitOpticsWithFocus(points, *FKeptFocus);
    }
    if (!bad && !problem && !Fit().Ok)
        problem = FKeepFocus ? PlannerText::ErrDNotPositive : PlannerText::ErrOneSide;
    MarkField(PointsTable, PointsError, problem ? FTexts[*problem] : QString());
    ShowDeviations(rows);

    const OpticsFit &fit = Fit();
    if (!fit.Ok)
        return;
    const SpotOptics optics{float(fit.M90), float(fit.A), float(fit.D)};
    if (AreInputsValid(optics, 1) && std::isfinite(optics.M90) && std::isfinite(optics.A) &&
        std::isfinite(optics.D))
        FOptics = optics;
}

// The deviations of the fit in use at its points; the largest of both fits
// side by side, and for a fit that cannot miss, that it checks nothing.
void TDataSheetDialog::ShowDeviations(const std::vector<int> &rows)
{
    const OpticsFit &fit = Fit();
    FFilling = true;
    for (int row = 0; row < PointsTable->rowCount(); ++row)
        PointsTable->item(row, DeviationColumn)->setText(QString());
    if (!fit.Determined) {
        for (std::size_t i = 0; i < fit.Deviations.size(); ++i)
            PointsTable->item(rows[i], DeviationColumn)->setText(Percent(fit.Deviations[i]));
    }
    FFilling = false;

    const auto largest = [&](const OpticsFit &f) {
        if (!f.Ok)
            return QStringLiteral("\u2013");
        return f.Determined ? FTexts[PlannerText::DeterminedShort]
                            : Percent(f.MaxDeviation) + QStringLiteral(" %");
    };
    QString text;
    if (FKeptFocus && (FFreeFit.Ok || FKeptFit.Ok))
        text = FTexts[PlannerText::BothDeviations].arg(largest(FFreeFit), largest(FKeptFit),
                                                       LengthText(*FKeptFocus));
    else if (FFreeFit.Ok && FFreeFit.Determined)
        text = FTexts[PlannerText::Determined];
    else if (FFreeFit.Ok)
        text = FTexts[PlannerText::LargestDeviation].arg(Percent(FFreeFit.MaxDeviation));
    SetPlainText(*MaxDeviationLabel, text);
}

void TDataSheetDialog::PastePoints(const QString &text)
{
    const PastedPoints pasted = ReadPastedPoints(text.toStdString(), FUnit);
    const int rowCount = PointsTable->rowCount();
    QStringList report;
    if (pasted.Mark != DecimalMark::Unsettled)
        report << FTexts[pasted.Mark == DecimalMark::Comma ? PlannerText::ImportMarkComma
                                                           : PlannerText::ImportMarkPoint];
    if (!pasted.Skipped.empty()) {
        report << FTexts[PlannerText::PasteNotTaken];
        for (const PasteSkip &skip : pasted.Skipped) {
            QString reason = skip.Column < 0 ? FTexts[PlannerText::PasteNoSpot]
                                             : FieldProblemText(FTexts, skip.Reading, FUnit);
            if (skip.Column >= 0)
                reason = FTexts[skip.Column == DistanceColumn ? PlannerText::AxisDistance
                                                              : PlannerText::HeadSpot] +
                         QStringLiteral(": ") + reason;
            report << FTexts[PlannerText::ImportLine].arg(QString::number(skip.Line), reason);
        }
    }
    if (int(pasted.Points.size()) > rowCount)
        report << FTexts[PlannerText::PasteLeftOut]
                      .arg(int(pasted.Points.size()) - rowCount)
                      .arg(rowCount);
    SetPlainText(*PasteReport, report.join(u'\n'));
    if (pasted.Points.empty())
        return;

    // The cells show the numbers as read, in the dialog's unit, so that a
    // cell never depends on the block it came from.
    FFilling = true;
    for (int row = 0; row < rowCount; ++row) {
        const bool taken = row < int(pasted.Points.size());
        const SpotPoint point = taken ? pasted.Points[std::size_t(row)] : SpotPoint{0, 0};
        for (const auto &[column, value] :
             {std::pair{DistanceColumn, point.Distance}, {SpotColumn, point.Spot}}) {
            QTableWidgetItem *item = PointsTable->item(row, column);
            item->setText(taken ? FormatEditableLength(value, FUnit) : QString());
            item->setData(Qt::UserRole, taken ? QVariant(item->text()) : QVariant());
            item->setData(Qt::UserRole + 1, int(FUnit));
        }
    }
    FFilling = false;
    Recalculate();
}
