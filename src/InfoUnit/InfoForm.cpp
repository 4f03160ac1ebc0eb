#include "InfoForm.h"

#include "shared/PlainText.h"

#include <QDesktopServices>
#include <QEnterEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPixmap>

std::function<bool(const QUrl &)> TInfoForm::OpenUrl = [](const QUrl &url) {
    return QDesktopServices::openUrl(url);
};

namespace {

// Pixel sizes, not points: the window keeps its layout at any screen resolution.
constexpr int FontPixels = 11;     // Tahoma 8 pt
constexpr int NameFontPixels = 12; // Tahoma 9 pt

void SetLinkStyle(QLabel *label, bool bold)
{
    QFont font = label->font();
    font.setBold(bold);
    font.setItalic(false);
    font.setUnderline(true);
    font.setStrikeOut(false);
    label->setFont(font);

    // The link is as wide as its text and grows to the left, so its right
    // edge stays where it was designed.
    const QString text = label->text().isEmpty() ? QStringLiteral(" ") : label->text();
    const int width = QFontMetrics(font).horizontalAdvance(text);
    const int right = label->x() + label->width();
    label->setGeometry(right - width, label->y(), width, label->height());
}

} // namespace

TInfoForm::TInfoForm(QWidget *calculatorWindow, const TFileInfo &fileInfo)
    : QDialog(calculatorWindow, Qt::Dialog | Qt::FramelessWindowHint), FFileInfo(fileInfo)
{
    setupUi(this);
    // The name is the calculator's caption, a text of the language file.
    for (QLabel *label : findChildren<QLabel *>())
        label->setTextFormat(Qt::PlainText);

    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(FontPixels);
    setFont(font);
    QFont nameFont = font;
    nameFont.setPixelSize(NameFontPixels);
    nameFont.setBold(true);
    ProgrammNameLabel->setFont(nameFont);

    setFixedSize(328, 269);
    setWindowOpacity(230 / 255.0);
    QPalette windowPalette = palette();
    windowPalette.setColor(QPalette::Window, QColor(239, 239, 239));
    setPalette(windowPalette);
    setAutoFillBackground(true);

    // The logo's control reaches past the window's right edge; the logo is
    // fitted to the part that shows, with the left margin kept on the right.
    const QPixmap logo(QStringLiteral(":/images/logo_large.png"));
    if (!logo.isNull()) {
        const int shown = AdvSmoothPanel1->width() - 2 * Image1->x();
        Image1->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        Image1->setPixmap(logo.scaled(QSize(shown, Image1->height()), Qt::KeepAspectRatio,
                                      Qt::SmoothTransformation));
    }

    for (QLabel *link : {MailLabel, UrlLabel}) {
        QPalette linkPalette = link->palette();
        linkPalette.setColor(QPalette::WindowText, QColor(0, 0, 255));
        link->setPalette(linkPalette);
        SetLinkStyle(link, false);
        link->installEventFilter(this);
    }

    connect(OKButton, &QPushButton::clicked, this, &TInfoForm::OKButtonClick);
}

void TInfoForm::showEvent(QShowEvent *event)
{
    FormShow();
    if (QWidget *calculator = parentWidget()) {
        QRect frame(QPoint(), frameGeometry().size());
        frame.moveCenter(calculator->frameGeometry().center());
        move(frame.topLeft());
    }
    QDialog::showEvent(event);
}

bool TInfoForm::eventFilter(QObject *watched, QEvent *event)
{
    const bool mail = watched == MailLabel;
    if (!mail && watched != UrlLabel)
        return QDialog::eventFilter(watched, event);

    switch (event->type()) {
    case QEvent::Enter:
        mail ? MailLabelMouseEnter() : UrlLabelMouseEnter();
        break;
    case QEvent::Leave:
        mail ? MailLabelMouseLeave() : UrlLabelMouseLeave();
        break;
    case QEvent::MouseButtonRelease: {
        // A click is a left release over the label, as with a button.
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton &&
            static_cast<QWidget *>(watched)->rect().contains(mouse->position().toPoint())) {
            mail ? MailLabelClick() : UrlLabelClick();
            return true;
        }
        break;
    }
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

void TInfoForm::FormShow()
{
    CopyRightLabel->setText(FFileInfo.GetLegalCopyright());
    ProgrammNameLabel->setText(parentWidget() ? CaptionOfWindowTitle(parentWidget()->windowTitle())
                                              : QString());
    VersionLabel->setText(QStringLiteral("Version: ") + FFileInfo.GetFileVersion() +
                          QStringLiteral("  ::  ") + FFileInfo.GetLastCompiledTime());
}

void TInfoForm::OKButtonClick()
{
    done(1);
}

void TInfoForm::MailLabelMouseEnter()
{
    SetLinkStyle(MailLabel, true);
}

void TInfoForm::MailLabelMouseLeave()
{
    SetLinkStyle(MailLabel, false);
}

void TInfoForm::UrlLabelMouseEnter()
{
    SetLinkStyle(UrlLabel, true);
}

void TInfoForm::UrlLabelMouseLeave()
{
    SetLinkStyle(UrlLabel, false);
}

void TInfoForm::MailLabelClick()
{
    OpenUrl(QUrl(QStringLiteral("mailto:") + MailLabel->text()));
}

void TInfoForm::UrlLabelClick()
{
    // The caption has no scheme; the Windows shell recognises "www." by
    // itself, a desktop's URL handler needs the web scheme spelled out.
    OpenUrl(QUrl::fromUserInput(UrlLabel->text()));
}
