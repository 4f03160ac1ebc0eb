#pragma once

#include <QByteArray>
#include <QString>

// The files of the program (language, settings, CSV) hold Windows-1252 bytes.

// Every byte maps to one character; the five bytes that Windows-1252 leaves
// undefined map to the C1 control of the same code, so bytes round-trip.
QString FromCp1252(const QByteArray &bytes);

// A character outside the code page becomes "?".
QByteArray ToCp1252(const QString &text);
