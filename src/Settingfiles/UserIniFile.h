#pragma once

#include "Settingfiles/IniFile.h"

#include <QString>

#include <memory>

// The per-user settings file User.ini below the user's local configuration
// folder, in TAVREL/Lunavue. Constructing the object creates those folders;
// it lives for one batch of reads or writes.
class TUserIniFile
{
public:
    TUserIniFile();

    // The default when the folder is unknown or the section name is empty.
    QString ReadSetting(const QString &section, const QString &key,
                        const QString &defaultValue) const;
    // Nothing happens when the folder is unknown; a failed write throws
    // EIniFileException naming the file.
    void WriteSetting(const QString &section, const QString &key, const QString &value);
    // Several keys of one section, in order, with one replacement of the file.
    void WriteSettings(const QString &section, const QList<std::pair<QString, QString>> &values);

    bool Usable() const { return FUsable; }
    // Empty when not usable.
    const QString &Path() const { return FPath; }

private:
    std::unique_ptr<TIniFile> FIniFile;
    bool FUsable = false;
    QString FPath;
};
