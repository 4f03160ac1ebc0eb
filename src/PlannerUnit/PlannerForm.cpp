#include "PlannerUnit/PlannerForm.h"

#include "PlannerUnit/ComparisonModel.h"
#include "PlannerUnit/PlannerAccessible.h"
#include "PlannerUnit/PlannerChart.h"
#include "PlannerUnit/PlannerFormat.h"
#include "PlannerUnit/PlannerSummary.h"
#include "Settingfiles/LanguageFile.h"
#include "shared/Cp1252.h"
#include "shared/ErrorReport.h"
#include "shared/PlainText.h"
#include "shared/SaveFolders.h"

#include <QHeaderView>
#include <QLocale>
#include <QPrinter>

#include <cmath>

namespace {

const QString InvalidStyle = QStringLiteral("border: 1px solid rgb(200,0,0);");
// The calculator's row takes the colour of its red line.
constexpr QRgb CalculatorColour = 0xd62728;

} // namespace

TPlannerForm::TPlannerForm(QWidget *parent, const QString &languageFile)
    : QWidget(parent), FTexts(DefaultLanguage()), FLanguageFile(languageFile),
      FSaveFolders(std::make_unique<TSaveFolders>())
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
    // a third of a repaint. Tight rows let eight of each table fit a small
    // screen.
    const int rowHeight = fontMetrics().height() + 6;
    for (QHeaderView *header : {ComparisonView->verticalHeader(), OpticsTable->verticalHeader()}) {
        header->setSectionResizeMode(QHeaderView::Fixed);
        header->setDefaultSectionSize(rowHeight);
    }
    OpticsTable->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    OpticsTable->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    const int tableHeight = 2 * OpticsTable->frameWidth() +
                            OpticsTable->horizontalHeader()->sizeHint().height() +
                            MaxPlannerOptics * rowHeight;
    OpticsTable->setMinimumHeight(tableHeight);
    OpticsTable->setMaximumHeight(tableHeight);
    // The comparison's header has a second line for the units, and the
    // comparison may need its scroll bar on a narrow screen.
    ComparisonView->setMinimumHeight(tableHeight + fontMetrics().height() +
                                     style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    // The comparison and the chart take the height the fields leave.
    LeftLayout->setStretch(1, 1);
    RightLayout->setStretch(1, 1);
    Splitter->setStretchFactor(0, 3);
    Splitter->setStretchFactor(1, 2);
    Splitter->setSizes({830, 500});
    for (QLabel *error : {TargetError, DistanceError, MarginError, TiltError}) {
        error->setStyleSheet(QStringLiteral("color: rgb(180,0,0);"));
        // An empty reason is no text for a screen reader to announce.
        error->hide();
    }
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
    CallAndReportUnlessRepeated([this] { WriteSettings(); });
}

void TPlannerForm::ConnectHandlers()
{
    const auto guarded = [](std::function<void()> handler) {
        return [handler = std::move(handler)](auto &&...) { CallAndReport(handler); };
    };
    for (QLineEdit *edit : {TargetEdit, DistanceEdit})
        connect(edit, &QLineEdit::textChanged, this,
                guarded([this, edit] { LengthEditChange(edit); }));
    connect(TiltEdit, &QLineEdit::textChanged, this, guarded([this] { FieldChange(); }));
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
    connect(DataSheetButton, &QPushButton::clicked, this,
            guarded([this] { DataSheetButtonClick(); }));
    connect(ImportButton, &QPushButton::clicked, this, guarded([this] { ImportButtonClick(); }));
    connect(ExportOpticsButton, &QPushButton::clicked, this,
            guarded([this] { ExportOpticsButtonClick(); }));
    connect(PrintButton, &QPushButton::clicked, this, guarded([this] { PrintButtonClick(); }));
    connect(SavePngButton, &QPushButton::clicked, this, guarded([this] { SavePngButtonClick(); }));
    connect(SaveSvgButton, &QPushButton::clicked, this, guarded([this] { SaveSvgButtonClick(); }));
    connect(CursorEdit, &QLineEdit::returnPressed, this, guarded([this] { CursorEditReturn(); }));
}

LengthUnit TPlannerForm::Unit() const
{
    return UnitCombo->currentIndex() == 1 ? LengthUnit::Inch : LengthUnit::Millimetre;
}

QSize TPlannerForm::DefaultSize(const QRect &available)
{
    // Room for a title bar and the window's frame.
    constexpr int frame = 36;
    return QSize(1340, 690).boundedTo(available.size() - QSize(frame / 3, frame));
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
    Chart->setToolTip(
        PlainToolTip(t[PlannerText::ChartHint] + QStringLiteral("; ") + t[PlannerText::ZoomHint]));
    SetPlainText(*CursorLabel, t[PlannerText::CursorAt]);
    SetPlainText(*MarginUnit, QStringLiteral("\u00d7"));
    SetPlainText(*TiltUnit, QStringLiteral("\u00b0"));
    SetPlainText(*TargetUnit, UnitName(FUnit));
    SetPlainText(*DistanceUnit, UnitName(FUnit));
    AddButton->setText(PlainButtonText(t[PlannerText::Add]));
    DuplicateButton->setText(PlainButtonText(t[PlannerText::Duplicate]));
    RemoveButton->setText(PlainButtonText(t[PlannerText::Remove]));
    ColourButton->setText(PlainButtonText(t[PlannerText::ChooseColour]));
    DataSheetButton->setText(PlainButtonText(t[PlannerText::DataSheet]));
    ImportButton->setText(PlainButtonText(t[PlannerText::ImportButton]));
    ExportOpticsButton->setText(PlainButtonText(t[PlannerText::ExportButton]));
    PrintButton->setText(PlainButtonText(t[PlannerText::PrintButton]));
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
    describe(this, windowTitle(), SummaryLabel->text());
    describe(OpticsBox, OpticsBox->title(), OpticsHint->text());
    describe(OpticsTable, OpticsBox->title(), OpticsHint->text());
    describe(TargetBox, TargetBox->title(), TargetBox->title());
    describe(ComparisonBox, ComparisonBox->title(), SummaryLabel->text());
    describe(ComparisonView, ComparisonBox->title(), SummaryLabel->text());
    describe(ChartBox, ChartBox->title(), FTexts[PlannerText::ChartHint]);
    Chart->setAccessibleName(ChartBox->title());
    describe(UnitCombo, UnitLabel->text(), UnitCombo->currentText());
    describe(CursorEdit, CursorLabel->text(), unit);
    for (QAbstractButton *button :
         {AddButton, DuplicateButton, RemoveButton, ColourButton, DataSheetButton, ImportButton,
          ExportOpticsButton, ExportCsvButton, PrintButton, SavePngButton, SaveSvgButton})
        describe(button, button->text().replace(QStringLiteral("&&"), QStringLiteral("&")),
                 button->parentWidget()->accessibleName());
    for (QLabel *label : findChildren<QLabel *>())
        label->setAccessibleName(label->text());
    // The fields' descriptions hold their unit or the reason they are marked.
    for (const auto &[field, label, error, suffix] :
         {std::tuple{(QWidget *)TargetEdit, TargetLabel, TargetError, unit},
          std::tuple{(QWidget *)DistanceEdit, DistanceLabel, DistanceError, unit},
          std::tuple{(QWidget *)MarginCombo, MarginLabel, MarginError, QString()},
          std::tuple{(QWidget *)MarginCombo->lineEdit(), MarginLabel, MarginError, QString()},
          std::tuple{(QWidget *)TiltEdit, TiltLabel, TiltError, QStringLiteral("\u00b0")}})
        describe(field, label->text(), error->text().isEmpty() ? suffix : error->text());
}

// ------------------------------------------------------------------ fields

void TPlannerForm::TypedLength::Type(const QString &text, LengthUnit unit, DecimalMark mark)
{
    Text = text;
    Unit = unit;
    Reading = ReadPlannerField(text.toStdString(), FieldKind::Length, unit, mark);
}

QString TPlannerForm::TypedLength::Shown(LengthUnit unit) const
{
    if (unit == Unit || !Reading.Value)
        return Text;
    return FormatEditableLength(*Reading.Value, unit);
}

QString TPlannerForm::ProblemText(const FieldReading &reading) const
{
    return FieldProblemText(FTexts, reading, FUnit);
}

void TPlannerForm::MarkField(QWidget *field, QLabel *error, const FieldReading &reading)
{
    const QString reason = ProblemText(reading);
    if (error->text() != reason) {
        SetPlainText(*error, reason);
        error->setVisible(!reason.isEmpty());
    }
    // Style sheets are costly to apply; only a change of state sets one.
    const bool marked = reading.Problem.has_value();
    if (field->property("marked").toBool() != marked) {
        field->setProperty("marked", marked);
        field->setStyleSheet(marked ? InvalidStyle : QString());
    }
}

// A factor or a tilt in degrees.
std::optional<double> TPlannerForm::ReadField(QWidget *field, const QString &text, QLabel *error,
                                              FieldKind kind)
{
    const FieldReading reading = ReadPlannerField(text.toStdString(), kind, FUnit);
    MarkField(field, error, reading);
    return reading.Value;
}

std::optional<double> TPlannerForm::MarkLength(QWidget *field, QLabel *error,
                                               const TypedLength &length)
{
    MarkField(field, error, length.Reading);
    return length.Reading.Value;
}

void TPlannerForm::FieldChange()
{
    Recalculate();
}

void TPlannerForm::LengthEditChange(QLineEdit *edit)
{
    (edit == TargetEdit ? FTarget : FDistance).Type(edit->text(), FUnit);
    Recalculate();
}

void TPlannerForm::Recalculate()
{
    FInput.Unit = FUnit;
    FInput.Target = MarkLength(TargetEdit, TargetError, FTarget);
    FInput.Distance = MarkLength(DistanceEdit, DistanceError, FDistance);
    FInput.Margin =
        ReadField(MarginCombo, MarginCombo->currentText(), MarginError, FieldKind::Factor);
    FInput.Tilt = ReadField(TiltEdit, TiltEdit->text(), TiltError, FieldKind::Tilt);
    FInput.Optics.resize(FOptics.size());
    for (std::size_t i = 0; i < FOptics.size(); ++i) {
        const OpticsEntry &entry = FOptics[i];
        PlannerOptics &optics = FInput.Optics[i];
        optics.Name = entry.Name.toStdString();
        optics.Colour = entry.Colour & 0xffffff;
        optics.Optics.reset();
        if (entry.Value(0) && entry.Value(1) && entry.Value(2))
            optics.Optics = SpotOptics{*entry.Value(0), *entry.Value(1), *entry.Value(2)};
    }
    FResults = ComputePlanner(FInput);
    FComparison->SetPlan(FInput, FResults);
    Chart->SetPlan(FInput, FResults);
    const QString summary = PlannerSummary(FInput, FResults, FTexts);
    if (SummaryLabel->text() != summary)
        SetPlainText(*SummaryLabel, summary);
    UpdateAccessibleTexts();
}

void TPlannerForm::UnitComboChange()
{
    const LengthUnit unit = Unit();
    if (unit == FUnit)
        return;
    // The quantities stay; only their texts follow the unit.
    FUnit = unit;
    for (const auto &[edit, length] :
         {std::pair{TargetEdit, &FTarget}, {DistanceEdit, &FDistance}}) {
        const QSignalBlocker blocker(edit);
        edit->setText(length->Shown(unit));
    }
    for (QLabel *label : {TargetUnit, DistanceUnit})
        SetPlainText(*label, UnitName(unit));
    FillOpticsTable();
    Recalculate();
}

void TPlannerForm::CursorEditReturn()
{
    const FieldReading reading =
        ReadPlannerField(CursorEdit->text().toStdString(), FieldKind::Length, FUnit);
    CursorEdit->setStyleSheet(reading.Value ? QString() : InvalidStyle);
    if (reading.Value)
        Chart->SetCursor(*reading.Value);
}
