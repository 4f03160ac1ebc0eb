#include "VersionBlock.h"

#include "BuildDate.h"
#include "VersionInfo.h"
#include "shared/Cp1252.h"

#ifdef Q_OS_WIN
#include <windows.h>

#include <string>
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
        {table + "ItemNumber", text("")},
    });
}

#ifdef Q_OS_WIN

namespace {

// The executable's version resource, read once; the queries point into it.
// The wide calls throughout: the ANSI ones fail for a program whose path
// holds characters outside the ANSI code page.
class TResourceVersionBlock : public TVersionBlock
{
public:
    explicit TResourceVersionBlock(QByteArray data) : FData(std::move(data)) {}

    std::optional<QByteArray> Query(const QString &subBlock) const override
    {
        void *value = nullptr;
        UINT length = 0;
        const std::wstring path = subBlock.toStdWString();
        if (!VerQueryValueW(FData.constData(), path.c_str(), &value, &length) || !value)
            return std::nullopt;
        // Texts come as UTF-16 with their length in characters; the block's
        // users take the bytes of the string table's code page.
        if (subBlock.startsWith(QStringLiteral("\\StringFileInfo\\"), Qt::CaseInsensitive))
            return ToCp1252(
                QString::fromWCharArray(static_cast<const wchar_t *>(value), qsizetype(length)));
        return QByteArray(static_cast<const char *>(value), qsizetype(length));
    }

private:
    QByteArray FData;
};

// The full path however long it is: the buffer grows until the name fits.
std::wstring ProgramPath()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
        if (length == 0)
            return std::wstring();
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

} // namespace

std::unique_ptr<TVersionBlock> ReadProgramVersionBlock()
{
    const std::wstring path = ProgramPath();
    if (path.empty())
        return nullptr;

    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &handle);
    if (size == 0)
        return nullptr;
    QByteArray data(qsizetype(size), '\0');
    // A block whose size is known but which cannot be read counts as missing.
    if (!GetFileVersionInfoW(path.c_str(), 0, size, data.data()))
        return nullptr;
    return std::make_unique<TResourceVersionBlock>(std::move(data));
}

#else

std::unique_ptr<TVersionBlock> ReadProgramVersionBlock()
{
    return BuiltInVersionBlock();
}

#endif
