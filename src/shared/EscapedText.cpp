#include "shared/EscapedText.h"

#include "shared/Cp1252.h"

namespace {

bool CodePageCarries(QChar c)
{
    return c == u'?' || FromCp1252(ToCp1252(QString(c))) == QString(c);
}

int HexValue(QChar c)
{
    if (c >= u'0' && c <= u'9')
        return c.unicode() - '0';
    if (c >= u'a' && c <= u'f')
        return c.unicode() - 'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c.unicode() - 'A' + 10;
    return -1;
}

} // namespace

QString EscapeForCp1252(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c == u'\\')
            out += QStringLiteral("\\\\");
        else if (CodePageCarries(c))
            out += c;
        else
            out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
    }
    return out;
}

QString UnescapeFromCp1252(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\\' && i + 1 < text.size() && text[i + 1] == u'\\') {
            out += u'\\';
            ++i;
            continue;
        }
        if (text[i] == u'\\' && i + 5 < text.size() && text[i + 1] == u'u') {
            int code = 0;
            for (qsizetype k = i + 2; k < i + 6 && code >= 0; ++k) {
                const int digit = HexValue(text[k]);
                code = digit < 0 ? -1 : code * 16 + digit;
            }
            if (code >= 0) {
                out += QChar(char16_t(code));
                i += 5;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}
