#include "CsvWriter.h"

#include "shared/Cp1252.h"
#include "shared/Exception.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>

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
    throw EFileError("Datei \"" + QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()) +
                     "\" kann nicht erstellt werden. " + reason);
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
    const QFileInfo info(path);
    // Checked here rather than left to the rename, which would replace a
    // read-only file or fail only after the data was written. A file with
    // every write bit clear is read-only also for root, as a read-only file
    // is on Windows for every user.
    constexpr auto writeBits =
        QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    if (info.isDir())
        ThrowCannotCreate(path, qt_error_string(EISDIR));
    if (info.exists() && (!info.isWritable() || !(info.permissions() & writeBits)))
        ThrowCannotCreate(path, qt_error_string(EACCES));

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        ThrowCannotCreate(path, file.errorString());
    // commit() misses a failed write of the buffered tail (a full disk) and
    // would put a cut-off file in place of the old one; flush() reports it.
    if (file.write(bytes) != bytes.size() || !file.flush() || !file.commit()) {
        file.cancelWriting();
        throw EFileError("Stream-Schreibfehler");
    }
}
