#include "shared/SaveFolders.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString TSaveFolders::StartFolder(const QString &kind) const
{
    const QString folder = FFolders.value(kind);
    if (!folder.isEmpty() && QFileInfo(folder).isDir())
        return folder;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

void TSaveFolders::Remember(const QString &kind, const QString &filePath)
{
    FFolders.insert(kind, QFileInfo(filePath).absolutePath());
}

void TSaveFolders::Restore(const QString &kind, const QString &folder)
{
    if (!folder.isEmpty())
        FFolders.insert(kind, folder);
}
