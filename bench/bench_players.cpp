// A busy lobby's players: 20,000 of them listed from the web service's record set, joining and
// leaving one at a time through the receive pump, the silent joins of the login burst through the
// real handler, and 100,000 guild chat lines into the shown guild window. Each figure is printed
// beside a baseline measured in the same run: a bare QTreeWidget and QHash doing the least the
// path must do, or a bare rich-text box taking the same lines.
#include "ClientFixture.h"
#include "FakeWebService.h"
#include "WidgetBenchMain.h"

#include "app/HttpClient.h"
#include "app/RunQuery.h"
#include "app/modLinks.h"
#include "app/modSettings.h"
#include "app/storedvars.h"
#include "lobby/fancychat.h"
#include "lobby/frmchildchat.h"
#include "lobby/frmguildchat.h"
#include "net/clsWinsock.h"
#include "net/frmCon.h"
#include "net/frmConnect.h"
#include "platform/Forms.h"
#include "platform/Ini.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QTextCursor>
#include <QTextEdit>
#include <QTreeWidget>
#include <benchmark/benchmark.h>

namespace {
constexpr int kPlayers = 20000;
constexpr int kGuildLines = 100000;
const char* const kGuilds[] = {"Night Owls", "Wolves", "Iron Fist", ""};

QString entryOf(int i) {
    QString entry = QStringLiteral("Player") + QString::number(i) + u' ' + QString::number(1 + i % 60);
    const QString guild = QString::fromLatin1(kGuilds[i % 4]);
    if (!guild.isEmpty()) entry += QStringLiteral(" <") + guild + u'>';
    return entry;
}

QString joinLine(const char* keyword, int i) {
    return QString::fromLatin1(keyword) + u' ' + QString::number(i % 5) + QStringLiteral(" tag") + QString::number(i % 7) +
           QStringLiteral(" Clan") + QString::number(i % 3) + QStringLiteral(" Gold ") + QString(entryOf(i)).replace(u' ', QLatin1String("%20"));
}

// A logged-in player in the lobby with the guild window shown, buddies and join notices on.
struct Lobby {
    ClientFixture fixture{ClientFixture::Skin};
    frmchildchat* lobby = nullptr;
    frmguildchat* guild = nullptr;
    frmCon* con = nullptr;

    Lobby() {
        Nickname = QStringLiteral("kira");
        ClientConfig().Username(Nickname);
        GuildName = QStringLiteral("Night Owls");
        fixture.write(QStringLiteral("config/buddy.idx"), "[Buddy]\r\nPlayer17=1\r\nPlayer4242=1\r\n");
        fixture.write(QStringLiteral("config/kira.cvc"),
                      "[Chat]\r\nFont=Verdana\r\nFontSize=9\r\nShowJoinPart=1\r\n[Options]\r\nSounds=0\r\nChatlog=0\r\n");
        // A player's files were written long before these lines come.
        for (const char* file : {"config/buddy.idx", "config/kira.cvc"}) {
            QFile f(fixture.path(QString::fromLatin1(file)));
            if (f.open(QIODevice::ReadWrite)) f.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime);
        }
        con = form<frmCon>();
        con->tmrPacket->stop();
        ConnectionState = 1;
        lobby = form<frmchildchat>();
        lobby->show();
        guild = form<frmguildchat>();
        guild->show();
        QCoreApplication::processEvents();
    }
    ~Lobby() { ConnectionState = 0; }

    // Lines into the receive queue and one tick of the pump, then what the handlers left for the
    // event loop (the guild list); the windows are not yet painted.
    void handle(const QStringList& lines) {
        for (const QString& line : lines) con->lstPackets.push_back(line);
        con->tmrPacket_Timer();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
    }
    // The same, and the windows painted.
    void pump(const QStringList& lines) {
        handle(lines);
        QCoreApplication::processEvents();
    }
    // The 20,000 players listed one by one, quietly.
    void listPlayers() {
        lobby->playerlist->clear();
        for (int i = 0; i < kPlayers; ++i) con->lstPackets.push_back(joinLine("NEWPLAYER2", i));
        con->tmrPacket_Timer();
        QCoreApplication::processEvents();
    }
};

long residentKb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

double msSince(const QElapsedTimer& t) { return double(t.nsecsElapsed()) / 1e6; }
}  // namespace

// The silent joins of the login burst, each line through the dispatcher and the NEWPLAYER2
// handler, beside the least a join does: a node appended to a bare tree and its name hashed.
static void BM_NewPlayer2Handling(benchmark::State& state) {
    Lobby l;
    QStringList lines;
    for (int i = 0; i < kPlayers; ++i) lines << joinLine("NEWPLAYER2", i);
    double handled = 0, bare = 0;
    for (auto _ : state) {
        l.lobby->playerlist->clear();
        QCoreApplication::processEvents();
        QElapsedTimer t;
        t.start();
        for (QString line : lines) {
            clsWinsock dispatcher;
            dispatcher.HandleIncoming(line);
        }
        QCoreApplication::processEvents();
        handled += msSince(t);
        state.SetIterationTime(msSince(t) / 1e3);
        if (l.lobby->playerlist->topLevelItemCount() != kPlayers) state.SkipWithError("not every player was listed");

        QTreeWidget tree;
        QHash<QString, QTreeWidgetItem*> names;
        t.restart();
        for (int i = 0; i < kPlayers; ++i) {
            const QString entry = entryOf(i);
            auto* node = new QTreeWidgetItem(QStringList{entry});
            tree.addTopLevelItem(node);
            names.insert(entry.section(u' ', 0, 0).toLower(), node);
        }
        bare += msSince(t);
    }
    const double n = double(state.iterations());
    state.counters["lines/s"] = kPlayers * n / (handled / 1e3);
    state.counters["bare lines/s"] = kPlayers * n / (bare / 1e3);
    state.counters["bare/ours"] = handled / bare;
}
BENCHMARK(BM_NewPlayer2Handling)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

// The player list filled from the web service at a reconnect: the whole road (exchange, record
// set, fill), the same exchange alone, and the fill alone from its record set (the figure), beside
// a bare tree filled with the same 20,000 texts.
static void BM_PlayerListFill(benchmark::State& state) {
    Lobby l;
    FakeWebService web;
    FakeWebService::Reply players{{{QStringLiteral("Player"), QStringLiteral("string")}}, {}};
    QStringList texts;
    for (int i = 0; i < kPlayers; ++i) {
        players.rows << QStringList{QStringLiteral("Player") + QString::number(i) + QStringLiteral(":::") + QString::number(1 + i % 60) +
                                    QStringLiteral(":::") + QString::fromLatin1(kGuilds[i % 4])};
        texts << entryOf(i);
    }
    web.answer(QStringLiteral("call sps_GetPlayers()"), players);
    for (const char* v : {"http_proxy", "HTTP_PROXY", "all_proxy", "ALL_PROXY"}) qunsetenv(v);
    qputenv("CORVADEX_WEBSERVICE", web.url().toUtf8());
    HttpClient::setTimeouts({2000, 20000});
    // A reconnect in progress: the list is reloaded without building the lobby again.
    l.con->tmrReconnect->start();
    double road = 0, exchange = 0, fill = 0, bare = 0;
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        form<frmConnect>()->GetReconnectPlayers();
        QCoreApplication::processEvents();
        road += msSince(t);
        if (l.lobby->playerlist->topLevelItemCount() != kPlayers || l.lobby->PlayersOnline() != kPlayers)
            state.SkipWithError("the tree does not hold every player");

        t.restart();
        QString call = QStringLiteral("call sps_GetPlayers()");
        RecordSet rs = RunQuery(call);
        exchange += msSince(t);
        if (rs.RecordCount() != kPlayers) state.SkipWithError("the exchange alone failed");
        // The fill alone, from the record set the exchange gave, until the tree is painted.
        t.restart();
        form<frmConnect>()->FillPlayers(rs);
        QCoreApplication::processEvents();
        fill += msSince(t);
        state.SetIterationTime(msSince(t) / 1e3);

        QTreeWidget tree;
        tree.show();
        t.restart();
        QList<QTreeWidgetItem*> nodes;
        for (const QString& text : texts) nodes << new QTreeWidgetItem(QStringList{text});
        tree.addTopLevelItems(nodes);
        QCoreApplication::processEvents();
        bare += msSince(t);
    }
    const double n = double(state.iterations());
    state.counters["road ms"] = road / n;
    state.counters["exchange ms"] = exchange / n;
    state.counters["fill ms"] = fill / n;
    state.counters["bare fill ms"] = bare / n;
    l.con->tmrReconnect->stop();
    qunsetenv("CORVADEX_WEBSERVICE");
}
BENCHMARK(BM_PlayerListFill)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

// One join (a guild member, announced) and one leave at 20,000 players, each through one tick of
// the receive pump with the guild list brought up to date, beside a bare tree and hash doing the
// same append or removal.
static void BM_JoinOrLeaveAt20k(benchmark::State& state) {
    const bool join = state.range(0) == 0;
    Lobby l;
    l.listPlayers();
    QTreeWidget tree;
    QHash<QString, QTreeWidgetItem*> names;
    for (int i = 0; i < kPlayers; ++i) {
        auto* node = new QTreeWidgetItem(QStringList{entryOf(i)});
        tree.addTopLevelItem(node);
        names.insert(QStringLiteral("Player") + QString::number(i), node);
    }
    tree.show();
    double ours = 0, oursPaint = 0, bare = 0, barePaint = 0;
    int k = 0;
    for (auto _ : state) {
        const int who = (k++ * 7919) % kPlayers;
        const QString name = QStringLiteral("Player") + QString::number(who);
        const QStringList leave{QStringLiteral("REMPLAYER ") + name};
        const QStringList comeBack{joinLine("NEWPLAYER", who)};
        if (join) l.pump(leave);
        QElapsedTimer t;
        t.start();
        l.handle(join ? comeBack : leave);
        ours += msSince(t);
        state.SetIterationTime(msSince(t) / 1e3);
        t.restart();
        QCoreApplication::processEvents();
        oursPaint += msSince(t);
        if (!join) l.pump(comeBack);
        if (l.lobby->playerlist->topLevelItemCount() != kPlayers) state.SkipWithError("the tree lost count");

        t.restart();
        if (join) {
            auto* node = new QTreeWidgetItem(QStringList{entryOf(who)});
            tree.addTopLevelItem(node);
            names.insert(name, node);
        } else {
            delete names.take(name);
        }
        bare += msSince(t);
        t.restart();
        QCoreApplication::processEvents();
        barePaint += msSince(t);
        if (join) {
            delete names.take(name);
        } else {
            auto* node = new QTreeWidgetItem(QStringList{entryOf(who)});
            tree.addTopLevelItem(node);
            names.insert(name, node);
        }
        // The log stays short so that its trimming does not blur what is timed.
        l.lobby->chatin->clear();
        QCoreApplication::processEvents();
    }
    const double n = double(state.iterations());
    state.counters["ours ms"] = ours / n;
    state.counters["bare ms"] = bare / n;
    // The shown trees lay out all their rows again at the next paint, ours and the bare one alike.
    state.counters["ours paint ms"] = oursPaint / n;
    state.counters["bare paint ms"] = barePaint / n;
    state.counters["guild members"] = l.guild->playerlist->topLevelItemCount();
}
BENCHMARK(BM_JoinOrLeaveAt20k)->Arg(0)->Arg(1)->ArgName("leave")->Unit(benchmark::kMicrosecond)->UseManualTime()->Iterations(200);

// 100,000 guild chat lines through the pump (100 a tick) into the shown guild window: the time per
// line over the first and the last 1,000 lines and the resident memory they add, beside the same
// texts inserted into a bare rich-text box.
static void BM_GuildChatLines(benchmark::State& state) {
    Lobby l;
    constexpr int kTick = 100;
    const auto line = [](int i) {
        return QStringLiteral("CHAT Bree%1 /guild meet at the north gate at nine, bring decks number %2")
            .arg(i % 13)
            .arg(i);
    };
    for (auto _ : state) {
        l.guild->chatin->clear();
        const long before = residentKb();
        double first = 0, last = 0;
        QElapsedTimer t;
        for (int i = 0; i < kGuildLines; i += kTick) {
            QStringList tick;
            for (int j = i; j < i + kTick; ++j) tick << line(j);
            t.start();
            l.pump(tick);
            if (i < 1000) first += msSince(t);
            if (i >= kGuildLines - 1000) last += msSince(t);
        }
        state.SetIterationTime((first + last) / 1e3);
        state.counters["first us/line"] = first * 1e3 / 1000;
        state.counters["last us/line"] = last * 1e3 / 1000;
        state.counters["RSS growth MB"] = double(residentKb() - before) / 1024.0;
        state.counters["log chars"] = chatLength(l.guild->chatin);

        QTextEdit bareBox;
        bareBox.show();
        t.start();
        for (int i = 0; i < 1000; ++i) {
            QTextCursor c(bareBox.document());
            c.movePosition(QTextCursor::End);
            c.insertText(QStringLiteral("Bree says in guild, \" meet at the north gate at nine, bring decks number ") +
                         QString::number(i) + QStringLiteral(" \"\n"));
            if (i % kTick == kTick - 1) QCoreApplication::processEvents();
        }
        state.counters["bare us/line"] = msSince(t) * 1e3 / 1000;
    }
}
BENCHMARK(BM_GuildChatLines)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);

int main(int argc, char** argv) { return runWidgetBenchmarks(argc, argv); }
