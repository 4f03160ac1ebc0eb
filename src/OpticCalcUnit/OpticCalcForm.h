#pragma once

#include "SpotModel.h"
#include "ui_OpticCalcForm.h"

#include <QMainWindow>
#include <QTimer>

#include <functional>
#include <optional>

class QPrinter;
class TInfoForm;

// The calculator window: basic data, computed values with the slider and the
// red line over the beam picture, the results table with its export and the
// printed report, and the language menu.
class TOpticCalcForm : public QMainWindow, private Ui::TOpticCalcForm
{
    Q_OBJECT
public:
    // The texts come from languageFile, by default the Lang.ini beside the
    // executable.
    explicit TOpticCalcForm(QWidget *parent = nullptr, const QString &languageFile = {});
    ~TOpticCalcForm() override;

    // Seams for the blocking dialogs; tests hand in a path or a PDF printer.
    // The export seam gives no value for a cancelled dialog, the print seam
    // false.
    std::function<std::optional<QString>()> AskExportPath;
    std::function<bool(QPrinter &printer)> AskPrinter;
    // The about window that "info" and the logo use; without one handed in,
    // the window builds its own on first use.
    void SetInfoForm(TInfoForm *infoForm) { InfoForm = infoForm; }

    // Event handlers, named after their control and event.
    void FormCreate();
    void FormDestroy();
    void SliderChange(QObject *sender);
    void MEditKeyPress(char &key);
    void AEditKeyPress(char &key);
    void DEditKeyPress(char &key);
    void M2EditKeyPress(char &key);
    void A2EditKeyPress(char &key);
    void WatchTimerTimer();
    void NewRowButtonClick();
    void ToTableButtonClick();
    void GridClearButtonClick();
    void CalcButtonClick();
    void GridKeyPress(char &key);
    void GridGridHint(int row, int column, QString &hint);
    void ExportButtonClick();
    void GridSaveCell(int column, int row, QString &value);
    void PrintButtonClick();
    void Deutsch2Click(QAction *sender);
    void info1Click();
    void Image3Click();
    void PlannerItemClick();

    // Operations shared by the handlers.
    void ReadBasicData();
    bool CalcSpot(QObject *sender, float value);
    void UpdateLineLabel();
    void ShowInvalidValue(const QString &text);
    void ApplyLanguage(const QString &language);

    // Read access for the report, the about window and tests.
    char SavedDecimalSeparator() const { return FSavedDecimalSeparator; }
    const QString &Language() const { return FLanguage; }
    const QString &LanguageFile() const { return FLanguageFile; }
    const QString &InvalidValueText() const { return FInvalidValueText; }
    const QString &PrintHeading() const { return FPrintHeading; }
    const QString &CalcValuesHeading() const { return FCalcValuesHeading; }
    const QString &HintDistance() const { return FHintDistance; }
    const QString &HintSpot() const { return FHintSpot; }
    float CalcDistance() const { return FCalcDistance; }
    float CalcSpotValue() const { return FCalcSpot; }

signals:
    // The target planner follows the window through these; whoever builds
    // it on the first PlannerRequested connects them.
    void PlannerRequested();
    void BasicDataChanged(const SpotOptics &optics);
    void LanguageChanged(const QString &language);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void SetUpLook();
    void SetUpPictures();
    void LoadHiddenPictures();
    QPixmap LoadPicture(const QString &name) const;
    void UpdateAccessibleTexts();
    void ConnectHandlers();
    void SetSliderByProgram(int position);
    void LayOutGrid();
    std::optional<QString> RunExportDialog();
    void ComputedEditKeyPress(TEdit *edit, char &key);
    TInfoForm &About();
    SpotOptics TypedBasicData() const;

    QTimer *WatchTimer = nullptr;
    TInfoForm *InfoForm = nullptr;
    QString FLanguageFile;
    bool FHiddenPicturesLoaded = false;
    QActionGroup *LanguageGroup = nullptr;
    QString FLastExportFile;

    float FBasicA = 0;
    float FBasicM90 = 0;
    float FBasicApertur = 0;
    float FCalcDistance = 0;
    float FCalcSpot = 0;
    QString FInvalidValueText;
    QString FPrintHeading;
    QString FCalcValuesHeading;
    QString FHintDistance;
    QString FHintSpot;
    char FSavedDecimalSeparator = 0;
    bool FSliderByProgram = false;
    QString FLanguage;
};
