#pragma once

#include <QString>

// Texts that a Windows-1252 file cannot carry whole, such as names typed by
// the user: every character outside the code page becomes "\uXXXX" (its
// UTF-16 code, four hex digits, as in JSON) and a backslash "\\". Reading
// takes back exactly these two forms and keeps every other backslash as it
// stands, so texts written before the escapes existed read as they were,
// unless they hold "\\" or "\u" with four hex digits.
QString EscapeForCp1252(const QString &text);
QString UnescapeFromCp1252(const QString &text);
