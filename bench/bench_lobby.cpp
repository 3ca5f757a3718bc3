// The lobby under load: 20,000 rendered chat lines into the shown lobby log (which stays near
// 15,000 characters by dropping its oldest line), and the player tree filled with 5,000 players
// from the web service's record set.
#include "ClientFixture.h"
#include "WidgetBenchMain.h"
#include "FakeWebService.h"

#include "app/HttpClient.h"
#include "app/modLinks.h"
#include "app/storedvars.h"
#include "lobby/fancychat.h"
#include "lobby/frmchildchat.h"
#include "net/frmCon.h"
#include "net/frmConnect.h"
#include "platform/Forms.h"

#include <benchmark/benchmark.h>

#include <QTreeWidget>

namespace {
constexpr int kChatLines = 20000;
constexpr int kPlayers = 5000;

const QStringList kSayings = {
    QStringLiteral("anyone up for a game of Corvada? same plus combo, no trade"),
    QStringLiteral("/ooc brb, the kettle is singing"),
    QStringLiteral("/auction Fire Drake and two Frost Wyrms, 500 gold each or best offer"),
    QStringLiteral("/shout tournament in ten minutes, sign up with the hosts!"),
    QStringLiteral("gg wp, that last combo was brutal"),
    QStringLiteral("/random rolls 63"),
};
}  // namespace

static void BM_LobbyChatLines(benchmark::State& state) {
    ClientFixture fixture(ClientFixture::Skin);
    Nickname = QStringLiteral("kira");
    // A logged-in player always has a settings file: the login writes it.
    fixture.write(QStringLiteral("config/kira.cvc"),
                  "[Challenge]\r\nDecline=0\r\n[Chat]\r\nFont=Verdana\r\nFontSize=9\r\nShowJoinPart=1\r\n"
                  "[Options]\r\nSounds=1\r\nRandom=0\r\nMusic=0\r\n");
    frmchildchat* lobby = form<frmchildchat>();
    lobby->show();
    QCoreApplication::processEvents();
    for (auto _ : state) {
        for (int i = 0; i < kChatLines; ++i) {
            if (i % 10 == 9)
                PrintChatLine(QStringLiteral("Table"), QString(), QStringLiteral("Nyx created table ") + QString::number(i % 50 + 1),
                              ChatColour::Yellow);
            else
                RenderIncomingChat(QStringLiteral("Player") + QString::number(i % 97), QString(), kSayings[i % kSayings.size()],
                                   ChatColour::White);
            // The window repaints between bursts of lines, as it does between socket reads.
            if (i % 50 == 49) QCoreApplication::processEvents();
        }
        QCoreApplication::processEvents();
    }
    if (chatLength(lobby->chatin) > kLobbyLogLimit + 200) state.SkipWithError("the lobby log was not kept near its limit");
    state.counters["lines/s"] = benchmark::Counter(double(kChatLines), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["log chars"] = double(chatLength(lobby->chatin));
}
BENCHMARK(BM_LobbyChatLines)->Unit(benchmark::kMillisecond)->Iterations(3);

static void BM_PlayerTreeFill(benchmark::State& state) {
    ClientFixture fixture(ClientFixture::Skin);
    FakeWebService web;
    FakeWebService::Reply players{{{QStringLiteral("Player"), QStringLiteral("string")}}, {}};
    for (int i = 0; i < kPlayers; ++i) {
        QString entry = QStringLiteral("Player") + QString::number(i) + QStringLiteral(":::") + QString::number(i % 60 + 1) + QStringLiteral(":::");
        if (i % 4 == 0) entry += QStringLiteral("Guild ") + QString::number(i % 37);
        players.rows << QStringList{entry};
    }
    web.answer(QStringLiteral("call sps_GetPlayers()"), players);
    for (const char* v : {"http_proxy", "HTTP_PROXY", "all_proxy", "ALL_PROXY"}) qunsetenv(v);
    qputenv("CORVADEX_WEBSERVICE", web.url().toUtf8());
    HttpClient::setTimeouts({2000, 20000});
    Nickname = QStringLiteral("kira");
    frmchildchat* lobby = form<frmchildchat>();
    lobby->show();
    // A reconnect in progress: the list is reloaded without building the lobby again.
    form<frmCon>()->tmrReconnect->start();
    for (auto _ : state) {
        form<frmConnect>()->GetReconnectPlayers();
        QCoreApplication::processEvents();
    }
    if (lobby->playerlist->topLevelItemCount() != kPlayers) state.SkipWithError("the tree does not hold every player");
    state.counters["players/s"] = benchmark::Counter(double(kPlayers), benchmark::Counter::kIsIterationInvariantRate);
    form<frmCon>()->tmrReconnect->stop();
    qunsetenv("CORVADEX_WEBSERVICE");
}
BENCHMARK(BM_PlayerTreeFill)->Unit(benchmark::kMillisecond)->Iterations(5);

int main(int argc, char** argv) { return runWidgetBenchmarks(argc, argv); }
