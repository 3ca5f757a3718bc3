// Arbitrary server bytes, in arbitrary pieces, through the socket window's framer, the receive
// pump and the dispatcher, into handlers whose windows are loaded: the lobby is shown, and the
// high four bits of the first byte pick the game, room or other windows a family draws on (its
// low four bits the size of the pieces). Nothing may crash, hang or grow without bound.
//
// Run with CORVADEX_FUZZ_WRITE_SEEDS=<folder> it writes its dictionary (<folder>/fuzz_framer.dict)
// and seed corpus (<folder>/corpus/fuzz_framer/) instead, built from the dispatcher's own prefix
// and keyword tables: one seed per family and per keyword, with real argument shapes.
#include "FuzzClient.h"
#include "FuzzRewind.h"
#include "FuzzWebService.h"
#include "fuzz_framer_seeds.h"

#include "admin/frmadmin.h"
#include "economy/frmAdvancement.h"
#include "economy/frmAvatars.h"
#include "economy/frmStarterDecks.h"
#include "economy/frmVAdvancement.h"
#include "game/frmTableInfo.h"
#include "game/frmplaying.h"
#include "lobby/frmchildchat.h"
#include "lobby/frmguildchat.h"
#include "net/clsWinsock.h"
#include "net/frmCon.h"
#include "net/frmConnect.h"
#include "platform/Codec1252.h"
#include "platform/Forms.h"
#include "tables/frmchallengebox.h"
#include "tables/frmchallengebox_single.h"
#include "variants/frmcardwars.h"
#include "variants/frmchinchin.h"
#include "variants/frmmemory.h"
#include "variants/frmomni.h"
#include "variants/frmsphere.h"
#include "variants/frmteamomni.h"

#include <QAbstractItemModel>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QSet>
#include <QTimer>
#include <QTimerEvent>
#include <QTreeWidget>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {
using namespace framerseeds;

fuzzclient::Session*& session() {
    static fuzzclient::Session* s = nullptr;
    return s;
}

template <typename T>
void show() {
    if (T* w = session()->bring<T>()) w->show();
}

void loadWindows(int windows) {
    switch (windows) {
        case Omni: show<frmomni>(); break;
        case TeamOmni: show<frmteamomni>(); break;
        case Sphere: show<frmsphere>(); break;
        case Dice: show<frmchinchin>(); break;
        case Memory: show<frmmemory>(); break;
        case CardWars: show<frmcardwars>(); break;
        case Playing: show<frmplaying>(); break;
        case TeamRoom: show<frmchallengebox>(); break;
        case SingleRoom: show<frmchallengebox_single>(); break;
        case Economy:
            show<frmAdvancement>();
            show<frmVAdvancement>();
            show<frmAvatars>();
            show<frmStarterDecks>();
            break;
        case Admin: show<frmadmin>(); break;
        case Connect: show<frmConnect>(); break;
        case Guild: show<frmguildchat>(); break;
        case TableInfo: show<frmTableInfo>(); break;
        case AllGames:
            for (int w = Omni; w <= SingleRoom; ++w) loadWindows(w);
            break;
        default: break;
    }
}

// What the game and room windows left for their timers (queued game steps, countdowns) runs for
// a few ticks too, fired by hand so that an input takes no wall time. The socket, lobby and
// connect windows' timers stay still: they reconnect, ping and log in; so does the guild window's
// comment timer, which only counts ticks until its fifteenth (a kept window would carry the
// count from one input to the next).
void tickWindowTimers() {
    for (int round = 0; round < 3; ++round) {
        QList<QPointer<QTimer>> timers;
        for (QWidget* w : loadedForms()) {
            if (qobject_cast<frmCon*>(w) || qobject_cast<frmchildchat*>(w) || qobject_cast<frmConnect*>(w) ||
                qobject_cast<frmguildchat*>(w))
                continue;
            for (QTimer* t : w->findChildren<QTimer*>())
                if (t->isActive()) timers << t;
        }
        for (const QPointer<QTimer>& t : timers)
            if (t && t->isActive()) fuzzclient::heldTimers()->tick(t);
    }
}

// The game, room and other windows an input's first byte asks for are built once and parked
// (see Session::park); each puts back what it keeps outside its widgets (FuzzRewind.h).
template <typename... Windows>
void park(fuzzclient::Session& s) {
    (s.park<Windows>([](Windows* w) { return fuzzrewind::rewind(w); }), ...);
}

// The economy windows too, their grids recorded as they loaded them: the web service answers
// in-process (FuzzWebService.h), every query with a table of one row of zeros, so they load and
// stay, as they do against a service that answers.
template <typename... Windows>
void parkEconomy(fuzzclient::Session& s) {
    (s.park<Windows>([](Windows* w) { return fuzzrewind::rewind(w); }, [](Windows* w) { fuzzrewind::record(w); }), ...);
}

// ---- the seeds ---------------------------------------------------------------------------------

[[noreturn]] void die(const char* what, QLatin1StringView name) {
    std::fprintf(stderr, "fuzz_framer seeds: %s: %.*s\n", what, int(name.size()), name.data());
    std::exit(1);
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "fuzz_framer seeds: cannot write %s\n", qPrintable(path));
        std::exit(1);
    }
}

QByteArray lineOf(QLatin1StringView keyword, const char* arguments) {
    QByteArray line(keyword.data(), keyword.size());
    if (*arguments) line += ' ' + QByteArray(arguments);
    return line + '\r';
}

QByteArray seed(int windows, int piece, const QByteArray& lines) {
    return char(uint8_t((windows << 4) | (piece & 0x0F))) + QByteArray(kPrologue) + lines;
}

QByteArray dictEntry(const QByteArray& word) {
    QByteArray out = "\"";
    for (const char c : word) {
        const auto u = uint8_t(c);
        if (u < 0x20 || u >= 0x7F || c == '"' || c == '\\') out += "\\x" + QByteArray::number(u, 16).rightJustified(2, '0');
        else out += c;
    }
    return out + "\"\n";
}

void writeSeeds(const QString& folder) {
    const QString corpus = folder + QStringLiteral("/corpus/fuzz_framer");
    if (!QDir().mkpath(corpus)) die("cannot make the corpus folder", QLatin1StringView(""));
    QByteArray dict = "# Generated by fuzz_framer (CORVADEX_FUZZ_WRITE_SEEDS) from the dispatcher's tables.\n";
    QSet<QByteArray> words;
    const auto word = [&](const QByteArray& w) {
        if (!w.isEmpty() && !words.contains(w)) {
            words.insert(w);
            dict += dictEntry(w);
        }
    };
    int piece = 0;
    const auto nextPiece = [&] { return piece = (piece + 5) % 16; };

    // Every family of the dispatcher's table, each with its module's keywords.
    const auto prefixes = clsWinsock::prefixes();
    for (int i = 0; i < int(prefixes.size()); ++i) {
        const FamilyKeywords* family = nullptr;
        for (const FamilyKeywords& f : kFamilies)
            if (f.prefix == prefixes[i]) family = &f;
        if (!family) die("no module keywords for the family", prefixes[i]);
        word(QByteArray(prefixes[i].data(), prefixes[i].size()));
        QByteArray whole;
        for (const Shape& s : family->keywords) {
            if (clsWinsock::familyOf(QString(s.keyword)) != i) die("keyword is not of its family", s.keyword);
            word(QByteArray(s.keyword.data(), s.keyword.size()));
            QByteArray lines;
            for (const char* a : s.arguments) lines += lineOf(s.keyword, a);
            whole += lineOf(s.keyword, *s.arguments.begin());
            writeFile(corpus + QStringLiteral("/family-") + QString(s.keyword).toLower(), seed(family->windows, nextPiece(), lines));
        }
        // The whole family in one input, as a game runs it; once more with every window open.
        writeFile(corpus + QStringLiteral("/family-") + QString(prefixes[i]).toLower() + QStringLiteral("-all"),
                  seed(family->windows, nextPiece(), whole));
        writeFile(corpus + QStringLiteral("/family-") + QString(prefixes[i]).toLower() + QStringLiteral("-allwindows"),
                  seed(AllGames, nextPiece(), whole));
    }
    for (const FamilyKeywords& f : kFamilies)
        if (clsWinsock::familyOf(QString(f.prefix)) < 0) die("not a family of the dispatcher", f.prefix);

    // Every whole keyword of the dispatcher's table.
    for (const QLatin1StringView keyword : clsWinsock::keywords()) {
        if (clsWinsock::familyOf(QString(keyword)) >= 0 || clsWinsock::keywordOf(QString(keyword)) < 0) die("keyword not reached", keyword);
        word(QByteArray(keyword.data(), keyword.size()));
        std::initializer_list<const char*> arguments = kGeneric;
        for (const Shape& s : kKeywordShapes)
            if (s.keyword == keyword) arguments = s.arguments;
        int windows = LobbyOnly;
        for (const KeywordWindows& k : kKeywordWindows)
            if (k.keyword == keyword) windows = k.windows;
        QByteArray lines;
        for (const char* a : arguments) lines += lineOf(keyword, a);
        writeFile(corpus + QStringLiteral("/keyword-") + QString(keyword).toLower(), seed(windows, nextPiece(), lines));
    }
    for (const char* w : kWords) word(QByteArray(w));
    writeFile(folder + QStringLiteral("/fuzz_framer.dict"), dict);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    const QByteArray seeds = qgetenv("CORVADEX_FUZZ_WRITE_SEEDS");
    if (!seeds.isEmpty()) {
        writeSeeds(QString::fromLocal8Bit(seeds));
        std::exit(0);
    }
    fuzzclient::startApplication(argc, argv);
    fuzzclient::holdTimers();
    session() = new fuzzclient::Session(ClientFixture::Skin | ClientFixture::Decks);
    fuzzclient::keepSocketAndLobby(*session());
    // The guild window, which every player line loads (the client's own login does the same), is
    // kept too: built for every input it was most of an input's time. What it keeps outside its
    // widgets is the hovered link and its member list's tracking of the lobby, which a change to
    // the list it did not make itself drops, so that the next refresh rebuilds the list whole, as
    // a new window's first one does.
    session()->keep<frmguildchat>({}, [](frmguildchat* guild) {
        guild->sLink.clear();
        emit guild->playerlist->model()->layoutChanged();
    });
    park<frmomni, frmteamomni, frmsphere, frmchinchin, frmmemory, frmcardwars, frmplaying, frmchallengebox, frmchallengebox_single,
         frmadmin, frmConnect, frmTableInfo, frmdisplaybox>(*session());
    fuzzclient::serviceReply() = fuzzclient::quietReply();
    parkEconomy<frmAdvancement, frmVAdvancement, frmAvatars, frmStarterDecks>(*session());
    session()->reset();
    // Which window the platform last gave the focus to is the one thing dropping its events does
    // not put back. One empty input run here leaves it as every input leaves it, so that the first
    // input starts as every later one.
    LLVMFuzzerTestOneInput(nullptr, 0);
    if (!qEnvironmentVariableIsEmpty("CORVADEX_FUZZ_VERBOSE"))
        std::atexit([] { std::fprintf(stderr, "windows built: %s\n", qPrintable(session()->builds().join(QStringLiteral(", ")))); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    frmCon* con = form<frmCon>();
    ConnectionState = 1;
    form<frmchildchat>()->show();
    const size_t piece = size ? size_t(data[0] & 0x0F) + 1 : 1;
    if (size) loadWindows(data[0] >> 4);
    for (size_t at = size ? 1 : 0; at < size; at += piece) {
        const size_t n = std::min(piece, size - at);
        con = ifLoaded<frmCon>();
        if (!con) break;  // a handler may unload the socket window
        con->frameArrival(decode1252(reinterpret_cast<const char*>(data + at), qsizetype(n)));
        con->tmrPacket_Timer();
    }
    tickWindowTimers();
    if ((con = ifLoaded<frmCon>())) {
        con->tmrPacket_Timer();
        if (con->sPendingData.size() > frmCon::kMaxPendingLine) __builtin_trap();
    }
    QCoreApplication::sendPostedEvents();
    session()->reset();
    return 0;
}
