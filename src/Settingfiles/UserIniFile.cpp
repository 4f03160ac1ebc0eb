#include "Settingfiles/UserIniFile.h"

#include "shared/SettingsFolder.h"

#include <QDir>
#include <QFileInfo>

namespace {

// Every missing folder of the path, from the top down. On a fresh account
// even the configuration home may be missing; new folders are the user's
// alone, as the XDG base-directory rules ask. When one cannot be made, the
// first write reports the file.
void MakeFolders(const QString &path)
{
    QStringList missing;
    for (QString folder = QDir::cleanPath(QDir(path).absolutePath());
         !QFileInfo::exists(folder) && !QDir(folder).isRoot(); folder = QFileInfo(folder).path())
        missing.prepend(folder);
    for (const QString &folder : missing)
        QDir().mkdir(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

} // namespace

TUserIniFile::TUserIniFile()
{
    QString path = UserSettingsFolder();
    if (path.isEmpty())
        return;
    path += QStringLiteral("/TAVREL/Lunavue");
    MakeFolders(path);
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

void TUserIniFile::WriteSettings(const QString &section,
                                 const QList<std::pair<QString, QString>> &values)
{
    if (FUsable)
        FIniFile->WriteStrings(section, values);
}
