#include "Settingfiles/LanguageFile.h"

#include <QCoreApplication>
#include <QLocale>

QString DefaultLanguageFile()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/Lang.ini");
}

QString DefaultLanguage()
{
    return QLocale::system().language() == QLocale::German ? QStringLiteral("Deutsch")
                                                           : QStringLiteral("English");
}
