#pragma once

// Faults that the fault tests bring about and always undo: a damaged
// language file, a file-size limit that acts as a full disk, and changed
// environment variables.

#include "TestEnvironment.h"
#include "TestFiles.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <csignal>
#include <optional>
#include <sys/resource.h>

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

// A file-size limit for this process: writes beyond it fail as on a full
// disk. SIGXFSZ would end the process, so it is ignored meanwhile.
class FileSizeLimit
{
public:
    void Set(rlim_t bytes)
    {
        if (FActive)
            return;
        getrlimit(RLIMIT_FSIZE, &FSaved);
        FOldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = FSaved;
        limit.rlim_cur = bytes;
        FActive = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    void Lift()
    {
        if (!FActive)
            return;
        setrlimit(RLIMIT_FSIZE, &FSaved);
        std::signal(SIGXFSZ, FOldHandler);
        FActive = false;
    }
    ~FileSizeLimit() { Lift(); }

private:
    bool FActive = false;
    rlimit FSaved{};
    void (*FOldHandler)(int) = SIG_DFL;
};
