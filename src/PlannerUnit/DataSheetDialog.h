#pragma once

#include "DataSheetOptics.h"
#include "Planner.h"
#include "PlannerUnit/PlannerTexts.h"
#include "ui_DataSheetDialog.h"

#include <QDialog>
#include <QHash>

#include <optional>

// Optics from what a data sheet prints: two ratios, a spot and a ratio, or a
// spot-size diagram. The three data show at once, and a chart shows the
// beam against the printed figures; Add accepts the dialog only while the
// inputs give optics.
class TDataSheetDialog : public QDialog, private Ui::TDataSheetDialog
{
    Q_OBJECT
public:
    enum Form
    {
        Ratios,
        FocusSpot,
        Points
    };

    // The dialog's unit starts as the planner's; the optics are handed back
    // in millimetres whatever it is.
    TDataSheetDialog(const TPlannerTexts &texts, LengthUnit unit, const QString &name,
                     QWidget *parent = nullptr);

    // The optics in millimetres, as shown, while the inputs give one.
    const std::optional<SpotOptics> &Optics() const { return FOptics; }
    QString Name() const;
    // The fit the optics come from: with the focus kept where that is
    // chosen, else the free one.
    const OpticsFit &Fit() const { return FKeepFocus ? FKeptFit : FFreeFit; }
    const OpticsFit &FreeFit() const { return FFreeFit; }
    const OpticsFit &KeptFit() const { return FKeptFit; }
    LengthUnit Unit() const { return FUnit; }

    void SetForm(Form form);
    void SetUnit(LengthUnit unit);
    // Rows of distance and spot as a spreadsheet or a data sheet gives them;
    // they replace the table's points from the top, and what is not taken
    // is named below the table.
    void PastePoints(const QString &text);

    // Event handlers, named after their control and event.
    void FormChange();
    void InputChange();
    void UnitComboChange();
    void PasteButtonClick();
    void AddButtonClick();

private:
    // A length as typed and the unit it was typed in, so that a unit
    // switch and back gives the typed text again.
    struct Typed
    {
        QString Text;
        LengthUnit Unit;
    };

    void SetTexts();
    void Recalculate();
    void CalculateFigures(Form form);
    void CalculatePoints();
    std::optional<double> ReadField(QLineEdit *field, QLabel *error, FieldKind kind);
    void MarkField(QWidget *field, QLabel *error, const QString &reason);
    void ShowMissing(const QList<QLabel *> &missing);
    // Sets bad where the cell is marked.
    std::optional<double> ReadCell(int row, int column, bool &bad);
    void MarkCell(int row, int column, const QString &reason);
    void ShowDeviations(const std::vector<int> &rows);
    void ShowChart();
    void ShowResult();
    QString Percent(double fraction) const;
    QString LengthText(double millimetres) const;
    void Remember(QLineEdit *edit);
    QString Convert(const Typed &typed, LengthUnit unit, FieldKind kind) const;

    TPlannerTexts FTexts;
    LengthUnit FUnit;
    std::optional<SpotOptics> FOptics;
    OpticsFit FFreeFit{false, 0, 0, 0, {}, 0, false};
    OpticsFit FKeptFit{false, 0, 0, 0, {}, 0, false};
    bool FKeepFocus = false;
    std::optional<double> FKeptFocus; // mm
    // The figures the sheet prints, for the chart.
    std::vector<SpotPoint> FPrinted;
    QHash<QLineEdit *, Typed> FTypedEdits;
    bool FFilling = false;
};
