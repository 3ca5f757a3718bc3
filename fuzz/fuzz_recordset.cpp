// Arbitrary bytes as the web service's data-set reply, read by the windows that consume record
// sets: the first byte picks the consumer (the lobby's player list fill, a bare record-set grid,
// the advancement, avatar, starter-deck and merchant windows, the guild board, the administrator's
// keywords, the trade box, the card picker) and the rest is the reply every call of that
// consumer gets, over real HTTP from the fake web service. Nothing may crash or hang, and the
// player list must hold what the fill says it holds.
//
// Run with CORVADEX_FUZZ_WRITE_SEEDS=<folder> it writes seed replies, one per consumer in the
// form its calls expect, to <folder>/corpus/fuzz_recordset/ instead.
#include "FakeWebService.h"
#include "FuzzClient.h"

#include "admin/frmadmin.h"
#include "app/HttpClient.h"
#include "app/clsXML.h"
#include "economy/RecordSetGrid.h"
#include "economy/frmAdvancement.h"
#include "economy/frmAvatars.h"
#include "economy/frmStarterDecks.h"
#include "economy/frmVAdvancement.h"
#include "economy/frmmerchant.h"
#include "game/frmselectcards.h"
#include "lobby/frmchildchat.h"
#include "lobby/frmguildchat.h"
#include "net/frmCon.h"
#include "net/frmConnect.h"
#include "platform/Forms.h"
#include "tables/frmtradebox.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTreeWidget>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {
using Reply = FakeWebService::Reply;

enum Consumer { Players, Grid, Advancement, VAdvancement, Avatars, StarterDecks, Merchant, Guild, Admin, Trade, SelectCards, kConsumers };

FakeWebService*& service() {
    static FakeWebService* s = nullptr;
    return s;
}

fuzzclient::Session*& session() {
    static fuzzclient::Session* s = nullptr;
    return s;
}

Reply table(const QStringList& columns, const QList<QStringList>& rows) {
    Reply r;
    for (const QString& c : columns) r.columns.append({c, QStringLiteral("string")});
    r.rows = rows;
    return r;
}

void writeSeeds(const QString& folder) {
    const QString corpus = folder + QStringLiteral("/corpus/fuzz_recordset");
    QDir().mkpath(corpus);
    const std::pair<Consumer, Reply> seeds[] = {
        {Players, table({"Player"}, {{"kira:::12:::Wolves"}, {"Nyx:::7:::"}, {"KIRA:::3:::"}, {":::::::"}, {"Ryo"}})},
        {Grid, table({"Card", "Level", "Price"}, {{"Emberlark", "10", "4.5"}, {"brine skitter", "9", "x"}, {"Cinderpup", "100", ""}})},
        {Advancement, table({"Ability", "Category", "Level", "MaxLevel", "Description"},
                            {{"Iron's Will", "Body", "2", "5", "Harder to break"}, {"Quick Study", "Mind", "10", "10", "More"}})},
        {VAdvancement, table({"Ability", "Category", "Level", "MaxLevel", "Description"}, {{"Keen Eye", "Mind", "9", "10", "See"}})},
        {Avatars, table({"ID", "Item", "Price", "keyname", "Style"},
                        {{"41", "Plain head", "500", "002", "Common"}, {"43", "Odd", "10", "/../m_body_003", "Broken"}})},
        {StarterDecks, table({"Deck"}, {{"Ashfall"}, {"Rook's Pride"}, {"EVNT"}})},
        {Merchant, table({"title", "description"}, {{"Kira's", "Cards"}})},
        {Guild, table({"ThreadTitle", "Poster", "PostTimeStamp", "sURL"},
                      {{"Raid tonight", "Bree", "7/1/2026 8:00 PM", "http://board.example/t/1"}, {"c", "C", "3", ""}})},
        {Admin, table({"Keyword"}, {{"scam"}, {"cheat"}})},
        {Trade, table({"deck"}, {{"Ashfall"}, {"Stormwake"}})},
        {SelectCards, table({"Card", "Total"}, {{"Gustling", "2"}, {"Emberlark", "1"}})},
    };
    for (const auto& [consumer, reply] : seeds) {
        for (const auto layout : {FakeWebService::Layout::Compact, FakeWebService::Layout::Indented}) {
            QFile f(corpus + QStringLiteral("/consumer-%1-%2").arg(int(consumer)).arg(int(layout)));
            const QByteArray bytes = char(consumer) + FakeWebService::dataSetXml(reply, layout);
            if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size()) std::exit(1);
        }
    }
}

// The fill's own promise: one node per distinct nickname, and the active count beside it.
void checkPlayerList() {
    frmchildchat* lobby = ifLoaded<frmchildchat>();
    if (!lobby) return;
    QSet<QString> names;
    for (int i = 0; i < lobby->playerlist->topLevelItemCount(); ++i) {
        const QString first = lobby->playerlist->topLevelItem(i)->text(0).section(u' ', 0, 0).toLower();
        if (names.contains(first)) {
            std::fprintf(stderr, "player %s listed twice\n", qPrintable(first));
            std::abort();
        }
        names.insert(first);
    }
    if (lobby->lblActive->text() != QString::number(lobby->playerlist->topLevelItemCount())) {
        std::fprintf(stderr, "active count %s beside %d players\n", qPrintable(lobby->lblActive->text()),
                     lobby->playerlist->topLevelItemCount());
        std::abort();
    }
}

void walkGrid(const QByteArray& reply) {
    QWidget owner;
    RecordSetGrid grid(&owner, "DataGrid");
    grid.bind(ParseDataSetReply(reply));
    grid.AutoSizeGrid();
    for (int c = 1; c < grid.Cols() && c < 8; ++c) {
        grid.sortByHeader(c);
        grid.sortByHeader(c);
    }
    for (int r = 0; r < grid.Rows() && r < 64; ++r)
        for (int c = 0; c < grid.Cols() && c < 16; ++c) (void)grid.TextMatrix(r, c);
    if (grid.Rows() > 1) {
        grid.Row(1);
        (void)grid.CurrentText(1);
    }
}

template <typename T>
T* open() {
    T* w = form<T>();
    if (w) w->show();
    return w;
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    const QByteArray seeds = qgetenv("CORVADEX_FUZZ_WRITE_SEEDS");
    for (const char* v : {"http_proxy", "HTTP_PROXY", "all_proxy", "ALL_PROXY"}) qunsetenv(v);
    fuzzclient::startApplication(argc, argv);
    if (!seeds.isEmpty()) {
        writeSeeds(QString::fromLocal8Bit(seeds));
        std::exit(0);
    }
    service() = new FakeWebService;
    qputenv("CORVADEX_WEBSERVICE", service()->url().toUtf8());
    HttpClient::setTimeouts({500, 3000});
    fuzzclient::holdTimers();
    session() = new fuzzclient::Session(ClientFixture::Skin | ClientFixture::Decks);
    fuzzclient::keepSocketAndLobby(*session());
    session()->reset();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const QByteArray reply(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    service()->clearAnswers();
    service()->clearRecords();
    service()->answerRawPrefix(QString(), reply);
    open<frmchildchat>();
    GuildName = QStringLiteral("Night Owls");

    switch (data[0] % kConsumers) {
        case Players:
            form<frmConnect>()->GetPlayers();
            checkPlayerList();
            break;
        case Grid: walkGrid(reply); break;
        case Advancement:
            if (auto* w = open<frmAdvancement>()) w->RefreshGrid();
            break;
        case VAdvancement:
            if (auto* w = open<frmVAdvancement>()) w->RefreshGrid();
            break;
        case Avatars:
            if (auto* w = open<frmAvatars>()) w->AvatarInventoryRefresh();
            break;
        case StarterDecks:
            if (auto* w = open<frmStarterDecks>()) w->cmbDecks_Click();
            break;
        case Merchant:
            if (auto* w = open<frmmerchant>()) w->cmbDecks_Click();
            break;
        case Guild: open<frmguildchat>(); break;
        case Admin:
            if (auto* w = open<frmadmin>()) w->LoadKeywords();
            break;
        case Trade: open<frmtradebox>(); break;
        case SelectCards:
            if (auto* w = open<frmselectcards>()) w->cmbDecks_Click();
            break;
        default: break;
    }
    QCoreApplication::sendPostedEvents();
    session()->reset();
    return 0;
}
