#pragma once

// Faults that the fault tests bring about and always undo: a swapped
// language file, a file-size limit that acts as a full disk, and changed
// environment variables.

#include "FileSizeLimit.h"
#include "TestFiles.h"

#include <QCoreApplication>

#include <optional>

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

// Puts an environment variable back as it was.
class EnvironmentRestorer
{
public:
    explicit EnvironmentRestorer(const char *name)
        : FName(name), FWasSet(qEnvironmentVariableIsSet(name)), FValue(qgetenv(name))
    {
    }
    ~EnvironmentRestorer()
    {
        if (FWasSet)
            qputenv(FName, FValue);
        else
            qunsetenv(FName);
    }

private:
    const char *FName;
    bool FWasSet;
    QByteArray FValue;
};
