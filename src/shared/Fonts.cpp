#include "shared/Fonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QStringList>

void InstallFontSubstitutes()
{
    const QStringList families = QFontDatabase::families();
    const QString tahoma = QStringLiteral("Tahoma");
    const QString liberation = QStringLiteral("Liberation Sans");
    if (!families.contains(tahoma, Qt::CaseInsensitive))
        QFont::insertSubstitution(tahoma, liberation);
    // Windows' logical dialog font, the default of windows without a font of
    // their own (the planner), may be listed without a face behind it where
    // the system does not resolve it itself (under Wine): the first listed
    // family, a mathematical one on some systems, would then stand in. A
    // substitute is tried only where the family itself finds no face.
    for (const QString &shell : {QStringLiteral("MS Shell Dlg"), QStringLiteral("MS Shell Dlg 2")})
        QFont::insertSubstitutions(shell, {tahoma, liberation});
}
