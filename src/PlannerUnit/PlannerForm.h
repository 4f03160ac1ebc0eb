#pragma once

#include "Planner.h"
#include "PlannerUnit/PlannerTexts.h"
#include "ui_PlannerForm.h"

#include <QColor>
#include <QImage>
#include <QWidget>

#include <functional>
#include <optional>

class TComparisonModel;

// The target planner: several optics and one target in, a comparison table
// and a chart out. It knows nothing of the calculator window; the
// calculator's basic data and language are handed in.
class TPlannerForm : public QWidget, private Ui::TPlannerForm
{
    Q_OBJECT
public:
    // The texts come from languageFile, by default the Lang.ini beside the
    // executable.
    explicit TPlannerForm(QWidget *parent = nullptr, const QString &languageFile = {});
    ~TPlannerForm() override;

    // Seams for the blocking dialogs; tests hand in a path or a colour. No
    // value for a cancelled dialog.
    std::function<std::optional<QString>(const QString &filter, const QString &suffix)> AskSavePath;
    std::function<std::optional<QColor>(const QColor &current)> AskColour;

    // Row 1 of the optics list; a datum that is not above 0 leaves it empty.
    void SetCalculatorOptics(const SpotOptics &optics);
    void ApplyLanguage(const QString &language);

    // Event handlers, named after their control and event.
    void FieldChange();
    void UnitComboChange();
    void OpticsTableItemChange(QTableWidgetItem *item);
    void AddButtonClick();
    void DuplicateButtonClick();
    void RemoveButtonClick();
    void ColourButtonClick();
    void ExportCsvButtonClick();
    void SavePngButtonClick();
    void SaveSvgButtonClick();

    // Parses every field into the input and recomputes both views.
    void Recalculate();

    // The chart as the files get it: without the cursor, at this logical size.
    QImage ChartImage(QSize size) const;
    QByteArray ChartSvg(QSize size) const;

    // Read access for tests and benchmarks.
    const PlannerInput &Input() const { return FInput; }
    const PlannerResults &Results() const { return FResults; }
    const TComparisonModel &Comparison() const { return *FComparison; }
    const TPlannerTexts &Texts() const { return FTexts; }
    char DecimalSeparator() const { return FDecimalSeparator; }

private:
    static constexpr int DataColumns = 3; // M90, a, D

    struct OpticsEntry
    {
        QString Name;
        // Millimetres; empty while the cell holds no valid value, whose text
        // is then kept as typed together with the reason.
        std::optional<float> Value[DataColumns];
        QString Typed[DataColumns];
        std::optional<PlannerText> Problem[DataColumns];
        QRgb Colour = 0;
    };

    void ConnectHandlers();
    void SetTexts();
    void UpdateAccessibleTexts();
    std::optional<double> ReadField(QWidget *field, const QString &text, QLabel *error, bool length,
                                    bool tilt);
    void MarkField(QWidget *field, QLabel *error, std::optional<PlannerText> problem);
    void FillOpticsTable();
    void FillOpticsRow(int row);
    void UpdateButtons();
    int SelectedRow() const;
    QRgb FreeColour() const;
    void SetCellValue(OpticsEntry &entry, int index, const QString &text);
    std::optional<QString> SavePath(const QString &filter, const QString &suffix);
    void SaveChart(const QString &filter, const QString &suffix, bool svg);
    void ReadSettings();
    void WriteSettings();

    LengthUnit Unit() const;

    TComparisonModel *FComparison = nullptr;
    std::vector<OpticsEntry> FOptics;
    PlannerInput FInput;
    PlannerResults FResults;
    TPlannerTexts FTexts;
    LengthUnit FUnit = LengthUnit::Millimetre;
    char FDecimalSeparator = '.';
    bool FFilling = false;
    QString FLastSaveFile;
    QString FLanguageFile;
};
