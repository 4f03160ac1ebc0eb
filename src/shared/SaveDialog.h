#pragma once

#include <QString>

#include <optional>

class QWidget;

// The save dialog of both windows: one file type, its suffix added to a name
// typed without one, and a question before an existing file is replaced.
// proposed, when not empty, is the name the dialog opens with. No value for a
// cancelled dialog.
std::optional<QString> AskSaveFile(QWidget *parent, const QString &filter, const QString &suffix,
                                   const QString &proposed);
