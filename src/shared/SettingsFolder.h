#pragma once

#include <QString>

// The folder below which the maker's settings folders live: the user's local
// application-data folder on Windows, the configuration home elsewhere.
// Empty when the system names no folder that belongs to the user.
QString UserSettingsFolder();

// Tests point the settings at a folder of their own; an empty folder gives
// the system's folder back.
void SetSettingsFolderForTests(const QString &folder);
