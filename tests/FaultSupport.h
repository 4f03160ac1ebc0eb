#pragma once

// Faults that the fault tests bring about and always undo: a damaged
// language file, a file-size limit that acts as a full disk, and changed
// environment variables.

#include "FileSizeLimit.h"
#include "TestEnvironment.h"
#include "TestFiles.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <optional>

// A language file of the test's own in a temporary folder, handed to the
// window; the real one beside the executables stays as it is for the tests
// that run meanwhile. No content: the file is missing.
class TemporaryLanguageFile
{
public:
    explicit TemporaryLanguageFile(const std::optional<QByteArray> &content)
        : FPath(FDir.filePath(QStringLiteral("Lang.ini"))),
          FWritten(FDir.isValid() && (!content || WriteBytes(FPath, *content)))
    {
    }

    bool Written() const { return FWritten; }
    const QString &Path() const { return FPath; }

private:
    QTemporaryDir FDir;
    QString FPath;
    bool FWritten;
};
