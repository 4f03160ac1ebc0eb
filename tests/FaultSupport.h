#pragma once

// Faults that the fault tests bring about and always undo: a swapped
// language file, a file-size limit that acts as a full disk, and changed
// environment variables.

#include "TestEnvironment.h"
#include "TestFiles.h"

#include <QCoreApplication>

#include <csignal>
#include <optional>
#include <sys/resource.h>

// The language file beside the executable is the real one that the other
// tests read: this test runs alone and puts the real file back however a
// swap ends, also after an earlier run that crashed mid-swap.
class LanguageFileSwap
{
public:
    explicit LanguageFileSwap(const std::optional<QByteArray> &content)
    {
        Restore();
        // Never write over a real file that could not be put aside.
        if (!QFile::rename(Real(), Saved()) && QFileInfo::exists(Real()))
            return;
        FSwapped = true;
        FWritten = content ? WriteBytes(Real(), *content) : !QFileInfo::exists(Real());
    }
    ~LanguageFileSwap()
    {
        if (!FSwapped)
            return;
        if (QFileInfo::exists(Saved()))
            Restore();
        else
            QFile::remove(Real());
    }
    LanguageFileSwap(const LanguageFileSwap &) = delete;
    LanguageFileSwap &operator=(const LanguageFileSwap &) = delete;

    bool Written() const { return FWritten; }

    static void Restore()
    {
        if (!QFileInfo::exists(Saved()))
            return;
        QFile::remove(Real());
        QFile::rename(Saved(), Real());
    }

private:
    static QString Real() { return QCoreApplication::applicationDirPath() + "/Lang.ini"; }
    static QString Saved() { return Real() + ".tst_faults-saved"; }

    bool FSwapped = false;
    bool FWritten = false;
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
