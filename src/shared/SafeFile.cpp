#include "shared/SafeFile.h"

#include "shared/ToolkitLanguage.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <cerrno>
#include <cstdio>

bool IsWritableFile(const QFileInfo &info)
{
    constexpr auto writeBits =
        QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    return info.isWritable() && (info.permissions() & writeBits);
}

QString CannotCreateText(const QString &path, const QString &reason)
{
    return "Datei \"" + QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()) +
           "\" kann nicht erstellt werden. " + reason;
}

QString ReplaceObstacle(const QString &path)
{
    // Checked before writing rather than left to the rename, which would
    // replace a read-only file or fail only after the data was written.
    const QFileInfo info(path);
    if (info.isDir())
        return SystemErrorText(EISDIR);
    if (info.exists() && !IsWritableFile(info))
        return SystemErrorText(EACCES);
    return QString();
}

bool MoveOver(const QString &from, const QString &to, QString &error)
{
    // rename() replaces the target in one step on POSIX systems; elsewhere
    // the old file has to go first.
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0)
        return true;
    if (QFile::exists(to) && QFile::remove(to) && QFile::rename(from, to))
        return true;
    error = SystemErrorText(errno);
    return false;
}

ReplaceResult ReplaceFile(const QString &path, const QByteArray &bytes, QString &error)
{
    error = ReplaceObstacle(path);
    if (!error.isEmpty())
        return ReplaceResult::CannotCreate;
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
