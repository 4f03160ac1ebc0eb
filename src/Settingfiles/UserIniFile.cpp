#include "Settingfiles/UserIniFile.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

// One folder level; when it cannot be made, the first write reports the file.
void MakeFolder(const QString &path)
{
    if (!QDir(path).exists())
        QDir().mkdir(path);
}

} // namespace

TUserIniFile::TUserIniFile()
{
    QString path = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    // Without a home folder Qt answers with a folder right below the root
    // ("//.config"), which belongs to no user: settings would land in the
    // file system's root for root and fail at every exit for everyone else.
    if (path.isEmpty() || QFileInfo(path).absoluteDir().isRoot())
        return;
    path += QStringLiteral("/TAVREL");
    MakeFolder(path);
    path += QStringLiteral("/Lunavue");
    MakeFolder(path);
    path += QStringLiteral("/User.ini");
    FIniFile = std::make_unique<TIniFile>(path);
    FUsable = true;
    FPath = path;
}

QString TUserIniFile::ReadSetting(const QString &section, const QString &key,
                                  const QString &defaultValue) const
{
    if (FUsable && !section.isEmpty())
        return FIniFile->ReadString(section, key, defaultValue);
    return defaultValue;
}

void TUserIniFile::WriteSetting(const QString &section, const QString &key, const QString &value)
{
    if (FUsable)
        FIniFile->WriteString(section, key, value);
}
