#pragma once

// A file-size limit for this process: writes beyond it fail as on a full
// disk. Where the system has no such limit, Set() answers false and the test
// that needs it skips with NoFileSizeLimit.

#include <QtGlobal>

inline constexpr const char *NoFileSizeLimit =
    "Windows has no per-process file-size limit (RLIMIT_FSIZE) to stand in for a full disk";

#ifdef Q_OS_WIN

class FileSizeLimit
{
public:
    static constexpr bool Available = false;
    bool Set(qint64) { return false; }
    void Lift() {}
};

#else

#include <csignal>
#include <sys/resource.h>

class FileSizeLimit
{
public:
    static constexpr bool Available = true;

    // SIGXFSZ would end the process, so it is ignored meanwhile.
    bool Set(rlim_t bytes)
    {
        if (FActive)
            return true;
        getrlimit(RLIMIT_FSIZE, &FSaved);
        FOldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = FSaved;
        limit.rlim_cur = bytes;
        FActive = setrlimit(RLIMIT_FSIZE, &limit) == 0;
        if (!FActive)
            std::signal(SIGXFSZ, FOldHandler);
        return FActive;
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

#endif
