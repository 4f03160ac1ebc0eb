#pragma once

#include <QIcon>
#include <QString>

// A radio item's icon for a menu: the picture alone while unchecked, the
// picture with a check mark on it while checked. Styles draw the icon in
// place of the radio mark, which leaves only a faint frame to tell the
// checked item from the others.
QIcon CheckableMenuIcon(const QString &path);
