#include "shared/PlainText.h"

#include <QLabel>
#include <QTextDocument>

void SetPlainText(QLabel &label, const QString &text)
{
    label.setTextFormat(Qt::PlainText);
    label.setText(text);
}

QString PlainToolTip(const QString &text)
{
    if (!Qt::mightBeRichText(text))
        return text;
    return Qt::convertFromPlainText(text, Qt::WhiteSpaceNoWrap);
}

QString PlainButtonText(const QString &text)
{
    QString caption = text;
    return caption.replace(u'&', QStringLiteral("&&"));
}

QString PlainWindowTitle(const QString &text)
{
    QString title = text;
    // A doubled placeholder is how Qt shows one literally.
    return title.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
}

QString CaptionOfWindowTitle(const QString &title)
{
    QString caption = title;
    return caption.replace(QStringLiteral("[*][*]"), QStringLiteral("[*]"));
}
