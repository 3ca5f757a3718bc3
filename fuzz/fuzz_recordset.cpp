// Arbitrary bytes as the web service's data-set reply, read by the windows that consume record
// sets: the first byte picks the consumer (the lobby's player list fill, a bare record-set grid,
// the advancement, avatar, starter-deck and merchant windows, the guild board, the administrator's
// keywords, the trade box, the card picker) and the rest is the reply every web-service call of
// that consumer gets. Nothing may crash or hang, and the player list must hold what the fill says
// it holds.
//
// The consumer windows are built once, shown, and kept across inputs (fuzzclient::Session); for
// each input the code of the window that asks for and reads the reply runs again, as the client
// runs it when the window refreshes (the trade box, whose reading is part of its load, loads
// again as a new one would). A window that closed itself over a bad reply is taken back.
//
// Run with CORVADEX_FUZZ_WRITE_SEEDS=<folder> it writes seed replies, one per consumer in the
// form its calls expect, to <folder>/corpus/fuzz_recordset/ instead.
#include "FakeWebService.h"
#include "FuzzClient.h"
#include "FuzzWebService.h"

#include "admin/frmadmin.h"
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

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QPointer>
#include <QTreeWidget>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <initializer_list>
#include <typeindex>
#include <vector>

namespace {
using Reply = FakeWebService::Reply;

// The guild window reloads its board on every fifteenth tick of its refresh timer.
constexpr int kCommentReloadTicks = 15;

enum Consumer { Players, Grid, Advancement, VAdvancement, Avatars, StarterDecks, Merchant, Guild, Admin, Trade, SelectCards, kConsumers };

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

// One grid for the run: building one (its style sheet) cost more than the walk. What it keeps
// from an input is the column it sorted last and the order; a new binding drops the model's sort,
// and the walk's first sort (column 1) comes out ascending from any state a walk leaves (none, or
// a column sorted twice, which is descending), as from a new grid's.
RecordSetGrid& keptGrid() {
    static QWidget* owner = new QWidget;
    static RecordSetGrid* grid = new RecordSetGrid(owner, "DataGrid");
    return *grid;
}

void walkGrid(const QByteArray& reply) {
    RecordSetGrid& grid = keptGrid();
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
    grid.clear();
}

// After an input, for the window its consumer drove: a window that closed itself over a bad reply
// is taken back, and what the window holds outside the widgets its record covers (the grids'
// record sets, which each refresh binds anew; the card picker's copy of the cards it lists and
// its grid's row marks) is emptied, before the reset writes the recorded widgets back. The
// emptying runs once after the window loaded too, before it is recorded.
struct AfterInput {
    std::function<void()> takeBack;
    std::function<void()> empty;
};

std::vector<AfterInput>& afterInput() {
    static std::vector<AfterInput> all(kConsumers);
    return all;
}

// Closing one of these windows from its own code only marks it closing, forgets it, hides it
// and queues its deletion (none of them does more when it closes), so the window is taken back;
// building it again cost more than most inputs. Not while fuzzing with CORVADEX_FUZZ_FRESH=1,
// where every window is built afresh.
template <typename T>
QPointer<T>& built() {
    static QPointer<T> w;
    return w;
}

template <typename T>
void takeBack() {
    T* w = built<T>();
    if (!w || ifLoaded<T>() || !qEnvironmentVariableIsEmpty("CORVADEX_FUZZ_FRESH")) return;
    fuzzclient::takeBackUnloaded(w, std::type_index(typeid(T)));
}

// Laid out at once: the view's own delayed layout waits for a timer, and timers are held.
void clearGrids(std::initializer_list<RecordSetGrid*> grids) {
    for (RecordSetGrid* grid : grids) {
        grid->clear();
        grid->doItemsLayout();
    }
}

template <typename T>
void keepShown(Consumer consumer, std::function<void(T*)> empty = {}, std::function<void(T*)> rewind = {}) {
    session()->keep<T>(
        [empty](T* w) {
            built<T>() = w;
            w->setUpdatesEnabled(false);
            w->show();
            if (empty) empty(w);
        },
        rewind);
    afterInput()[consumer].takeBack = &takeBack<T>;
    if (empty)
        afterInput()[consumer].empty = [empty] {
            if (T* w = ifLoaded<T>()) empty(w);
        };
}

void keepConsumers(fuzzclient::Session& client) {
    // The connection window keeps its progress bar's value, which its record does not cover.
    client.keep<frmConnect>({}, [](frmConnect* w) { w->barProgress->reset(); });
    keepShown<frmAdvancement>(Advancement, [](frmAdvancement* w) { clearGrids({w->DataGrid}); });
    keepShown<frmVAdvancement>(VAdvancement, [](frmVAdvancement* w) { clearGrids({w->DataGrid}); });
    keepShown<frmAvatars>(Avatars, [](frmAvatars* w) { clearGrids({w->Grid_Avatars, w->Grid_Inventory}); });
    keepShown<frmStarterDecks>(StarterDecks, [](frmStarterDecks* w) { clearGrids({w->DataGrid}); });
    keepShown<frmmerchant>(Merchant, [](frmmerchant* w) { clearGrids({w->DataGrid_Shop, w->DataGrid_OnHand}); });
    // As the framer keeps it: the hovered link cleared, and the member list's tracking of the
    // lobby's tree dropped, so that its next refresh rebuilds the list whole.
    keepShown<frmguildchat>(Guild, {}, [](frmguildchat* w) {
        w->sLink.clear();
        emit w->playerlist->model()->layoutChanged();
    });
    keepShown<frmadmin>(Admin);
    keepShown<frmtradebox>(Trade);
    keepShown<frmselectcards>(SelectCards, [](frmselectcards* w) {
        w->RecordSet() = ::RecordSet();
        w->gridModel->setRecordSet(::RecordSet());
        w->DataGrid->clearSelection();
        w->DataGrid->setCurrentIndex(QModelIndex());
        // Its row marks' width, which the listing sets as a minimum.
        w->DataGrid->verticalHeader()->setMinimumWidth(0);
        w->DataGrid->doItemsLayout();
    });
}

// The windows stay shown, as the client shows them, but draw nothing: what they draw is not what
// is fuzzed here, and painting shown windows (the grids repaint after every refresh, and the
// reset's posted events paint whatever an input changed) was a tenth of the time.
void quietWindows() {
    for (QWidget* w : loadedForms()) w->setUpdatesEnabled(false);
}

// A combo box's first entry chosen, as a player picks it.
bool pickFirst(QComboBox* box) {
    if (box->count() == 0) return false;
    box->setCurrentIndex(0);
    return true;
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    const QByteArray seeds = qgetenv("CORVADEX_FUZZ_WRITE_SEEDS");
    fuzzclient::startApplication(argc, argv);
    if (!seeds.isEmpty()) {
        writeSeeds(QString::fromLocal8Bit(seeds));
        std::exit(0);
    }
    fuzzclient::holdTimers();
    keptGrid();
    fuzzclient::serviceReply() = fuzzclient::quietReply();
    session() = new fuzzclient::Session(ClientFixture::Skin | ClientFixture::Decks);
    fuzzclient::keepSocketAndLobby(*session());
    keepConsumers(*session());
    session()->reset();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const QByteArray reply(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    fuzzclient::serviceReply() = reply;
    quietWindows();
    GuildName = QStringLiteral("Night Owls");

    const Consumer consumer = Consumer(data[0] % kConsumers);
    switch (consumer) {
        case Players:
            form<frmConnect>()->GetPlayers();
            checkPlayerList();
            break;
        case Grid: walkGrid(reply); break;
        // Twice, as when the window loads and is then refreshed: the second runs over what the
        // first left (a bound grid, or a window closing).
        case Advancement: {
            frmAdvancement* w = form<frmAdvancement>();
            w->RefreshGrid();
            w->RefreshGrid();
            break;
        }
        case VAdvancement: {
            frmVAdvancement* w = form<frmVAdvancement>();
            w->RefreshGrid();
            w->RefreshGrid();
            break;
        }
        case Avatars: {
            frmAvatars* w = form<frmAvatars>();
            w->AvatarGridRefresh(QStringLiteral("background"));
            w->AvatarInventoryRefresh();
            w->AvatarInventoryRefresh();
            break;
        }
        case StarterDecks: {
            frmStarterDecks* w = form<frmStarterDecks>();
            w->LoadCombo();
            if (pickFirst(w->cmbDecks)) w->cmbDecks_Click();
            break;
        }
        case Merchant: {
            frmmerchant* w = form<frmmerchant>();
            w->LoadData();
            if (ifLoaded<frmmerchant>() == w) w->cmbDecks_Click();
            break;
        }
        case Guild: {
            // The board reloads on the refresh timer's fifteenth tick, which brings the count
            // back to where it was.
            frmguildchat* w = form<frmguildchat>();
            for (int tick = 0; tick < kCommentReloadTicks; ++tick) w->tmrRefreshComments_Timer();
            break;
        }
        case Admin: form<frmadmin>()->LoadKeywords(); break;
        case Trade: form<frmtradebox>()->Form_Load(); break;
        case SelectCards: form<frmselectcards>()->cmbDecks_Click(); break;
        default: break;
    }
    // A window the reset must build afresh (one with CORVADEX_FUZZ_FRESH=1) is built from the
    // reply the first one was built from.
    fuzzclient::serviceReply() = fuzzclient::quietReply();
    const AfterInput& after = afterInput()[consumer];
    if (after.takeBack) after.takeBack();
    if (after.empty) after.empty();
    QCoreApplication::sendPostedEvents();
    session()->reset();
    return 0;
}
