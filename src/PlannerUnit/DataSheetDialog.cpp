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
    return ParsePlannerNumber(text.toStdString());
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
    FFit = OpticsFit{false, 0, 0, 0, {}, 0, false};
    if (PointsRadio->isChecked())
        CalculatePoints();
    else
        CalculateFigures(RatiosRadio->isChecked() ? Ratios : FocusSpot);
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

std::optional<double> TDataSheetDialog::ReadField(QLineEdit *field, QLabel *error, bool length)
{
    const FieldReading reading = ReadPlannerField(
        field->text().toStdString(), length ? FieldKind::Length : FieldKind::Factor, FUnit);
    MarkField(field, error,
              reading.Problem ? FieldProblemText(FTexts, *reading.Problem, FUnit) : QString());
    return reading.Value;
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
    FOptics = (ratios ? OpticsFromRatios(*a, *second, *farField)
                      : OpticsFromFocusSpot(*a, *second, *farField))
                  .Optics;
    // Every figure is a valid number; it is the far-field ratio that leaves
    // no room for an aperture.
    if (!FOptics)
        MarkField(RatioFarEdit, RatioFarError, FTexts[PlannerText::ErrDNotPositive]);
}

std::optional<double> TDataSheetDialog::ReadCell(int row, int column, bool &bad)
{
    const std::string text = PointsTable->item(row, column)->text().toStdString();
    FieldReading reading = ReadPlannerField(text, FieldKind::Length, FUnit);
    // A point may lie at the lens front.
    const std::optional<double> number = ParsePlannerNumber(text);
    QString reason;
    if (column == DistanceColumn && number && *number == 0)
        reading = {0.0, std::nullopt};
    else if (column == DistanceColumn && number && *number < 0)
        reason = FTexts[PlannerText::ErrNegative];
    else if (reading.Problem)
        reason = FieldProblemText(FTexts, *reading.Problem, FUnit);
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

    // A marked cell tells its own reason.
    std::optional<PlannerText> problem;
    if (!bad && points.size() < 3)
        problem = PlannerText::ErrFewPoints;
    if (!bad && !problem)
        FFit = FitOpticsToPoints(points);
    if (!bad && !problem && !FFit.Ok)
        problem = PlannerText::ErrOneSide;
    MarkField(PointsTable, PointsError, problem ? FTexts[*problem] : QString());

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
