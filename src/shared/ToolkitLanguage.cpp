#include "shared/ToolkitLanguage.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QTranslator>

#include <cstring>

#ifdef Q_OS_LINUX
#include <locale.h>
#endif

namespace {

// Qt's German texts, loaded once and installed while the window speaks
// German; the application object owns them.
QPointer<QTranslator> QtGerman;
bool QtGermanInstalled = false;

// Qt's own folder first; a program delivered with its Qt (the Windows zip)
// brings them in a folder beside itself.
bool LoadQtGermanInto(QTranslator &translator)
{
    for (const QString &folder :
         {QLibraryInfo::path(QLibraryInfo::TranslationsPath),
          QCoreApplication::applicationDirPath() + QStringLiteral("/translations")}) {
        if (translator.load(QLocale(QLocale::German), QStringLiteral("qtbase"), QStringLiteral("_"),
                            folder))
            return true;
    }
    return false;
}

QTranslator *LoadQtGerman()
{
    if (!QtGerman) {
        auto *translator = new QTranslator(QCoreApplication::instance());
        if (!LoadQtGermanInto(*translator)) {
            delete translator;
            return nullptr;
        }
        QtGerman = translator;
    }
    return QtGerman;
}

#ifdef Q_OS_LINUX

// The locale whose messages the system's error texts are taken from; none
// until a language is set, then the process's own locale is used.
locale_t Messages = locale_t(nullptr);

// Which locales are generated differs from system to system; any German one
// carries glibc's German messages. Its character set must be UTF-8: the
// messages are converted to the locale's.
locale_t GermanMessages()
{
    static const locale_t german = [] {
        for (const char *name : {"de_DE.UTF-8", "de_AT.UTF-8", "de_CH.UTF-8", "de_LU.UTF-8",
                                 "de_BE.UTF-8", "de_LI.UTF-8", "de_IT.UTF-8"}) {
            if (const locale_t found = newlocale(LC_MESSAGES_MASK | LC_CTYPE_MASK, name, nullptr))
                return found;
        }
        return locale_t(nullptr);
    }();
    return german;
}

// Plain "C", not C.UTF-8: gettext lets the LANGUAGE variable override every
// locale but "C", and English must stay English.
locale_t EnglishMessages()
{
    static const locale_t english = newlocale(LC_MESSAGES_MASK | LC_CTYPE_MASK, "C", nullptr);
    return english;
}

void SetMessageLanguage(bool german)
{
    // Without German messages the text stays in the process's language.
    Messages = german ? GermanMessages() : EnglishMessages();
}

QString MessageText(int code)
{
    if (Messages == locale_t(nullptr))
        return qt_error_string(code);
    return QString::fromUtf8(strerror_l(code, Messages)).trimmed();
}

#elif defined(Q_OS_WIN)

// The codes are the C library's (errno); Qt's texts on Windows are made
// from the system's own error numbers, which mean something else (13, the
// C library's "Permission denied", is Windows' "Invalid data").
void SetMessageLanguage(bool) {}
QString MessageText(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

#else

// Elsewhere the system's texts stay as the system gives them; the message
// catalogues looked up per locale are glibc's.
void SetMessageLanguage(bool) {}
QString MessageText(int code)
{
    return qt_error_string(code);
}

#endif

} // namespace

bool SetToolkitLanguage(const QString &language)
{
    const bool german = language == QLatin1String("Deutsch");
    if (!QtGerman)
        QtGermanInstalled = false; // went with an earlier application object
    if (german && !QtGermanInstalled) {
        if (QTranslator *translator = LoadQtGerman())
            QtGermanInstalled = QCoreApplication::installTranslator(translator);
    } else if (!german && QtGermanInstalled) {
        QCoreApplication::removeTranslator(QtGerman);
        QtGermanInstalled = false;
    }
    SetMessageLanguage(german);
    return !german || QtGermanInstalled;
}

QString SystemErrorText(int code)
{
    return MessageText(code);
}
