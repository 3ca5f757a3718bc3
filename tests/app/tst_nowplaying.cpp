// The "/music" title read from running music players: the test starts a session bus of its own
// and small fake players on it (this program, started again with "--fake-player"), each showing
// a playback state and a track through the desktop's media-player interface.
#include "app/modLinks.h"

#include <QApplication>
#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

#include <memory>
#include <vector>

namespace {
// The player side: what one fake player shows.
class FakePlayer : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
    Q_PROPERTY(QString PlaybackStatus READ PlaybackStatus)
    Q_PROPERTY(QVariantMap Metadata READ Metadata)
public:
    FakePlayer(QObject* parent, QString status, QString artist, QString title)
        : QDBusAbstractAdaptor(parent), m_status(std::move(status)), m_artist(std::move(artist)), m_title(std::move(title)) {}
    QString PlaybackStatus() const { return m_status; }
    QVariantMap Metadata() const {
        QVariantMap m;
        if (!m_title.isEmpty()) m.insert(QStringLiteral("xesam:title"), m_title);
        if (!m_artist.isEmpty()) m.insert(QStringLiteral("xesam:artist"), m_artist.split(u'|'));
        return m;
    }

private:
    QString m_status, m_artist, m_title;
};

// "--fake-player name status artist title": serves until killed; "ready" once on the bus.
int runFakePlayer(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList a = app.arguments();
    if (a.size() < 6) return 2;
    QObject root;
    new FakePlayer(&root, a[3], a[4], a[5]);
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.registerObject(QStringLiteral("/org/mpris/MediaPlayer2"), &root) ||
        !bus.registerService(QStringLiteral("org.mpris.MediaPlayer2.") + a[2]))
        return 3;
    fputs("ready\n", stdout);
    fflush(stdout);
    return app.exec();
}
}  // namespace

class tst_nowplaying : public QObject {
    Q_OBJECT

    QProcess bus;
    std::vector<std::unique_ptr<QProcess>> players;

    bool startPlayer(const QString& shown) {
        const QStringList p = shown.split(u';');
        auto player = std::make_unique<QProcess>();
        player->start(QCoreApplication::applicationFilePath(), QStringList{QStringLiteral("--fake-player")} + p);
        const bool ready = player->waitForStarted(5000) && player->waitForReadyRead(10000) && player->readLine().trimmed() == "ready";
        players.push_back(std::move(player));
        return ready;
    }

private slots:
    void initTestCase() {
        const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
        if (daemon.isEmpty()) QSKIP("no dbus-daemon to start a session bus");
        bus.start(daemon, {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address")});
        QVERIFY(bus.waitForStarted(5000));
        QVERIFY(bus.waitForReadyRead(10000));
        const QByteArray address = bus.readLine().trimmed();
        QVERIFY(!address.isEmpty());
        // Before anything in this program opens the session bus; the fake players inherit it.
        qputenv("DBUS_SESSION_BUS_ADDRESS", address);
    }
    void cleanupTestCase() {
        bus.kill();
        bus.waitForFinished(5000);
    }
    void cleanup() {
        for (auto& p : players) {
            p->kill();
            p->waitForFinished(5000);
        }
        players.clear();
        // A player that has gone is no longer read.
        QVERIFY(QTest::qWaitFor([] { return GetNowPlaying().isEmpty(); }, 5000));
    }

    void theTitleOfThePlayingPlayer_data() {
        QTest::addColumn<QStringList>("players");  // name;status;artists (|-separated);title
        QTest::addColumn<QString>("title");
        QTest::newRow("none runs") << QStringList{} << "";
        QTest::newRow("playing") << QStringList{"alpha;Playing;Nyx Band;Night Song"} << " Nyx Band - Night Song";
        QTest::newRow("paused") << QStringList{"alpha;Paused;Nyx Band;Night Song"} << "";
        QTest::newRow("stopped") << QStringList{"alpha;Stopped;Nyx Band;Night Song"} << "";
        QTest::newRow("the one that plays") << QStringList{"alpha;Paused;Ada;Quiet", "beta;Playing;Ryo;Loud"} << " Ryo - Loud";
        QTest::newRow("two artists") << QStringList{"alpha;Playing;Ada|Ryo;Duet"} << " Ada, Ryo - Duet";
        QTest::newRow("no artist") << QStringList{"alpha;Playing;;Untitled Demo"} << " Untitled Demo";
        QTest::newRow("line break in the title") << QStringList{"alpha;Playing;Kira;Two\nLines"} << " Kira - Two Lines";
        QTest::newRow("nothing to name") << QStringList{"alpha;Playing;;"} << "";
    }
    void theTitleOfThePlayingPlayer() {
        QFETCH(QStringList, players);
        QFETCH(QString, title);
        for (const QString& p : players) QVERIFY2(startPlayer(p), qPrintable(p));
        QCOMPARE(GetNowPlaying(), title);
    }
};

int main(int argc, char** argv) {
    if (argc > 1 && qstrcmp(argv[1], "--fake-player") == 0) return runFakePlayer(argc, argv);
    QApplication app(argc, argv);
    tst_nowplaying test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_nowplaying.moc"
