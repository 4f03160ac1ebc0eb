#include "PlannerUnit/PlannerForm.h"

#include "PlannerUnit/ComparisonModel.h"
#include "PlannerUnit/PlannerAccessible.h"
#include "PlannerUnit/PlannerChart.h"
#include "PlannerUnit/PlannerFormat.h"
#include "Settingfiles/LanguageFile.h"
#include "shared/Cp1252.h"
#include "shared/ErrorReport.h"
#include "shared/PlainText.h"

#include <QHeaderView>
#include <QLocale>

#include <cmath>

namespace {

const QString InvalidStyle = QStringLiteral("border: 1px solid rgb(200,0,0);");
// The calculator's row takes the colour of its red line.
constexpr QRgb CalculatorColour = 0xd62728;
constexpr int NameColumn = 0;

} // namespace

TPlannerForm::TPlannerForm(QWidget *parent, const QString &languageFile)
    : QWidget(parent), FTexts(DefaultLanguage()), FLanguageFile(languageFile)
{
    // Before the controls exist: filling a combo box can already make its
    // accessible interface.
    InstallPlannerAccessibility();
    setupUi(this);
    // Closing the calculator ends the program even while the planner is open.
    setAttribute(Qt::WA_QuitOnClose, false);
    FComparison = new TComparisonModel(this);
    ComparisonView->setModel(FComparison);
    ComparisonView->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    // Rows of one line each: measuring them anew at every keystroke would cost
    // a third of a repaint.
    ComparisonView->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    OpticsTable->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    OpticsTable->horizontalHeader()->setSectionResizeMode(NameColumn, QHeaderView::Stretch);
    // Eight rows fit the table; the chart takes the rest.
    Splitter->setStretchFactor(0, 1);
    Splitter->setStretchFactor(1, 3);
    Splitter->setSizes({230, 520});
    for (QLabel *error : {TargetError, DistanceError, MarginError, TiltError})
        error->setStyleSheet(QStringLiteral("color: rgb(180,0,0);"));
    MarginCombo->setCurrentIndex(1);
    TiltEdit->setText(QStringLiteral("0"));

    // Numbers in the window use "."; the regional separator goes into the
    // CSV file only.
    const QByteArray separator = ToCp1252(QLocale::system().decimalPoint());
    FDecimalSeparator = separator.size() == 1 ? separator.front() : '.';

    FOptics.push_back({});
    FOptics.front().Colour = CalculatorColour;
    CallAndReport([this] { ReadSettings(); });
    SetTexts();
    ConnectHandlers();
    FillOpticsTable();
    Recalculate();
}

TPlannerForm::~TPlannerForm()
{
    CallAndReport([this] { WriteSettings(); });
}

void TPlannerForm::ConnectHandlers()
{
    const auto guarded = [](std::function<void()> handler) {
        return [handler = std::move(handler)](auto &&...) { CallAndReport(handler); };
    };
    for (QLineEdit *edit : {TargetEdit, DistanceEdit, TiltEdit})
        connect(edit, &QLineEdit::textChanged, this, guarded([this] { FieldChange(); }));
    connect(MarginCombo, &QComboBox::currentTextChanged, this, guarded([this] { FieldChange(); }));
    connect(UnitCombo, &QComboBox::currentIndexChanged, this,
            guarded([this] { UnitComboChange(); }));
    connect(OpticsTable, &QTableWidget::itemChanged, this, [this](QTableWidgetItem *item) {
        CallAndReport([this, item] { OpticsTableItemChange(item); });
    });
    connect(OpticsTable, &QTableWidget::currentCellChanged, this,
            guarded([this] { UpdateButtons(); }));
    connect(AddButton, &QPushButton::clicked, this, guarded([this] { AddButtonClick(); }));
    connect(DuplicateButton, &QPushButton::clicked, this,
            guarded([this] { DuplicateButtonClick(); }));
    connect(RemoveButton, &QPushButton::clicked, this, guarded([this] { RemoveButtonClick(); }));
    connect(ColourButton, &QPushButton::clicked, this, guarded([this] { ColourButtonClick(); }));
    connect(ExportCsvButton, &QPushButton::clicked, this,
            guarded([this] { ExportCsvButtonClick(); }));
    connect(SavePngButton, &QPushButton::clicked, this, guarded([this] { SavePngButtonClick(); }));
    connect(SaveSvgButton, &QPushButton::clicked, this, guarded([this] { SaveSvgButtonClick(); }));
}

LengthUnit TPlannerForm::Unit() const
{
    return UnitCombo->currentIndex() == 1 ? LengthUnit::Inch : LengthUnit::Millimetre;
}

// ---------------------------------------------------------------- language

void TPlannerForm::ApplyLanguage(const QString &language)
{
    FTexts = TPlannerTexts::Load(language, FLanguageFile);
    SetTexts();
    FillOpticsTable();
    Recalculate();
}

void TPlannerForm::SetTexts()
{
    const TPlannerTexts &t = FTexts;
    setWindowTitle(PlainWindowTitle(t[PlannerText::Title]));
    OpticsBox->setTitle(t[PlannerText::OpticsBox]);
    TargetBox->setTitle(t[PlannerText::TargetBox]);
    ComparisonBox->setTitle(t[PlannerText::Comparison]);
    ChartBox->setTitle(t[PlannerText::Chart]);
    SetPlainText(*OpticsHint, t[PlannerText::OpticsHint]);
    SetPlainText(*TargetLabel, t[PlannerText::Target]);
    SetPlainText(*DistanceLabel, t[PlannerText::Distance]);
    SetPlainText(*MarginLabel, t[PlannerText::Margin]);
    SetPlainText(*TiltLabel, t[PlannerText::Tilt]);
    SetPlainText(*UnitLabel, t[PlannerText::Unit]);
    SetPlainText(*MarginNote, t[PlannerText::MarginNote]);
    SetPlainText(*TiltNote, t[PlannerText::TiltNote]);
    SetPlainText(*ChartHint, t[PlannerText::ChartHint]);
    SetPlainText(*MarginUnit, QStringLiteral("\u00d7"));
    SetPlainText(*TiltUnit, QStringLiteral("\u00b0"));
    SetPlainText(*TargetUnit, UnitName(FUnit));
    SetPlainText(*DistanceUnit, UnitName(FUnit));
    AddButton->setText(PlainButtonText(t[PlannerText::Add]));
    DuplicateButton->setText(PlainButtonText(t[PlannerText::Duplicate]));
    RemoveButton->setText(PlainButtonText(t[PlannerText::Remove]));
    ColourButton->setText(PlainButtonText(t[PlannerText::ChooseColour]));
    ExportCsvButton->setText(PlainButtonText(t[PlannerText::ExportCsv]));
    SavePngButton->setText(PlainButtonText(t[PlannerText::SavePng]));
    SaveSvgButton->setText(PlainButtonText(t[PlannerText::SaveSvg]));
    MarginNote->setToolTip(PlainToolTip(t[PlannerText::MarginNote]));
    FComparison->SetTexts(t);
    Chart->SetTexts(t);
    FOptics.front().Name = t[PlannerText::CalculatorRow];
}

// Screen readers get the language's own texts; the fields carry exactly
// their label's text.
void TPlannerForm::UpdateAccessibleTexts()
{
    const auto describe = [](QWidget *control, const QString &name, const QString &description) {
        control->setAccessibleName(name);
        control->setAccessibleDescription(description);
    };
    const QString unit = UnitName(FUnit);
    describe(OpticsBox, OpticsBox->title(), OpticsHint->text());
    describe(OpticsTable, OpticsBox->title(), OpticsHint->text());
    describe(TargetBox, TargetBox->title(), TargetBox->title());
    describe(ComparisonBox, ComparisonBox->title(), ComparisonBox->title());
    describe(ComparisonView, ComparisonBox->title(), ComparisonBox->title());
    describe(ChartBox, ChartBox->title(), ChartHint->text());
    Chart->setAccessibleName(ChartBox->title());
    describe(UnitCombo, UnitLabel->text(), UnitCombo->currentText());
    for (QAbstractButton *button : {AddButton, DuplicateButton, RemoveButton, ColourButton,
                                    ExportCsvButton, SavePngButton, SaveSvgButton})
        describe(button, button->text().replace(QStringLiteral("&&"), QStringLiteral("&")),
                 button->parentWidget()->accessibleName());
    for (QLabel *label : findChildren<QLabel *>())
        label->setAccessibleName(label->text());
    // The fields' descriptions hold their unit or the reason they are marked.
    for (const auto &[field, label, error, suffix] :
         {std::tuple{(QWidget *)TargetEdit, TargetLabel, TargetError, unit},
          std::tuple{(QWidget *)DistanceEdit, DistanceLabel, DistanceError, unit},
          std::tuple{(QWidget *)MarginCombo, MarginLabel, MarginError, QString()},
          std::tuple{(QWidget *)TiltEdit, TiltLabel, TiltError, QStringLiteral("\u00b0")}})
        describe(field, label->text(), error->text().isEmpty() ? suffix : error->text());
}

// ------------------------------------------------------------------ fields

void TPlannerForm::MarkField(QWidget *field, QLabel *error, std::optional<PlannerText> problem)
{
    const QString reason = problem ? FTexts[*problem] : QString();
    if (error->text() != reason)
        SetPlainText(*error, reason);
    // Style sheets are costly to apply; only a change of state sets one.
    const bool marked = problem.has_value();
    if (field->property("marked").toBool() != marked) {
        field->setProperty("marked", marked);
        field->setStyleSheet(marked ? InvalidStyle : QString());
    }
}

// A length in the chosen unit, a factor, or a tilt in degrees.
std::optional<double> TPlannerForm::ReadField(QWidget *field, const QString &text, QLabel *error,
                                              bool length, bool tilt)
{
    std::optional<PlannerText> problem;
    std::optional<double> value = ParsePlannerNumber(ToCp1252(text).toStdString());
    if (text.trimmed().isEmpty())
        problem = PlannerText::ErrEmpty;
    else if (!value)
        problem = PlannerText::ErrNumber;
    else if (tilt && !(*value >= 0 && *value <= MaxTiltDegrees))
        problem = PlannerText::ErrTilt;
    else if (!tilt && !(*value > 0))
        problem = PlannerText::ErrPositive;
    MarkField(field, error, problem);
    if (problem)
        return std::nullopt;
    return length ? FromUnit(*value, FUnit) : *value;
}

void TPlannerForm::FieldChange()
{
    Recalculate();
}

void TPlannerForm::Recalculate()
{
    FInput.Unit = FUnit;
    FInput.Target = ReadField(TargetEdit, TargetEdit->text(), TargetError, true, false);
    FInput.Distance = ReadField(DistanceEdit, DistanceEdit->text(), DistanceError, true, false);
    FInput.Margin = ReadField(MarginCombo, MarginCombo->currentText(), MarginError, false, false);
    FInput.Tilt = ReadField(TiltEdit, TiltEdit->text(), TiltError, false, true);
    FInput.Optics.resize(FOptics.size());
    for (std::size_t i = 0; i < FOptics.size(); ++i) {
        const OpticsEntry &entry = FOptics[i];
        PlannerOptics &optics = FInput.Optics[i];
        optics.Name = entry.Name.toStdString();
        optics.Colour = entry.Colour & 0xffffff;
        optics.Optics.reset();
        if (entry.Value[0] && entry.Value[1] && entry.Value[2])
            optics.Optics = SpotOptics{*entry.Value[0], *entry.Value[1], *entry.Value[2]};
    }
    FResults = ComputePlanner(FInput);
    FComparison->SetPlan(FInput, FResults);
    Chart->SetPlan(FInput, FResults);
    UpdateAccessibleTexts();
}

void TPlannerForm::UnitComboChange()
{
    const LengthUnit old = FUnit;
    const LengthUnit unit = Unit();
    if (unit == old)
        return;
    // The typed lengths keep their meaning: they are shown in the new unit.
    for (QLineEdit *edit : {TargetEdit, DistanceEdit}) {
        if (const std::optional<double> value =
                ParsePlannerNumber(ToCp1252(edit->text()).toStdString());
            value && *value > 0) {
            const QSignalBlocker blocker(edit);
            edit->setText(FormatTypedLength(FromUnit(*value, old), unit));
        }
    }
    FUnit = unit;
    for (QLabel *label : {TargetUnit, DistanceUnit})
        SetPlainText(*label, UnitName(unit));
    FillOpticsTable();
    Recalculate();
}
