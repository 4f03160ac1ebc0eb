#include "Settingfiles/UserIniFile.h"
#include "TestEnvironment.h"
#include "shared/Exception.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

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

private:
    QString Lunavue() const { return FDir->filePath("TAVREL/Lunavue"); }

    std::unique_ptr<QTemporaryDir> FDir;
};

void TestUserIniFile::init()
{
    FDir = std::make_unique<QTemporaryDir>();
    QVERIFY(FDir->isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(FDir->path()));
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
        top = FDir->filePath(home);
        QVERIFY(QDir().mkdir(top));
        qputenv("HOME", QFile::encodeName(top));
        qunsetenv("XDG_CONFIG_HOME");
        config = top + "/.config";
    } else {
        if (!configHome.isEmpty())
            QVERIFY(QDir().mkpath(QFileInfo(config).path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config));
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
    // Every folder made here is private to the user.
    const auto owner = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
    const auto ours = QFile::ReadUser | QFile::WriteUser | QFile::ExeUser;
    for (QString folder = lunavue; folder != top; folder = QFileInfo(folder).path())
        QCOMPARE(QFile::permissions(folder) & ~ours, owner);
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
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config));
    } else {
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

QTEST_GUILESS_MAIN(TestUserIniFile)
#include "tst_userinifile.moc"
