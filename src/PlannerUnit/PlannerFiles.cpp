// The planner's files and its settings.
#include "PlannerUnit/PlannerForm.h"

#include "PlannerUnit/ComparisonModel.h"
#include "PlannerUnit/DecisionSheet.h"
#include "PlannerUnit/PlannerChart.h"
#include "PlannerUnit/PlannerFormat.h"
#include "Settingfiles/UserIniFile.h"
#include "shared/CsvWriter.h"
#include "shared/EscapedText.h"
#include "shared/SaveDialog.h"
#include "shared/SaveFolders.h"

#include <QBuffer>
#include <QFileInfo>
#include <QPainter>
#include <QScreen>
#include <QSvgGenerator>

namespace {

const QString Section = QStringLiteral("TargetPlanner");
// A hand-edited file may list more optics than the window adds; they are
// kept, up to a count that no one types by hand.
constexpr int MaxStoredOptics = 32;
// The kinds of file saved, with the key of the folder last saved to.
constexpr std::pair<const char *, const char *> SaveKinds[] = {
    {"csv", "CsvFolder"}, {"png", "PngFolder"}, {"svg", "SvgFolder"}};

QString Number(float millimetres)
{
    // Nine digits give every float back exactly.
    return QString::number(double(millimetres), 'g', 9);
}

LengthUnit UnitFrom(const QString &name, LengthUnit fallback)
{
    if (name == QStringLiteral("inch"))
        return LengthUnit::Inch;
    return name == QStringLiteral("mm") ? LengthUnit::Millimetre : fallback;
}

} // namespace

// ---------------------------------------------------------------- files

QString TPlannerForm::SaveFolder(const QString &suffix) const
{
    return FSaveFolders->StartFolder(suffix);
}

std::optional<QString> TPlannerForm::SavePath(const QString &filter, const QString &suffix)
{
    std::optional<QString> path;
    if (AskSavePath)
        path = AskSavePath(filter, suffix);
    else
        path = AskSaveFile(this, filter, suffix,
                           FLastSaveFile.isEmpty()
                               ? QString()
                               : QFileInfo(FLastSaveFile).completeBaseName() + u'.' + suffix,
                           FSaveFolders->StartFolder(suffix));
    if (path) {
        FLastSaveFile = *path;
        FSaveFolders->Remember(suffix, *path);
    }
    return path;
}

void TPlannerForm::ExportCsvButtonClick()
{
    const std::optional<QString> path =
        SavePath(QStringLiteral("CSV File (*.csv)"), QStringLiteral("csv"));
    if (path)
        WriteFileAtomically(*path, ComparisonCsv(FInput, FResults, FTexts, FDecimalSeparator));
}

// The chart as on the screen, without the cursor and the hint.
void TPlannerForm::DrawChartFile(QPainter &painter, QSize size) const
{
    ChartData data = Chart->Data();
    data.Cursor.reset();
    data.Hint.clear();
    painter.setFont(Chart->font());
    DrawChart(painter, QRectF(QPointF(0, 0), QSizeF(size)), data);
}

QImage TPlannerForm::ChartImage(QSize size) const
{
    // Twice the pixels: sharp when shown or printed at the logical size.
    return ChartPicture(Chart->Data(), size, Chart->font(), 2);
}

QByteArray TPlannerForm::ChartSvg(QSize size) const
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(size);
    generator.setViewBox(QRect(QPoint(0, 0), size));
    // The font is sized in points: at the screen's resolution its text is as
    // large as on the screen and in the PNG, not the 72 dpi default.
    generator.setResolution(Chart->logicalDpiY());
    generator.setTitle(FTexts[PlannerText::Title]);
    QPainter painter(&generator);
    DrawChartFile(painter, size);
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

// The planner keeps a section of its own: its fields as typed with the unit
// they were typed in, the unit shown, the window's place, the folders last
// saved to and the optics beyond the calculator's, in millimetres.
void TPlannerForm::ReadSettings()
{
    const TUserIniFile settings;
    const auto read = [&](const QString &key, const QString &fallback = QString()) {
        return settings.ReadSetting(Section, key, fallback);
    };
    FUnit = UnitFrom(read(QStringLiteral("Unit")), LengthUnit::Millimetre);
    {
        const QSignalBlocker blocker(UnitCombo);
        UnitCombo->setCurrentIndex(FUnit == LengthUnit::Inch ? 1 : 0);
    }
    for (const auto &[edit, length, key] :
         {std::tuple{TargetEdit, &FTarget, QStringLiteral("Target")},
          std::tuple{DistanceEdit, &FDistance, QStringLiteral("Distance")}}) {
        length->Type(read(key), UnitFrom(read(key + QStringLiteral("Unit")), FUnit));
        edit->setText(length->Shown(FUnit));
    }
    MarginCombo->setCurrentText(read(QStringLiteral("Margin"), QStringLiteral("1.5")));
    TiltEdit->setText(read(QStringLiteral("Tilt"), QStringLiteral("0")));
    for (const auto &[kind, key] : SaveKinds)
        FSaveFolders->Restore(QLatin1String(kind), read(QLatin1String(key)));

    const int count = std::clamp(read(QStringLiteral("Optics")).toInt(), 0, MaxStoredOptics);
    for (int n = 1; n <= count; ++n) {
        const QString key = QStringLiteral("Optics%1").arg(n);
        OpticsEntry entry;
        entry.Name = UnescapeFromCp1252(read(key + QStringLiteral("Name")));
        const char *fields[DataColumns] = {"M90", "A", "D"};
        for (int i = 0; i < DataColumns; ++i)
            entry.Data[i].Type(read(key + QLatin1String(fields[i])), LengthUnit::Millimetre,
                               DecimalMark::Point);
        const QColor colour(read(key + QStringLiteral("Colour")));
        entry.Colour = colour.isValid() ? colour.rgb() & 0xffffff : FreeColour();
        FOptics.push_back(entry);
    }

    PlaceWindow(QByteArray::fromBase64(read(QStringLiteral("Geometry")).toLatin1()),
                QRect(read(QStringLiteral("Left")).toInt(), read(QStringLiteral("Top")).toInt(),
                      read(QStringLiteral("Width")).toInt(),
                      read(QStringLiteral("Height")).toInt()));
}

// A stored place comes back as it was; one on a screen that is gone, or
// none stored, gives the default size centred on the primary screen. Either
// way the window stays within the screen's free area.
void TPlannerForm::PlaceWindow(const QByteArray &stored, const QRect &oldPlace)
{
    const QScreen *primary = QGuiApplication::primaryScreen();
    bool placed = !stored.isEmpty() && restoreGeometry(stored);
    if (!placed && oldPlace.width() >= minimumSizeHint().width() && oldPlace.height() > 100 &&
        QGuiApplication::screenAt(oldPlace.center())) {
        // Files from before the saved geometry held the client area's place.
        setGeometry(oldPlace);
        placed = true;
    }
    const QScreen *screen = placed ? QGuiApplication::screenAt(geometry().center()) : primary;
    if (!screen)
        screen = primary;
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    if (!placed) {
        resize(DefaultSize(available));
        move(available.center() - rect().center());
        return;
    }
    // Room for the title bar and the frame.
    resize(size().boundedTo(available.size() - QSize(12, 36)));
    const QRect place = geometry();
    move(std::clamp(place.left(), available.left(), available.right() - place.width()),
         std::clamp(place.top(), available.top(), available.bottom() - place.height()));
}

void TPlannerForm::WriteSettings()
{
    // Every key in one batch: the file is read and replaced once.
    QList<std::pair<QString, QString>> values;
    const auto write = [&](const QString &key, const QString &value) {
        values.append({key, value});
    };
    write(QStringLiteral("Unit"), UnitName(FUnit));
    write(QStringLiteral("Target"), FTarget.Text);
    write(QStringLiteral("TargetUnit"), UnitName(FTarget.Unit));
    write(QStringLiteral("Distance"), FDistance.Text);
    write(QStringLiteral("DistanceUnit"), UnitName(FDistance.Unit));
    write(QStringLiteral("Margin"), MarginCombo->currentText());
    write(QStringLiteral("Tilt"), TiltEdit->text());
    write(QStringLiteral("Geometry"), QString::fromLatin1(saveGeometry().toBase64()));
    for (const auto &[kind, key] : SaveKinds)
        write(QLatin1String(key), FSaveFolders->Stored(QLatin1String(kind)));
    write(QStringLiteral("Optics"), QString::number(FOptics.size() - 1));
    // Every slot is written, so a removed row leaves no stale values.
    const int slotCount = std::max(MaxPlannerOptics, int(FOptics.size()));
    for (int n = 1; n < slotCount; ++n) {
        const bool used = n < int(FOptics.size());
        const OpticsEntry entry = used ? FOptics[std::size_t(n)] : OpticsEntry{};
        const QString key = QStringLiteral("Optics%1").arg(n);
        write(key + QStringLiteral("Name"), EscapeForCp1252(entry.Name));
        const char *fields[DataColumns] = {"M90", "A", "D"};
        // A text that is no valid length is kept as typed, as in the fields.
        for (int i = 0; i < DataColumns; ++i)
            write(key + QLatin1String(fields[i]),
                  entry.Value(i) ? Number(*entry.Value(i)) : entry.Data[i].Text);
        write(key + QStringLiteral("Colour"),
              used ? QColor::fromRgb(entry.Colour).name() : QString());
    }
    TUserIniFile().WriteSettings(Section, values);
}
