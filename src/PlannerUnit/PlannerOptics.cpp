// The planner's optics list, its settings and its files.
#include "PlannerUnit/PlannerForm.h"

#include "PlannerUnit/ComparisonModel.h"
#include "PlannerUnit/PlannerChart.h"
#include "PlannerUnit/PlannerFormat.h"
#include "Settingfiles/UserIniFile.h"
#include "shared/Cp1252.h"
#include "shared/CsvWriter.h"
#include "shared/PlainText.h"

#include <QBuffer>
#include <QColorDialog>
#include <QFileDialog>
#include <QPainter>
#include <QScreen>
#include <QSvgGenerator>

#include <cmath>

namespace {

const QString Section = QStringLiteral("TargetPlanner");
const QColor ProblemBackground(255, 222, 222);
const QColor ReadOnlyText(90, 90, 110);

// Distinct on white; the first is the calculator's red line.
constexpr QRgb Palette[MaxPlannerOptics] = {0xd62728, 0x1f77b4, 0x2ca02c, 0xff7f0e,
                                            0x9467bd, 0x8c564b, 0xe377c2, 0x17becf};
constexpr int ColourColumn = 4;
const QSize DefaultSize(1040, 780);

QString Number(float millimetres)
{
    // Nine digits give every float back exactly.
    return QString::number(double(millimetres), 'g', 9);
}

} // namespace

// ---------------------------------------------------------------- optics

void TPlannerForm::SetCalculatorOptics(const SpotOptics &optics)
{
    OpticsEntry &entry = FOptics.front();
    const float values[DataColumns] = {optics.M90, optics.A, optics.D};
    for (int i = 0; i < DataColumns; ++i) {
        const bool valid = values[i] > 0 && std::isfinite(values[i]);
        entry.Value[i] = valid ? std::optional<float>(values[i]) : std::nullopt;
        entry.Typed[i].clear();
        entry.Problem[i] = valid ? std::nullopt : std::optional(PlannerText::ErrPositive);
    }
    FillOpticsRow(0);
    Recalculate();
}

void TPlannerForm::SetCellValue(OpticsEntry &entry, int index, const QString &text)
{
    const std::optional<double> value = ParsePlannerNumber(ToCp1252(text).toStdString());
    entry.Typed[index] = text;
    entry.Value[index].reset();
    if (text.trimmed().isEmpty())
        entry.Problem[index] = PlannerText::ErrEmpty;
    else if (!value)
        entry.Problem[index] = PlannerText::ErrNumber;
    else if (const float mm = float(FromUnit(*value, FUnit)); !(mm > 0) || !std::isfinite(mm))
        entry.Problem[index] = PlannerText::ErrPositive;
    else {
        entry.Problem[index].reset();
        entry.Value[index] = mm;
    }
}

void TPlannerForm::OpticsTableItemChange(QTableWidgetItem *item)
{
    if (FFilling || item->row() <= 0 || item->row() >= int(FOptics.size()))
        return;
    OpticsEntry &entry = FOptics[std::size_t(item->row())];
    if (item->column() == 0)
        entry.Name = item->text();
    else if (item->column() <= DataColumns)
        SetCellValue(entry, item->column() - 1, item->text());
    else
        return;
    FillOpticsRow(item->row());
    Recalculate();
}

void TPlannerForm::FillOpticsTable()
{
    const QString unit = QStringLiteral(" [") + UnitName(FUnit) + u']';
    OpticsTable->setHorizontalHeaderLabels({FTexts[PlannerText::Name], QStringLiteral("M90") + unit,
                                            QStringLiteral("a") + unit, QStringLiteral("D") + unit,
                                            FTexts[PlannerText::Colour]});
    OpticsTable->setRowCount(int(FOptics.size()));
    for (int row = 0; row < int(FOptics.size()); ++row)
        FillOpticsRow(row);
    UpdateButtons();
}

void TPlannerForm::FillOpticsRow(int row)
{
    const OpticsEntry &entry = FOptics[std::size_t(row)];
    const bool fixed = row == 0;
    FFilling = true;
    struct Reset
    {
        bool &Flag;
        ~Reset() { Flag = false; }
    } reset{FFilling};
    const auto cell = [&](int column) {
        QTableWidgetItem *item = OpticsTable->item(row, column);
        if (!item) {
            item = new QTableWidgetItem;
            OpticsTable->setItem(row, column, item);
        }
        Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        if (!fixed && column != ColourColumn)
            flags |= Qt::ItemIsEditable;
        item->setFlags(flags);
        item->setForeground(fixed ? QBrush(ReadOnlyText) : QBrush());
        return item;
    };
    cell(0)->setText(entry.Name);
    for (int i = 0; i < DataColumns; ++i) {
        QTableWidgetItem *item = cell(i + 1);
        item->setText(entry.Value[i] ? FormatTypedLength(*entry.Value[i], FUnit) : entry.Typed[i]);
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        const bool problem = entry.Problem[i].has_value();
        item->setBackground(problem ? QBrush(ProblemBackground) : QBrush());
        item->setToolTip(problem ? PlainToolTip(FTexts[*entry.Problem[i]]) : QString());
    }
    QTableWidgetItem *colour = cell(ColourColumn);
    colour->setBackground(QColor::fromRgb(entry.Colour));
    colour->setData(Qt::AccessibleTextRole, QColor::fromRgb(entry.Colour).name());
}

int TPlannerForm::SelectedRow() const
{
    return OpticsTable->currentRow();
}

void TPlannerForm::UpdateButtons()
{
    const bool room = FOptics.size() < std::size_t(MaxPlannerOptics);
    AddButton->setEnabled(room);
    DuplicateButton->setEnabled(room && SelectedRow() >= 0);
    RemoveButton->setEnabled(SelectedRow() > 0);
    ColourButton->setEnabled(SelectedRow() > 0);
}

QRgb TPlannerForm::FreeColour() const
{
    for (const QRgb colour : Palette) {
        if (std::none_of(FOptics.begin(), FOptics.end(), [colour](const OpticsEntry &e) {
                return (e.Colour & 0xffffff) == colour;
            }))
            return colour;
    }
    return Palette[FOptics.size() % std::size(Palette)];
}

void TPlannerForm::AddButtonClick()
{
    if (FOptics.size() >= std::size_t(MaxPlannerOptics))
        return;
    OpticsEntry entry;
    entry.Name = FTexts[PlannerText::NewOptics] + u' ' + QString::number(FOptics.size() + 1);
    for (int i = 0; i < DataColumns; ++i)
        entry.Problem[i] = PlannerText::ErrEmpty;
    entry.Colour = FreeColour();
    FOptics.push_back(entry);
    FillOpticsTable();
    OpticsTable->setCurrentCell(int(FOptics.size()) - 1, 1);
    Recalculate();
}

void TPlannerForm::DuplicateButtonClick()
{
    const int row = SelectedRow();
    if (FOptics.size() >= std::size_t(MaxPlannerOptics) || row < 0 || row >= int(FOptics.size()))
        return;
    OpticsEntry copy = FOptics[std::size_t(row)];
    copy.Name += QStringLiteral(" (") + QString::number(FOptics.size() + 1) + u')';
    copy.Colour = FreeColour();
    FOptics.push_back(copy);
    FillOpticsTable();
    OpticsTable->setCurrentCell(int(FOptics.size()) - 1, 0);
    Recalculate();
}

void TPlannerForm::RemoveButtonClick()
{
    const int row = SelectedRow();
    if (row <= 0 || row >= int(FOptics.size()))
        return;
    FOptics.erase(FOptics.begin() + row);
    FillOpticsTable();
    OpticsTable->setCurrentCell(std::min(row, int(FOptics.size()) - 1), 0);
    Recalculate();
}

void TPlannerForm::ColourButtonClick()
{
    const int row = SelectedRow();
    if (row <= 0 || row >= int(FOptics.size()))
        return;
    OpticsEntry &entry = FOptics[std::size_t(row)];
    const QColor current = QColor::fromRgb(entry.Colour);
    std::optional<QColor> chosen;
    if (AskColour) {
        chosen = AskColour(current);
    } else {
        const QColor picked = QColorDialog::getColor(current, this);
        if (picked.isValid())
            chosen = picked;
    }
    if (!chosen)
        return;
    entry.Colour = chosen->rgb() & 0xffffff;
    FillOpticsRow(row);
    Recalculate();
}

// ---------------------------------------------------------------- files

std::optional<QString> TPlannerForm::SavePath(const QString &filter, const QString &suffix)
{
    if (AskSavePath)
        return AskSavePath(filter, suffix);
    QFileDialog dialog(this);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(filter);
    dialog.setDefaultSuffix(suffix);
    if (!FLastSaveFile.isEmpty())
        dialog.selectFile(QFileInfo(FLastSaveFile).completeBaseName() + u'.' + suffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    FLastSaveFile = dialog.selectedFiles().constFirst();
    return FLastSaveFile;
}

void TPlannerForm::ExportCsvButtonClick()
{
    const std::optional<QString> path =
        SavePath(QStringLiteral("CSV File (*.csv)"), QStringLiteral("csv"));
    if (path)
        WriteFileAtomically(*path, ComparisonCsv(FInput, FResults, FTexts, FDecimalSeparator));
}

QImage TPlannerForm::ChartImage(QSize size) const
{
    // Twice the pixels: sharp when shown or printed at the logical size.
    constexpr int scale = 2;
    QImage image(size * scale, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::white);
    ChartData data = Chart->Data();
    data.Cursor.reset();
    QPainter painter(&image);
    painter.setFont(Chart->font());
    DrawChart(painter, QRectF(QPointF(0, 0), QSizeF(size)), data);
    return image;
}

QByteArray TPlannerForm::ChartSvg(QSize size) const
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(size);
    generator.setViewBox(QRect(QPoint(0, 0), size));
    generator.setTitle(FTexts[PlannerText::Title]);
    ChartData data = Chart->Data();
    data.Cursor.reset();
    QPainter painter(&generator);
    painter.setFont(Chart->font());
    DrawChart(painter, QRectF(QPointF(0, 0), QSizeF(size)), data);
    painter.end();
    return buffer.data();
}

void TPlannerForm::SaveChart(const QString &filter, const QString &suffix, bool svg)
{
    const std::optional<QString> path = SavePath(filter, suffix);
    if (!path)
        return;
    const QSize size = Chart->width() >= 320 ? Chart->size() : Chart->sizeHint();
    QByteArray bytes;
    if (svg) {
        bytes = ChartSvg(size);
    } else {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        ChartImage(size).save(&buffer, "PNG");
    }
    WriteFileAtomically(*path, bytes);
}

void TPlannerForm::SavePngButtonClick()
{
    SaveChart(QStringLiteral("PNG File (*.png)"), QStringLiteral("png"), false);
}

void TPlannerForm::SaveSvgButtonClick()
{
    SaveChart(QStringLiteral("SVG File (*.svg)"), QStringLiteral("svg"), true);
}

// ---------------------------------------------------------------- settings

// The planner keeps a section of its own: its fields as typed, the unit, the
// window's place and the optics beyond the calculator's, in millimetres.
void TPlannerForm::ReadSettings()
{
    const TUserIniFile settings;
    const auto read = [&](const QString &key, const QString &fallback = QString()) {
        return settings.ReadSetting(Section, key, fallback);
    };
    {
        const QSignalBlocker blocker(UnitCombo);
        UnitCombo->setCurrentIndex(read(QStringLiteral("Unit")) == QStringLiteral("inch") ? 1 : 0);
    }
    FUnit = Unit();
    TargetEdit->setText(read(QStringLiteral("Target")));
    DistanceEdit->setText(read(QStringLiteral("Distance")));
    MarginCombo->setCurrentText(read(QStringLiteral("Margin"), QStringLiteral("1.5")));
    TiltEdit->setText(read(QStringLiteral("Tilt"), QStringLiteral("0")));

    const int count = std::clamp(read(QStringLiteral("Optics")).toInt(), 0, MaxPlannerOptics - 1);
    for (int n = 1; n <= count; ++n) {
        const QString key = QStringLiteral("Optics%1").arg(n);
        OpticsEntry entry;
        entry.Name = read(key + QStringLiteral("Name"));
        const LengthUnit unit = FUnit;
        FUnit = LengthUnit::Millimetre;
        SetCellValue(entry, 0, read(key + QStringLiteral("M90")));
        SetCellValue(entry, 1, read(key + QStringLiteral("A")));
        SetCellValue(entry, 2, read(key + QStringLiteral("D")));
        FUnit = unit;
        const QColor colour(read(key + QStringLiteral("Colour")));
        entry.Colour = colour.isValid() ? colour.rgb() & 0xffffff : FreeColour();
        FOptics.push_back(entry);
    }

    const QRect place(read(QStringLiteral("Left")).toInt(), read(QStringLiteral("Top")).toInt(),
                      read(QStringLiteral("Width")).toInt(),
                      read(QStringLiteral("Height")).toInt());
    const QScreen *screen = QGuiApplication::screenAt(place.center());
    // A place on a screen that is gone, or none stored: centred at the
    // default size.
    if (place.width() >= minimumSizeHint().width() && place.height() > 100 && screen) {
        resize(place.size());
        move(place.topLeft());
    } else {
        resize(DefaultSize);
        if (const QScreen *primary = QGuiApplication::primaryScreen())
            move(primary->availableGeometry().center() - rect().center());
    }
}

void TPlannerForm::WriteSettings()
{
    // Every key in one batch: the file is read and replaced once.
    QList<std::pair<QString, QString>> values;
    const auto write = [&](const QString &key, const QString &value) {
        values.append({key, value});
    };
    write(QStringLiteral("Unit"), UnitName(FUnit));
    write(QStringLiteral("Target"), TargetEdit->text());
    write(QStringLiteral("Distance"), DistanceEdit->text());
    write(QStringLiteral("Margin"), MarginCombo->currentText());
    write(QStringLiteral("Tilt"), TiltEdit->text());
    const QRect place = geometry();
    write(QStringLiteral("Left"), QString::number(place.left()));
    write(QStringLiteral("Top"), QString::number(place.top()));
    write(QStringLiteral("Width"), QString::number(place.width()));
    write(QStringLiteral("Height"), QString::number(place.height()));
    write(QStringLiteral("Optics"), QString::number(FOptics.size() - 1));
    // Every slot is written, so a removed row leaves no stale values.
    for (int n = 1; n < MaxPlannerOptics; ++n) {
        const bool used = n < int(FOptics.size());
        const OpticsEntry entry = used ? FOptics[std::size_t(n)] : OpticsEntry{};
        const QString key = QStringLiteral("Optics%1").arg(n);
        write(key + QStringLiteral("Name"), entry.Name);
        const char *fields[DataColumns] = {"M90", "A", "D"};
        for (int i = 0; i < DataColumns; ++i)
            write(key + QLatin1String(fields[i]),
                  entry.Value[i] ? Number(*entry.Value[i]) : QString());
        write(key + QStringLiteral("Colour"),
              used ? QColor::fromRgb(entry.Colour).name() : QString());
    }
    TUserIniFile().WriteSettings(Section, values);
}
