#include "CsvWriter.h"

#include "shared/Cp1252.h"
#include "shared/Exception.h"
#include "shared/SafeFile.h"

#include <QDir>
#include <QFileInfo>

namespace {

void AppendField(QByteArray &out, const QByteArray &text, char delimiter)
{
    if (text.isEmpty()) {
        out.append("\"\"");
        return;
    }
    // A line break inside a cell is quoted too; written bare it would split
    // the row into two broken lines.
    if (!text.contains('"') && !text.contains(delimiter) && !text.contains('\r') &&
        !text.contains('\n')) {
        out.append(text);
        return;
    }
    out.append('"');
    for (const char c : text) {
        if (c == '"')
            out.append('"');
        out.append(c);
    }
    out.append('"');
}

[[noreturn]] void ThrowCannotCreate(const QString &path, const QString &reason)
{
    throw EFileError(CannotCreateText(path, reason));
}

} // namespace

QByteArray BuildCsv(int columnCount, int rowCount, const CellText &cell, char delimiter,
                    const SaveCellEvent &onSaveCell)
{
    QByteArray out;
    // A guess for short numeric cells; appending grows geometrically beyond it.
    out.reserve(qsizetype(qMax(rowCount, 0)) * qMax(columnCount, 1) * 8);
    for (int row = 0; row < rowCount; ++row) {
        for (int column = 0; column < columnCount; ++column) {
            if (column > 0)
                out.append(delimiter);
            QString value = cell(column, row);
            if (onSaveCell)
                onSaveCell(column, row, value);
            // Quoting works on the file's bytes, so a character that becomes
            // "?" is judged as the "?" that is written.
            AppendField(out, ToCp1252(value), delimiter);
        }
        out.append("\r\n");
    }
    return out;
}

void WriteFileAtomically(const QString &path, const QByteArray &bytes)
{
    QString reason;
    switch (ReplaceFile(path, bytes, reason)) {
    case ReplaceResult::Replaced:
        return;
    case ReplaceResult::CannotCreate:
        ThrowCannotCreate(path, reason);
    case ReplaceResult::WriteFailed:
        throw EFileError("Stream-Schreibfehler");
    }
}
