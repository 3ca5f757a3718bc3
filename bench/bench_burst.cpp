// The login burst of a busy lobby: 20,000 "NEWPLAYER2" lines and 4,000 "ADDTABLE"/"REMOVETABLE"
// lines sent by the fake game server over the real socket, framed and queued by the socket
// window and handed by its running 200 ms packet timer to the handlers that fill the lobby's
// player tree, guild list and table list. A closing "PING" is answered by the client: the
// burst is done when the answer reaches the server. Timed from the first byte sent to that
// answer (goal: at least 50,000 lines a second). Beside it, in the same run, the same bytes sent
// to a plain socket that only reads them, and how the time splits between waiting for the
// timer, the timer's ticks (the handlers) and the rest (socket and framing).
#include "ClientFixture.h"
#include "FakeServer.h"
#include "WidgetBenchMain.h"

#include "app/modSettings.h"
#include "app/storedvars.h"
#include "lobby/frmchildchat.h"
#include "lobby/frmguildchat.h"
#include "net/frmCon.h"
#include "platform/Forms.h"
#include "platform/Ini.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QTcpSocket>
#include <QTest>
#include <benchmark/benchmark.h>

namespace {
constexpr int kPlayers = 20000;
constexpr int kTableLines = 4000;
constexpr int kLines = kPlayers + kTableLines + 1;

QByteArray burst() {
    QByteArray out;
    for (int i = 0; i < kTableLines; ++i) {
        const QByteArray table = QByteArray::number(1 + i % 50);
        if (i % 2 == 0)
            out += "ADDTABLE " + table + " Player" + QByteArray::number(i) + " Player" + QByteArray::number(i + 1) +
                   " 1 0 0 0 0 0 0 0 1 1 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0@@Come%20and%20play@@Standard@@" +
                   QByteArray::number(i * 10) + '\r';
        else
            out += "REMOVETABLE " + table + '\r';
    }
    const char* const guilds[] = {"Night%20Owls", "Wolves", "Iron%20Fist", ""};
    for (int i = 0; i < kPlayers; ++i) {
        const QByteArray guild = guilds[i % 4];
        out += "NEWPLAYER2 " + QByteArray::number(i % 5) + " tag" + QByteArray::number(i % 7) + " Clan" + QByteArray::number(i % 3) +
               " Gold Player" + QByteArray::number(i) + "%20" + QByteArray::number(1 + i % 60) +
               (guild.isEmpty() ? QByteArray() : "%20<" + guild + ">") + '\r';
    }
    return out + "PING\r";
}

// Times each tick of the packet timer: the filter sees the timer event before the pump runs, a
// slot connected after the pump's own sees it end.
class TickClock : public QObject {
public:
    TickClock(frmCon* con, const QElapsedTimer& since) : m_con(con), m_since(since) {
        con->tmrPacket->installEventFilter(this);
        connect(con->tmrPacket, &QTimer::timeout, this, [this] {
            if (m_start >= 0) pumpNs += m_since.nsecsElapsed() - m_start;
            m_start = -1;
        });
    }
    qint64 pumpNs = 0;
    qint64 firstLinesNs = -1;  // when the first tick with lines queued began

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Timer) {
            m_start = m_since.nsecsElapsed();
            if (firstLinesNs < 0 && !m_con->lstPackets.empty()) firstLinesNs = m_start;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    frmCon* m_con;
    const QElapsedTimer& m_since;
    qint64 m_start = -1;
};

// The baseline: the same bytes from a fake server to a socket that reads and drops them.
double socketAloneSeconds(const QByteArray& stream) {
    FakeServer server;
    QTcpSocket plain;
    plain.connectToHost(QStringLiteral("127.0.0.1"), server.port());
    if (!plain.waitForConnected(5000) || !server.waitForClient()) return -1;
    qsizetype got = 0;
    QElapsedTimer clock;
    clock.start();
    server.sendRaw(stream);
    QDeadlineTimer deadline(60000);
    while (got < stream.size() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        got += plain.readAll().size();
    }
    return got == stream.size() ? clock.nsecsElapsed() / 1e9 : -1;
}
}  // namespace

static void BM_LoginBurst(benchmark::State& state) {
    const QByteArray stream = burst();
    double ours = 0, alone = 0, wait = 0, pump = 0;
    for (auto _ : state) {
        // A fresh client each run: the lobby's lists start empty the way a login finds them.
        ClientFixture fixture(ClientFixture::Skin);
        FakeServer server;
        Nickname = QStringLiteral("kira");
        ClientConfig().Username(Nickname);
        GuildName = QStringLiteral("Night Owls");
        InitTables();
        fixture.write(QStringLiteral("config/buddy.idx"), "[Buddy]\r\nPlayer17=1\r\nPlayer4242=1\r\n");
        WriteIni(QStringLiteral("Chat"), QStringLiteral("ShowJoinPart"), QStringLiteral("1"), GetIniFile());
        frmCon* con = form<frmCon>();
        ConnectionState = 1;
        con->Winsock->Connect(QStringLiteral("127.0.0.1"), server.port());
        if (!server.waitForClient()) {
            state.SkipWithError("no connection");
            return;
        }
        QDeadlineTimer connected(5000);
        while (!con->Winsock->connected() && !connected.hasExpired()) QTest::qWait(5);
        frmchildchat* lobby = form<frmchildchat>();
        lobby->show();
        form<frmguildchat>()->show();
        QTest::qWait(50);

        const double baseline = socketAloneSeconds(stream);

        QElapsedTimer clock;
        TickClock ticks(con, clock);
        const qsizetype pingsBefore = server.lines.count(QStringLiteral("PING"));
        clock.start();
        server.sendRaw(stream);
        QDeadlineTimer deadline(60000);
        while (server.lines.count(QStringLiteral("PING")) == pingsBefore && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        const double elapsed = clock.nsecsElapsed() / 1e9;
        state.SetIterationTime(elapsed);
        // The guild list is rebuilt once the lines at hand are handled.
        QCoreApplication::processEvents();
        if (baseline < 0 || deadline.hasExpired() || lobby->playerlist->topLevelItemCount() != kPlayers) {
            state.SkipWithError("the burst did not arrive whole");
            break;
        }
        ours += elapsed;
        alone += baseline;
        wait += ticks.firstLinesNs / 1e9;
        pump += ticks.pumpNs / 1e9;
        ConnectionState = 2;
        con->Winsock->Close();
    }
    const double runs = double(state.iterations());
    state.SetItemsProcessed(int64_t(runs) * kLines);
    state.counters["lines_per_s"] = runs * kLines / ours;
    state.counters["socket_alone_lines_per_s"] = runs * kLines / alone;
    state.counters["ms_until_first_tick"] = wait / runs * 1e3;
    state.counters["ms_in_ticks"] = pump / runs * 1e3;
    state.counters["ms_rest"] = (ours - wait - pump) / runs * 1e3;
}
BENCHMARK(BM_LoginBurst)->Iterations(1)->Repetitions(5)->UseManualTime()->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) { return runWidgetBenchmarks(argc, argv); }
