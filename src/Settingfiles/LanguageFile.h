#pragma once

#include <QString>

// The language file, Lang.ini beside the executable: one section of texts per
// language, only ever read.
QString DefaultLanguageFile();

// The language shown until the user chooses one: "Deutsch" under a German
// regional setting, "English" under any other.
QString DefaultLanguage();
