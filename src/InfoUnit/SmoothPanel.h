#pragma once

#include <QWidget>

// A panel shaded in light blue-grey from top to bottom with a thin dark
// border, optionally with rounded corners and a drop shadow to the lower right.
class TSmoothPanel : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(int cornerRadius READ CornerRadius WRITE SetCornerRadius)
    Q_PROPERTY(int shadowOffset READ ShadowOffset WRITE SetShadowOffset)

public:
    explicit TSmoothPanel(QWidget *parent = nullptr);

    int CornerRadius() const { return FCornerRadius; }
    void SetCornerRadius(int radius);
    int ShadowOffset() const { return FShadowOffset; }
    void SetShadowOffset(int offset);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int FCornerRadius = 0;
    int FShadowOffset = 0;
};
