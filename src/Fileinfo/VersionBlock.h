#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

#include <memory>
#include <optional>

// A version block as the version look-up sees it: sub-block paths such as
// "\\VarFileInfo\\Translation" or "\\StringFileInfo\\040704E4\\FileVersion"
// answer with the raw bytes of their value.
class TVersionBlock
{
public:
    virtual ~TVersionBlock() = default;

    // Nothing when the block holds no value under that path.
    virtual std::optional<QByteArray> Query(const QString &subBlock) const = 0;
};

// A block held as a table of sub-block path -> value bytes: the block built
// into the program where there is no version resource, and blocks in tests.
class TVersionTable : public TVersionBlock
{
public:
    explicit TVersionTable(QHash<QString, QByteArray> values) : FValues(std::move(values)) {}

    std::optional<QByteArray> Query(const QString &subBlock) const override;

private:
    QHash<QString, QByteArray> FValues;
};

// The running program's own version block: its version resource on Windows,
// elsewhere the block fixed at configure time. Nothing when the program has
// no usable block.
std::unique_ptr<TVersionBlock> ReadProgramVersionBlock();

// The block fixed at configure time, with the texts a Windows build puts into
// its version resource.
std::unique_ptr<TVersionBlock> BuiltInVersionBlock();
