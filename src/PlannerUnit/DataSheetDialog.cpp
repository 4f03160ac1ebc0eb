#include "PlannerUnit/DataSheetDialog.h"

#include "PlannerUnit/PlannerFormat.h"
#include "shared/Cp1252.h"
#include "shared/PlainText.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QPushButton>

#include <cmath>

namespace {

const QString InvalidStyle = QStringLiteral("border: 1px solid rgb(200,0,0);");
const QColor ProblemBackground(255, 222, 222);
constexpr int DistanceColumn = 0;
constexpr int SpotColumn = 1;
constexpr int DeviationColumn = 2;

QString Percent(double fraction)
{
    return QString::number(fraction * 100, 'f', 2);
}

// The cells of one pasted line: a tab or ";" between them.
QStringList PastedCells(const QString &line)
{
    return line.split(line.contains(u'\t') ? u'\t' : u';');
}

std::optional<double> Parse(const QString &text)
{
    return ParsePlannerNumber(ToCp1252(text).toStdString());
}

} // namespace

TDataSheetDialog::TDataSheetDialog(const TPlannerTexts &texts, LengthUnit unit, const QString &name,
                                   QWidget *parent)
    : QDialog(parent), FTexts(texts), FUnit(unit)
{
    setupUi(this);
    NameEdit->setText(name);
    for (QLabel *error : {FocusError, RatioFocusError, SpotFocusError, RatioFarError, PointsError})
        error->setStyleSheet(QStringLiteral("color: rgb(180,0,0);"));
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
    for (QLineEdit *edit : {FocusEdit, RatioFocusEdit, SpotFocusEdit, RatioFarEdit})
        connect(edit, &QLineEdit::textChanged, this, &TDataSheetDialog::InputChange);
    connect(PointsTable, &QTableWidget::itemChanged, this, [this] {
        if (!FFilling)
            InputChange();
    });
    connect(NameEdit, &QLineEdit::textChanged, this, &TDataSheetDialog::ShowResult);
    connect(PasteButton, &QPushButton::clicked, this, &TDataSheetDialog::PasteButtonClick);
    connect(paste, &QAction::triggered, this, &TDataSheetDialog::PasteButtonClick);
    connect(AddButton, &QPushButton::clicked, this, &TDataSheetDialog::AddButtonClick);
    connect(Buttons, &QDialogButtonBox::rejected, this, &TDataSheetDialog::reject);
    FormChange();
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
    SetPlainText(*FocusLabel, t[PlannerText::FocusDistance]);
    SetPlainText(*RatioFocusLabel, t[PlannerText::RatioAtFocus]);
    SetPlainText(*SpotFocusLabel, t[PlannerText::SpotAtFocus]);
    SetPlainText(*RatioFarLabel, t[PlannerText::RatioFarField]);
    SetPlainText(*NameLabel, t[PlannerText::Name]);
    for (QLabel *unit : {FocusUnit, SpotFocusUnit})
        SetPlainText(*unit, UnitName(FUnit));
    const QString unit = QStringLiteral(" [") + UnitName(FUnit) + u']';
    PointsTable->setHorizontalHeaderLabels({t[PlannerText::AxisDistance] + unit,
                                            t[PlannerText::HeadSpot] + unit,
                                            t[PlannerText::Deviation]});
    PasteButton->setText(PlainButtonText(t[PlannerText::PastePoints]));
    ResultBox->setTitle(t[PlannerText::ResultBox]);
    AddButton->setText(PlainButtonText(t[PlannerText::Add]));
}

void TDataSheetDialog::SetForm(Form form)
{
    QRadioButton *radios[] = {RatiosRadio, FocusSpotRadio, PointsRadio};
    radios[form]->setChecked(true);
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

void TDataSheetDialog::Recalculate()
{
    FOptics.reset();
    FFit = OpticsFit{false, 0, 0, 0, {}, 0};
    if (PointsRadio->isChecked())
        CalculatePoints();
    else
        CalculateFigures(RatiosRadio->isChecked() ? Ratios : FocusSpot);
    ShowResult();
}

void TDataSheetDialog::MarkField(QWidget *field, QLabel *error, std::optional<PlannerText> problem)
{
    SetPlainText(*error, problem ? FTexts[*problem] : QString());
    field->setStyleSheet(problem ? InvalidStyle : QString());
}

std::optional<double> TDataSheetDialog::ReadField(QLineEdit *field, QLabel *error, bool length)
{
    const std::optional<double> value = Parse(field->text());
    std::optional<PlannerText> problem;
    if (field->text().trimmed().isEmpty())
        problem = PlannerText::ErrEmpty;
    else if (!value)
        problem = PlannerText::ErrNumber;
    else if (!(*value > 0))
        problem = PlannerText::ErrPositive;
    MarkField(field, error, problem);
    if (problem)
        return std::nullopt;
    return length ? FromUnit(*value, FUnit) : *value;
}

void TDataSheetDialog::CalculateFigures(Form form)
{
    const bool ratios = form == Ratios;
    const std::optional<double> a = ReadField(FocusEdit, FocusError, true);
    const std::optional<double> second = ratios ? ReadField(RatioFocusEdit, RatioFocusError, false)
                                                : ReadField(SpotFocusEdit, SpotFocusError, true);
    const std::optional<double> farField = ReadField(RatioFarEdit, RatioFarError, false);
    if (!a || !second || !farField)
        return;
    FOptics = ratios ? OpticsFromRatios(*a, *second, *farField)
                     : OpticsFromFocusSpot(*a, *second, *farField);
    // Every figure is a valid number; it is the far-field ratio that leaves
    // no room for an aperture.
    if (!FOptics)
        MarkField(RatioFarEdit, RatioFarError, PlannerText::ErrDNotPositive);
}

std::optional<double> TDataSheetDialog::ReadCell(int row, int column,
                                                 std::optional<PlannerText> &problem)
{
    const QString text = PointsTable->item(row, column)->text();
    const std::optional<double> value = Parse(text);
    problem.reset();
    if (text.trimmed().isEmpty())
        problem = PlannerText::ErrEmpty;
    else if (!value)
        problem = PlannerText::ErrNumber;
    else if (column == DistanceColumn && !(*value >= 0))
        problem = PlannerText::ErrNegative;
    else if (column == SpotColumn && !(*value > 0))
        problem = PlannerText::ErrPositive;
    MarkCell(row, column, problem);
    if (problem)
        return std::nullopt;
    return FromUnit(*value, FUnit);
}

void TDataSheetDialog::MarkCell(int row, int column, std::optional<PlannerText> problem)
{
    FFilling = true;
    QTableWidgetItem *item = PointsTable->item(row, column);
    item->setBackground(problem ? QBrush(ProblemBackground) : QBrush());
    item->setToolTip(problem ? PlainToolTip(FTexts[*problem]) : QString());
    FFilling = false;
}

void TDataSheetDialog::CalculatePoints()
{
    std::vector<SpotPoint> points;
    std::vector<int> rows;
    bool complete = true;
    for (int row = 0; row < PointsTable->rowCount(); ++row) {
        const bool blank = PointsTable->item(row, DistanceColumn)->text().trimmed().isEmpty() &&
                           PointsTable->item(row, SpotColumn)->text().trimmed().isEmpty();
        std::optional<PlannerText> problem;
        std::optional<double> distance;
        std::optional<double> spot;
        if (blank) {
            MarkCell(row, DistanceColumn, std::nullopt);
            MarkCell(row, SpotColumn, std::nullopt);
        } else {
            distance = ReadCell(row, DistanceColumn, problem);
            spot = ReadCell(row, SpotColumn, problem);
        }
        if (distance && spot) {
            points.push_back({*distance, *spot});
            rows.push_back(row);
        }
        complete = complete && (blank || (distance && spot));
    }

    std::optional<PlannerText> problem;
    if (complete && points.size() < 3)
        problem = PlannerText::ErrFewPoints;
    if (complete && !problem)
        FFit = FitOpticsToPoints(points);
    if (complete && !problem && !FFit.Ok)
        problem = PlannerText::ErrOneSide;
    MarkField(PointsTable, PointsError, problem);

    FFilling = true;
    for (int row = 0; row < PointsTable->rowCount(); ++row)
        PointsTable->item(row, DeviationColumn)->setText(QString());
    for (std::size_t i = 0; i < FFit.Deviations.size(); ++i)
        PointsTable->item(rows[i], DeviationColumn)->setText(Percent(FFit.Deviations[i]));
    FFilling = false;
    MaxDeviationLabel->setText(
        FFit.Ok ? FTexts[PlannerText::LargestDeviation].arg(Percent(FFit.MaxDeviation))
                : QString());
    if (!FFit.Ok)
        return;
    const SpotOptics optics{float(FFit.M90), float(FFit.A), float(FFit.D)};
    if (AreInputsValid(optics, 1) && std::isfinite(optics.M90) && std::isfinite(optics.A) &&
        std::isfinite(optics.D))
        FOptics = optics;
}

void TDataSheetDialog::ShowResult()
{
    const auto show = [&](QLabel *label, std::optional<float> value) {
        SetPlainText(*label, value ? FormatTypedLength(*value, FUnit) + u' ' + UnitName(FUnit)
                                   : QStringLiteral("\u2013"));
    };
    show(ResultM90, FOptics ? std::optional(FOptics->M90) : std::nullopt);
    show(ResultA, FOptics ? std::optional(FOptics->A) : std::nullopt);
    show(ResultD, FOptics ? std::optional(FOptics->D) : std::nullopt);
    AddButton->setEnabled(FOptics.has_value() && !Name().isEmpty());
}

void TDataSheetDialog::PastePoints(const QString &text)
{
    QList<QStringList> lines;
    for (QString line : QString(text).replace(u'\r', u'\n').split(u'\n', Qt::SkipEmptyParts)) {
        const QStringList cells = PastedCells(line);
        // A header copied along with the points has no number in it.
        if (cells.size() >= 2 && (Parse(cells[0]) || Parse(cells[1])))
            lines.append(cells);
    }
    if (lines.isEmpty())
        return;
    FFilling = true;
    for (int row = 0; row < PointsTable->rowCount(); ++row) {
        const QStringList cells = row < lines.size() ? lines[row] : QStringList{};
        PointsTable->item(row, DistanceColumn)->setText(cells.value(0).trimmed());
        PointsTable->item(row, SpotColumn)->setText(cells.value(1).trimmed());
    }
    FFilling = false;
    Recalculate();
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
