#include "main/Console.h"

#ifdef Q_OS_WIN

#include <windows.h>

#include <cstdio>

namespace {

// A stream redirected to a file or a pipe is left as it is.
bool LeadsNowhere(DWORD which)
{
    const HANDLE handle = GetStdHandle(which);
    return handle == nullptr || handle == INVALID_HANDLE_VALUE ||
           GetFileType(handle) == FILE_TYPE_UNKNOWN;
}

} // namespace

void AttachParentConsole()
{
    const bool out = LeadsNowhere(STD_OUTPUT_HANDLE);
    const bool err = LeadsNowhere(STD_ERROR_HANDLE);
    if (!out && !err)
        return;
    if (!AttachConsole(ATTACH_PARENT_PROCESS))
        return;
    // The C streams were set up at start, without a console; they are
    // opened again on the console just attached.
    if (out && std::freopen("CONOUT$", "w", stdout))
        std::setvbuf(stdout, nullptr, _IONBF, 0);
    if (err && std::freopen("CONOUT$", "w", stderr))
        std::setvbuf(stderr, nullptr, _IONBF, 0);
}

#else

void AttachParentConsole() {}

#endif
