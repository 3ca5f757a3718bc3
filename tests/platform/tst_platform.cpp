// The small platform layers on real folders and real events: paths found without regard to case,
// the file-exists test, the folder maker, number conversions, the code page, the pause, the
// window registry and the single-instance guard.
#include "platform/Codec1252.h"
#include "platform/Forms.h"
#include "platform/Paths.h"
#include "platform/RuntimeError.h"
#include "platform/Services.h"
#include "platform/SingleInstance.h"
#include "platform/VbCompat.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cmath>
#include <cstring>
#include <limits>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {
void touch(const QString& path) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
}

// A window that counts its load and can refuse to be unloaded.
class frmProbe : public FormWindow<QWidget> {
public:
    static inline int loads = 0;
    static inline int queries = 0;
    static inline int lastMode = -1;
    static inline bool refuse = false;
    void Form_Load() { ++loads; }
    void Form_QueryUnload(int& cancel, int mode) override {
        ++queries;
        lastMode = mode;
        if (refuse) cancel = 1;
    }
};
class frmOther : public FormWindow<QWidget> {};

void flushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
}  // namespace

class TestPlatform : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void cleanup() { SetClientFolder(QString()); }

    // ---- Paths ------------------------------------------------------------------------------

    void clientFolderFromEnvironmentAndOverride() {
        qputenv("CORVADEX_HOME", (m_dir.path() + "\\sub\\\\").toUtf8());
        QCOMPARE(ClientFolder(), m_dir.path() + "/sub");
        SetClientFolder(m_dir.path() + "/other/");
        QCOMPARE(ClientFolder(), m_dir.path() + "/other");
        SetClientFolder(QString());
        qunsetenv("CORVADEX_HOME");
        QCOMPARE(ClientFolder(), QCoreApplication::applicationDirPath());
    }

    void pathsFoundWithoutRegardToCase() {
        SetClientFolder(m_dir.path());
        touch(m_dir.path() + "/Skins/Default/Button_Normal.GIF");
        QCOMPARE(clientPath("\\skins\\default\\button_normal.gif"), m_dir.path() + "/Skins/Default/Button_Normal.GIF");
        QCOMPARE(clientPath("skins/DEFAULT/"), m_dir.path() + "/Skins/Default/");
        // A missing part keeps the rest as written, below the parts that were found.
        QCOMPARE(clientPath("\\SKINS\\dark\\x.gif"), m_dir.path() + "/Skins/dark/x.gif");
        QCOMPARE(normalizePath("a\\\\b//c\\"), QStringLiteral("a/b/c/"));
        QCOMPARE(resolvePath(QString()), QString());
    }

    void fileExists() {
        SetClientFolder(m_dir.path());
        touch(m_dir.path() + "/config/Anna.cvc");
        QVERIFY(FileExists(m_dir.path() + "/config"));
        QVERIFY(FileExists(m_dir.path() + "/config/"));
        QVERIFY(FileExists(m_dir.path() + "\\CONFIG\\anna.CVC"));
        QVERIFY(FileExists(m_dir.path() + "/config/*.cvc"));
        QVERIFY(FileExists(m_dir.path() + "/Config/A?NA.cvc"));
        QVERIFY(!FileExists(m_dir.path() + "/config/*.ini"));
        QVERIFY(!FileExists(m_dir.path() + "/config/bob.cvc"));
        QVERIFY(!FileExists(QString()));
        QVERIFY(!FileExists(m_dir.path() + "/nofolder/*.cvc"));
    }

    void ensureFolder() {
        SetClientFolder(m_dir.path() + "/ef");
        QVERIFY(QDir().mkpath(m_dir.path() + "/ef/Decks"));
        touch(m_dir.path() + "/ef/Decks/keep.jpg");
        QCOMPARE(EnsureFolder("decks\\"), 0);  // existing under another case: unchanged
        QCOMPARE(QDir(m_dir.path() + "/ef").entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList{"Decks"});
        QVERIFY(QFile::exists(m_dir.path() + "/ef/Decks/keep.jpg"));
        QCOMPARE(EnsureFolder("decks\\Blue\\"), 0);
        QVERIFY(QFileInfo(m_dir.path() + "/ef/Decks/Blue").isDir());
        // The parent must exist already.
        QCOMPARE(EnsureFolder("wavs\\sphere\\"), 0);
        QVERIFY(!QFileInfo::exists(m_dir.path() + "/ef/wavs"));
    }

    void safePathComponents() {
        for (const char* good : {"anna", "Card Name.jpg", "x-1", "a.b"}) QVERIFY2(isSafePathComponent(good), good);
        for (const char* bad : {"", "..", "../x", "a/b", "a\\b", "C:", "x..y", "c:evil"})
            QVERIFY2(!isSafePathComponent(bad), bad);
        QVERIFY(!isSafePathComponent(QString(QChar(0)) + "x"));
    }

    // ---- Numbers and colours ----------------------------------------------------------------

    void leadingNumber() {
        QCOMPARE(vbVal("12abc"), 12.0);
        QCOMPARE(vbVal("abc"), 0.0);
        QCOMPARE(vbVal("  -3.5x"), -3.5);
        QCOMPARE(vbVal("1 2 3"), 123.0);
        QCOMPARE(vbVal("&HFF"), 255.0);
        QCOMPARE(vbVal("&hd31a1f"), 13834783.0);
        QCOMPARE(vbVal("&O17"), 15.0);
        QCOMPARE(vbVal("&H"), 0.0);
        QCOMPARE(vbVal(".5"), 0.5);
        QCOMPARE(vbVal("1.2.3"), 1.2);
        QCOMPARE(vbVal("12e"), 12.0);
        QCOMPARE(vbVal("1e3x"), 1000.0);
        QCOMPARE(vbVal("2d2"), 200.0);
        QCOMPARE(vbVal(""), 0.0);
        QCOMPARE(vbVal("-"), 0.0);
        QVERIFY(std::isinf(vbVal("1e999")));
    }

    void sixteenBitRounding() {
        QCOMPARE(vbCInt(2.5), int16_t(2));
        QCOMPARE(vbCInt(3.5), int16_t(4));
        QCOMPARE(vbCInt(-2.5), int16_t(-2));
        QCOMPARE(vbCInt(32767.4), int16_t(32767));
        QCOMPARE(vbCInt(-32768.0), int16_t(-32768));
        QCOMPARE(vbCInt(QStringLiteral(" 41 ")), int16_t(41));
        for (double bad : {32767.5, -32768.6, 1e300, std::numeric_limits<double>::infinity(),
                           std::numeric_limits<double>::quiet_NaN()}) {
            try {
                vbCInt(bad);
                QFAIL("no overflow");
            } catch (const RuntimeError& e) {
                QCOMPARE(e.description(), QStringLiteral("Overflow"));
            }
        }
        QVERIFY_THROWS_EXCEPTION(RuntimeError, vbCInt(QStringLiteral("12abc")));
        QVERIFY_THROWS_EXCEPTION(RuntimeError, vbCLng(QStringLiteral("")));
        QCOMPARE(vbCLng(2147483647.0), 2147483647);
        QVERIFY_THROWS_EXCEPTION(RuntimeError, vbCLng(2147483647.5));
    }

    void checkedServerFields() {
        int16_t s = 7;
        QVERIFY(tryInt16("123", s));
        QCOMPARE(s, int16_t(123));
        QVERIFY(!tryInt16("40000", s));
        QVERIFY(!tryInt16("12abc", s));
        QVERIFY(!tryInt16("", s));
        QVERIFY(!tryInt16("1e999", s));
        QCOMPARE(s, int16_t(123));  // untouched by a refusal
        int32_t l = 0;
        QVERIFY(tryInt32("-2147483648", l));
        QCOMPARE(l, std::numeric_limits<int32_t>::min());
        QVERIFY(!tryInt32("2147483648", l));
        QVERIFY(vbIsNumeric(" 1e5 "));
        QVERIFY(vbIsNumeric("&HFF"));
        QVERIFY(!vbIsNumeric("&H"));
        QVERIFY(!vbIsNumeric("1,5x"));
    }

    void numberText() {
        QCOMPARE(vbStr(5.0), QStringLiteral("5"));
        QCOMPARE(vbStr(-0.0), QStringLiteral("0"));
        QCOMPARE(vbStr(2.5), QStringLiteral("2.5"));
        QCOMPARE(vbStr(1234567.0), QStringLiteral("1234567"));
        QCOMPARE(vbStr(0.1), QStringLiteral("0.1"));
    }

    void coloursAndTwips() {
        QCOMPARE(vbColor(0x0000FF), QColor(255, 0, 0));
        QCOMPARE(vbColor(0x00FF00), QColor(0, 255, 0));
        QCOMPARE(vbColor(0xFF0000), QColor(0, 0, 255));
        QCOMPARE(vbColor(13834783), QColor(31, 26, 211));
        QCOMPARE(vbColor(-1), QColor(255, 255, 255));
        QCOMPARE(vbColorValue(QColor(31, 26, 211)), 13834783L);
        QCOMPARE(twips(1500), 100);
        QCOMPARE(toTwips(21), 315);
    }

    void codePage() {
        QByteArray all(256, 0);
        for (int i = 0; i < 256; ++i) all[i] = char(i);
        const QString text = decode1252(all);
        QCOMPARE(text.size(), 256);
        QCOMPARE(text[0x80], QChar(0x20AC));
        QCOMPARE(text[0x9F], QChar(0x0178));
        QCOMPARE(text[0xE9], QChar(0xE9));
        QCOMPARE(encode1252(text), all);
        QCOMPARE(encode1252(QStringLiteral("a\u4e2db\U0001F600")), QByteArray("a?b??"));
    }

    // ---- Services ---------------------------------------------------------------------------

    void pauseWaitsOnTheMonotonicClockWhileEventsRun() {
        installServices(Services{});  // the production set
        int ticks = 0;
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
        timer.start(50);
        Clock& clock = *services().clock;
        const int64_t before = clock.monotonicMs();
        QElapsedTimer elapsed;
        elapsed.start();
        Pause(1);
        QVERIFY(clock.monotonicMs() - before >= 1000);
        QVERIFY(elapsed.elapsed() >= 1000);
        QVERIFY2(ticks >= 5, "timers must run during a pause");
        // Pause(0) returns once the clock has moved past its value at entry.
        const int64_t t0 = clock.monotonicMs();
        Pause(0);
        QVERIFY(clock.monotonicMs() > t0);
        const int64_t t1 = clock.monotonicMs();
        Pause(-5);
        QVERIFY(clock.monotonicMs() > t1);
        QVERIFY(clock.monotonicMs() - t1 < 1000);
    }

    // ---- Windows ----------------------------------------------------------------------------

    void windowRegistry() {
        frmProbe::loads = frmProbe::queries = 0;
        frmProbe::refuse = false;
        QVERIFY(!ifLoaded<frmProbe>());
        frmProbe* a = form<frmProbe>();
        QVERIFY(a);
        QCOMPARE(frmProbe::loads, 1);
        QCOMPARE(form<frmProbe>(), a);
        QCOMPARE(ifLoaded<frmProbe>(), a);
        QCOMPARE(frmProbe::loads, 1);
        QVERIFY(!ifLoaded<frmOther>());
        QVERIFY(unload<frmOther>());  // not loaded: nothing happens
        QVERIFY(!ifLoaded<frmOther>());

        QPointer<frmProbe> first = a;
        QVERIFY(unload<frmProbe>());
        QCOMPARE(frmProbe::lastMode, int(vb::FormCode));
        QVERIFY(!ifLoaded<frmProbe>());
        QVERIFY(first);  // deleted only later, so a handler that unloads its own window goes on
        QVERIFY(first->unloading());
        flushDeletes();
        QVERIFY(!first);
        frmProbe* b = form<frmProbe>();
        QCOMPARE(frmProbe::loads, 2);
        QVERIFY(!b->unloading());

        // A close by the user asks the window, which may refuse.
        frmProbe::refuse = true;
        b->show();
        b->close();
        QCOMPARE(frmProbe::lastMode, int(vb::FormControlMenu));
        QCOMPARE(ifLoaded<frmProbe>(), b);
        QVERIFY(b->isVisible());
        QVERIFY(!unload<frmProbe>());
        QCOMPARE(ifLoaded<frmProbe>(), b);
        frmProbe::refuse = false;
        b->close();
        QVERIFY(!ifLoaded<frmProbe>());
        QVERIFY(!b->isVisible());
        QVERIFY(loadedForms().isEmpty() || !loadedForms().contains(b));
        flushDeletes();
    }

    // ---- Single instance --------------------------------------------------------------------

    void secondCopyReachesTheFirst() {
        const QString folder = m_dir.path() + "/si";
        QVERIFY(QDir().mkpath(folder));
        SingleInstance first(folder);
        QVERIFY(!first.otherRunning());
        QVERIFY(first.listen());
        QSignalSpy asked(&first, &SingleInstance::activationRequested);

        SingleInstance second(folder);
        QCOMPARE(second.serverName(), first.serverName());
        QVERIFY(second.otherRunning());
        QVERIFY(asked.wait(2000));
        QCOMPARE(asked.count(), 1);

        // The same folder reached by another spelling is the same client.
        QVERIFY(QFile::link(folder, m_dir.path() + "/si-link"));
        SingleInstance viaLink(m_dir.path() + "/si-link/");
        QVERIFY(viaLink.otherRunning());
        SingleInstance viaDot(folder + "/./");
        QVERIFY(viaDot.otherRunning());

        // Another client folder is another client.
        QVERIFY(QDir().mkpath(m_dir.path() + "/si2"));
        SingleInstance elsewhere(m_dir.path() + "/si2");
        QVERIFY(!elsewhere.otherRunning());
    }

    void socketLeftByACopyThatDied() {
        const QString folder = m_dir.path() + "/crashed";
        QVERIFY(QDir().mkpath(folder));
        SingleInstance probe(folder);
        // A bound socket nobody listens on, as a killed copy leaves it behind.
        const QByteArray path = QFile::encodeName(QDir::tempPath() + "/" + probe.serverName());
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        QVERIFY(fd >= 0);
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        QVERIFY(size_t(path.size()) < sizeof(addr.sun_path));
        std::memcpy(addr.sun_path, path.constData(), size_t(path.size()));
        QCOMPARE(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)), 0);
        ::close(fd);
        QVERIFY(QFile::exists(QString::fromLocal8Bit(path)));

        SingleInstance next(folder);
        QVERIFY(!next.otherRunning());
        QVERIFY(next.listen());
        SingleInstance third(folder);
        QVERIFY(third.otherRunning());
    }

    void activationBringsTheWindowUp() {
        QWidget w;
        w.setWindowTitle("Rookfell");
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.showMinimized();
        QTRY_VERIFY(w.isMinimized());
        activateClientWindow();
        QTRY_VERIFY(!w.isMinimized());
        QVERIFY(w.isVisible());
    }
};

QTEST_MAIN(TestPlatform)
#include "tst_platform.moc"
