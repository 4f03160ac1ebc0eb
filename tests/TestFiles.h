#pragma once

// Whole-file reads and writes for tests that compare bytes on disk.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>

// An unreadable file reads as a marker no test expects.
inline QByteArray ReadBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// Creates the folders on the way.
inline bool WriteBytes(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}
