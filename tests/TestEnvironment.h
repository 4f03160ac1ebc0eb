#pragma once

#include <QByteArray>
#include <QtGlobal>

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
