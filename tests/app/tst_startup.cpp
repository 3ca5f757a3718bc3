// Start-up and shutdown: the real program on a fresh client folder and as a second copy, the start
// procedure in-process, the splash window with and without a version record, the tray window,
// and the error reporter while not connected.
#include "app/Deployment.h"
#include "app/ErrorHandler.h"
#include "app/frmsplash.h"
#include "app/frmsystray.h"
#include "app/modMain.h"
#include "app/modSettings.h"
#include "app/storedvars.h"
#include "net/frmCon.h"
#include "net/frmstart.h"
#include "platform/Forms.h"
#include "platform/Ini.h"
#include "platform/Paths.h"
#include "platform/SingleInstance.h"
#include "tests/support/ClientFixture.h"
#include "tests/support/FakeServer.h"
#include "tests/support/FakeWebService.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QString kProgram = QStringLiteral(CORVADEX_BIN_DIR "/corvadex");
const QByteArray kRecord = "[Info]\r\nVersion=3.4.6.400\r\nWhatsNew=Quicker boards, \"fewer\" clicks\r\n";

// The real program on a client folder, headless, its version record from the fake web site.
class Program {
public:
    Program(const QString& home, const QString& website) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("CORVADEX_HOME", home);
        env.insert("CORVADEX_WEBSITE", website);
        env.insert("CORVADEX_SERVER", "127.0.0.1:1");
        env.insert("QT_LOGGING_RULES", "qt.multimedia*=false");
        process.setProcessEnvironment(env);
        process.setProgram(kProgram);
    }
    ~Program() {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished(5000);
        }
    }
    QProcess process;
};

// Waits for a condition while the event loop runs (the fake services answer meanwhile).
template <class F>
bool waitFor(F&& done, int ms) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > ms) return false;
        QTest::qWait(20);
    }
    return true;
}

const QStringList kFirstRunFolders = {"decks",         "decks/Blue",           "decks/Red",
                                      "skins",         "skins/default",        "skins/default/avatars",
                                      "skins/default/dice", "skins/default/element", "skins/default/sphere",
                                      "wavs",          "wavs/sphere"};

QString errorText(const QString& text, int site) {
    return "An error occurred, please notify technical support, " + Deployment::supportAddress() +
           ", of how it happened (with snapshots), and the description of the bug: " + text + " Error ID: " +
           QString::number(site);
}
}  // namespace

class TestStartup : public QObject {
    Q_OBJECT

private slots:
    void cleanup() {
        qunsetenv("CORVADEX_WEBSITE");
        ClientFixture::unloadAll();
    }

    // ---- The real program -------------------------------------------------------------------

    void firstStartOfTheProgram() {
        QVERIFY2(QFileInfo(kProgram).isExecutable(), "build the corvadex target");
        FakeWebService web;
        web.setVersionRecord(kRecord);
        QTemporaryDir home;
        for (const char* name : {"decks.zip", "skins.zip", "wavs.zip"})
            QVERIFY(QFile::copy(ClientFixture::archive(name), home.filePath(name)));
        Program first(home.path(), web.baseUrl());
        first.process.start();
        QVERIFY(first.process.waitForStarted());
        const auto ready = [&] {
            for (const char* name : {"decks.zip", "skins.zip", "wavs.zip"})
                if (QFile::exists(home.filePath(name))) return false;
            return QFile::exists(home.filePath("versionfile.txt")) &&
                   ReadIni("startup", "skin", home.filePath("main.ini")) == "default";
        };
        const bool done = waitFor(ready, 20000);
        const QByteArray log = first.process.readAllStandardError();
        QVERIFY2(done, log.constData());
        QCOMPARE(first.process.state(), QProcess::Running);
        for (const QString& f : kFirstRunFolders) QVERIFY2(QFileInfo(home.filePath(f)).isDir(), qPrintable(f));
        QVERIFY(QFile::exists(home.filePath("decks/Blue/Emberlark.jpg")));
        QVERIFY(QFile::exists(home.filePath("skins/default/splash.jpg")));
        QVERIFY(QFile::exists(home.filePath("wavs/beep.wav")));
        QFile record(home.filePath("versionfile.txt"));
        QVERIFY(record.open(QIODevice::ReadOnly));
        QCOMPARE(record.readAll(), kRecord);
        QCOMPARE(web.versionRequests(), 1);
        // Headless, the first-run notice goes to the log instead of waiting for a click.
        QVERIFY(log.contains("Start up: Because this is the first time"));
    }

    void secondCopyExitsAndTheFirstRunsOn() {
        FakeWebService web;
        QTemporaryDir home;
        QVERIFY(QFile::copy(ClientFixture::archive("skins.zip"), home.filePath("skins.zip")));
        Program first(home.path(), web.baseUrl());
        first.process.start();
        QVERIFY(first.process.waitForStarted());
        // Unpacking comes after the copy has claimed the folder.
        QVERIFY(waitFor([&] { return !QFile::exists(home.filePath("skins.zip")); }, 20000));
        QTest::qWait(300);
        QCOMPARE(first.process.state(), QProcess::Running);

        // A second copy with the same folder (also spelled another way) ends at once, touching nothing.
        QVERIFY(QFile::copy(ClientFixture::archive("wavs.zip"), home.filePath("wavs.zip")));
        for (const QString& spelling : {home.path(), home.path() + "/./"}) {
            Program second(spelling, web.baseUrl());
            QElapsedTimer t;
            t.start();
            second.process.start();
            QVERIFY(second.process.waitForFinished(10000));
            QCOMPARE(second.process.exitStatus(), QProcess::NormalExit);
            QCOMPARE(second.process.exitCode(), 0);
            QVERIFY2(t.elapsed() < 5000, "the second copy must end at once");
            QVERIFY(QFile::exists(home.filePath("wavs.zip")));
            QCOMPARE(first.process.state(), QProcess::Running);
        }
        QCOMPARE(web.versionRequests(), 1);  // only the first copy asked
    }

    void secondCopyAsksTheFirstToShowItself() {
        QTemporaryDir home;
        SingleInstance first(home.path());
        QVERIFY(first.listen());
        QSignalSpy asked(&first, &SingleInstance::activationRequested);
        Program second(home.path(), "http://127.0.0.1:1");
        second.process.start();
        QVERIFY(asked.wait(10000));
        QVERIFY(second.process.waitForFinished(10000));
        QCOMPARE(second.process.exitCode(), 0);
        QCOMPARE(QDir(home.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
    }

    // ---- Main in-process --------------------------------------------------------------------

    void mainWritesTheDefaultSkin() {
        ClientFixture fx(ClientFixture::Skin);
        FakeWebService web;
        qputenv("CORVADEX_WEBSITE", web.baseUrl().toUtf8());
        MsgWindowUsed = {5, 5};
        QVERIFY(Main());
        QCOMPARE(MsgWindows.size(), 1);
        QCOMPARE(MsgWindowUsed, QVector<int16_t>{0});
        QCOMPARE(SkinName, QStringLiteral("default"));
        QCOMPARE(fx.read("main.ini"), QByteArray("[startup]\r\nskin=default\r\n"));
        QVERIFY(ifLoaded<frmsystray>());
        QVERIFY(ifLoaded<frmsplash>());
        QVERIFY(ifLoaded<frmsplash>()->isVisible());
        QTRY_VERIFY(!ifLoaded<frmsystray>()->isVisible());  // it hides itself
        QVERIFY(fx.services.dialogs->boxes.isEmpty());
        for (const QString& f : kFirstRunFolders) QVERIFY2(QFileInfo(fx.path(f)).isDir(), qPrintable(f));

        // The same folder once more in this process: the claim is taken, nothing else happens.
        ClientFixture::unloadAll();
        QVERIFY(!Main());
        QVERIFY(!ifLoaded<frmsplash>());
        QVERIFY(!ifLoaded<frmsystray>());
    }

    void mainKeepsAChosenSkin() {
        ClientFixture fx(ClientFixture::Skin);
        qputenv("CORVADEX_WEBSITE", "http://127.0.0.1:1");
        fx.write("main.ini", "[startup]\r\nskin=default\r\n[other]\r\nx=1\r\n");
        QVERIFY(QFile::copy(fx.path("skins/default.ini"), fx.folder() + "/skins/dark.ini"));
        WriteIni("startup", "skin", "dark", fx.path("main.ini"));
        QVERIFY(Main());
        QCOMPARE(SkinName, QStringLiteral("dark"));
        QCOMPARE(fx.read("main.ini"), QByteArray("[startup]\r\nskin=dark\r\n[other]\r\nx=1\r\n"));
    }

    void mainAddsTheKeyToAnExistingSection() {
        ClientFixture fx(ClientFixture::Skin);
        qputenv("CORVADEX_WEBSITE", "http://127.0.0.1:1");
        fx.write("main.ini", "[Startup]\r\nlast=anna\r\n\r\n[other]\r\nskin=wrong\r\n");
        QVERIFY(Main());
        QCOMPARE(SkinName, QStringLiteral("default"));
        QCOMPARE(fx.read("main.ini"), QByteArray("[Startup]\r\nlast=anna\r\nskin=default\r\n\r\n[other]\r\nskin=wrong\r\n"));
    }

    // ---- Splash window ----------------------------------------------------------------------

    void splashWithVersionRecord() {
        ClientFixture fx(ClientFixture::Skin);
        FakeWebService web;
        web.setVersionRecord(kRecord);
        qputenv("CORVADEX_WEBSITE", web.baseUrl().toUtf8());
        frmsplash* s = form<frmsplash>();
        QCOMPARE(ClientConfig().CurrentVersion(), QStringLiteral("3.4.6.400"));
        QCOMPARE(ClientConfig().WhatsNew(), QStringLiteral("Quicker boards, \"fewer\" clicks"));
        QCOMPARE(fx.read("versionfile.txt"), kRecord);
        QVERIFY(s->tmrload->isActive());
        QCOMPARE(s->tmrload->interval(), 2000);
        QVERIFY(!s->picture->pixmap().isNull());
        QVERIFY(fx.services.dialogs->boxes.isEmpty());
        QCOMPARE(fx.services.lifecycle->ends, 0);
    }

    void splashWithoutVersionRecord_data() {
        QTest::addColumn<int>("mode");
        QTest::newRow("no record") << int(FakeWebService::Mode::Normal);
        QTest::newRow("server error") << int(FakeWebService::Mode::Error500);
        QTest::newRow("refused") << int(FakeWebService::Mode::Refuse);
        QTest::newRow("dropped") << int(FakeWebService::Mode::Drop);
    }

    void splashWithoutVersionRecord() {
        QFETCH(int, mode);
        ClientFixture fx(ClientFixture::Skin);
        FakeWebService web;
        web.setMode(FakeWebService::Mode(mode));
        qputenv("CORVADEX_WEBSITE", web.baseUrl().toUtf8());
        fx.write("versionfile.txt", "[Info]\r\nVersion=1.0.0.1\r\n");  // from an earlier run
        ClientConfig().CurrentVersion("stale");
        frmsplash* s = form<frmsplash>();
        QCOMPARE(ClientConfig().CurrentVersion(), QString());
        // The copy of the earlier run stays.
        QCOMPARE(fx.read("versionfile.txt"), QByteArray("[Info]\r\nVersion=1.0.0.1\r\n"));
        QVERIFY(s->tmrload->isActive());
        QVERIFY(fx.services.dialogs->boxes.isEmpty());
        QCOMPARE(fx.services.lifecycle->ends, 0);
    }

    void splashTimerOpensTheLoginWindow() {
        ClientFixture fx(ClientFixture::Skin);
        qputenv("CORVADEX_WEBSITE", "http://127.0.0.1:1");
        fx.write("tmp123.ini", "[x]\r\n");
        fx.write("tmpother.ini", "");
        fx.write("tmp7.INI", "");
        fx.write("TMP5.ini", "");
        fx.write("Tmp6.ini", "");
        fx.write("main.ini", "[startup]\r\nskin=default\r\n");
        fx.write("tmp.txt", "not a settings file");
        fx.write("config/tmp9.ini", "below the folder");
        QPointer<frmsplash> s = form<frmsplash>();
        s->show();
        s->tmrload_Timer();
        QVERIFY(!fx.exists("tmp123.ini"));
        QVERIFY(!fx.exists("tmpother.ini"));
        QVERIFY(!fx.exists("tmp7.INI"));
        // "tmp" as the login window writes it.
        QVERIFY(fx.exists("TMP5.ini"));
        QVERIFY(fx.exists("Tmp6.ini"));
        QVERIFY(fx.exists("main.ini"));
        QVERIFY(fx.exists("tmp.txt"));
        QVERIFY(fx.exists("config/tmp9.ini"));
        QVERIFY(!fx.services.clock->pauses.isEmpty());
        QCOMPARE(fx.services.clock->pauses.first(), 0);  // the splash's own, before the login window's
        QVERIFY(ifLoaded<frmstart>());
        QVERIFY(ifLoaded<frmstart>()->isVisible());
        QVERIFY(!ifLoaded<frmsplash>());
        QVERIFY(s.isNull() || !s->isVisible());
    }

    void splashWithoutItsPicture() {
        ClientFixture fx(ClientFixture::None);
        FakeWebService web;
        web.setVersionRecord(kRecord);
        qputenv("CORVADEX_WEBSITE", web.baseUrl().toUtf8());
        frmsplash* s = form<frmsplash>();
        QCOMPARE(fx.services.dialogs->boxes.size(), 1);
        const BoxRecord box = fx.services.dialogs->boxes[0];
        QCOMPARE(box.title, QStringLiteral("Skin Error"));
        QCOMPARE(box.style, int(vb::Information));
        QCOMPARE(box.text,
                 "The application could not find one or more skin files.  It may be because you have unzipped an update "
                 "into the wrong folder or in the wrong location.  It may also be possible that you downloaded an update "
                 "but not the entire installation.  Please install CVX on " +
                     Deployment::downloadSite() +
                     " or make sure you unzipped the update in the correct location.  The application will now terminate.");
        QCOMPARE(fx.services.lifecycle->ends, 1);
        QCOMPARE(fx.services.lifecycle->lastStatus, 1);
        QVERIFY(!s->tmrload->isActive());
        QCOMPARE(web.versionRequests(), 0);
    }

    void splashOfASkinWithoutSplashPicture() {
        ClientFixture fx(ClientFixture::Skin);
        qputenv("CORVADEX_WEBSITE", "http://127.0.0.1:1");
        fx.write("skins/plain.ini", "[main]\r\nfontface=Arial\r\n");
        SkinName = "plain";
        form<frmsplash>();
        QCOMPARE(fx.services.dialogs->titles(), QStringList{"Skin Error"});
        QCOMPARE(fx.services.lifecycle->lastStatus, 1);
    }

    // ---- Tray window ------------------------------------------------------------------------

    void trayMenu() {
        ClientFixture fx(ClientFixture::Skin);
        frmsystray* t = form<frmsystray>();
        const QList<QAction*> items = t->mPopUp->actions();
        QCOMPARE(items.size(), 4);
        QCOMPARE(items[0], t->mnuqexit);
        QCOMPARE(items[0]->text(), QStringLiteral("Exit Rookfell Online"));
        QVERIFY(items[1]->isSeparator());
        QCOMPARE(items[2]->text(), QStringLiteral("Rookfell Online Forums"));
        QCOMPARE(items[3]->text(), QStringLiteral("Rookfell Online Website"));
        QCOMPARE(t->mPopUp->title(), QStringLiteral("Systray"));
        QCOMPARE(frmsystray::tipText(), QStringLiteral("Corvadex 3.4.5"));

        t->mnuForums->trigger();
        t->mnuwebsite->trigger();
        QCOMPARE(fx.services.shell->opened,
                 (QStringList{Deployment::website() + "/starvale-corvada-forums/", Deployment::website()}));

        // A right click pops the menu up; a double click opens nothing.
        t->iconMessage(517);
        QTRY_VERIFY(t->mPopUp->isVisible());
        t->mPopUp->hide();
        const int before = loadedForms().size();
        t->iconMessage(515);
        t->iconMessage(1234);
        QCOMPARE(loadedForms().size(), before);
        QCOMPARE(fx.services.shell->opened.size(), 2);
        t->show();
        QTRY_VERIFY(!t->isVisible());
    }

    void trayExitWhileNotConnected() {
        ClientFixture fx(ClientFixture::Skin);
        frmsystray* t = form<frmsystray>();
        ConnectionState = 1;
        t->mnuqexit->trigger();
        QCOMPARE(ConnectionState, int16_t(2));
        QCOMPARE(fx.services.lifecycle->ends, 0);
        QVERIFY(fx.services.dialogs->boxes.isEmpty());
        QVERIFY(!ifLoaded<frmCon>() || !ifLoaded<frmCon>()->Winsock->connected());
    }

    void trayExitWhileConnected() {
        ClientFixture fx(ClientFixture::Skin);
        FakeServer server;
        frmCon* con = form<frmCon>();
        con->Winsock->Connect("127.0.0.1", server.port());
        QVERIFY(server.waitForClient());
        QTRY_VERIFY(con->Winsock->connected());
        ConnectionState = 1;
        AdminMinutes = 17;
        form<frmsystray>()->mnuqexit_Click();
        QVERIFY(server.waitForLine("QUIT 17 1"));
        QCOMPARE(ConnectionState, int16_t(2));
        QCOMPARE(con->Winsock->Tag, QStringLiteral("out"));
        QCOMPARE(fx.services.lifecycle->ends, 0);  // the server's answer ends the client
    }

    // ---- Error reporter, not connected ------------------------------------------------------

    void errorReporterNotConnected() {
        ClientFixture fx(ClientFixture::Skin | ClientFixture::Wavs);
        bool beepedFirst = false;
        fx.services.dialogs->onBox = [&](const BoxRecord&) { beepedFirst = !fx.services.sound->played.isEmpty(); };
        bool rest = false;
        guarded(47, [&] {
            throw RuntimeError("Type mismatch", 13);
            rest = true;
        });
        QVERIFY(!rest);
        QCOMPARE(fx.services.dialogs->boxes.size(), 1);
        const BoxRecord box = fx.services.dialogs->boxes[0];
        QCOMPARE(box.title, QStringLiteral("Error"));
        QCOMPARE(box.style, int(vb::Critical));
        QCOMPARE(box.text, errorText("Type mismatch", 47));
        QVERIFY(box.text.endsWith(" Error ID: 47"));
        QVERIFY(beepedFirst);
        QCOMPARE(fx.services.sound->played, QStringList{fx.path("wavs/beep.wav")});
        QCOMPARE(fx.services.lifecycle->ends, 0);

        // With the socket window loaded but no connection, nothing is sent and the program goes on.
        form<frmCon>();
        fx.services.dialogs->clear();
        guarded(533, [] { throw std::out_of_range("Subscript out of range"); });
        QCOMPARE(fx.services.dialogs->boxes.size(), 1);
        QCOMPARE(fx.services.dialogs->boxes[0].text, errorText("Subscript out of range", 533));
        QCOMPARE(fx.services.lifecycle->ends, 0);
        QVERIFY(ifLoaded<frmCon>());
    }

    void splashErrorReporterNotConnected() {
        ClientFixture fx(ClientFixture::Skin);
        SplashErrorHandler("File not found", "frmstart.load");
        QCOMPARE(fx.services.dialogs->boxes.size(), 1);
        QCOMPARE(fx.services.dialogs->boxes[0].title, QStringLiteral("Error"));
        QCOMPARE(fx.services.dialogs->boxes[0].text,
                 "An error occurred, please notify " + Deployment::developerContact() +
                     ", of how it happened (with snapshots), and the description of the bug: File not found");
        QCOMPARE(fx.services.lifecycle->ends, 0);
    }

    // ---- Settings files and copies ----------------------------------------------------------

    void perUserSettingsFile() {
        ClientFixture fx(ClientFixture::None);
        Nickname = "anna";
        QVERIFY(!fx.exists("config"));
        QCOMPARE(GetIniFile(), fx.folder() + "/config/anna.cvc");
        QVERIFY(QFileInfo(fx.path("config")).isDir());
        QVERIFY(!fx.exists("config/anna.cvc"));  // only the folder is made
        QCOMPARE(MainIniPath(), fx.folder() + "/main.ini");
        // An existing file under another case is the one used.
        fx.write("config/Anna.CVC", "[Options]\r\nSounds=1\r\n");
        QCOMPARE(GetIniFile(), fx.folder() + "/config/Anna.CVC");
    }

    void safeFileCopy() {
        ClientFixture fx(ClientFixture::None);
        fx.write("Updater.bak", "new updater");
        fx.write("Updater.exe", "old updater");
        SafeFileCopy(fx.path("updater.BAK"), fx.path("Updater.exe"));
        QCOMPARE(fx.read("Updater.exe"), QByteArray("new updater"));
        QCOMPARE(fx.read("Updater.bak"), QByteArray("new updater"));
        // A copy that cannot be made leaves the target as it was.
        SafeFileCopy(fx.path("missing.bak"), fx.path("Updater.exe"));
        QCOMPARE(fx.read("Updater.exe"), QByteArray("new updater"));
        SafeFileCopy(fx.path("config"), fx.path("Updater.exe"));
        QCOMPARE(fx.read("Updater.exe"), QByteArray("new updater"));
        SafeFileCopy(fx.path("Updater.exe"), fx.path("Updater.exe"));
        QCOMPARE(fx.read("Updater.exe"), QByteArray("new updater"));
        SafeFileCopy(fx.path("Updater.exe"), fx.folder() + "/no/such/folder/x.exe");
        QCOMPARE(QDir(fx.folder()).entryList(QDir::Files), (QStringList{"Updater.bak", "Updater.exe"}));
        SafeFileCopy(fx.path("Updater.exe"), fx.folder() + "/fresh.exe");
        QCOMPARE(fx.read("fresh.exe"), QByteArray("new updater"));
    }

    // ---- Shutdown ---------------------------------------------------------------------------

    void shutDownUnloadsAndEnds() {
        ClientFixture fx(ClientFixture::Skin);
        qputenv("CORVADEX_WEBSITE", "http://127.0.0.1:1");
        form<frmsystray>();
        form<frmsplash>();
        form<frmCon>();
        ShutDown();
        QVERIFY(!ifLoaded<frmsystray>());
        QVERIFY(!ifLoaded<frmsplash>());
        QVERIFY(!ifLoaded<frmCon>());
        QVERIFY(fx.services.lifecycle->ends >= 1);
        QCOMPARE(fx.services.lifecycle->lastStatus, 0);
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
