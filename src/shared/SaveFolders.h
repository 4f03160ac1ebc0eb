#pragma once

#include <QHash>
#include <QString>

// Where a save dialog starts, per kind of file ("csv", "png", ...): the
// folder last saved to for that kind, else the user's documents folder,
// never the process's working directory.
class TSaveFolders
{
public:
    QString StartFolder(const QString &kind) const;
    // Remembers the folder of a file just chosen.
    void Remember(const QString &kind, const QString &filePath);

    // For the settings: a stored folder that is gone is not offered.
    QString Stored(const QString &kind) const { return FFolders.value(kind); }
    void Restore(const QString &kind, const QString &folder);

private:
    QHash<QString, QString> FFolders;
};
