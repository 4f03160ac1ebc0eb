#pragma once

#include <QString>

// Qt's own texts (message box buttons, the file and print dialogs, the edit
// menus) and the system's error texts follow the window's language. Where
// the system lacks a language's texts, they stay as the system gives them.

// Switches them to the window's language, "Deutsch" or "English"; every
// dialog opened afterwards follows. True when Qt's texts for the language
// are in place (English needs none).
bool SetToolkitLanguage(const QString &language);

// The system's description of an error number in the language last set,
// where the system has its messages in that language.
QString SystemErrorText(int code);
