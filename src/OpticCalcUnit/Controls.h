#pragma once

#include <QBasicTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>

// The character event of the edits and the table: one Windows-1252 byte, which the handler may
// replace, or set to 0 to drop.
using KeyPressEvent = std::function<void(char &key)>;

// What became of a key press after its characters went through a KeyPressEvent.
struct FilteredKey
{
    enum Outcome
    {
        NoCharacter,
        Unchanged,
        Dropped,
        Replaced
    };
    Outcome Result = NoCharacter;
    // For Replaced: the key press that performs the replacement characters.
    std::unique_ptr<QKeyEvent> Replacement;
};

// Turns a key press into its characters (Return/Enter 13, Backspace 8, Ctrl+A/C/V/X/Z as 1, 3,
// 22, 24, 26, typed text as Windows-1252 bytes), runs each through the handler and says what the
// control has to do. Keys that type no character never reach the handler.
FilteredKey FilterKeyPress(const QKeyEvent &event, const KeyPressEvent &handler);

// Runs a key press through FilterKeyPress and hands what remains to the control's own key
// handling (deliver). A control that passes Enter on (the table, whose Enter recalculates) ignores
// it instead, so that it reaches the parent.
using KeyDelivery = std::function<void(QKeyEvent *event)>;
void DeliverFilteredKey(QKeyEvent *event, const KeyPressEvent &handler, const KeyDelivery &deliver,
                        bool passesEnterOn = false);

bool IsEnterKey(const QKeyEvent &event);

// A one-line edit whose typed characters pass OnKeyPress before they take effect.
class TEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit TEdit(QWidget *parent = nullptr);

    KeyPressEvent OnKeyPress;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
};

// A picture control with an integer tag.
class TPicture : public QLabel
{
    Q_OBJECT
    Q_PROPERTY(int tag MEMBER Tag)
public:
    explicit TPicture(QWidget *parent = nullptr);

    // Takes a copy of the other control's picture and tag.
    void Assign(const TPicture &source);

    int Tag = 0;
};

// The mark-up a panel caption understands: <B>...</B> and <P align=...>...</P>.
struct CaptionMarkup
{
    QString Text;
    bool Bold = false;
    Qt::Alignment Align = Qt::AlignHCenter;
};

// Tags are recognised case-insensitively and removed wherever they stand, balanced or not; the
// caption is bold when it opens a <B>, and takes the alignment of its first <P align>. Any other
// text, including unknown tags and entities, stays as written.
CaptionMarkup ParseCaptionMarkup(const QString &caption);

// A panel with a gradient caption bar across its top and a gradient body.
class TCaptionPanel : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString caption READ Caption WRITE SetCaption)
public:
    static constexpr int CaptionHeight = 18;

    explicit TCaptionPanel(QWidget *parent = nullptr);

    void SetCaption(const QString &caption);
    const QString &Caption() const { return FCaption; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString FCaption;
    CaptionMarkup FMarkup;
};

// The horizontal distance slider: positions 0..384, the thumb of position p points at x = 7 + p.
class TSlider : public QSlider
{
    Q_OBJECT
public:
    static constexpr int Margin = 7;
    static constexpr int MaxPosition = 384;

    explicit TSlider(QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void timerEvent(QTimerEvent *event) override;

private:
    int TipX() const { return Margin + value(); }
    bool OnThumb(QPointF point) const;
    void MoveTo(qreal x);
    // One page toward the pressed point, unless the thumb already covers it.
    bool PageTowardPress();

    bool FDragging = false;
    // A grabbed thumb keeps the distance between the press and its tip.
    qreal FGrabOffset = 0;
    // Paging repeats while the channel stays pressed, as a standard slider's does.
    QBasicTimer FPageTimer;
    qreal FPressX = 0;
};
