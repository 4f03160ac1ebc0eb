#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

// The text of the cell in (column, row); row 0 is the header row.
using CellText = std::function<QString(int column, int row)>;

// Raised for every cell in writing order, before its quoting is decided; the
// handler may change the text that goes into the file.
using SaveCellEvent = std::function<void(int column, int row, QString &value)>;

// The whole file as Windows-1252 bytes: fields split by the delimiter, CR LF
// after every row, quotes only where a field needs them, "" for an empty field.
QByteArray BuildCsv(int columnCount, int rowCount, const CellText &cell, char delimiter,
                    const SaveCellEvent &onSaveCell);

// Creates or replaces the file at path with exactly these bytes. The old file
// stays whole until the new one is complete. Throws EFileError.
void WriteFileAtomically(const QString &path, const QByteArray &bytes);
