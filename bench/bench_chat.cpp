// Chat as a player's client receives it: lines sent by the fake game server over the real socket,
// framed by the socket window, handed by its 200 ms receive pump (the timer runs on its own) to
// the handlers, and shown in the real, shown windows.
//  - BM_ChatThroughPump: 20,000 CHAT lines into the lobby log; lines per second through the whole
//    road and through the pump's ticks, the file-system calls per line, and beside them the
//    renderer alone and a plain insert into the same kind of box.
//  - BM_Chat100k/<pane>: 100,000 lines into each chat pane (lobby log, private-message window,
//    room chat, game chat): time per line of the first and the last 1,000 lines and the resident
//    memory growth after the pane is full.
#include "ClientFixture.h"
#include "FakeServer.h"
#include "WidgetBenchMain.h"

#include "app/modLinks.h"
#include "app/storedvars.h"
#include "game/frmplaying.h"
#include "lobby/fancychat.h"
#include "lobby/frmMsgWind.h"
#include "lobby/frmchildchat.h"
#include "net/frmCon.h"
#include "platform/Forms.h"
#include "tables/frmchallengebox_single.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdarg>
#include <dlfcn.h>
#include <fcntl.h>

// ---- File-system calls ------------------------------------------------------------------------
// The calls that open or look at a file are wrapped in this program and forwarded to the C
// library; while counting is on, each one is counted.
namespace {
std::atomic<bool> g_counting{false};
std::atomic<long> g_fsCalls{0};
inline void countCall() {
    if (g_counting.load(std::memory_order_relaxed)) g_fsCalls.fetch_add(1, std::memory_order_relaxed);
}
template <typename F>
F real(const char* name) {
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}
int modeOf(int flags, va_list ap) { return (flags & (O_CREAT | O_TMPFILE)) ? va_arg(ap, int) : 0; }
}  // namespace

#define CVX_OPEN(cname, sym)                                                   \
    extern "C" int cname(const char* p, int flags, ...) __asm__(sym);          \
    int cname(const char* p, int flags, ...) {                                 \
        va_list ap;                                                            \
        va_start(ap, flags);                                                   \
        const int mode = modeOf(flags, ap);                                    \
        va_end(ap);                                                            \
        countCall();                                                           \
        static const auto f = real<int (*)(const char*, int, ...)>(sym);       \
        return f(p, flags, mode);                                              \
    }
#define CVX_OPENAT(cname, sym)                                                 \
    extern "C" int cname(int dir, const char* p, int flags, ...) __asm__(sym); \
    int cname(int dir, const char* p, int flags, ...) {                        \
        va_list ap;                                                            \
        va_start(ap, flags);                                                   \
        const int mode = modeOf(flags, ap);                                    \
        va_end(ap);                                                            \
        countCall();                                                           \
        static const auto f = real<int (*)(int, const char*, int, ...)>(sym);  \
        return f(dir, p, flags, mode);                                         \
    }
#define CVX_CALL(cname, sym, ret, params, args)                                \
    extern "C" ret cname params __asm__(sym);                                  \
    ret cname params {                                                         \
        countCall();                                                           \
        static const auto f = real<ret(*) params>(sym);                        \
        return f args;                                                         \
    }

CVX_OPEN(cvx_open, "open")
CVX_OPEN(cvx_open64, "open64")
CVX_OPENAT(cvx_openat, "openat")
CVX_OPENAT(cvx_openat64, "openat64")
CVX_CALL(cvx_open_2, "__open_2", int, (const char* p, int flags), (p, flags))
CVX_CALL(cvx_open64_2, "__open64_2", int, (const char* p, int flags), (p, flags))
CVX_CALL(cvx_stat, "stat", int, (const char* p, void* b), (p, b))
CVX_CALL(cvx_stat64, "stat64", int, (const char* p, void* b), (p, b))
CVX_CALL(cvx_lstat, "lstat", int, (const char* p, void* b), (p, b))
CVX_CALL(cvx_lstat64, "lstat64", int, (const char* p, void* b), (p, b))
CVX_CALL(cvx_fstatat, "fstatat", int, (int d, const char* p, void* b, int fl), (d, p, b, fl))
CVX_CALL(cvx_fstatat64, "fstatat64", int, (int d, const char* p, void* b, int fl), (d, p, b, fl))
CVX_CALL(cvx_statx, "statx", int, (int d, const char* p, int fl, unsigned m, void* b), (d, p, fl, m, b))
CVX_CALL(cvx_access, "access", int, (const char* p, int m), (p, m))
CVX_CALL(cvx_faccessat, "faccessat", int, (int d, const char* p, int m, int fl), (d, p, m, fl))
CVX_CALL(cvx_fopen, "fopen", FILE*, (const char* p, const char* m), (p, m))
CVX_CALL(cvx_fopen64, "fopen64", FILE*, (const char* p, const char* m), (p, m))
CVX_CALL(cvx_opendir, "opendir", void*, (const char* p), (p))

namespace {
// ---- The pump, watched -------------------------------------------------------------------------
// Times each tick of the socket window's receive timer (from its timer event to the end of its
// handler) and counts the lines it handled.
class PumpMeter : public QObject {
public:
    explicit PumpMeter(frmCon* con) : m_con(con) {
        m_clock.start();
        con->tmrPacket->installEventFilter(this);
        // Connected after the window's own handler, so it runs when the tick is done.
        connect(con->tmrPacket, &QTimer::timeout, this, [this] {
            busyNs += m_clock.nsecsElapsed() - m_tickStart;
            handled += long(m_queued) - long(m_con->lstPackets.size());
        });
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == m_con->tmrPacket && event->type() == QEvent::Timer) {
            m_tickStart = m_clock.nsecsElapsed();
            m_queued = m_con->lstPackets.size();
        }
        return false;
    }
    // Runs the event loop until the pump handled `target` lines in all.
    bool waitFor(long target, int ms = 120000) {
        QDeadlineTimer deadline(ms);
        while (handled < target && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 5);
        return handled >= target;
    }
    qint64 busyNs = 0;
    long handled = 0;

private:
    frmCon* m_con;
    QElapsedTimer m_clock;
    qint64 m_tickStart = 0;
    size_t m_queued = 0;
};

// A logged-in client connected to the fake server, the lobby shown, the receive pump running.
struct ChatClient {
    ClientFixture fixture{ClientFixture::Skin};
    FakeServer server;
    frmCon* con = nullptr;
    frmchildchat* lobby = nullptr;
    std::unique_ptr<PumpMeter> meter;

    bool start() {
        Nickname = QStringLiteral("kira");
        ClientConfig().Username(Nickname);
        // A logged-in player always has a settings file: the login writes it.
        fixture.write(QStringLiteral("config/kira.cvc"),
                      "[Challenge]\r\nDecline=0\r\n[Chat]\r\nFont=Verdana\r\nFontSize=9\r\nShowJoinPart=1\r\n"
                      "[Options]\r\nSounds=1\r\nRandom=0\r\nMusic=0\r\nChatlog=0\r\n[Ignore]\r\nTroll=1\r\n");
        con = form<frmCon>();
        ConnectionState = 1;
        con->Winsock->Connect(QStringLiteral("127.0.0.1"), server.port());
        if (!server.waitForClient()) return false;
        QDeadlineTimer deadline(5000);
        while (!con->Winsock->connected() && !deadline.hasExpired()) QTest::qWait(5);
        if (!con->Winsock->connected() || !con->tmrPacket->isActive()) return false;
        lobby = form<frmchildchat>();
        lobby->show();
        QCoreApplication::processEvents();
        meter = std::make_unique<PumpMeter>(con);
        return true;
    }
    ~ChatClient() {
        meter.reset();
        ConnectionState = 2;
        if (con) con->Winsock->Close();
    }
    // Sends the lines and waits until the pump handled them; the pump's busy time in ns.
    qint64 feed(const QByteArray& lines, long count) {
        const qint64 before = meter->busyNs;
        const long target = meter->handled + count;
        server.sendRaw(lines);
        if (!meter->waitFor(target)) return -1;
        return meter->busyNs - before;
    }
};

const char* const kSayings[] = {
    "anyone%20up%20for%20a%20game%20of%20Corvada?%20same%20plus%20combo,%20no%20trade",
    "/ooc%20brb,%20the%20kettle%20is%20singing",
    "/auction%20Fire%20Drake%20and%20two%20Frost%20Wyrms,%20500%20gold%20each%20or%20best%20offer",
    "/shout%20tournament%20in%20ten%20minutes,%20sign%20up%20at%20www.corvada-league.example/signup",
    "gg%20wp,%20that%20last%20combo%20was%20brutal",
    "deck%20list%20at%20http://decks.example/kira/42%20or%20mail%20me%20mailto:kira@example.org",
    "/me%20waves",
};
constexpr int kSayingCount = int(std::size(kSayings));

QByteArray chatLine(int i) {
    return "CHAT Player" + QByteArray::number(i % 97) + ' ' + kSayings[i % kSayingCount] + '\r';
}

double rssMB() {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return 0;
}

// A plain box of the same kind, shown, filled with the same texts by one insert per line and
// bounded by the document's own block limit: what appending costs without the client's work.
template <typename Box>
double plainInsertLinesPerSecond(const QStringList& texts) {
    Box box;
    box.setReadOnly(true);
    box.resize(600, 400);
    box.document()->setMaximumBlockCount(200);
    box.show();
    QCoreApplication::processEvents();
    QElapsedTimer t;
    t.start();
    QTextCursor cursor(box.document());
    for (int i = 0; i < texts.size(); ++i) {
        cursor.beginEditBlock();
        cursor.setPosition(box.document()->characterCount() - 1);
        cursor.insertText(texts[i] + u'\n');
        cursor.endEditBlock();
        if (i % 50 == 49) QCoreApplication::processEvents();
    }
    QCoreApplication::processEvents();
    return texts.size() / (t.nsecsElapsed() / 1e9);
}

QString decoded(const char* saying) { return QString::fromLatin1(saying).replace(QLatin1String("%20"), QLatin1String(" ")); }
}  // namespace

static void BM_ChatThroughPump(benchmark::State& state) {
    constexpr int kLines = 20000;
    ChatClient c;
    if (!c.start()) {
        state.SkipWithError("no connection");
        return;
    }
    QByteArray stream;
    for (int i = 0; i < kLines; ++i) stream += chatLine(i);
    // One line first: fonts and files the first line needs are not what a line costs.
    c.feed(chatLine(0), 1);
    double wallRate = 0, tickRate = 0, callsPerLine = 0;
    for (auto _ : state) {
        c.lobby->chatin->clear();
        QCoreApplication::processEvents();
        g_fsCalls = 0;
        g_counting = true;
        QElapsedTimer wall;
        wall.start();
        const qint64 busy = c.feed(stream, kLines);
        const qint64 wallNs = wall.nsecsElapsed();
        g_counting = false;
        if (busy < 0) {
            state.SkipWithError("the lines did not all arrive");
            return;
        }
        state.SetIterationTime(wallNs / 1e9);
        wallRate = kLines / (wallNs / 1e9);
        tickRate = kLines / (busy / 1e9);
        callsPerLine = double(g_fsCalls) / kLines;
    }
    if (chatLength(c.lobby->chatin) > kLobbyLogLimit + 400) state.SkipWithError("the lobby log was not kept near its limit");

    // Baselines in this run: the renderer alone into the same log, and a plain box.
    QStringList senders, texts;
    for (int i = 0; i < kLines; ++i) {
        senders << QStringLiteral("Player") + QString::number(i % 97);
        texts << decoded(kSayings[i % kSayingCount]);
    }
    c.lobby->chatin->clear();
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < kLines; ++i) {
        RenderIncomingChat(senders[i], QString(), texts[i], ChatColour::White);
        if (i % 50 == 49) QCoreApplication::processEvents();
    }
    QCoreApplication::processEvents();
    const double rendererRate = kLines / (t.nsecsElapsed() / 1e9);

    state.counters["lines/s"] = wallRate;
    state.counters["lines/s in ticks"] = tickRate;
    state.counters["fs calls/line"] = callsPerLine;
    state.counters["renderer alone lines/s"] = rendererRate;
    state.counters["plain insert lines/s"] = plainInsertLinesPerSecond<QPlainTextEdit>(texts);
}
BENCHMARK(BM_ChatThroughPump)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

namespace {
enum Pane { Lobby, Private, Room, Game };

QByteArray paneLine(Pane pane, int i) {
    const QByteArray n = QByteArray::number(i);
    switch (pane) {
    case Lobby: return chatLine(i);
    case Private: return "INPM Nyx kira line%20" + n + "%20of%20a%20long%20talk,%20see%20www.example.org/p" + n + '\r';
    case Room: return "CHALLENGECHATS Nyx line " + n + " of the room's chatter, ready when you are\r";
    case Game: return "GAMECHAT Nyx line " + n + " of the game's chatter, nice move there\r";
    }
    return {};
}

QTextDocument* paneLog(Pane pane, ChatClient& c) {
    switch (pane) {
    case Lobby: return c.lobby->chatin->document();
    case Private: return MsgWindows.isEmpty() || !MsgWindows.value(0) ? nullptr : MsgWindows.value(0)->chatin->document();
    case Room: return form<frmchallengebox_single>()->chatin->document();
    case Game: return form<frmplaying>()->chatin->document();
    }
    return nullptr;
}
}  // namespace

static void BM_Chat100k(benchmark::State& state) {
    const auto pane = Pane(state.range(0));
    constexpr int kLines = 100000;
    constexpr int kEdge = 1000;
    constexpr int kBatch = 9000;
    ChatClient c;
    if (!c.start()) {
        state.SkipWithError("no connection");
        return;
    }
    if (pane == Room) form<frmchallengebox_single>()->show();
    if (pane == Game) form<frmplaying>()->show();
    QCoreApplication::processEvents();
    const auto batch = [&](int from, int count) {
        QByteArray out;
        for (int i = from; i < from + count; ++i) out += paneLine(pane, i);
        return c.feed(out, count);
    };
    double first = 0, last = 0, rssFull = 0, rssEnd = 0;
    qint64 paneChars = 0;
    for (auto _ : state) {
        QElapsedTimer wall;
        wall.start();
        const qint64 firstNs = batch(0, kEdge);
        int sent = kEdge;
        bool ok = firstNs >= 0;
        while (ok && sent < kLines - kEdge) {
            const int n = std::min(kBatch, kLines - kEdge - sent);
            ok = batch(sent, n) >= 0;
            sent += n;
            // The pane is full long before this: from here on its memory must stay flat.
            if (sent == kEdge + kBatch) rssFull = rssMB();
        }
        const qint64 lastNs = ok ? batch(sent, kEdge) : -1;
        if (lastNs < 0) {
            state.SkipWithError("the lines did not all arrive");
            return;
        }
        state.SetIterationTime(wall.nsecsElapsed() / 1e9);
        first = firstNs / 1e3 / kEdge;
        last = lastNs / 1e3 / kEdge;
        rssEnd = rssMB();
        QTextDocument* log = paneLog(pane, c);
        paneChars = log ? log->characterCount() - 1 : -1;
    }
    state.counters["first 1000 us/line"] = first;
    state.counters["last 1000 us/line"] = last;
    state.counters["RSS full MB"] = rssFull;
    state.counters["RSS growth MB"] = rssEnd - rssFull;
    state.counters["pane chars"] = double(paneChars);
    QStringList texts;
    for (int i = 0; i < kEdge; ++i) texts << QString::fromLatin1(paneLine(pane, i)).section(u' ', 2);
    state.counters["plain insert us/line"] = 1e6 / plainInsertLinesPerSecond<QTextEdit>(texts);
}
BENCHMARK(BM_Chat100k)->ArgName("pane")->Arg(Lobby)->Arg(Private)->Arg(Room)->Arg(Game)->Unit(benchmark::kSecond)->UseManualTime()->Iterations(1);

int main(int argc, char** argv) { return runWidgetBenchmarks(argc, argv); }
