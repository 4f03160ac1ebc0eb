#include "Settingfiles/UserIniFile.h"
#include "SettingsRedirect.h"
#include "TestEnvironment.h"
#include "shared/Exception.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_WIN
#include <windows.h>

#include <string>
#endif

class TestUserIniFile : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void firstConstructionCreatesFoldersOnly_data();
    void firstConstructionCreatesFoldersOnly();
    void exitWritesGiveExactFile();
    void handEditedFileIsReadAndReplacedInPlace_data();
    void handEditedFileIsReadAndReplacedInPlace();
    void emptySectionNameGivesDefault();
    void uncreatableFolderGivesDefaultsAndFailingWrite_data();
    void uncreatableFolderGivesDefaultsAndFailingWrite();
    void shellFolderHoldsTheFile_data();
    void shellFolderHoldsTheFile();

private:
    QString Lunavue() const { return FDir->filePath("TAVREL/Lunavue"); }

    std::unique_ptr<QTemporaryDir> FDir;
};

void TestUserIniFile::init()
{
    FDir = std::make_unique<QTemporaryDir>();
    QVERIFY(FDir->isValid());
    UseSettingsFolder(FDir->path());
}

void TestUserIniFile::firstConstructionCreatesFoldersOnly_data()
{
    QTest::addColumn<QString>("configHome");
    QTest::addColumn<QString>("home");
    QTest::addRow("config-home-exists") << QString() << QString();
    // HOME without .config, XDG_CONFIG_HOME unset.
    QTest::addRow("fresh-account-without-config-home") << QString() << "home";
    QTest::addRow("config-home-elsewhere-missing") << "elsewhere/config" << QString();
}

void TestUserIniFile::firstConstructionCreatesFoldersOnly()
{
    QFETCH(QString, configHome);
    QFETCH(QString, home);
    const EnvironmentRestorer homeBack("HOME");
    const EnvironmentRestorer configBack("XDG_CONFIG_HOME");
    QString config = configHome.isEmpty() ? FDir->path() : FDir->filePath(configHome);
    QString top = FDir->path();
    if (!home.isEmpty()) {
#ifdef Q_OS_WIN
        QSKIP("Windows takes the settings folder from the shell, not from HOME");
#endif
        top = FDir->filePath(home);
        QVERIFY(QDir().mkdir(top));
        qputenv("HOME", QFile::encodeName(top));
        qunsetenv("XDG_CONFIG_HOME");
        config = top + "/.config";
    } else {
        if (!configHome.isEmpty())
            QVERIFY(QDir().mkpath(QFileInfo(config).path()));
        UseSettingsFolder(config);
        top = QFileInfo(config).path();
    }
    const QString lunavue = config + "/TAVREL/Lunavue";
    {
        const TUserIniFile settings;
        QVERIFY(settings.Usable());
        QCOMPARE(settings.Path(), lunavue + "/User.ini");
        QVERIFY(QFileInfo(lunavue).isDir());
        QVERIFY(!QFileInfo::exists(settings.Path()));
        QCOMPARE(settings.ReadSetting("OpticCalc", "Sprache", "Deutsch"), "Deutsch");
    }
#ifndef Q_OS_WIN
    // Every folder made here is private to the user. (Windows keeps the
    // application-data folder private through its access lists, which Qt
    // does not show as permission bits.)
    const auto owner = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
    const auto ours = QFile::ReadUser | QFile::WriteUser | QFile::ExeUser;
    for (QString folder = lunavue; folder != top; folder = QFileInfo(folder).path())
        QCOMPARE(QFile::permissions(folder) & ~ours, owner);
#endif
    TUserIniFile().WriteSetting("OpticCalc", "Sprache", "English");
    QCOMPARE(TUserIniFile().ReadSetting("OpticCalc", "Sprache", "Deutsch"), "English");
}

void TestUserIniFile::exitWritesGiveExactFile()
{
    {
        TUserIniFile settings;
        settings.WriteSetting("OpticCalc", "Sprache", "English");
        settings.WriteSetting("OpticCalc", "BasicM90", "10");
        settings.WriteSetting("OpticCalc", "BasicA", "500");
        settings.WriteSetting("OpticCalc", "BasicApertur", "");
    }
    QFile file(Lunavue() + "/User.ini");
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("[OpticCalc]\r\nSprache=English\r\nBasicM90=10\r\n"
                                        "BasicA=500\r\nBasicApertur=\r\n"));

    const TUserIniFile settings;
    QCOMPARE(settings.ReadSetting("OpticCalc", "Sprache", "Deutsch"), "English");
    QCOMPARE(settings.ReadSetting("OpticCalc", "BasicA", ""), "500");
    // Stored empty is not missing.
    QCOMPARE(settings.ReadSetting("OpticCalc", "BasicApertur", "x"), "");
}

void TestUserIniFile::handEditedFileIsReadAndReplacedInPlace_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("m90");
    QTest::addColumn<QByteArray>("after");

    QTest::addRow("names-in-other-case-blanks-and-quotes")
        << QByteArray("[opticcalc]\r\nSPRACHE = \"English\"\r\nbasicm90='12.5'\r\n") << "English"
        << "12.5"
        << QByteArray("[opticcalc]\r\nSPRACHE = Deutsch\r\nbasicm90=10\r\nBasicA=500\r\n"
                      "BasicApertur=30\r\n");
    QTest::addRow("other-sections-kept")
        << QByteArray("[Andere]\r\nSprache=x\r\n\r\n[OpticCalc]\r\nBasicA=1\r\n") << "DEFAULT"
        << ""
        << QByteArray("[Andere]\r\nSprache=x\r\n\r\n[OpticCalc]\r\nBasicA=500\r\n"
                      "Sprache=Deutsch\r\nBasicM90=10\r\nBasicApertur=30\r\n");
    QTest::addRow("cr-only-with-comment-in-header")
        << QByteArray("[OpticCalc] ; see [notes]\rSprache=English\rBasicM90=12.5\r; end\r")
        << "English"
        << "12.5"
        << QByteArray("[OpticCalc] ; see [notes]\rSprache=Deutsch\r\nBasicM90=10\r\n"
                      "BasicA=500\r\nBasicApertur=30\r\n; end\r");
    QTest::addRow("mixed-line-ends-cr-cr-lf")
        << QByteArray("[OpticCalc]\nSprache=English\r\r\nBasicM90=12.5") << "English"
        << "12.5"
        << QByteArray("[OpticCalc]\nSprache=Deutsch\r\n\r\nBasicM90=10\r\nBasicA=500\r\n"
                      "BasicApertur=30\r\n");
}

void TestUserIniFile::handEditedFileIsReadAndReplacedInPlace()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, language);
    QFETCH(QString, m90);
    QFETCH(QByteArray, after);

    QVERIFY(QDir().mkpath(Lunavue()));
    QFile file(Lunavue() + "/User.ini");
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(before);
    file.close();

    TUserIniFile settings;
    QCOMPARE(settings.ReadSetting("OpticCalc", "Sprache", "DEFAULT"), language);
    QCOMPARE(settings.ReadSetting("OpticCalc", "BasicM90", ""), m90);
    settings.WriteSetting("OpticCalc", "Sprache", "Deutsch");
    settings.WriteSetting("OpticCalc", "BasicM90", "10");
    settings.WriteSetting("OpticCalc", "BasicA", "500");
    settings.WriteSetting("OpticCalc", "BasicApertur", "30");

    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), after);
}

void TestUserIniFile::emptySectionNameGivesDefault()
{
    QVERIFY(QDir().mkpath(Lunavue()));
    QFile file(Lunavue() + "/User.ini");
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[]\r\nSprache=English\r\n");
    file.close();

    QCOMPARE(TUserIniFile().ReadSetting("", "Sprache", "Deutsch"), "Deutsch");
}

void TestUserIniFile::uncreatableFolderGivesDefaultsAndFailingWrite_data()
{
    QTest::addColumn<QString>("where");
    // A regular file where the configuration folder should be.
    QTest::addRow("file-in-place-of-config-folder") << "plain-file";
    // HOME names a folder that does not exist: it is not made.
    QTest::addRow("home-folder-missing") << "missing-home";
}

void TestUserIniFile::uncreatableFolderGivesDefaultsAndFailingWrite()
{
    QFETCH(QString, where);
    const EnvironmentRestorer homeBack("HOME");
    const EnvironmentRestorer configBack("XDG_CONFIG_HOME");
    const QString plain = FDir->filePath("plain");
    QString config;
    if (where == "plain-file") {
        QFile file(plain);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        config = plain + "/config";
        UseSettingsFolder(config);
    } else {
#ifdef Q_OS_WIN
        QSKIP("Windows takes the settings folder from the shell, not from HOME");
#endif
        qputenv("HOME", QFile::encodeName(FDir->filePath("nobody")));
        qunsetenv("XDG_CONFIG_HOME");
        config = FDir->filePath("nobody/.config");
    }

    TUserIniFile settings;
    QVERIFY(settings.Usable());
    const QString path = config + "/TAVREL/Lunavue/User.ini";
    QCOMPARE(settings.Path(), path);
    QCOMPARE(settings.ReadSetting("OpticCalc", "BasicM90", "7"), "7");

    QString message;
    try {
        settings.WriteSetting("OpticCalc", "Sprache", "Deutsch");
    } catch (const EIniFileException &e) {
        message = e.Message();
    }
    QCOMPARE(message, "In " + QDir::toNativeSeparators(path) + " kann nicht geschrieben werden");
    if (where == "plain-file")
        QCOMPARE(QFileInfo(plain).size(), 0);
    QCOMPARE(QDir(FDir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             where == "plain-file" ? QStringList{"plain"} : QStringList{});
}

#ifdef Q_OS_WIN

namespace {

// Points the user's local application-data folder somewhere else for this
// account, as a moved or renamed profile does, and puts it back.
class ShellFolderRedirect
{
public:
    explicit ShellFolderRedirect(const QString &folder)
    {
        if (RegOpenKeyExW(HKEY_CURRENT_USER, KeyPath, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &FKey) !=
            ERROR_SUCCESS)
            return;
        DWORD type = 0;
        DWORD size = 0;
        if (RegQueryValueExW(FKey, Value, nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
            FSaved.resize(size / sizeof(wchar_t) + 1);
            FHadValue =
                RegQueryValueExW(FKey, Value, nullptr, &type,
                                 reinterpret_cast<BYTE *>(FSaved.data()), &size) == ERROR_SUCCESS;
            FSavedType = type;
            FSaved.resize(size / sizeof(wchar_t));
        }
        const std::wstring path = QDir::toNativeSeparators(folder).toStdWString();
        FSet = Write(REG_EXPAND_SZ, path.c_str(), DWORD((path.size() + 1) * sizeof(wchar_t)));
    }
    ~ShellFolderRedirect()
    {
        if (FKey == nullptr)
            return;
        if (FHadValue)
            Write(FSavedType, FSaved.data(), DWORD(FSaved.size() * sizeof(wchar_t)));
        else
            RegDeleteValueW(FKey, Value);
        RegCloseKey(FKey);
    }
    ShellFolderRedirect(const ShellFolderRedirect &) = delete;
    ShellFolderRedirect &operator=(const ShellFolderRedirect &) = delete;

    bool Set() const { return FSet; }

private:
    bool Write(DWORD type, const wchar_t *data, DWORD bytes)
    {
        return RegSetValueExW(FKey, Value, 0, type, reinterpret_cast<const BYTE *>(data), bytes) ==
               ERROR_SUCCESS;
    }

    static constexpr const wchar_t *KeyPath =
        L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
    static constexpr const wchar_t *Value = L"Local AppData";

    HKEY FKey = nullptr;
    bool FHadValue = false;
    bool FSet = false;
    DWORD FSavedType = REG_EXPAND_SZ;
    std::wstring FSaved;
};

} // namespace

#endif

// The settings land in the folder the shell names, also where the profile's
// name holds characters outside the ANSI code page.
void TestUserIniFile::shellFolderHoldsTheFile_data()
{
    QTest::addColumn<QString>("profile"); // empty: the account's own folder
    QTest::addRow("local-application-data-folder") << QString();
    QTest::addRow("profile-with-umlaut") << QString::fromUtf8("Jürgen");
    QTest::addRow("profile-with-greek-name") << QString::fromUtf8("Γιώργος");
    QTest::addRow("profile-with-both-and-blank") << QString::fromUtf8("Jürgen Γιώργος");
}

void TestUserIniFile::shellFolderHoldsTheFile()
{
#ifndef Q_OS_WIN
    QSKIP("the shell's folders are Windows'");
#else
    QFETCH(QString, profile);
    UseSettingsFolder(QString());
    if (profile.isEmpty()) {
        // Only looked at: the account's real settings stay untouched.
        const QString local =
            QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
        QVERIFY2(local.endsWith(QStringLiteral("/AppData/Local")), qPrintable(local));
        QCOMPARE(TUserIniFile().Path(), local + "/TAVREL/Lunavue/User.ini");
        return;
    }
    const QString local = FDir->filePath(profile + "/AppData/Local");
    QVERIFY(QDir().mkpath(local));
    const ShellFolderRedirect redirect(local);
    QVERIFY(redirect.Set());
    const QString path = local + "/TAVREL/Lunavue/User.ini";
    {
        TUserIniFile settings;
        QVERIFY(settings.Usable());
        QCOMPARE(settings.Path(), path);
        settings.WriteSetting("OpticCalc", "BasicM90", "12.5");
    }
    QCOMPARE(TUserIniFile().ReadSetting("OpticCalc", "BasicM90", ""), "12.5");
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("[OpticCalc]\r\nBasicM90=12.5\r\n"));
#endif
}

QTEST_GUILESS_MAIN(TestUserIniFile)
#include "tst_userinifile.moc"
