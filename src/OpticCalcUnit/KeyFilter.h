#pragma once

#include "shared/Cp1252.h"

#include <QString>

#include <string>

inline constexpr char EnterKey = 13;

// The number fields and the table take digits, "." and control characters;
// "," becomes "." so a German keyboard types the window's decimal point;
// everything else, codes 128 and up included, is dropped.
inline void FilterNumberKey(char &key)
{
    const auto code = static_cast<unsigned char>(key);
    if (code < 32 || code == 127 || (key >= '0' && key <= '9') || key == '.')
        return;
    key = key == ',' ? '.' : 0;
}

// The window's texts as the 8-bit text the number parser reads.
inline std::string AnsiText(const QString &text)
{
    return ToCp1252(text).toStdString();
}
