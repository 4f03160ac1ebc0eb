#pragma once

#include <QString>

class QLabel;

// Texts from the language file are shown exactly as written. Qt would read
// mark-up in them (a hint with <img src=…> even loads a file), so every
// such text passes through one of these on its way to the screen.

// A label that never interprets its text.
void SetPlainText(QLabel &label, const QString &text);

// A hint shown as written: text that Qt would take for rich text is
// escaped; any other text is left as it is, so ordinary hints look the same.
QString PlainToolTip(const QString &text);

// A button caption that shows "&" as written; Qt would take it for the
// mark of a keyboard mnemonic.
QString PlainButtonText(const QString &text);

// A window title that shows "[*]" as written; Qt would take it for the
// placeholder of the modified mark.
QString PlainWindowTitle(const QString &text);

// The caption that PlainWindowTitle was given, read back from the title.
QString CaptionOfWindowTitle(const QString &title);
