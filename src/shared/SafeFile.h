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
