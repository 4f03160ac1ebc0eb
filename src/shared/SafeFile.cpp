#include "shared/SafeFile.h"

#include <QSaveFile>

#include <cerrno>

bool IsWritableFile(const QFileInfo &info)
{
    constexpr auto writeBits =
        QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    return info.isWritable() && (info.permissions() & writeBits);
}

ReplaceResult ReplaceFile(const QString &path, const QByteArray &bytes, QString &error)
{
    // Checked here rather than left to the rename, which would replace a
    // read-only file or fail only after the data was written.
    const QFileInfo info(path);
    if (info.isDir()) {
        error = qt_error_string(EISDIR);
        return ReplaceResult::CannotCreate;
    }
    if (info.exists() && !IsWritableFile(info)) {
        error = qt_error_string(EACCES);
        return ReplaceResult::CannotCreate;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        error = file.errorString();
        return ReplaceResult::CannotCreate;
    }
    // commit() misses a failed write of the buffered tail (a full disk) and
    // would put a cut-off file in place of the old one; flush() reports it.
    if (file.write(bytes) != bytes.size() || !file.flush() || !file.commit()) {
        file.cancelWriting();
        return ReplaceResult::WriteFailed;
    }
    return ReplaceResult::Replaced;
}
