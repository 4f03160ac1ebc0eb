#include "OpticCalcUnit/Controls.h"

#include "shared/Cp1252.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QStringView>
#include <QStyle>
#include <QStyleOptionFocusRect>

#include <algorithm>
#include <cmath>

namespace {

constexpr char EnterChar = 13;
constexpr char BackspaceChar = 8;

bool IsControlChar(char c)
{
    const auto u = static_cast<unsigned char>(c);
    return u < 0x20 || u == 0x7F;
}

char ToByte(char32_t codePoint)
{
    if (codePoint > 0xFFFF)
        return '?';
    return ToCp1252(QString(QChar(char16_t(codePoint)))).at(0);
}

QString FromByte(char c)
{
    return FromCp1252(QByteArray(1, c));
}

// The control codes of the editing shortcuts; 0 for any other key.
char ShortcutCode(const QKeyEvent &event)
{
    if ((event.modifiers() & ~Qt::KeypadModifier) != Qt::ControlModifier)
        return 0;
    switch (event.key()) {
    case Qt::Key_A:
        return 1;
    case Qt::Key_C:
        return 3;
    case Qt::Key_V:
        return 22;
    case Qt::Key_X:
        return 24;
    case Qt::Key_Z:
        return 26;
    default:
        return 0;
    }
}

// The characters a key press types; empty for keys that type none. fromText tells whether they
// came from the event's text, which may hold characters outside the code page.
QByteArray TypedChars(const QKeyEvent &event, bool &fromText)
{
    fromText = false;
    switch (event.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return QByteArray(1, EnterChar);
    case Qt::Key_Backspace:
        return QByteArray(1, BackspaceChar);
    default:
        break;
    }
    if (const char code = ShortcutCode(event))
        return QByteArray(1, code);
    // Other Ctrl combinations are commands; Ctrl+Alt is how AltGr arrives on Windows, and types.
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    if ((modifiers & Qt::ControlModifier) && !(modifiers & Qt::AltModifier))
        return {};
    const QString text = event.text();
    QByteArray chars;
    for (const char32_t codePoint : QStringView(text).toUcs4()) {
        // Tab, Escape and Delete carry control text but are keys, not characters.
        if (codePoint < 0x20 || (codePoint >= 0x7F && codePoint < 0xA0))
            return {};
        chars += ToByte(codePoint);
    }
    fromText = true;
    return chars;
}

std::unique_ptr<QKeyEvent> MakeKey(int key, Qt::KeyboardModifiers modifiers, const QString &text)
{
    return std::make_unique<QKeyEvent>(QEvent::KeyPress, key, modifiers, text);
}

// A key press that performs the given characters.
std::unique_ptr<QKeyEvent> KeyPressFor(const QByteArray &chars)
{
    if (chars.size() == 1) {
        switch (chars.at(0)) {
        case EnterChar:
            return MakeKey(Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
        case BackspaceChar:
            return MakeKey(Qt::Key_Backspace, Qt::NoModifier, QStringLiteral("\b"));
        case 1:
            return MakeKey(Qt::Key_A, Qt::ControlModifier, FromByte(1));
        case 3:
            return MakeKey(Qt::Key_C, Qt::ControlModifier, FromByte(3));
        case 22:
            return MakeKey(Qt::Key_V, Qt::ControlModifier, FromByte(22));
        case 24:
            return MakeKey(Qt::Key_X, Qt::ControlModifier, FromByte(24));
        case 26:
            return MakeKey(Qt::Key_Z, Qt::ControlModifier, FromByte(26));
        default:
            break;
        }
    }
    // Other control codes have no action here; only the printable characters remain.
    QString text;
    for (const char c : chars) {
        if (!IsControlChar(c))
            text += FromByte(c);
    }
    if (text.isEmpty())
        return nullptr;
    // Qt's key codes of Latin-1 characters are their upper-case codes.
    const char16_t upper = text.at(0).toUpper().unicode();
    return MakeKey(upper < 0x100 ? int(upper) : int(Qt::Key_unknown), Qt::NoModifier, text);
}

} // namespace

FilteredKey FilterKeyPress(const QKeyEvent &event, const KeyPressEvent &handler)
{
    FilteredKey filtered;
    bool fromText = false;
    const QByteArray typed = TypedChars(event, fromText);
    if (typed.isEmpty())
        return filtered;

    QByteArray kept;
    for (char c : typed) {
        if (handler)
            handler(c);
        if (c != 0)
            kept += c;
    }
    // A character outside the code page reached the handler as "?", so "?" is what it types.
    if (kept == typed && (!fromText || FromCp1252(typed) == event.text())) {
        filtered.Result = FilteredKey::Unchanged;
        return filtered;
    }
    filtered.Replacement = KeyPressFor(kept);
    filtered.Result = filtered.Replacement ? FilteredKey::Replaced : FilteredKey::Dropped;
    return filtered;
}

void DeliverFilteredKey(QKeyEvent *event, const KeyPressEvent &handler, const KeyDelivery &deliver,
                        bool passesEnterOn)
{
    const FilteredKey filtered = FilterKeyPress(*event, handler);
    switch (filtered.Result) {
    case FilteredKey::NoCharacter:
        deliver(event);
        break;
    case FilteredKey::Dropped:
        event->accept();
        break;
    case FilteredKey::Unchanged:
        if (passesEnterOn && IsEnterKey(*event))
            event->ignore();
        else
            deliver(event);
        break;
    case FilteredKey::Replaced:
        if (passesEnterOn && IsEnterKey(*filtered.Replacement)) {
            event->ignore();
            break;
        }
        deliver(filtered.Replacement.get());
        event->setAccepted(filtered.Replacement->isAccepted());
        break;
    }
}

bool IsEnterKey(const QKeyEvent &event)
{
    return event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter;
}

// ---------------------------------------------------------------------------------------------

TEdit::TEdit(QWidget *parent) : QLineEdit(parent) {}

void TEdit::keyPressEvent(QKeyEvent *event)
{
    DeliverFilteredKey(event, OnKeyPress,
                       [this](QKeyEvent *key) { QLineEdit::keyPressEvent(key); });
}

// Composed characters (dead keys, input methods) are typed too and pass the same handler.
void TEdit::inputMethodEvent(QInputMethodEvent *event)
{
    const QString commit = event->commitString();
    if (commit.isEmpty() || !OnKeyPress) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    QString kept;
    for (const char32_t codePoint : QStringView(commit).toUcs4()) {
        char c = ToByte(codePoint);
        OnKeyPress(c);
        if (c != 0 && !IsControlChar(c))
            kept += FromByte(c);
    }
    QInputMethodEvent filtered(event->preeditString(), event->attributes());
    filtered.setCommitString(kept, event->replacementStart(), event->replacementLength());
    QLineEdit::inputMethodEvent(&filtered);
    event->accept();
}

// ---------------------------------------------------------------------------------------------

TPicture::TPicture(QWidget *parent) : QLabel(parent) {}

void TPicture::Assign(const TPicture &source)
{
    setPixmap(source.pixmap());
    Tag = source.Tag;
}

// ---------------------------------------------------------------------------------------------

namespace {

struct CaptionTag
{
    enum Kind
    {
        None,
        BoldOpen,
        BoldClose,
        ParaOpen,
        ParaClose
    };
    Kind Type = None;
    qsizetype Length = 0;
    bool HasAlign = false;
    Qt::Alignment Align;
};

class TagReader
{
public:
    TagReader(QStringView text, qsizetype pos) : FText(text), FPos(pos) {}

    bool Take(QChar c)
    {
        if (FPos < FText.size() && FText.at(FPos).toUpper() == c.toUpper()) {
            ++FPos;
            return true;
        }
        return false;
    }
    bool TakeWord(QStringView word)
    {
        if (FText.mid(FPos).startsWith(word, Qt::CaseInsensitive)) {
            FPos += word.size();
            return true;
        }
        return false;
    }
    qsizetype SkipBlanks()
    {
        const qsizetype start = FPos;
        while (FPos < FText.size() && FText.at(FPos).isSpace())
            ++FPos;
        return FPos - start;
    }
    // A value in double or single quotes, or up to the next blank or ">".
    QStringView TakeValue()
    {
        if (FPos < FText.size() && (FText.at(FPos) == u'"' || FText.at(FPos) == u'\'')) {
            const QChar quote = FText.at(FPos);
            const qsizetype close = FText.indexOf(quote, FPos + 1);
            if (close < 0)
                return {};
            const QStringView value = FText.sliced(FPos + 1, close - FPos - 1);
            FPos = close + 1;
            return value;
        }
        const qsizetype start = FPos;
        while (FPos < FText.size() && !FText.at(FPos).isSpace() && FText.at(FPos) != u'>')
            ++FPos;
        return FText.sliced(start, FPos - start);
    }
    qsizetype Pos() const { return FPos; }

private:
    QStringView FText;
    qsizetype FPos;
};

bool ReadAlign(QStringView value, Qt::Alignment &align)
{
    if (value.compare(u"left", Qt::CaseInsensitive) == 0)
        align = Qt::AlignLeft;
    else if (value.compare(u"center", Qt::CaseInsensitive) == 0)
        align = Qt::AlignHCenter;
    else if (value.compare(u"right", Qt::CaseInsensitive) == 0)
        align = Qt::AlignRight;
    else
        return false;
    return true;
}

// The recognised tag starting at pos, if any.
CaptionTag ReadTag(QStringView text, qsizetype pos)
{
    TagReader reader(text, pos);
    CaptionTag tag;
    if (!reader.Take(u'<'))
        return {};
    const bool closing = reader.Take(u'/');
    if (reader.Take(u'B')) {
        tag.Type = closing ? CaptionTag::BoldClose : CaptionTag::BoldOpen;
    } else if (reader.Take(u'P')) {
        tag.Type = closing ? CaptionTag::ParaClose : CaptionTag::ParaOpen;
        if (!closing && reader.SkipBlanks() > 0 && reader.TakeWord(u"align")) {
            reader.SkipBlanks();
            if (!reader.Take(u'='))
                return {};
            reader.SkipBlanks();
            if (!ReadAlign(reader.TakeValue(), tag.Align))
                return {};
            tag.HasAlign = true;
        }
    } else {
        return {};
    }
    reader.SkipBlanks();
    if (!reader.Take(u'>'))
        return {};
    tag.Length = reader.Pos() - pos;
    return tag;
}

} // namespace

CaptionMarkup ParseCaptionMarkup(const QString &caption)
{
    CaptionMarkup markup;
    bool aligned = false;
    qsizetype pos = 0;
    while (pos < caption.size()) {
        const CaptionTag tag = caption.at(pos) == u'<' ? ReadTag(caption, pos) : CaptionTag{};
        if (tag.Type == CaptionTag::None) {
            markup.Text += caption.at(pos++);
            continue;
        }
        if (tag.Type == CaptionTag::BoldOpen)
            markup.Bold = true;
        if (tag.HasAlign && !aligned) {
            markup.Align = tag.Align;
            aligned = true;
        }
        pos += tag.Length;
    }
    return markup;
}

// ---------------------------------------------------------------------------------------------

TCaptionPanel::TCaptionPanel(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TCaptionPanel::SetCaption(const QString &caption)
{
    FCaption = caption;
    FMarkup = ParseCaptionMarkup(caption);
    update();
}

void TCaptionPanel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const int w = width();
    const int h = height();

    QLinearGradient bar(0, 0, 0, CaptionHeight);
    bar.setColorAt(0, QColor(255, 198, 140));
    bar.setColorAt(1, QColor(255, 128, 0));
    painter.fillRect(0, 0, w, CaptionHeight, bar);

    QLinearGradient body(0, CaptionHeight, 0, h);
    body.setColorAt(0, QColor(225, 226, 236));
    body.setColorAt(1, QColor(152, 150, 179));
    painter.fillRect(0, CaptionHeight, w, h - CaptionHeight, body);

    QFont captionFont = font();
    captionFont.setBold(FMarkup.Bold);
    painter.setFont(captionFont);
    painter.setPen(Qt::black);
    // Plain drawing: "&" and "<" of the caption must show as written.
    painter.drawText(QRect(4, 0, w - 8, CaptionHeight),
                     int(FMarkup.Align | Qt::AlignVCenter | Qt::TextSingleLine), FMarkup.Text);
}

// ---------------------------------------------------------------------------------------------

TSlider::TSlider(QWidget *parent) : QSlider(Qt::Horizontal, parent)
{
    setRange(0, MaxPosition);
    setSingleStep(1);
    setPageStep(16);
    setTickPosition(QSlider::NoTicks);
    setFocusPolicy(Qt::StrongFocus);
}

QSize TSlider::sizeHint() const
{
    return {2 * Margin + MaxPosition + 2, 31};
}

QSize TSlider::minimumSizeHint() const
{
    return sizeHint();
}

void TSlider::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QPalette &pal = palette();
    const bool enabled = isEnabled();
    const int top = (height() - 19) / 2;
    const int left = Margin + minimum();
    const int right = Margin + maximum();

    const QPalette::ColorGroup group = enabled ? QPalette::Active : QPalette::Disabled;

    // A sunken channel along the whole range.
    const int grooveY = top + 8;
    painter.fillRect(left, grooveY, right - left + 1, 4, pal.color(group, QPalette::Base));
    painter.setPen(pal.color(group, QPalette::Dark));
    painter.drawLine(left, grooveY, right, grooveY);
    painter.drawLine(left, grooveY, left, grooveY + 3);
    painter.setPen(pal.color(group, QPalette::Midlight));
    painter.drawLine(left, grooveY + 3, right, grooveY + 3);
    painter.drawLine(right, grooveY, right, grooveY + 3);

    // The thumb points up at the beam picture; its tip is the position's pixel column.
    const int x = Margin + value();
    const QPolygon thumb({QPoint(x, top), QPoint(x + 5, top + 5), QPoint(x + 5, top + 18),
                          QPoint(x - 5, top + 18), QPoint(x - 5, top + 5)});
    painter.setBrush(pal.color(group, enabled ? QPalette::Button : QPalette::Window));
    painter.setPen(pal.color(group, enabled ? QPalette::Shadow : QPalette::Mid));
    painter.drawPolygon(thumb);

    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = rect().adjusted(1, 1, -1, -1);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

bool TSlider::OnThumb(QPointF point) const
{
    const int top = (height() - 19) / 2;
    return std::abs(point.x() - TipX()) <= 5 && point.y() >= top && point.y() <= top + 18;
}

void TSlider::MoveTo(qreal x)
{
    setValue(std::clamp(int(std::floor(x)) - Margin, minimum(), maximum()));
}

bool TSlider::PageTowardPress()
{
    if (std::abs(FPressX - TipX()) <= 5)
        return false;
    triggerAction(FPressX > TipX() ? SliderPageStepAdd : SliderPageStepSub);
    return true;
}

void TSlider::mousePressEvent(QMouseEvent *event)
{
    const QPointF point = event->position();
    const auto uses = [&](QStyle::StyleHint hint) {
        const int buttons = style()->styleHint(hint, nullptr, this);
        return (event->button() & buttons) == event->button();
    };
    if (event->button() == Qt::LeftButton && OnThumb(point)) {
        FDragging = true;
        FGrabOffset = point.x() - TipX();
    } else if (uses(QStyle::SH_Slider_AbsoluteSetButtons)) {
        FDragging = true;
        FGrabOffset = 0;
        MoveTo(point.x());
    } else if (uses(QStyle::SH_Slider_PageSetButtons)) {
        FPressX = point.x();
        if (PageTowardPress())
            FPageTimer.start(500, this);
    } else {
        event->ignore();
        return;
    }
    event->accept();
}

void TSlider::mouseMoveEvent(QMouseEvent *event)
{
    if (!FDragging) {
        if (FPageTimer.isActive())
            FPressX = event->position().x();
        event->ignore();
        return;
    }
    MoveTo(event->position().x() - FGrabOffset);
    event->accept();
}

void TSlider::mouseReleaseEvent(QMouseEvent *event)
{
    FDragging = false;
    FPageTimer.stop();
    event->accept();
}

void TSlider::timerEvent(QTimerEvent *event)
{
    if (event->timerId() != FPageTimer.timerId()) {
        QSlider::timerEvent(event);
        return;
    }
    if (PageTowardPress())
        FPageTimer.start(50, this);
    else
        FPageTimer.stop();
}
