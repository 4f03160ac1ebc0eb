#pragma once

#include <QByteArray>
#include <QFileInfo>
#include <QString>

// The files the program writes (settings, CSV) are replaced in one step: a
// failed write never leaves a damaged file behind, and an earlier file of
// that name survives whole.

// Windows refuses to write a file with the read-only attribute, whoever
// asks; the mode bits stand for it here, since root passes an access check.
bool IsWritableFile(const QFileInfo &info);

enum class ReplaceResult
{
    Replaced,
    CannotCreate,
    WriteFailed
};

// Replaces the file at path by bytes. For CannotCreate, error holds the
// system's description of why.
ReplaceResult ReplaceFile(const QString &path, const QByteArray &bytes, QString &error);

// "Datei "<full path>" kann nicht erstellt werden. " followed by the reason.
QString CannotCreateText(const QString &path, const QString &reason);

// Why an existing file or folder at path may not be replaced by a new file,
// or an empty text when nothing stands in the way.
QString ReplaceObstacle(const QString &path);

// A new, empty file beside path, for a file that is written whole before it
// takes path's place: with the mode of the file at path, or for a new path
// the mode any new file gets under the user's umask. Empty, with error set
// to the system's reason, when none can be made.
QString CreatePartFile(const QString &path, QString &error);

// Puts the finished file from in the place of to, in one step where the
// system allows it. For false, error holds the system's description.
bool MoveOver(const QString &from, const QString &to, QString &error);
