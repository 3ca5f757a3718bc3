// The login burst: 5,000 "NEWPLAYER2" lines and 2,000 "ADDTABLE"/"REMOVETABLE" lines sent by the
// fake game server over the real socket, framed and queued by the socket window, and handed by
// the receive pump to the handlers that fill the lobby's player tree, guild list and table list.
// Reported as lines per second (goal: at least 20,000).
#include "ClientFixture.h"
#include "WidgetBenchMain.h"
#include "FakeServer.h"

#include "app/modSettings.h"
#include "app/storedvars.h"
#include "lobby/frmchildchat.h"
#include "lobby/frmguildchat.h"
#include "net/frmCon.h"
#include "platform/Codec1252.h"
#include "platform/Forms.h"
#include "platform/Ini.h"
#include "platform/Paths.h"

#include <QDeadlineTimer>
#include <QTest>
#include <benchmark/benchmark.h>

namespace {
constexpr int kPlayers = 5000;
constexpr int kTableLines = 2000;

QByteArray burst() {
    QByteArray out;
    const char* const guilds[] = {"Night%20Owls", "Wolves", "Iron%20Fist", ""};
    for (int i = 0; i < kPlayers; ++i) {
        const QByteArray guild = guilds[i % 4];
        out += "NEWPLAYER2 " + QByteArray::number(i % 5) + " tag" + QByteArray::number(i % 7) + " Clan" + QByteArray::number(i % 3) +
               " Gold Player" + QByteArray::number(i) + "%20" + QByteArray::number(1 + i % 60) +
               (guild.isEmpty() ? QByteArray() : "%20<" + guild + ">") + '\r';
    }
    for (int i = 0; i < kTableLines; ++i) {
        const QByteArray table = QByteArray::number(1 + i % 50);
        if (i % 2 == 0)
            out += "ADDTABLE " + table + " Player" + QByteArray::number(i) + " Player" + QByteArray::number(i + 1) +
                   " 1 0 0 0 0 0 0 0 1 1 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0@@Come%20and%20play@@Standard@@" +
                   QByteArray::number(i * 10) + '\r';
        else
            out += "REMOVETABLE " + table + '\r';
    }
    return out;
}
}  // namespace

static void BM_LoginBurst(benchmark::State& state) {
    ClientFixture fixture(ClientFixture::Skin);
    FakeServer server;
    Nickname = QStringLiteral("kira");
    ClientConfig().Username(Nickname);
    GuildName = QStringLiteral("Night Owls");
    InitTables();
    fixture.write(QStringLiteral("config/buddy.idx"), "[Buddy]\r\nPlayer17=1\r\nPlayer4242=1\r\n");
    WriteIni(QStringLiteral("Chat"), QStringLiteral("ShowJoinPart"), QStringLiteral("1"), GetIniFile());
    frmCon* con = form<frmCon>();
    con->tmrPacket->stop();
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
    const QByteArray stream = burst();
    const int total = kPlayers + kTableLines;

    for (auto _ : state) {
        state.PauseTiming();
        lobby->playerlist->clear();
        lobby->lsttables->clear();
        lobby->chatin->clear();
        QCoreApplication::processEvents();
        state.ResumeTiming();

        server.sendRaw(stream);
        int handled = 0;
        QDeadlineTimer deadline(60000);
        while (handled < total && !deadline.hasExpired()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 5);
            handled += int(con->lstPackets.size());
            con->tmrPacket_Timer();
        }
        // The guild list rebuilt once the lines at hand are handled.
        QCoreApplication::processEvents();
        if (handled != total || lobby->playerlist->topLevelItemCount() != kPlayers) {
            state.SkipWithError("the burst did not arrive whole");
            break;
        }
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * total);
    state.counters["lines_per_second"] = benchmark::Counter(double(int64_t(state.iterations()) * total), benchmark::Counter::kIsRate);
    ConnectionState = 2;
    con->Winsock->Close();
}
BENCHMARK(BM_LoginBurst)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv) { return runWidgetBenchmarks(argc, argv); }
