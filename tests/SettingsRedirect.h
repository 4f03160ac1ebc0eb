#pragma once

// Points the settings file at a test's own folder: on Linux through the
// configuration home, as a user's environment would; on Windows, where the
// folder comes from the shell, through the program's seam for tests.

#include "shared/SettingsFolder.h"

#include <QFile>
#include <QString>

inline void UseSettingsFolder(const QString &folder)
{
#ifdef Q_OS_WIN
    SetSettingsFolderForTests(folder);
#else
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(folder));
#endif
}
