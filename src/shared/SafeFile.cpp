#include "shared/SafeFile.h"

#include "shared/ToolkitLanguage.h"

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
        error = SystemErrorText(EISDIR);
        return ReplaceResult::CannotCreate;
    }
    if (info.exists() && !IsWritableFile(info)) {
        error = SystemErrorText(EACCES);
        return ReplaceResult::CannotCreate;
    }
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly)) {
        // Qt's text is made from errno; only where the two agree is the cause
        // known well enough to give it in the window's language.
        const int code = errno;
        error = code != 0 && file.errorString() == qt_error_string(code) ? SystemErrorText(code)
                                                                         : file.errorString();
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
