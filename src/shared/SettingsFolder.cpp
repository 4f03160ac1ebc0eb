#include "shared/SettingsFolder.h"

#include <QDir>
#include <QFileInfo>

#ifdef Q_OS_WIN
#include <shlobj.h>
#include <windows.h>
#else
#include <QStandardPaths>
#endif

namespace {

QString &TestFolder()
{
    static QString folder;
    return folder;
}

#ifdef Q_OS_WIN

// The wide call: the ANSI one turns characters outside the ANSI code page
// into "?", and a profile such as C:\Users\Γιώργος would give a folder that
// does not exist, so the settings would never be saved. A folder that is
// missing still counts; the settings file's folders are made on the way.
QString SystemFolder()
{
    PWSTR path = nullptr;
    const HRESULT result =
        SHGetKnownFolderPath(FOLDERID_LocalAppData, KF_FLAG_DONT_VERIFY, nullptr, &path);
    QString folder;
    if (SUCCEEDED(result) && path)
        folder = QDir::fromNativeSeparators(QString::fromWCharArray(path));
    CoTaskMemFree(path);
    return folder;
}

#else

QString SystemFolder()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    // Without a home folder Qt answers with a folder right below the root
    // ("//.config"), which belongs to no user: settings would land in the
    // file system's root for root and fail at every exit for everyone else.
    if (folder.isEmpty() || QFileInfo(folder).absoluteDir().isRoot())
        return QString();
    return folder;
}

#endif

} // namespace

QString UserSettingsFolder()
{
    return TestFolder().isEmpty() ? SystemFolder() : TestFolder();
}

void SetSettingsFolderForTests(const QString &folder)
{
    TestFolder() = folder;
}
