#pragma once

#include "DataSheetOptics.h"
#include "Planner.h"
#include "PlannerUnit/PlannerTexts.h"
#include "ui_DataSheetDialog.h"

#include <QDialog>

#include <optional>

// Optics from what a data sheet prints: two ratios, a spot and a ratio, or a
// spot-size diagram. The three data show at once; Add accepts the dialog
// only while the inputs give optics.
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

    TDataSheetDialog(const TPlannerTexts &texts, LengthUnit unit, const QString &name,
                     QWidget *parent = nullptr);

    // The optics in millimetres, while the inputs give one.
    const std::optional<SpotOptics> &Optics() const { return FOptics; }
    QString Name() const;
    const OpticsFit &Fit() const { return FFit; }

    void SetForm(Form form);
    // Rows of distance and spot, split by tabs or ";", as a spreadsheet
    // copies them; they replace the table's points from the top.
    void PastePoints(const QString &text);

    // Event handlers, named after their control and event.
    void FormChange();
    void InputChange();
    void PasteButtonClick();
    void AddButtonClick();

private:
    void SetTexts();
    void Recalculate();
    void CalculateFigures(Form form);
    void CalculatePoints();
    std::optional<double> ReadField(QLineEdit *field, QLabel *error, bool length);
    void MarkField(QWidget *field, QLabel *error, const QString &reason);
    // Sets bad where the cell is marked.
    std::optional<double> ReadCell(int row, int column, bool &bad);
    void MarkCell(int row, int column, const QString &reason);
    void ShowResult();

    TPlannerTexts FTexts;
    LengthUnit FUnit;
    std::optional<SpotOptics> FOptics;
    OpticsFit FFit{false, 0, 0, 0, {}, 0, false};
    bool FFilling = false;
};
