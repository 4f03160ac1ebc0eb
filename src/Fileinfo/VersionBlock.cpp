#include "VersionBlock.h"

#include "BuildDate.h"
#include "VersionInfo.h"
#include "shared/Cp1252.h"

#ifdef Q_OS_WIN
#include <windows.h>

#include <array>
#endif

std::optional<QByteArray> TVersionTable::Query(const QString &subBlock) const
{
    const auto it = FValues.constFind(subBlock);
    if (it == FValues.constEnd())
        return std::nullopt;
    return *it;
}

std::unique_ptr<TVersionBlock> BuiltInVersionBlock()
{
    const auto text = [](const char *utf8) {
        return ToCp1252(QString::fromUtf8(utf8)).append('\0');
    };
    const QString table = QStringLiteral("\\StringFileInfo\\" OPTICCALC_VERSION_TABLE "\\");

    // Pairs of 16-bit numbers, little-endian as in a version resource.
    QByteArray translation;
    for (const unsigned number : {OPTICCALC_VERSION_LANGUAGE, OPTICCALC_VERSION_CODEPAGE}) {
        translation.append(char(number & 0xFF));
        translation.append(char(number >> 8));
    }

    return std::make_unique<TVersionTable>(QHash<QString, QByteArray>{
        {QStringLiteral("\\VarFileInfo\\Translation"), translation},
        {table + "CompanyName", text(OPTICCALC_COMPANY_NAME)},
        {table + "FileDescription", text(OPTICCALC_FILE_DESCRIPTION)},
        {table + "FileVersion", text(OPTICCALC_FILE_VERSION)},
        {table + "InternalName", text("")},
        {table + "LegalCopyright", text(OPTICCALC_LEGAL_COPYRIGHT)},
        {table + "LegalTrademarks", text("")},
        {table + "OriginalFilename", text("")},
        {table + "ProductName", text("")},
        {table + "ProductVersion", text(OPTICCALC_PRODUCT_VERSION)},
        {table + "Comments", text("")},
        {table + "LastCompiledTime", text(OPTICCALC_BUILD_DATE)},
    });
}

#ifdef Q_OS_WIN

namespace {

// The executable's version resource, read once; the queries point into it.
class TResourceVersionBlock : public TVersionBlock
{
public:
    explicit TResourceVersionBlock(QByteArray data) : FData(std::move(data)) {}

    std::optional<QByteArray> Query(const QString &subBlock) const override
    {
        void *value = nullptr;
        UINT length = 0;
        const QByteArray path = ToCp1252(subBlock);
        if (!VerQueryValueA(FData.constData(), path.constData(), &value, &length) || !value)
            return std::nullopt;
        // For text the length counts characters, which are bytes in the A
        // variant, so the text up to its zero always lies inside the value.
        return QByteArray(static_cast<const char *>(value), qsizetype(length));
    }

private:
    QByteArray FData;
};

} // namespace

std::unique_ptr<TVersionBlock> ReadProgramVersionBlock()
{
    std::array<char, MAX_PATH> path{};
    const DWORD pathLength = GetModuleFileNameA(nullptr, path.data(), DWORD(path.size()));
    if (pathLength == 0 || pathLength >= path.size())
        return nullptr;

    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.data(), &handle);
    if (size == 0)
        return nullptr;
    QByteArray data(qsizetype(size), '\0');
    // A block whose size is known but which cannot be read counts as missing.
    if (!GetFileVersionInfoA(path.data(), 0, size, data.data()))
        return nullptr;
    return std::make_unique<TResourceVersionBlock>(std::move(data));
}

#else

std::unique_ptr<TVersionBlock> ReadProgramVersionBlock()
{
    return BuiltInVersionBlock();
}

#endif
