#include "tables/clsChallengeBoxes.h"

#include "app/ErrorHandler.h"
#include "app/modSound.h"
#include "app/modText.h"
#include "app/storedvars.h"
#include "game/clsCVRules.h"
#include "lobby/fancychat.h"
#include "net/frmCon.h"
#include "platform/Forms.h"
#include "platform/RuntimeError.h"
#include "platform/VbCompat.h"
#include "tables/frmchallengebox.h"
#include "tables/frmchallengebox_single.h"
#include "tables/frmchallengewaiting.h"

namespace {
const QString kBlank = QStringLiteral(" ");
const QString kJoin = QStringLiteral("@@");
// The game name the card game's rule line carries between the rule words and the decks.
const QString kCardGameName = QStringLiteral("Corvada");
constexpr int kJoinSound = 45;

// The kinds a two-seat record names, in the order they are looked for, with their game keys.
constexpr std::pair<const char*, const char*> kKinds[] = {
    {"ORBOLT", "ob"}, {"MEMORY", "cvm"}, {"CARDWARS", "cardwars"}, {"CHINCHIN", "chinchin"}, {"OMNICV", "ocv"},
};

QString decoded(const QString& field) { return ReplaceCaseCopy(field, {QStringLiteral("%20"), kBlank}); }

// A field's leading number rounded half to even into 16 bits; "Overflow" when it does not fit.
int16_t number(const QString& field) { return vbCInt(vbVal(field)); }

const QString& wordAt(const QStringList& words, int k) {
    if (k < 0 || k >= words.size()) throw RuntimeError(QStringLiteral("Subscript out of range"), 9);
    return words[k];
}

QString withoutTrailingJoin(QString text) {
    if (text.endsWith(kJoin)) text.chop(kJoin.size());
    return text;
}

// Runs the steps of a record in turn; a step that fails is passed over and the next one runs.
struct SkipErrors {
    template <class F>
    SkipErrors& operator<<(F&& step) {
        resumeNext(std::forward<F>(step));
        return *this;
    }
};

void closeRoomsGame() {
    InGame = false;
    if (frmCon* con = ifLoaded<frmCon>()) con->versus->clear();
}
}  // namespace

void clsChallengeBoxes::ChallengeModule(QString& keyword, QString& line) {
    // A malformed line ends its own handling, never the client.
    shielded("clsChallengeBoxes::ChallengeModule", [&] {
        if (keyword == QLatin1String("CHALLENGEREADY")) return ReadyFlag(ifLoaded<frmchallengebox>(), line);
        if (keyword == QLatin1String("CHALLENGEREADYS")) return ReadyFlag(ifLoaded<frmchallengebox_single>(), line);
        if (keyword == QLatin1String("CHALLENGEREMOVE")) return RemoveSeat(ifLoaded<frmchallengebox>(), line, true);
        if (keyword == QLatin1String("CHALLENGEREMOVES")) return RemoveSeat(ifLoaded<frmchallengebox_single>(), line, false);
        if (keyword == QLatin1String("CHALLENGECHAT")) return RoomChat(ifLoaded<frmchallengebox>(), line);
        if (keyword == QLatin1String("CHALLENGECHATS")) return challengechats(line);
        if (keyword == QLatin1String("CHALLENGEBOX")) return OpenTeamRoom(line);
        if (keyword == QLatin1String("CHALLENGEBOXS")) return OpenSingleRoom(line);
        if (keyword == QLatin1String("CHALLENGEAVATAR")) return ShowRoomAvatar(form<frmchallengebox>(), line);
        if (keyword == QLatin1String("CHALLENGEAVATARS")) return ShowRoomAvatar(form<frmchallengebox_single>(), line);
    });
}

// ---- Status lines ----------------------------------------------------------------------------

void clsChallengeBoxes::ReadyFlag(ChallengeRoom* room, const QString& line) {
    if (!room) return;
    const Fields f = Divide(line, kBlank);
    QLabel* flag = room->readyLabel(number(f[1]));
    if (!flag) {
        qWarning("ready flag for a seat the room lacks: %s", qPrintable(line));
        return;
    }
    flag->setText(f[2] == QLatin1String("1") ? QStringLiteral("Yes") : QStringLiteral("No"));
}

void clsChallengeBoxes::challengechats(const QString& line) { RoomChat(ifLoaded<frmchallengebox_single>(), line); }

void clsChallengeBoxes::RoomChat(ChallengeRoom* room, const QString& line) {
    if (!room || !room->isVisible()) return;
    const Fields f = Divide(line, kBlank);
    const QString& name = f[1];
    const QString text = line.mid(f[0].size() + 1 + name.size() + 1);
    if (name == QLatin1String("***"))
        room->ChallengeBlockChat(text, ChatColour::Yellow);
    else
        room->ChallengeBlockChat(name + QStringLiteral(" says, \" ") + text + QStringLiteral(" \""), ChatColour::White);
}

void clsChallengeBoxes::RemoveSeat(ChallengeRoom* room, const QString& line, bool fourSeats) {
    const Fields f = Divide(line, kBlank);
    const QString& seat = f[1];
    const auto closeRoom = [fourSeats] { fourSeats ? unload<frmchallengebox>() : unload<frmchallengebox_single>(); };
    if (seat != QLatin1String("5") && room)
        if (QLabel* flag = room->readyLabel(number(seat))) flag->clear();
    if (seat == QLatin1String("1")) {
        if (room) room->Player1->clear();
        closeRoom();
        closeRoomsGame();
    } else if (seat == QLatin1String("2") || (fourSeats && (seat == QLatin1String("3") || seat == QLatin1String("4")))) {
        if (!room) return;
        const int n = number(seat);
        room->seatName(n)->clear();
        room->ClearSeatAvatar(n);
    } else if (seat == QLatin1String("5")) {
        closeRoom();
        closeRoomsGame();
        PrintChatLine(QStringLiteral("Table"), QString(), QStringLiteral("Table was closed.  Please create a new table or join a new one."),
                      ChatColour::Yellow);
    } else {
        qWarning("seat removal for a seat the room lacks: %s", qPrintable(line));
    }
}

// ---- Avatars ---------------------------------------------------------------------------------

void clsChallengeBoxes::ShowRoomAvatar(ChallengeRoom* room, const QString& line) {
    const Fields f = Divide(line, kBlank);
    if (!room->isVisible()) room->show();
    const int seat = number(f[1]);
    if (seat < 1 || seat > room->seatCount()) {
        qWarning("avatar for a seat the room lacks: %s", qPrintable(line));
        return;
    }
    room->ShowSeatAvatar(seat, f[2], f[3], f[4], f[5]);
    PlaySound(kJoinSound);
}

// ---- Room records ----------------------------------------------------------------------------

void clsChallengeBoxes::OpenTeamRoom(const QString& line) {
    const Fields f = Divide(line, kBlank);
    unload<frmchallengewaiting>();
    frmchallengebox* room = form<frmchallengebox>();
    if (!room->isVisible()) room->show();
    room->Tablenumber(number(f[1]));
    for (int seat = 1; seat <= 4; ++seat) room->seatName(seat)->setText(f[seat + 1]);
    if (f[6] == QLatin1String("OMNICV_RANDOM"))
        room->Rules(QStringLiteral("Random"));
    else if (f[6] == QLatin1String("OMNICV_PLAYER"))
        room->Rules(QStringLiteral("Player"));
    else
        room->Rules(f[6]);
    room->Blocks(number(f[7]));
    room->update();
}

QString clsChallengeBoxes::RecordKind(const QString& record) {
    // Only the record's first part names a kind: the card game's decks come after an "@@", and
    // neither a deck nor a player may pass for a game.
    const QString head = decoded(record).section(kJoin, 0, 0);
    for (const auto& [word, key] : kKinds)
        if (head.contains(QLatin1String(word), Qt::CaseSensitive)) return QString::fromLatin1(key);
    return QStringLiteral("cv");
}

void clsChallengeBoxes::OpenSingleRoom(const QString& line) {
    const Fields f = Divide(line, kBlank);
    const QString kind = RecordKind(f[5]);
    const QString record = decoded(f[5]);
    const QString gold = QStringLiteral("Gold Wager: ") + f[4] + QStringLiteral("GP");
    resumeNext([] { unload<frmchallengewaiting>(); });
    frmchallengebox_single* room = form<frmchallengebox_single>();
    QListWidget* rules = room->lstrules;
    const QStringList words = record.split(kBlank);
    SkipErrors run;
    run << [&] {
        if (!room->isVisible()) room->show();
    } << [&] { rules->clear(); } << [&] { room->GameKey(kind); } << [&] { room->Tablenumber(number(f[1])); }
        << [&] { room->Player1->setText(f[2]); } << [&] { room->Player2->setText(f[3]); };

    if (kind == QLatin1String("ob")) {
        run << [&] { rules->addItem(QStringLiteral("Time Limit: ") + wordAt(words, 1)); }
            << [&] { rules->addItem(QStringLiteral("Surgestrike: ") + wordAt(words, 2)); }
            << [&] { rules->addItem(QStringLiteral("Max Turns: ") + withoutTrailingJoin(wordAt(words, 3))); }
            << [&] { rules->addItem(gold); };
    } else if (kind == QLatin1String("cvm") || kind == QLatin1String("cardwars")) {
        run << [&] { rules->addItem(kind == QLatin1String("cvm") ? QStringLiteral("Corvada Memory") : QStringLiteral("Card Wars")); }
            << [&] { rules->addItem(gold); };
    } else if (kind == QLatin1String("chinchin")) {
        run << [&] { rules->addItem(QStringLiteral("Chinchirorin")); }
            << [&] { rules->addItem(QStringLiteral("P1 Wager: ") + wordAt(words, 1)); }
            << [&] { rules->addItem(QStringLiteral("P2 Wager: ") + withoutTrailingJoin(wordAt(words, 2))); }
            << [&] { room->setWindowTitle(QStringLiteral("chinchin")); } << [&] { rules->addItem(gold); };
    } else if (kind == QLatin1String("ocv")) {
        const QStringList pieces = record.split(kJoin);
        QString deckType = pieces.value(0), blocks = pieces.value(1);
        if (blocks.isEmpty()) {
            const QStringList parts = deckType.split(kBlank);
            deckType = parts.value(0);
            blocks = parts.value(1);
        }
        run << [&] {
            if (deckType == QLatin1String("OMNICV_RANDOM")) {
                rules->addItem(QStringLiteral("Deck Type: Random"));
            } else if (deckType == QLatin1String("OMNICV_PLAYER")) {
                rules->addItem(QStringLiteral("Deck Type: Player Deck"));
                rules->addItem(QStringLiteral("15 Cards Enforced"));
            }
        } << [&] { rules->addItem(QStringLiteral("Blocks: ") + withoutTrailingJoin(blocks)); }
            << [&] { rules->addItem(gold); };
    } else {
        std::shared_ptr<clsCVRules> table = CardRules(f[5]);
        run << [&] { table->WriteRuleList(rules); } << [&] { rules->addItem(QString()); } << [&] { rules->addItem(gold); }
            << [&] { room->TableRules(table); };
    }
    resumeNext([&] { room->update(); });
}

std::shared_ptr<clsCVRules> clsChallengeBoxes::CardRules(const QString& record) {
    const QString text = decoded(record);
    const QStringList pieces = text.split(kJoin);
    // The rule words stand before the first "@@"; the last of them never runs into a deck name.
    const QStringList words = pieces.value(0).split(kBlank);
    const bool named = pieces.size() >= 3 && pieces.value(1).trimmed() == kCardGameName;
    const QString decks = pieces.value(named ? 2 : 1).trimmed();

    auto rules = std::make_shared<clsCVRules>();
    clsCVRules& r = *rules;
    const auto on = [&words](int k) { return wordAt(words, k) == QLatin1String("1"); };
    try {
        // The reading order decides which rules a short record still sets.
        r.OpenRule(on(0));
        r.Random(on(1));
        r.Combo(on(17));
        r.Cross(on(22));
        r.Elemental(on(19));
        r.Immune(on(27));
        if (on(5)) {
            const int16_t value = number(wordAt(words, 6));
            r.MaxLevel(true);
            r.MaxLevelValue(value);
        }
        if (on(11)) {
            const int16_t value = number(wordAt(words, 12));
            r.MinLevel(true);
            r.MinLevelValue(value);
        }
        r.Minus(on(24));
        r.Mirror(on(18));
        r.Neutral(on(20));
        r.CCRule(on(7));
        r.Order(on(21));
        r.Plus(on(9));
        r.Reverse(on(23));
        r.Same(on(8));
        if (on(25)) {
            const int16_t value = number(wordAt(words, 26));
            r.SetWall(true);
            r.SetWallValue(value);
        }
        if (on(31)) {
            const QString& who = wordAt(words, 32);
            if (who == QLatin1String("1") || who == QLatin1String("2")) {
                r.Starter(true);
                r.Startee(int16_t(who.toShort()));
            }
        }
        r.Skip(on(34));
        r.SuddenDeath(on(33));
        r.RankFreeze(on(10));
        // The wager rule is switched off for good: the word is read, never taken.
        (void)on(13);
        r.Wall(on(15));
        r.Multiply(on(36));
        r.TradeNone(on(2));
        r.TradeAll(on(3));
        r.TradeDiff(on(4));
        r.TradeDirect(on(16));
        r.Capture(on(35));
        r.TradeRandomOne(on(37));
        r.FullDeck(on(38));
        r.NoDupes(on(39));
        r.TradeTwo(on(28));
        r.TradeThree(on(29));
        r.TradeFour(on(30));
        // No trade word set stands for the one-card trade.
        bool none = true;
        for (int k : {2, 3, 4, 16, 35, 28, 29, 30, 37, 38}) none = none && wordAt(words, k) == QLatin1String("0");
        r.TradeOne(none);
        r.decks(decks);
    } catch (const RuntimeError& e) {
        qWarning("card-game record read up to a fault (%s): %s", qPrintable(e.description()), qPrintable(record.left(200)));
    }
    return rules;
}
