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

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <span>
#include <typeindex>
#include <vector>

#include <dirent.h>
#include <elf.h>
#include <link.h>
#include <unistd.h>

// AddressSanitizer's defaults for these targets (ASAN_OPTIONS still overrides them): a freed
// block is held back from reuse for 32 MB of later frees instead of 256 MB. Each input builds and
// drops windows by the megabyte, so the default kept the heap large, which made every leak check
// libFuzzer runs after an input scan far more memory (the seed corpus ran in half the time with
// leak checks on). A use after free is still caught while 32 MB of frees have not passed: an
// input's own windows' blocks, freed a moment before, stay held back. Memory freed is kept for
// reuse rather than handed back to the system every few seconds: each hand-back made the kernel
// flush every core's address cache, and the next input faulted the same pages in again.
extern "C" const char* __asan_default_options() { return "quarantine_size_mb=32:allocator_release_to_os_interval_ms=-1"; }

namespace fuzzclient {

// libFuzzer's edge counters: the program's "__sancov_cntrs" section, found in its own file
// (naming the section's start symbol in instrumented code would make the compiler rename the one
// it registers the counters with). Empty in a build without them.
inline std::span<uint8_t> edgeCounters() {
    static const std::span<uint8_t> counters = [] {
        std::span<uint8_t> none;
        QFile exe(QStringLiteral("/proc/self/exe"));
        if (!exe.open(QIODevice::ReadOnly)) return none;
        const uchar* file = exe.map(0, exe.size());
        if (!file || exe.size() < qint64(sizeof(Elf64_Ehdr))) return none;
        const auto* header = reinterpret_cast<const Elf64_Ehdr*>(file);
        if (std::memcmp(header->e_ident, ELFMAG, SELFMAG) != 0 || header->e_ident[EI_CLASS] != ELFCLASS64 ||
            header->e_shoff + qint64(header->e_shnum) * sizeof(Elf64_Shdr) > quint64(exe.size()) || header->e_shstrndx >= header->e_shnum)
            return none;
        const auto* sections = reinterpret_cast<const Elf64_Shdr*>(file + header->e_shoff);
        const Elf64_Shdr& names = sections[header->e_shstrndx];
        uintptr_t base = 0;
        dl_iterate_phdr([](dl_phdr_info* info, size_t, void* out) {
            *static_cast<uintptr_t*>(out) = info->dlpi_addr;
            return 1;  // the program itself comes first
        }, &base);
        for (int i = 0; i < header->e_shnum; ++i) {
            if (sections[i].sh_name >= names.sh_size) continue;
            const char* name = reinterpret_cast<const char*>(file + names.sh_offset + sections[i].sh_name);
            if (std::strcmp(name, "__sancov_cntrs") == 0)
                return std::span<uint8_t>(reinterpret_cast<uint8_t*>(base + sections[i].sh_addr), sections[i].sh_size);
        }
        return none;
    }();
    return counters;
}

// While alive, the code that runs does not count as the input's coverage: the counters are put
// back as they stood when it was made. The reset after every input runs the same code each time;
// counted, it only made libFuzzer weigh thousands of edges per input that no input changes.
// One at a time: the copy is kept for the run (a fresh one each time was a large allocation that
// AddressSanitizer fills and maps).
class Uncounted {
public:
    Uncounted() {
        saved().resize(edgeCounters().size());
        std::copy(edgeCounters().begin(), edgeCounters().end(), saved().begin());
    }
    ~Uncounted() { std::copy(saved().begin(), saved().end(), edgeCounters().begin()); }
    Uncounted(const Uncounted&) = delete;
    Uncounted& operator=(const Uncounted&) = delete;

private:
    static std::vector<uint8_t>& saved() {
        static std::vector<uint8_t> s;
        return s;
    }
};

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
    // Qt's own event dispatcher: a handler's pause takes up the queue, and through GLib's main
    // loop each time cost a poll of every source.
    qputenv("QT_NO_GLIB", "1");
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

// A window its own code unloaded is only marked closing, forgotten, hidden and queued for
// deletion (formsUnloadWidget), so undoing those steps takes it back: cheaper than building it
// again, and its record then shows it again. A window of its kind the input loaded meanwhile goes.
inline bool takeBackUnloaded(QWidget* w, std::type_index type) {
    auto* form = dynamic_cast<FormBase*>(w);
    if (!form || !form->unloading() || forms::find(type) == w) return false;
    struct ClosingMark : FormBase {
        static void clear(FormBase& f) { f.*(&ClosingMark::m_unloading) = false; }
    };
    QCoreApplication::removePostedEvents(w, QEvent::DeferredDelete);
    ClosingMark::clear(*form);
    if (QWidget* other = forms::find(type)) {
        forms::forget(other);
        delete other;
    }
    forms::add(type, w);
    return true;
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
          m_fresh(!qEnvironmentVariableIsEmpty("CORVADEX_FUZZ_FRESH")), m_verbose(!qEnvironmentVariableIsEmpty("CORVADEX_FUZZ_VERBOSE")) {
        clientFolder(assets);
        current() = this;
        forms::supplier() = &supply;
        // No window is ever exposed, so none is painted: a handler's pause (which takes up the
        // platform's queue) mapped the windows shown so far, and each input then spent a sixth of
        // its time drawing them for no one. The client's code is the same: a window's visibility
        // and geometry do not depend on it.
        struct Unexposed : QObject {
            bool eventFilter(QObject*, QEvent* event) override { return event->type() == QEvent::Expose; }
        };
        QCoreApplication::instance()->installEventFilter(new Unexposed);
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

    // rewind puts back what the window keeps outside its widgets, before the widgets are.
    template <typename T>
    void keep(std::function<void(T*)> load = {}, std::function<void(T*)> rewind = {}) {
        auto kept = std::make_unique<Kept>(std::type_index(typeid(T)), T::staticMetaObject.className());
        kept->rewind = [rewind](QWidget* w) {
            if (rewind) rewind(static_cast<T*>(w));
            return true;
        };
        kept->build = [load] {
            T* w = form<T>();
            if (load) load(w);
            return static_cast<QWidget*>(w);
        };
        m_kept.push_back(std::move(kept));
    }

    // A window built once, loaded and shown, then put aside: not loaded as far as the client can
    // tell until a target brings it back for an input (bring<T>()), as if form<T>() had built it
    // then. After such an input it is put back and aside again. It stays shown while aside: each
    // show and hide of a window queues events that only an event loop would take, and an input
    // that shows it anyway would pay for mapping and painting it again. rewind puts back what it
    // keeps outside its widgets, before the widgets are; when it answers false, or when something
    // under the window cannot be put back, the window is built afresh. load runs after each build.
    template <typename T>
    void park(std::function<bool(T*)> rewind, std::function<void(T*)> load = {}) {
        auto kept = std::make_unique<Kept>(std::type_index(typeid(T)), T::staticMetaObject.className());
        kept->parked = true;
        kept->rewind = [rewind](QWidget* w) { return rewind(static_cast<T*>(w)); };
        kept->build = [load] {
            T* w = form<T>();
            w->show();
            if (load) load(w);
            return static_cast<QWidget*>(w);
        };
        m_kept.push_back(std::move(kept));
    }

    // The parked window of type T loaded again for this input, or, when none is parked, built.
    template <typename T>
    T* bring() {
        if (T* w = ifLoaded<T>()) return w;
        if (QWidget* w = unpark(std::type_index(typeid(T)))) return static_cast<T*>(w);
        return form<T>();
    }

    void reset() {
        const Uncounted uncounted;
        m_resetting = true;
        QCoreApplication::sendPostedEvents();
        if (!m_fresh)
            for (const auto& k : m_kept)
                if (!k->afresh && (!k->parked || k->brought)) takeBackUnloaded(k->snapshot.root(), k->type);
        // What the input unloaded goes now, so that a window it unloaded reads as gone.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QSet<QWidget*> keep;
        for (const auto& k : m_kept) {
            QWidget* root = k->snapshot.root();
            k->restore = false;
            if (m_fresh || k->afresh) continue;
            if (!root) {
                if (k->builds) rebuilt(*k, QStringLiteral("unloaded"));
                continue;
            }
            if (k->parked && !k->brought) {
                keep.insert(root);  // untouched
                continue;
            }
            if (forms::find(k->type) != root) {
                rebuilt(*k, QStringLiteral("unloaded"));
                continue;
            }
            if (const QString why = k->snapshot.unrestorable(); !why.isEmpty()) {
                rebuilt(*k, why);
                continue;
            }
            keep.insert(root);
            k->restore = true;
        }
        for (QWidget* w : loadedForms()) {
            if (keep.contains(w)) continue;
            forms::forget(w);
            delete w;
        }
        for (const auto& k : m_kept)
            if (k->parked && k->snapshot.root() && !keep.contains(k->snapshot.root())) delete k->snapshot.root();
        for (auto& p : MsgWindows)
            if (p) delete p.data();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

        ResetStoredVars();
        const QString& folder = clientFolder(m_assets);
        // The settings folder stays, emptied, as a client's stays after its first run: removing it
        // sent every settings lookup of the next input to the disk again. Listed and emptied with
        // the system's calls: Qt's directory listing cost a few hundred allocations an input.
        emptyFolder(QFile::encodeName(folder + QStringLiteral("/config")));
        ::unlink(QFile::encodeName(folder + QStringLiteral("/main.ini")).constData());
        SetClientFolder(folder);
        services = TestServices();
        services.install();
        Nickname = m_nick;
        ClientConfig().Username(m_nick);

        for (const auto& k : m_kept) {
            k->brought = false;
            QWidget* w = k->snapshot.root();
            if (w && keep.contains(w)) {
                if (!k->restore) continue;
                if (k->rewind(w)) {
                    k->snapshot.restore();
                    if (k->parked) forms::forget(w);
                    continue;
                }
                rebuilt(*k, QStringLiteral("its own state"));
                forms::forget(w);
                delete w;
            }
            ++k->builds;
            w = k->build();
            QCoreApplication::sendPostedEvents();
            if (!k->afresh) k->snapshot.capture(w);
            if (k->parked) forms::forget(w);
        }
        QCoreApplication::sendPostedEvents();
        dropWindowEvents();
        m_resetting = false;
        if (m_check) check();
    }

    // How often each kept window was built, by class (CORVADEX_FUZZ_VERBOSE prints it at the end).
    QStringList builds() const {
        QStringList out;
        for (const auto& k : m_kept)
            out << QStringLiteral("%1 %2").arg(QLatin1String(k->name)).arg(k->builds);
        return out;
    }

    QString folder() const { return clientFolder(0); }
    TestServices services;

private:
    static Session*& current() {
        static Session* s = nullptr;
        return s;
    }

    QWidget* unpark(std::type_index type) {
        if (m_fresh || m_resetting) return nullptr;
        for (const auto& k : m_kept)
            if (k->parked && !k->brought && k->type == type && k->snapshot.root()) {
                forms::add(type, k->snapshot.root());
                k->brought = true;
                return k->snapshot.root();
            }
        return nullptr;
    }

    // A handler's form<T>() for a parked window gets it back, hidden, as a window just built and
    // loaded stands: it is built once for the run instead of once for each input that asks.
    static QWidget* supply(std::type_index type) {
        QWidget* w = current() ? current()->unpark(type) : nullptr;
        if (w) w->hide();
        return w;
    }

    // Removes what the folder holds (a link, not what it points to), or makes the folder.
    static void emptyFolder(const QByteArray& path) {
        DIR* dir = ::opendir(path.constData());
        if (!dir) {
            QDir().mkpath(QFile::decodeName(path));
            return;
        }
        QList<QByteArray> names;
        while (const dirent* e = ::readdir(dir))
            if (qstrcmp(e->d_name, ".") != 0 && qstrcmp(e->d_name, "..") != 0) names << path + '/' + e->d_name;
        ::closedir(dir);
        for (const QByteArray& name : names)
            if (::unlink(name.constData()) != 0 && errno == EISDIR) QDir(QFile::decodeName(name)).removeRecursively();
    }

    // Showing and closing a window makes the platform queue its expose, focus and place changes,
    // which only an event loop takes off the queue; none runs here, so they piled up for the whole
    // run: every input left more blocks than it freed, and libFuzzer ran it again and scanned the
    // heap for leaks. They are taken off the queue and dropped before any window sees them (no
    // window is painted or activated, as before); an object that asked to be deleted is let go.
    static void dropWindowEvents() {
        struct Drop : QObject {
            bool eventFilter(QObject*, QEvent* event) override { return event->type() != QEvent::DeferredDelete; }
        } drop;
        QCoreApplication::instance()->installEventFilter(&drop);
        QCoreApplication::processEvents();
        QCoreApplication::instance()->removeEventFilter(&drop);
    }

    struct Kept {
        Kept(std::type_index t, const char* n) : type(t), name(n) {}
        std::type_index type;
        const char* name;
        std::function<QWidget*()> build;
        std::function<bool(QWidget*)> rewind;
        bool afresh = false;
        bool parked = false;
        bool brought = false;  // a parked window loaded again for the input
        bool restore = false;  // kept through this reset, its record to be written back
        int builds = 0;
        WindowSnapshot snapshot;
    };

    void rebuilt(const Kept& k, const QString& why) const {
        if (m_verbose) std::fprintf(stderr, "rebuilt %s: %s\n", k.name, qPrintable(why));
    }

    void check() const {
        QStringList left;
        int loadedKept = 0;
        for (const auto& k : m_kept) {
            if (!k->parked) ++loadedKept;
            if (!k->afresh)
                for (const QString& d : k->snapshot.differences())
                    left << QLatin1String(k->name) + u' ' + d;
        }
        const QList<QWidget*> loaded = loadedForms();
        if (loaded.size() != loadedKept) left << QStringLiteral("%1 windows loaded, %2 kept").arg(loaded.size()).arg(loadedKept);
        if (left.isEmpty()) return;
        std::fprintf(stderr, "state left over from the input:\n  %s\n", qPrintable(left.join(QStringLiteral("\n  "))));
        std::abort();
    }

    int m_assets;
    QString m_nick;
    bool m_check;
    bool m_fresh;
    bool m_verbose;
    bool m_resetting = false;  // building kept windows: none is handed out meanwhile
    std::vector<std::unique_ptr<Kept>> m_kept;
};

// The lobby as every target keeps it, shown unless a target says not. The player list's index, a
// cache the first player line would make, is made at once: it follows the list by itself and is
// then part of the lobby's record.
inline void keepLobby(Session& session, bool shown = true) {
    session.keep<frmchildchat>(
        [shown](frmchildchat* lobby) {
            if (shown) lobby->show();
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

// The socket window, built afresh for each input (it is cheap, and its receive queue, framing
// state and socket are its own), its packet timer still, then the lobby.
inline void keepSocketAndLobby(Session& session) {
    session.afresh<frmCon>([](frmCon* con) { con->tmrPacket->stop(); });
    keepLobby(session);
}

}  // namespace fuzzclient
