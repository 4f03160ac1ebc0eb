#include "shared/Fonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QStringList>

void InstallFontSubstitutes()
{
    const QString tahoma = QStringLiteral("Tahoma");
    if (!QFontDatabase::families().contains(tahoma, Qt::CaseInsensitive))
        QFont::insertSubstitution(tahoma, QStringLiteral("Liberation Sans"));
}
