#include "Settingfiles/UserIniFile.h"

#include "shared/SettingsFolder.h"

#include <QDir>
#include <QFileInfo>

namespace {

// The missing folders of the path, made from the top down: on a fresh
// account even the configuration home may be missing. New folders are the
// user's alone, as the XDG base-directory rules ask. Only what lies below
// the home folder is made (below the configuration home's parent when that
// lies elsewhere): a missing home folder is not the program's to create, so
// its settings then fail as in any folder that cannot be made, with the
// first write reporting the file.
void MakeFolders(const QString &configHome, const QString &path)
{
    const QString home = QDir::cleanPath(QDir::homePath());
    const QString config = QDir::cleanPath(configHome);
    const QString base = config.startsWith(home + u'/') ? home : QFileInfo(config).path();
    if (!QFileInfo(base).isDir())
        return;
    QStringList missing;
    for (QString folder = QDir::cleanPath(path);
         folder.startsWith(base + u'/') && !QFileInfo::exists(folder);
         folder = QFileInfo(folder).path())
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
    const QString folder = path + QStringLiteral("/TAVREL/Lunavue");
    MakeFolders(path, folder);
    path = folder + QStringLiteral("/User.ini");
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
