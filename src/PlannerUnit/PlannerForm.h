#pragma once

#include "Planner.h"
#include "PlannerUnit/PlannerTexts.h"
#include "ui_PlannerForm.h"

#include <QColor>
#include <QImage>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class QPainter;
class QPrinter;
class TDataSheetDialog;
class TComparisonModel;
class TSaveFolders;

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
    std::function<std::optional<QString>(const QString &filter)> AskOpenPath;
    // The print dialog: true to print with the printer as it left it.
    std::function<bool(QPrinter &printer)> AskPrinter;
    // Runs the data-sheet dialog; true where Add closed it.
    std::function<bool(TDataSheetDialog &dialog)> RunDataSheet;
    // Shows what an import did not take.
    std::function<void(const QString &message)> ShowMessage;

    // Row 1 of the optics list; a datum that is not above 0 leaves it empty.
    void SetCalculatorOptics(const SpotOptics &optics);
    void ApplyLanguage(const QString &language);

    // Event handlers, named after their control and event.
    void FieldChange();
    void LengthEditChange(QLineEdit *edit);
    void UnitComboChange();
    void OpticsTableItemChange(QTableWidgetItem *item);
    void AddButtonClick();
    void DuplicateButtonClick();
    void RemoveButtonClick();
    void ColourButtonClick();
    void ExportCsvButtonClick();
    void SavePngButtonClick();
    void SaveSvgButtonClick();
    void DataSheetButtonClick();
    void ImportButtonClick();
    void ExportOpticsButtonClick();
    void PrintButtonClick();
    void CursorEditReturn();

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
    // The folder the save dialog for that suffix starts in.
    QString SaveFolder(const QString &suffix) const;
    // The size the window opens with where no place is stored: all eight
    // rows of both tables and a readable chart, within the screen's free area.
    static QSize DefaultSize(const QRect &available);

private:
    static constexpr int DataColumns = 3; // M90, a, D

    // A length as typed and the unit it was typed in: its quantity stays as
    // it is, however often the unit changes, until the user edits the text.
    struct TypedLength
    {
        QString Text;
        LengthUnit Unit = LengthUnit::Millimetre;
        FieldReading Reading{std::nullopt, FieldProblem::Empty};

        // mark is Point for a text the program wrote itself.
        void Type(const QString &text, LengthUnit unit, DecimalMark mark = DecimalMark::Unsettled);
        // The text in the given unit: as typed where the unit is the typed one
        // or there is no valid value, else the quantity converted.
        QString Shown(LengthUnit unit) const;
    };

    struct OpticsEntry
    {
        QString Name;
        TypedLength Data[DataColumns];
        QRgb Colour = 0;

        std::optional<float> Value(int index) const;
    };

    void ConnectHandlers();
    void SetTexts();
    void UpdateAccessibleTexts();
    std::optional<double> ReadField(QWidget *field, const QString &text, QLabel *error,
                                    FieldKind kind);
    std::optional<double> MarkLength(QWidget *field, QLabel *error, const TypedLength &length);
    void MarkField(QWidget *field, QLabel *error, const FieldReading &reading);
    QString ProblemText(const FieldReading &reading) const;
    void FillOpticsTable();
    void FillOpticsRow(int row);
    void UpdateButtons();
    int SelectedRow() const;
    QRgb FreeColour() const;
    // A new row with a free colour where it brings none.
    void AppendOptics(OpticsEntry entry, std::optional<QRgb> colour = std::nullopt);
    std::optional<QString> SavePath(const QString &filter, const QString &suffix);
    void SaveChart(const QString &filter, const QString &suffix, bool svg);
    void DrawChartFile(QPainter &painter, QSize size) const;
    void ReadSettings();
    void PlaceWindow(const QByteArray &stored, const QRect &oldPlace);
    void WriteSettings();

    LengthUnit Unit() const;

    TComparisonModel *FComparison = nullptr;
    std::vector<OpticsEntry> FOptics;
    TypedLength FTarget;
    TypedLength FDistance;
    PlannerInput FInput;
    PlannerResults FResults;
    TPlannerTexts FTexts;
    LengthUnit FUnit = LengthUnit::Millimetre;
    char FDecimalSeparator = '.';
    bool FFilling = false;
    QString FLastSaveFile;
    std::unique_ptr<QPrinter> FPrinter; // made at the first print
    QString FLanguageFile;
    // Held by pointer: the shared helpers are the planner's own business,
    // not its users'.
    std::unique_ptr<TSaveFolders> FSaveFolders;
};
