#include "PlannerUnit/DataSheetDialog.h"

#include "PlannerUnit/PlannerFormat.h"
#include "shared/PlainText.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QPushButton>

#include <cmath>

namespace {

constexpr int DeviationColumn = 2;

QString ProblemText(const TPlannerTexts &texts, DataSheetProblem problem)
{
    switch (problem) {
    case DataSheetProblem::None:
        break;
    case DataSheetProblem::NotPositive:
        return texts[PlannerText::ErrPositive];
    case DataSheetProblem::FarRatioNotSmaller:
        return texts[PlannerText::ErrFarSmaller];
    case DataSheetProblem::FarNotBeyondFocus:
        return texts[PlannerText::ErrFarBeyond];
    case DataSheetProblem::NotSingle:
        return texts[PlannerText::ErrNotSingle];
    }
    return {};
}

// The label's text without its accelerator and trailing colon, to name a
// missing figure.
QString FigureName(const QLabel *label)
{
    QString text = label->text();
    text.remove(u'&');
    if (text.endsWith(u':'))
        text.chop(1);
    return text;
}

} // namespace

TDataSheetDialog::TDataSheetDialog(const TPlannerTexts &texts, LengthUnit unit, const QString &name,
                                   QWidget *parent)
    : QDialog(parent), FTexts(texts), FUnit(unit)
{
    setupUi(this);
    NameEdit->setText(name);
    UnitCombo->setCurrentIndex(unit == LengthUnit::Inch ? 1 : 0);
    for (QLabel *error : {FocusError, RatioFocusError, SpotFocusError, RatioFarError,
                          FarDistanceError, KeepFocusError, PointsError})
        error->setStyleSheet(QStringLiteral("color: rgb(180,0,0);"));
    // The reasons wrap beside the figures rather than squeeze them.
    for (QLabel *error :
         {FocusError, RatioFocusError, SpotFocusError, RatioFarError, FarDistanceError})
        error->setWordWrap(true);
    FiguresLayout->setColumnStretch(3, 1);
    for (QLineEdit *edit :
         {FocusEdit, RatioFocusEdit, SpotFocusEdit, RatioFarEdit, FarDistanceEdit, KeepFocusEdit})
        edit->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("8 mm @ 610 mm")) +
                              12);
    PointsTable->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    for (int row = 0; row < PointsTable->rowCount(); ++row) {
        for (int column = 0; column < PointsTable->columnCount(); ++column) {
            auto *item = new QTableWidgetItem;
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (column == DeviationColumn)
                item->setFlags(Qt::ItemIsEnabled);
            PointsTable->setItem(row, column, item);
        }
    }
    SheetChart->setMinimumSize(380, 300);
    auto *paste = new QAction(PointsTable);
    paste->setShortcut(QKeySequence::Paste);
    paste->setShortcutContext(Qt::WidgetShortcut);
    PointsTable->addAction(paste);
    SetTexts();

    for (QRadioButton *radio : {RatiosRadio, FocusSpotRadio, PointsRadio})
        connect(radio, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                FormChange();
        });
    for (QLineEdit *edit :
         {FocusEdit, RatioFocusEdit, SpotFocusEdit, RatioFarEdit, FarDistanceEdit, KeepFocusEdit})
        connect(edit, &QLineEdit::textChanged, this, [this, edit] {
            if (FFilling)
                return;
            // A ratio has no unit to follow.
            if (edit != RatioFocusEdit && edit != RatioFarEdit)
                Remember(edit);
            InputChange();
        });
    connect(KeepFocusCheck, &QCheckBox::toggled, this, &TDataSheetDialog::InputChange);
    connect(PointsTable, &QTableWidget::itemChanged, this, [this](QTableWidgetItem *item) {
        if (FFilling)
            return;
        item->setData(Qt::UserRole, item->text());
        item->setData(Qt::UserRole + 1, int(FUnit));
        InputChange();
    });
    connect(UnitCombo, &QComboBox::currentIndexChanged, this, &TDataSheetDialog::UnitComboChange);
    connect(NameEdit, &QLineEdit::textChanged, this, &TDataSheetDialog::ShowResult);
    connect(PasteButton, &QPushButton::clicked, this, &TDataSheetDialog::PasteButtonClick);
    connect(paste, &QAction::triggered, this, &TDataSheetDialog::PasteButtonClick);
    connect(AddButton, &QPushButton::clicked, this, &TDataSheetDialog::AddButtonClick);
    connect(Buttons, &QDialogButtonBox::rejected, this, &TDataSheetDialog::reject);
    FormChange();
    // The figures are typed first; the form is most often the first one.
    FocusEdit->setFocus();
}

QString TDataSheetDialog::Name() const
{
    return NameEdit->text().trimmed();
}

void TDataSheetDialog::SetTexts()
{
    const TPlannerTexts &t = FTexts;
    setWindowTitle(PlainWindowTitle(t[PlannerText::DataSheetTitle]));
    RatiosRadio->setText(PlainButtonText(t[PlannerText::FormRatios]));
    FocusSpotRadio->setText(PlainButtonText(t[PlannerText::FormFocusSpot]));
    PointsRadio->setText(PlainButtonText(t[PlannerText::FormPoints]));
    SetPlainText(*UnitLabel, t[PlannerText::DsUnit]);
    SetPlainText(*FocusLabel, t[PlannerText::FocusDistance]);
    SetPlainText(*RatioFocusLabel, t[PlannerText::RatioAtFocus]);
    SetPlainText(*SpotFocusLabel, t[PlannerText::SpotAtFocus]);
    SetPlainText(*RatioFarLabel, t[PlannerText::RatioFarField]);
    SetPlainText(*FarDistanceLabel, t[PlannerText::FarDistance]);
    SetPlainText(*FarFieldNote, t[PlannerText::FarFieldNote]);
    SetPlainText(*KeepFocusLabel, t[PlannerText::PrintedFocus]);
    KeepFocusCheck->setText(PlainButtonText(t[PlannerText::KeepFocus]));
    SetPlainText(*NameLabel, t[PlannerText::Name]);
    for (QLabel *unit : {FocusUnit, SpotFocusUnit, FarDistanceUnit, KeepFocusUnit})
        SetPlainText(*unit, UnitName(FUnit));
    const QString unit = QStringLiteral(" [") + UnitName(FUnit) + u']';
    PointsTable->setHorizontalHeaderLabels({t[PlannerText::AxisDistance] + unit,
                                            t[PlannerText::HeadSpot] + unit,
                                            t[PlannerText::Deviation]});
    PasteButton->setText(PlainButtonText(t[PlannerText::PastePoints]));
    ResultBox->setTitle(t[PlannerText::ResultBox]);
    AddButton->setText(PlainButtonText(t[PlannerText::Add]));
    SheetChart->SetTexts(t);
}

void TDataSheetDialog::SetForm(Form form)
{
    QRadioButton *radios[] = {RatiosRadio, FocusSpotRadio, PointsRadio};
    radios[form]->setChecked(true);
}

void TDataSheetDialog::SetUnit(LengthUnit unit)
{
    UnitCombo->setCurrentIndex(unit == LengthUnit::Inch ? 1 : 0);
}

void TDataSheetDialog::FormChange()
{
    const bool points = PointsRadio->isChecked();
    Pages->setCurrentIndex(points ? 1 : 0);
    const bool ratios = RatiosRadio->isChecked();
    for (QWidget *widget :
         {(QWidget *)RatioFocusLabel, (QWidget *)RatioFocusEdit, (QWidget *)RatioFocusError})
        widget->setVisible(ratios);
    for (QWidget *widget : {(QWidget *)SpotFocusLabel, (QWidget *)SpotFocusEdit,
                            (QWidget *)SpotFocusUnit, (QWidget *)SpotFocusError})
        widget->setVisible(!ratios && !points);
    Recalculate();
}

void TDataSheetDialog::InputChange()
{
    Recalculate();
}

// ------------------------------------------------------------------- unit

void TDataSheetDialog::Remember(QLineEdit *edit)
{
    FTypedEdits[edit] = {edit->text(), FUnit};
}

// A bare number keeps its length: it is shown in the new unit. A text that
// names its unit, or that is no length, stays as typed.
QString TDataSheetDialog::Convert(const Typed &typed, LengthUnit unit, FieldKind kind) const
{
    if (typed.Unit == unit)
        return typed.Text;
    const std::string text = typed.Text.toStdString();
    const FieldReading reading = ReadPlannerField(text, kind, typed.Unit);
    const LengthUnit other =
        typed.Unit == LengthUnit::Inch ? LengthUnit::Millimetre : LengthUnit::Inch;
    if (!reading.Value || ReadPlannerField(text, kind, other).Value == reading.Value)
        return typed.Text;
    return FormatEditableLength(*reading.Value, unit);
}

void TDataSheetDialog::UnitComboChange()
{
    const LengthUnit unit =
        UnitCombo->currentIndex() == 1 ? LengthUnit::Inch : LengthUnit::Millimetre;
    if (unit == FUnit)
        return;
    FFilling = true;
    for (auto it = FTypedEdits.cbegin(); it != FTypedEdits.cend(); ++it) {
        // A spot with its distance names its units or is read in the new
        // one alike; only a bare spot is converted.
        it.key()->setText(Convert(it.value(), unit, FieldKind::Length));
    }
    for (int row = 0; row < PointsTable->rowCount(); ++row) {
        for (int column = 0; column < DeviationColumn; ++column) {
            QTableWidgetItem *item = PointsTable->item(row, column);
            if (item->data(Qt::UserRole).isNull())
                continue;
            const Typed typed{item->data(Qt::UserRole).toString(),
                              LengthUnit(item->data(Qt::UserRole + 1).toInt())};
            item->setText(Convert(typed, unit, FieldKind::Position));
        }
    }
    FFilling = false;
    FUnit = unit;
    SetTexts();
    Recalculate();
}

// ---------------------------------------------------------------- figures

void TDataSheetDialog::Recalculate()
{
    FOptics.reset();
    FFreeFit = OpticsFit{false, 0, 0, 0, {}, 0, false};
    FKeptFit = FFreeFit;
    FKeepFocus = false;
    FKeptFocus.reset();
    FPrinted.clear();
    if (PointsRadio->isChecked())
        CalculatePoints();
    else
        CalculateFigures(RatiosRadio->isChecked() ? Ratios : FocusSpot);
    ShowChart();
    ShowResult();
}

void TDataSheetDialog::MarkField(QWidget *field, QLabel *error, const QString &reason)
{
    SetPlainText(*error, reason);
    // Only the field itself: the table's headers and cells keep their look.
    field->setStyleSheet(reason.isEmpty()
                             ? QString()
                             : QLatin1String(field->metaObject()->className()) +
                                   QStringLiteral(" { border: 1px solid rgb(200,0,0); }"));
}

std::optional<double> TDataSheetDialog::ReadField(QLineEdit *field, QLabel *error, FieldKind kind)
{
    const FieldReading reading = ReadPlannerField(field->text().toStdString(), kind, FUnit);
    MarkField(field, error, FieldProblemText(FTexts, reading, FUnit));
    return reading.Value;
}

void TDataSheetDialog::ShowMissing(const QList<QLabel *> &missing)
{
    QStringList names;
    for (const QLabel *label : missing)
        names << FigureName(label);
    SetPlainText(*MissingNote, names.isEmpty() ? QString()
                                               : FTexts[PlannerText::Missing].arg(
                                                     names.join(QStringLiteral(", "))));
}

void TDataSheetDialog::CalculateFigures(Form form)
{
    const bool ratios = form == Ratios;
    std::optional<double> a = ReadField(FocusEdit, FocusError, FieldKind::Length);
    // The second figure as a plain value: MinGW's GCC takes an optional
    // set in branches for unset.
    double figure = 0;
    bool haveFigure = false;
    if (ratios) {
        const std::optional<double> ratio =
            ReadField(RatioFocusEdit, RatioFocusError, FieldKind::Ratio);
        haveFigure = ratio.has_value();
        figure = ratio.value_or(0);
    } else {
        // "8 mm @ 610 mm" gives the focus distance along with the spot.
        const SpotAtReading spot = ReadSpotAt(SpotFocusEdit->text().toStdString(), FUnit);
        QString reason = FieldProblemText(FTexts, spot.Spot, FUnit);
        if (reason.isEmpty() && spot.HasDistance)
            reason = FieldProblemText(FTexts, spot.Distance, FUnit);
        haveFigure = reason.isEmpty() && spot.Spot.Value;
        figure = spot.Spot.Value.value_or(0);
        if (reason.isEmpty() && spot.HasDistance) {
            if (FocusEdit->text().trimmed().isEmpty()) {
                a = spot.Distance.Value;
                MarkField(FocusEdit, FocusError, QString());
            } else if (a && float(*a) != float(*spot.Distance.Value)) {
                reason = FTexts[PlannerText::ErrTwoFoci];
                haveFigure = false;
            }
        }
        MarkField(SpotFocusEdit, SpotFocusError, reason);
    }
    const std::optional<double> farField = ReadField(RatioFarEdit, RatioFarError, FieldKind::Ratio);
    // The distance of the far-field ratio is optional: empty is the
    // asymptote.
    std::optional<double> farDistance;
    bool farDistanceBad = false;
    if (!FarDistanceEdit->text().trimmed().isEmpty()) {
        farDistance = ReadField(FarDistanceEdit, FarDistanceError, FieldKind::Length);
        farDistanceBad = !farDistance;
    } else {
        MarkField(FarDistanceEdit, FarDistanceError, QString());
    }

    // Empty figures are named together, so a sheet that prints another
    // form is told what this one lacks.
    QList<QLabel *> missing;
    const auto empty = [](const QLineEdit *edit) { return edit->text().trimmed().isEmpty(); };
    if (!a && empty(FocusEdit))
        missing << FocusLabel;
    if (ratios && empty(RatioFocusEdit))
        missing << RatioFocusLabel;
    if (!ratios && empty(SpotFocusEdit))
        missing << SpotFocusLabel;
    if (empty(RatioFarEdit))
        missing << RatioFarLabel;
    const bool anyTyped = !empty(FocusEdit) || !empty(RatioFocusEdit) || !empty(SpotFocusEdit) ||
                          !empty(RatioFarEdit);
    ShowMissing(anyTyped ? missing : QList<QLabel *>{});

    if (!a || !haveFigure)
        return;
    const double focus = a.value_or(0);
    FPrinted.push_back({focus, ratios ? focus / figure : figure});
    if (!farField || farDistanceBad)
        return;
    const SheetOptics sheet =
        ratios ? OpticsFromRatios(focus, figure, farField.value_or(0), farDistance)
               : OpticsFromFocusSpot(focus, figure, farField.value_or(0), farDistance);
    FOptics = sheet.Optics;
    if (farDistance && sheet.Problem != DataSheetProblem::FarNotBeyondFocus)
        FPrinted.push_back({*farDistance, *farDistance / *farField});
    if (sheet.Problem == DataSheetProblem::FarNotBeyondFocus)
        MarkField(FarDistanceEdit, FarDistanceError, ProblemText(FTexts, sheet.Problem));
    else if (sheet.Problem != DataSheetProblem::None)
        MarkField(RatioFarEdit, RatioFarError, ProblemText(FTexts, sheet.Problem));
}

QString TDataSheetDialog::LengthText(double millimetres) const
{
    return FormatTypedLength(millimetres, FUnit) + u' ' + UnitName(FUnit);
}

void TDataSheetDialog::ShowChart()
{
    PlannerInput input;
    input.Unit = FUnit;
    const auto add = [&](const OpticsFit &fit, QString name, std::uint32_t colour) {
        if (fit.Ok)
            input.Optics.push_back({name.toStdString(),
                                    SpotOptics{float(fit.M90), float(fit.A), float(fit.D)},
                                    colour});
    };
    if (PointsRadio->isChecked()) {
        add(FFreeFit, FTexts[PlannerText::FreeFocus], 0x1f77b4);
        if (FKeptFocus)
            add(FKeptFit, FTexts[PlannerText::KeptFocus].arg(LengthText(*FKeptFocus)), 0xd62728);
    } else if (FOptics) {
        input.Optics.push_back({Name().toStdString(), FOptics, 0x1f77b4});
    }
    SheetChart->SetPlan(input, ComputePlanner(input));
    std::vector<ChartMark> marks;
    for (const SpotPoint &point : FPrinted)
        marks.push_back({point.Distance, point.Spot});
    SheetChart->SetMarks(std::move(marks));
}

void TDataSheetDialog::ShowResult()
{
    const auto show = [&](QLabel *label, std::optional<float> value) {
        SetPlainText(*label, value ? LengthText(*value) : QStringLiteral("\u2013"));
    };
    show(ResultM90, FOptics ? std::optional(FOptics->M90) : std::nullopt);
    show(ResultA, FOptics ? std::optional(FOptics->A) : std::nullopt);
    show(ResultD, FOptics ? std::optional(FOptics->D) : std::nullopt);
    AddButton->setEnabled(FOptics.has_value() && !Name().isEmpty());
}

void TDataSheetDialog::PasteButtonClick()
{
    PastePoints(QGuiApplication::clipboard()->text());
}

void TDataSheetDialog::AddButtonClick()
{
    if (FOptics && !Name().isEmpty())
        accept();
}
