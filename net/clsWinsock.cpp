#include "net/clsWinsock.h"

#include "admin/clsAdminFunctions.h"
#include "app/storedvars.h"
#include "economy/clsAA.h"
#include "economy/clsAvatars.h"
#include "economy/frmStarterDecks.h"
#include "game/clsCVFunctions.h"
#include "net/clsChangePass.h"
#include "net/clsLoadGame.h"
#include "net/clsUpdateFunctions.h"
#include "net/frmCon.h"
#include "net/frmConnect.h"
#include "platform/Forms.h"
#include "platform/Services.h"
#include "tables/clsChallengeBoxes.h"
#include "tables/frmchallengewaiting.h"
#include "variants/clsCardWars.h"
#include "variants/clsChinchin.h"
#include "variants/clsMemory.h"
#include "variants/clsOCV.h"
#include "variants/clsSphere.h"
#include "variants/clsTeamOCV.h"

#include <array>
#include <bit>
#include <cmath>

namespace {
constexpr std::array<QLatin1StringView, clsWinsock::kFamilyCount> kPrefixes = {
    QLatin1StringView("OB"),       QLatin1StringView("AA"),    QLatin1StringView("CHPASS"),
    QLatin1StringView("CHALLENGE"), QLatin1StringView("CHINCHIN"), QLatin1StringView("OCV"),
    QLatin1StringView("MEMORY"),   QLatin1StringView("TEAM_"), QLatin1StringView("CV"),
    QLatin1StringView("ADMIN"),    QLatin1StringView("UPDATE"), QLatin1StringView("AVATAR"),
    QLatin1StringView("LOADGAME"), QLatin1StringView("CARDWARS"),
};

constexpr std::array<QLatin1StringView, clsWinsock::kKeywordCount> kKeywords = {
    QLatin1StringView("QUERYPLAYERS"),   QLatin1StringView("QUERYRECONNECTPLAYERS"),
    QLatin1StringView("PING"),           QLatin1StringView("SHOWMENU"),
    QLatin1StringView("MOTD"),           QLatin1StringView("SHOWMAIN"),
    QLatin1StringView("NOTABLE"),        QLatin1StringView("PLAYERSLOADED"),
    QLatin1StringView("NEWPLAYER"),      QLatin1StringView("NEWPLAYER2"),
    QLatin1StringView("CHAT"),           QLatin1StringView("TABLE"),
    QLatin1StringView("REMPLAYER"),      QLatin1StringView("MATCH"),
    QLatin1StringView("INPM"),           QLatin1StringView("CANCELBOX"),
    QLatin1StringView("CHATBLOCK"),      QLatin1StringView("GPADD"),
    QLatin1StringView("TABLEJACKPOTCHANGE"), QLatin1StringView("STARTERDECKREFRESHGRID"),
    QLatin1StringView("PLAYBUYSOUND"),   QLatin1StringView("QUITOKAY"),
    QLatin1StringView("QUITNOTOKAY"),    QLatin1StringView("LEVELUP"),
    QLatin1StringView("NOTICE"),         QLatin1StringView("KILLMATCH"),
    QLatin1StringView("DROPGAME"),       QLatin1StringView("AUTODECLINE"),
    QLatin1StringView("ADDBLOCK"),       QLatin1StringView("SOUNDWAV"),
    QLatin1StringView("ENDMATCH"),       QLatin1StringView("EXIT"),
    QLatin1StringView("GAMECHAT"),       QLatin1StringView("ADDTABLE"),
    QLatin1StringView("REMOVETABLE"),    QLatin1StringView("TABLEINFO"),
    QLatin1StringView("GAMEOPPONENT"),   QLatin1StringView("GAMESTALEMATE"),
};

// Lookup masks built from the tables above, so a keyword is compared only with the entries that
// share its first two characters (prefixes) or its first character and length (keywords). The
// lowest set bit is the earliest in matching order.
constexpr int kMaskChars = 128;
constexpr qsizetype kLongestKeyword = 22;
static_assert(clsWinsock::kKeywordCount <= 64 && clsWinsock::kFamilyCount <= 32);

struct Masks {
    std::array<uint32_t, kMaskChars> prefixFirst{};
    std::array<uint32_t, kMaskChars> prefixSecond{};
    std::array<uint64_t, kMaskChars> keywordFirst{};
    std::array<uint64_t, kLongestKeyword + 1> keywordLength{};
};

constexpr Masks buildMasks() {
    Masks m;
    for (int i = 0; i < clsWinsock::kFamilyCount; ++i) {
        m.prefixFirst[size_t(kPrefixes[i].data()[0])] |= 1u << i;
        m.prefixSecond[size_t(kPrefixes[i].data()[1])] |= 1u << i;
    }
    for (int i = 0; i < clsWinsock::kKeywordCount; ++i) {
        m.keywordFirst[size_t(kKeywords[i].data()[0])] |= uint64_t(1) << i;
        m.keywordLength[size_t(kKeywords[i].size())] |= uint64_t(1) << i;
    }
    return m;
}

constexpr bool tablesFitMasks() {
    for (const auto& p : kPrefixes)
        if (p.size() < 2 || uchar(p.data()[0]) >= kMaskChars || uchar(p.data()[1]) >= kMaskChars) return false;
    for (const auto& k : kKeywords)
        if (k.size() < 1 || k.size() > kLongestKeyword || uchar(k.data()[0]) >= kMaskChars) return false;
    return true;
}
static_assert(tablesFitMasks());

constexpr Masks kMasks = buildMasks();

int32_t tickCount() { return int32_t(services().clock->monotonicMs()); }
}  // namespace

double clsWinsock::ProcessingSeconds() const { return std::round(double(m_end - m_begin) / 1000.0 * 1000.0) / 1000.0; }

int clsWinsock::familyOf(QStringView keyword) {
    if (keyword.size() < 2) return -1;
    const char16_t first = keyword[0].unicode(), second = keyword[1].unicode();
    if (first >= kMaskChars || second >= kMaskChars) return -1;
    for (uint32_t m = kMasks.prefixFirst[first] & kMasks.prefixSecond[second]; m; m &= m - 1) {
        const int i = std::countr_zero(m);
        if (keyword.startsWith(kPrefixes[i], Qt::CaseSensitive)) return i;
    }
    return -1;
}

int clsWinsock::keywordOf(QStringView keyword) {
    if (keyword.isEmpty() || keyword.size() > kLongestKeyword) return -1;
    const char16_t first = keyword[0].unicode();
    if (first >= kMaskChars) return -1;
    for (uint64_t m = kMasks.keywordFirst[first] & kMasks.keywordLength[size_t(keyword.size())]; m; m &= m - 1) {
        const int i = std::countr_zero(m);
        if (keyword == kKeywords[i]) return i;
    }
    return -1;
}

clsWinsock::Route clsWinsock::routeOf(QStringView line) {
    // Only the first field decides; handlers split the line themselves.
    const qsizetype blank = line.indexOf(u' ');
    Route r;
    r.keywordLength = blank < 0 ? line.size() : blank;
    const QStringView keyword = line.first(r.keywordLength);
    r.family = familyOf(keyword);
    if (r.family < 0) r.keyword = keywordOf(keyword);
    return r;
}

void clsWinsock::HandleIncoming(QString& line) {
    BeginProcessing(tickCount());
    const Route route = routeOf(line);
    if (route.family >= 0) {
        QString keyword = line.first(route.keywordLength);
        dispatchFamily(route.family, keyword, line);
    } else if (route.keyword >= 0) {
        dispatchKeyword(route.keyword, line);
    }
    EndProcessing(tickCount());
}

void clsWinsock::dispatchFamily(int family, QString& keyword, QString& line) {
    switch (family) {
        case 0: clsSphere().GameModule(keyword, line); break;
        case 1: clsAA().AAModule(keyword, line); break;
        case 2: clsChangePass().AccountModule(keyword, line); break;
        case 3: clsChallengeBoxes().ChallengeModule(keyword, line); break;
        case 4: clsChinchin().GameModule(keyword, line); break;
        case 5: clsOCV().GameModule(keyword, line); break;
        case 6: clsMemory().GameModule(keyword, line); break;
        case 7: clsTeamOCV().GameModule(keyword, line); break;
        case 8: clsCVFunctions().GameModule(keyword, line); break;
        case 9: clsAdminFunctions().IncomingModule(keyword, line); break;
        case 10: clsUpdateFunctions().IncomingModule(keyword, line); break;
        case 11: clsAvatars().IncomingHandler(keyword, line); break;
        case 12: clsLoadGame().IncomingHandler(keyword, line); break;
        case 13: clsCardWars().GameModule(keyword, line); break;
        default: break;
    }
}

void clsWinsock::dispatchKeyword(int index, QString& line) {
    switch (index) {
        case 0: form<frmConnect>()->GetPlayers(); break;
        case 1: QueryReconnectPlayers(); break;
        case 2:
            if (frmCon* con = ifLoaded<frmCon>()) con->SendToServer(QStringLiteral("PING"));
            break;
        case 3: ShowMenu(); break;
        case 4: Motd(line); break;
        case 5: ShowMain(line); break;
        case 6: NoTable(); break;
        case 7: form<frmConnect>()->PlayersLoaded(); break;
        case 8: NewPlayer(line, true); break;
        case 9: NewPlayer(line, false); break;
        case 10: Chat(line); break;
        case 11: Table(line); break;
        case 12: RemPlayer(line); break;
        case 13: Match(line); break;
        case 14: InPM(line); break;
        case 15: unload<frmchallengewaiting>(); break;
        case 16: ChatBlock(line); break;
        case 17: GPAdd(line); break;
        case 18: TableJackpotChange(line); break;
        case 19:
            // Reaching the window loads it (hidden) when it is closed, as every window reached by name does.
            form<frmStarterDecks>()->RefreshGrid();
            break;
        case 20: PlayBuySound(); break;
        case 21: QuitOkay(); break;
        case 22: QuitNotOkay(); break;
        case 23: LevelUp(line); break;
        case 24: Notice(line); break;
        case 25: killmatch(); break;
        case 26: DropGame(); break;
        case 27: AutoDecline(line); break;
        case 28: AddBlock(line); break;
        case 29: SoundWav(line); break;
        case 30: EndMatch(line); break;
        case 31: ExitMessage(line); break;
        case 32: GameChat(line); break;
        case 33: AddTable(line); break;
        case 34: RemoveTable(line); break;
        case 35: TableInfo(line); break;
        case 36: GameOpponent(line); break;
        case 37: GameStalemate(); break;
        default: break;
    }
}

std::span<const QLatin1StringView> clsWinsock::prefixes() { return kPrefixes; }
std::span<const QLatin1StringView> clsWinsock::keywords() { return kKeywords; }
