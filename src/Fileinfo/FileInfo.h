#pragma once

#include <QString>

class TVersionBlock;

// The texts of a version block, read once and never changed afterwards.
class TFileInfo
{
public:
    // Reads the running program's own version block.
    TFileInfo();
    // Reads the given block; with none, all texts stay empty.
    explicit TFileInfo(const TVersionBlock *versionData);

    QString GetCompanyName() const { return FCompanyName; }
    QString GetFileDescription() const { return FFileDescription; }
    QString GetFileVersion() const { return FFileVersion; }
    QString GetInternalName() const { return FInternalName; }
    QString GetLegalCopyright() const { return FLegalCopyright; }
    QString GetOriginalFilename() const { return FOriginalFilename; }
    QString GetProductName() const { return FProductName; }
    QString GetProductVersion() const { return FProductVersion; }
    QString GetLastCompiledTime() const { return FLastCompiledTime; }
    QString GetLegalTrademarks() const { return FLegalTrademarks; }
    QString GetItemNumber() const { return FItemNumber; }

private:
    QString FCompanyName;
    QString FFileDescription;
    QString FFileVersion;
    QString FInternalName;
    QString FLegalCopyright;
    QString FOriginalFilename;
    QString FProductName;
    QString FProductVersion;
    QString FLastCompiledTime;
    QString FLegalTrademarks;
    QString FItemNumber;
};

// The program's version texts, read during static initialisation.
extern const TFileInfo FileInfo;
