#include "FileInfo.h"

#include "VersionBlock.h"
#include "shared/Cp1252.h"

#include <array>
#include <utility>

const TFileInfo FileInfo;

// The block lives only for the delegated constructor's run.
TFileInfo::TFileInfo() : TFileInfo(ReadProgramVersionBlock().get()) {}

TFileInfo::TFileInfo(const TVersionBlock *versionData)
{
    if (!versionData)
        return;

    const std::optional<QByteArray> translation =
        versionData->Query(QStringLiteral("\\VarFileInfo\\Translation"));
    // Without a whole (language, code page) pair no string table can be named.
    if (!translation || translation->size() < 4)
        return;
    const auto word = [&](int at) {
        return unsigned(static_cast<unsigned char>(translation->at(at))) |
               unsigned(static_cast<unsigned char>(translation->at(at + 1))) << 8;
    };
    const QString table = QString::asprintf("%.4X%.4X", word(0), word(2));
    const QString base = QStringLiteral("\\StringFileInfo\\") + table + QStringLiteral("\\");

    const std::array<std::pair<const char *, QString *>, 11> fields = {{
        {"CompanyName", &FCompanyName},
        {"FileDescription", &FFileDescription},
        {"FileVersion", &FFileVersion},
        {"InternalName", &FInternalName},
        {"LegalCopyright", &FLegalCopyright},
        {"OriginalFilename", &FOriginalFilename},
        {"ProductName", &FProductName},
        {"ProductVersion", &FProductVersion},
        {"LastCompiledTime", &FLastCompiledTime},
        {"LegalTrademarks", &FLegalTrademarks},
        {"ItemNumber", &FItemNumber},
    }};
    for (const auto &[key, field] : fields) {
        const std::optional<QByteArray> value = versionData->Query(base + QLatin1String(key));
        if (!value)
            continue;
        const qsizetype end = value->indexOf('\0');
        *field = FromCp1252(end < 0 ? *value : value->left(end));
    }
}
