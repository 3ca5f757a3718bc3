#pragma once
// What the fuzz targets that drive the client's windows share: one QApplication, one client
// folder with the default skin and cards unpacked once for the whole run, and one client kept
// across inputs (Session): the windows a target keeps are built once and put back after every
// input, every other window an input opened is unloaded, every global reset, the service doubles
// new, the files an input wrote into the folder's config removed, so that an input behaves the
// same whenever it runs. Nothing reaches the network: the web service and the web site point at
// a port that refuses at once, unless a target starts its own fake service.
#include "ClientFixture.h"
#include "FuzzReset.h"

#include "app/CGUnzipFiles.h"
#include "app/clsClientConfig.h"
#include "app/storedvars.h"
#include "lobby/frmMsgWind.h"
#include "lobby/frmchildchat.h"
#include "net/PlayerTree.h"
#include "net/frmCon.h"
#include "platform/Forms.h"
#include "platform/Paths.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QPixmapCache>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimerEvent>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

// AddressSanitizer's defaults for these targets (ASAN_OPTIONS still overrides them): a freed
// block is held back from reuse for 32 MB of later frees instead of 256 MB. Each input builds and
// drops windows by the megabyte, so the default kept the heap large, which made every leak check
// libFuzzer runs after an input scan far more memory (the seed corpus ran in half the time with
// leak checks on). A use after free is still caught while 32 MB of frees have not passed: an
// input's own windows' blocks, freed a moment before, stay held back.
extern "C" const char* __asan_default_options() { return "quarantine_size_mb=32"; }

namespace fuzzclient {

inline QApplication*& app() {
    static QApplication* a = nullptr;
    return a;
}

// A folder on a memory file system when there is one: inputs write settings files often.
inline QString scratchTemplate(const char* name) {
    const QString base = QFileInfo(QStringLiteral("/dev/shm")).isWritable() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    return base + u'/' + QLatin1String(name) + QStringLiteral("-XXXXXX");
}

// The handlers' own warnings about odd lines come by the thousand while fuzzing; only the
// serious ones are printed.
inline void quietMessages(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "%s\n", qPrintable(text));
}

inline void startApplication(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("CORVADEX_FUZZ_VERBOSE")) qInstallMessageHandler(quietMessages);
    // Anything that would reach the web service or the web site is refused at once.
    if (qEnvironmentVariableIsEmpty("CORVADEX_WEBSERVICE"))
        qputenv("CORVADEX_WEBSERVICE", "http://127.0.0.1:9/RookfellWebService/RookfellWebService.asmx");
    if (qEnvironmentVariableIsEmpty("CORVADEX_WEBSITE")) qputenv("CORVADEX_WEBSITE", "http://127.0.0.1:9");
    app() = new QApplication(*argc, *argv);
    // Windows built for an input load the skin's and the cards' pictures; kept decoded, they are
    // read from disk once for the run instead of once per input (the default room holds a few).
    QPixmapCache::setCacheLimit(256 * 1024);
}

// The client folder of the run, with the first-run archives given (ClientFixture's flags) unpacked.
inline const QString& clientFolder(int assets) {
    static QTemporaryDir dir(scratchTemplate("corvadex-fuzz"));
    static bool unpacked = false;
    if (!unpacked) {
        unpacked = true;
        const std::pair<int, const char*> archives[] = {
            {ClientFixture::Skin, "skins.zip"}, {ClientFixture::Decks, "decks.zip"}, {ClientFixture::Wavs, "wavs.zip"}};
        for (const auto& [flag, name] : archives) {
            if (!(assets & flag)) continue;
            UnzipOptions quiet;
            if (RunUnzip(ClientFixture::archive(QString::fromLatin1(name)), dir.path(), quiet) != 0) {
                std::fprintf(stderr, "cannot unpack %s from the build: build the corvadex_assets target\n", name);
                std::abort();
            }
        }
    }
    static const QString path = dir.path();
    return path;
}

// Timers run on wall time, so whether one fires during an input would depend on how long the
// inputs before it took. While fuzzing they fire only when a target fires them by hand (tick());
// a timer started or stopped by a handler still reads as running or stopped.
class HeldTimers : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        return event->type() == QEvent::Timer && !m_ticking ? true : QObject::eventFilter(watched, event);
    }
    // Fires a running timer once, as its interval running out would.
    void tick(QTimer* t) {
        m_ticking = true;
        QTimerEvent tick(t->timerId());
        QCoreApplication::sendEvent(t, &tick);
        m_ticking = false;
    }

private:
    bool m_ticking = false;
};

inline HeldTimers*& heldTimers() {
    static HeldTimers* h = nullptr;
    return h;
}

inline void holdTimers() {
    if (!heldTimers()) app()->installEventFilter(heldTimers() = new HeldTimers);
}

// The client of the whole run: the globals of a logged-in player in the shared folder, the
// windows a target keeps (built once, put back after every input by their snapshots) and the
// windows an input opened (unloaded after it). Each input starts from the state the first one
// met: reset() puts it back after every input, and once before the first.
//
// CORVADEX_FUZZ_CHECK_RESET=1 checks after every reset that no kept window differs from its
// record, and stops naming what does; CORVADEX_FUZZ_FRESH=1 builds every window afresh for each
// input instead (slow; to tell a crash that needs earlier inputs from one that does not).
class Session {
public:
    explicit Session(int assets, const QString& nick = QStringLiteral("kira"))
        : m_assets(assets), m_nick(nick), m_check(!qEnvironmentVariableIsEmpty("CORVADEX_FUZZ_CHECK_RESET")),
          m_fresh(!qEnvironmentVariableIsEmpty("CORVADEX_FUZZ_FRESH")) {
        clientFolder(assets);
    }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // A window to keep across inputs, loaded (after the reset of the globals) and recorded at the
    // next reset; load runs then, and again whenever the window must be built afresh.
    // A window cheap to build, built afresh at every reset in its turn among the kept ones (a
    // kept window that reads it while loading finds it).
    template <typename T>
    void afresh(std::function<void(T*)> load = {}) {
        keep<T>(load);
        m_kept.back()->afresh = true;
    }

    // rewind puts back, after the snapshot, what the window keeps outside its widgets.
    template <typename T>
    void keep(std::function<void(T*)> load = {}, std::function<void(T*)> rewind = {}) {
        auto kept = std::make_unique<Kept>();
        kept->rewind = [rewind] {
            if (T* w = ifLoaded<T>(); w && rewind) rewind(w);
        };
        kept->build = [load] {
            T* w = form<T>();
            if (load) load(w);
            return static_cast<QWidget*>(w);
        };
        kept->loaded = [] { return static_cast<QWidget*>(ifLoaded<T>()); };
        m_kept.push_back(std::move(kept));
    }

    void reset() {
        QCoreApplication::sendPostedEvents();
        QSet<QWidget*> keep;
        if (!m_fresh)
            for (const auto& k : m_kept)
                if (QWidget* w = k->loaded(); w && !k->afresh && w == k->snapshot.root() && k->snapshot.intact()) keep.insert(w);
        for (QWidget* w : loadedForms()) {
            if (keep.contains(w)) continue;
            forms::forget(w);
            delete w;
        }
        for (auto& p : MsgWindows)
            if (p) delete p.data();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

        ResetStoredVars();
        const QString& folder = clientFolder(m_assets);
        QDir(folder + QStringLiteral("/config")).removeRecursively();
        QFile::remove(folder + QStringLiteral("/main.ini"));
        SetClientFolder(folder);
        services = TestServices();
        services.install();
        Nickname = m_nick;
        ClientConfig().Username(m_nick);

        for (const auto& k : m_kept) {
            QWidget* w = k->loaded();
            if (w && keep.contains(w)) {
                k->snapshot.restore();
                k->rewind();
                continue;
            }
            w = k->build();
            QCoreApplication::sendPostedEvents();
            if (!k->afresh) k->snapshot.capture(w);
        }
        QCoreApplication::sendPostedEvents();
        if (m_check) check();
    }

    QString folder() const { return clientFolder(0); }
    TestServices services;

private:
    struct Kept {
        std::function<QWidget*()> build;
        std::function<QWidget*()> loaded;
        std::function<void()> rewind;
        bool afresh = false;
        WindowSnapshot snapshot;
    };

    void check() const {
        QStringList left;
        for (const auto& k : m_kept)
            if (!k->afresh)
                for (const QString& d : k->snapshot.differences())
                left << QLatin1String(k->loaded() ? k->loaded()->metaObject()->className() : "?") + u' ' + d;
        const QList<QWidget*> loaded = loadedForms();
        if (loaded.size() != qsizetype(m_kept.size())) left << QStringLiteral("%1 windows loaded, %2 kept").arg(loaded.size()).arg(m_kept.size());
        if (left.isEmpty()) return;
        std::fprintf(stderr, "state left over from the input:\n  %s\n", qPrintable(left.join(QStringLiteral("\n  "))));
        std::abort();
    }

    int m_assets;
    QString m_nick;
    bool m_check;
    bool m_fresh;
    std::vector<std::unique_ptr<Kept>> m_kept;
};

// What every target keeps: the socket window, built afresh for each input (it is cheap, and
// its receive queue and framing state are its own), its packet timer still, then the lobby,
// kept and shown. The player list's index, a cache the first player line would make, is made at
// once: it follows the list by itself and is then part of the lobby's record.
inline void keepSocketAndLobby(Session& session) {
    session.afresh<frmCon>([](frmCon* con) { con->tmrPacket->stop(); });
    session.keep<frmchildchat>(
        [](frmchildchat* lobby) {
            lobby->show();
            PlayerTreeIndex::of(lobby->playerlist);
        },
        [](frmchildchat* lobby) {
            lobby->intIdle = 0;
            lobby->HoverLink.clear();
            lobby->lstPlayers.clear();
            lobby->QuitEngaged(false);
            lobby->AvatarGender(QString());
        });
}

}  // namespace fuzzclient
