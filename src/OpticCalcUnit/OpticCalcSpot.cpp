// The interactive calculation of the calculator window: the basic data, the
// two computed values with the slider and the red line, and the keys typed
// into the edits and the table.
#include "OpticCalcUnit/OpticCalcForm.h"

#include "NumberText.h"
#include "OpticCalcUnit/KeyFilter.h"
#include "SpotModel.h"

#include <QMessageBox>
#include <QScopedValueRollback>

#include <cmath>

namespace {

// Open while the invalid-value box is shown, so a second request is dropped.
bool InvalidValueShowing = false;

QString Format(float value)
{
    return QString::fromStdString(FormatNumber(value));
}

} // namespace

void TOpticCalcForm::ReadBasicData()
{
    LoadHiddenPictures();
    FBasicApertur = ParseNumber(AnsiText(DEdit->text()));
    FBasicA = ParseNumber(AnsiText(AEdit->text()));
    FBasicM90 = ParseNumber(AnsiText(MEdit->text()));
    const TPicture &wanted = FBasicM90 > FBasicApertur ? *Image_2 : *Image_1;
    if (Image1->Tag != wanted.Tag)
        Image1->Assign(wanted);
}

bool TOpticCalcForm::CalcSpot(QObject *sender, float value)
{
    const SpotOptics optics{FBasicM90, FBasicA, FBasicApertur};
    const auto reject = [this] {
        M2Edit->clear();
        A2Edit->clear();
        return false;
    };

    if (sender == M2Edit) {
        FCalcSpot = value;
        const bool reachable = AreInputsValid(optics, value) && IsSpotReachable(optics, value);
        const float distance =
            reachable ? DistanceForSpot(optics, value, Slider->value() > FocusPosition) : 0;
        // Extreme data can leave the float range; such a spot has no distance.
        if (!reachable || !std::isfinite(distance)) {
            reject();
            ShowInvalidValue(FInvalidValueText);
            return false;
        }
        FCalcDistance = distance;
        SetSliderByProgram(PositionForDistance(FBasicA, FCalcDistance));
        M2Edit->setText(Format(FCalcSpot));
        A2Edit->setText(Format(FCalcDistance));
        return true;
    }

    FCalcDistance = value;
    if (!AreInputsValid(optics, value))
        return reject();
    const float spot = SpotAtDistance(optics, value);
    if (!std::isfinite(spot))
        return reject();
    FCalcSpot = spot;
    if (sender == A2Edit || sender == nullptr)
        SetSliderByProgram(PositionForDistance(FBasicA, FCalcDistance));
    if (sender != CalcButton) {
        M2Edit->setText(Format(FCalcSpot));
        A2Edit->setText(Format(FCalcDistance));
    }
    return true;
}

void TOpticCalcForm::SetSliderByProgram(int position)
{
    // The slider raises its change event inside setValue; SliderChange then
    // only moves the line.
    const QScopedValueRollback byProgram(FSliderByProgram, true);
    Slider->setValue(position);
}

void TOpticCalcForm::SliderChange(QObject *sender)
{
    Line->move(Slider->x() + Slider->value() + 7, Line->y());
    if (FSliderByProgram)
        return;
    ReadBasicData();
    CalcSpot(sender, DistanceForPosition(FBasicA, Slider->value()));
    UpdateLineLabel();
}

void TOpticCalcForm::UpdateLineLabel()
{
    const QString text = A2Edit->text().isEmpty()
                             ? QString()
                             : M2Edit->text() + u'@' + A2Edit->text() + QStringLiteral("mm");
    LineLabel->setText(text);
    const QFontMetrics metrics(LineLabel->font());
    LineLabel->resize(metrics.horizontalAdvance(text.isEmpty() ? QStringLiteral(" ") : text),
                      LineLabel->height());
    int left = Line->x() - LineLabel->width() / 2;
    if (ClientArea->width() < left + LineLabel->width())
        left = ClientArea->width() - LineLabel->width();
    LineLabel->move(left, LineLabel->y());

    // The edit draws its text 2 pixels inside its frame; it gets that margin
    // on both sides, so its text starts where the label's does and is never
    // clipped. Against the right edge the margin lies outside the window and
    // the text ends at the window's edge.
    constexpr int margin = 2;
    LineEdit->setGeometry(LineLabel->x() - margin, LineLabel->y(), LineLabel->width() + 2 * margin,
                          LineEdit->height());
    LineEdit->setText(text);
    LineEdit->setCursorPosition(0);
}

void TOpticCalcForm::ShowInvalidValue(const QString &text)
{
    if (InvalidValueShowing)
        return;
    // Cleared however the box ends; a box that could not open must not
    // silence every later message.
    const QScopedValueRollback showing(InvalidValueShowing, true);
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Problem"), text, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void TOpticCalcForm::MEditKeyPress(char &key)
{
    if (key == EnterKey)
        SliderChange(nullptr);
    FilterNumberKey(key);
}

void TOpticCalcForm::AEditKeyPress(char &key)
{
    MEditKeyPress(key);
}

void TOpticCalcForm::DEditKeyPress(char &key)
{
    MEditKeyPress(key);
}

void TOpticCalcForm::M2EditKeyPress(char &key)
{
    ComputedEditKeyPress(M2Edit, key);
}

void TOpticCalcForm::A2EditKeyPress(char &key)
{
    ComputedEditKeyPress(A2Edit, key);
}

// Enter in a computed value's edit computes the other value from it.
void TOpticCalcForm::ComputedEditKeyPress(TEdit *edit, char &key)
{
    if (key == EnterKey) {
        ReadBasicData();
        CalcSpot(edit, ParseNumber(AnsiText(edit->text())));
        UpdateLineLabel();
    }
    FilterNumberKey(key);
}

void TOpticCalcForm::GridKeyPress(char &key)
{
    if (key == EnterKey)
        CalcButtonClick();
    FilterNumberKey(key);
}

// Controls are enabled and disabled nowhere else.
void TOpticCalcForm::WatchTimerTimer()
{
    const bool hasRows = Grid->RowCount() > 1;
    Slider->setEnabled(!MEdit->text().isEmpty() && !AEdit->text().isEmpty() &&
                       !DEdit->text().isEmpty());
    CalcButton->setEnabled(hasRows && Slider->isEnabled());
    PrintButton->setEnabled(hasRows);
    ExportButton->setEnabled(hasRows);
    GridClearButton->setEnabled(hasRows);
    ToTableButton->setEnabled(!M2Edit->text().isEmpty() && !A2Edit->text().isEmpty());
    M2Edit->setEnabled(Slider->isEnabled());
    A2Edit->setEnabled(Slider->isEnabled());
    Grid->setEnabled(Slider->isEnabled());
    NewRowButton->setEnabled(Slider->isEnabled());
    Label13->setEnabled(M2Edit->isEnabled());
    Label14->setEnabled(A2Edit->isEnabled());
}
