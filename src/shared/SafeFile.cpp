#include "shared/SafeFile.h"

#include "shared/ToolkitLanguage.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
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

namespace {

// Qt's text is made from errno; only where the two agree is the cause known
// well enough to give it in the window's language.
QString OpenErrorText(const QFileDevice &file, int code)
{
    return code != 0 && file.errorString() == qt_error_string(code) ? SystemErrorText(code)
                                                                    : file.errorString();
}

} // namespace

QString ReplaceObstacle(const QString &path)
{
    // Checked before writing rather than left to the rename, which would
    // replace a read-only file or fail only after the data was written.
    const QFileInfo info(path);
    if (info.isDir())
        return SystemErrorText(EISDIR);
    if (!info.exists() || IsWritableFile(info))
        return QString();
    if (!(info.permissions() &
          (QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther)))
        return SystemErrorText(EACCES);
    // The mode allows writing, so the system's own refusal says why (a
    // read-only file system, say). Opened to append, the file is not changed.
    QFile file(path);
    errno = 0;
    if (file.open(QIODevice::WriteOnly | QIODevice::Append))
        return SystemErrorText(EACCES);
    return OpenErrorText(file, errno);
}

QString CreatePartFile(const QString &path, QString &error)
{
    const QFileInfo target(path);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString name =
            path + QStringLiteral(".%1").arg(QRandomGenerator::global()->generate() % 1000000, 6,
                                             10, QLatin1Char('0'));
        QFile file(name);
        errno = 0;
        // Created as any new file is (the umask applies), unlike a temporary
        // file, which is private to its owner.
        constexpr auto readWrite = QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                   QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                                   QFileDevice::ReadOther | QFileDevice::WriteOther;
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly, readWrite)) {
            file.close();
            if (target.exists())
                file.setPermissions(target.permissions());
            return name;
        }
        if (!file.exists()) {
            error = OpenErrorText(file, errno);
            return QString();
        }
    }
    error = SystemErrorText(EEXIST);
    return QString();
}

bool MoveOver(const QString &from, const QString &to, QString &error)
{
    // rename() replaces the target in one step on POSIX systems; elsewhere
    // the old file has to go first.
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0)
        return true;
    // The rename's reason is the one to give; the fallback's steps would
    // overwrite errno with their own.
    const int code = errno;
    if (QFile::exists(to) && QFile::remove(to) && QFile::rename(from, to))
        return true;
    error = SystemErrorText(code);
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
        error = OpenErrorText(file, errno);
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
