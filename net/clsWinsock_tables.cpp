// The dispatcher's handlers of the open tables (the lobby's table list and the 50 table slots)
// and of match results.
#include "net/clsWinsock.h"

#include "admin/frmTournyHelper.h"
#include "app/Deployment.h"
#include "app/ErrorHandler.h"
#include "app/modLinks.h"
#include "app/modSettings.h"
#include "app/modText.h"
#include "app/storedvars.h"
#include "game/frmTableInfo.h"
#include "lobby/fancychat.h"
#include "lobby/frmchildchat.h"
#include "net/LineFields.h"
#include "net/TeamMatch.h"
#include "platform/Forms.h"
#include "platform/Ini.h"
#include "platform/Services.h"
#include "platform/VbCompat.h"
#include "platform/WindowPlacement.h"
#include "tables/frmchallengebox.h"
#include "tables/frmchallengebox_single.h"
#include "tables/frmchallengewaiting.h"

#include <QListWidget>

#include <cmath>

using namespace lines;

namespace {
const QString kBlank = QStringLiteral(" ");

clsTables* slotOf(int16_t n) {
    if (!TableSlot(n)) {
        Tables[size_t(n)] = std::make_unique<clsTables>();
        Tables[size_t(n)]->tableid = n;
    }
    return TableSlot(n);
}

bool hasSlot(int16_t n) { return n >= 1 && n <= kTableCount; }

// A row of the table list: five padded columns. A table without a slot has no comment to show,
// so its new row ends after the second seat.
QString tableRow(int16_t n, const QString& left, const QString& right, const QString* comment) {
    QString row;
    PadRight(row, QStringLiteral("Table ") + QString::number(n), 9);
    PadRight(row, left, 13);
    PadRight(row, QStringLiteral("vs."), 4);
    PadRight(row, right, 13);
    if (comment) PadRight(row, *comment, 5);
    return row;
}

// Writes the slot of table n and its row of the lobby's list: the row is replaced in place,
// removed, or appended (an empty second seat shown as "{JOIN}" in a new row, and kept so while
// it stays empty). Both seats empty means the table is gone. A number outside the 50 slots still
// keeps its row.
void DrawTables(int16_t tableNo, QString& left, QString& right, bool& remove, const QString& ruleText, const QString& comment,
                const QString& decks, const QString& wagerText, double wager) {
    if (left.isEmpty() && right.isEmpty()) remove = true;
    clsTables* slot = hasSlot(tableNo) ? slotOf(tableNo) : nullptr;
    if (slot) {
        slot->tableleft = left;
        slot->tableright = right;
        slot->Rules = ruleText + u' ' + wagerText;
        slot->comment = comment;
        slot->decks = decks.trimmed();
        slot->GoldWager = wager;
    }

    QListWidget* list = form<frmchildchat>()->lsttables;
    const QString key = QStringLiteral("Table ") + QString::number(tableNo) + u' ';
    for (int i = 0; i < list->count(); ++i) {
        QListWidgetItem* row = list->item(i);
        if (!row->text().startsWith(key)) continue;
        if (remove) {
            delete row;
            return;
        }
        // A seat that stays free keeps its marker (a refresh, the rules asked for, a reconnect);
        // a seat a player has just left shows empty.
        if (right.isEmpty() && row->text().contains(QLatin1String(" vs. {JOIN}"))) right = QStringLiteral("{JOIN}");
        row->setText(tableRow(tableNo, left, right, &comment));
        return;
    }
    if (remove) return;
    if (right.isEmpty()) right = QStringLiteral("{JOIN}");
    list->addItem(tableRow(tableNo, left, right, slot ? &slot->comment : nullptr));
}

// "ADDTABLE n left right record" (and "TABLEINFO"): the record's "@@" parts are the rule text,
// the comment, the decks and the gold wager; missing parts are empty, a wager that is no number
// is 0. False, with nothing written, for a number beyond 16 bits or a wager beyond every number.
bool addtable(const QString& line, int16_t& tableNo) {
    const auto f = firstFields<4>(line);
    const qsizetype recordAt = f[0].size() + f[1].size() + f[2].size() + f[3].size() + 3;
    const QString record = line.mid(recordAt).trimmed();
    const auto parts = firstFields<4>(record, u"@@");
    const double wager = vbVal(parts[3]);
    if (!integerOf(f[1], tableNo) || !std::isfinite(wager)) {
        reject("ADDTABLE", line);
        return false;
    }
    QString left = f[2], right = f[3];
    bool remove = false;
    DrawTables(tableNo, left, right, remove, parts[0], blanks(parts[1]), parts[2], parts[3], wager);
    return true;
}
}  // namespace

void clsWinsock::AddTable(QString& line) {
    shielded("clsWinsock::AddTable", [&] {
        int16_t n = 0;
        addtable(line, n);
    });
}

void clsWinsock::RemoveTable(QString& line) {
    shielded("clsWinsock::RemoveTable", [&] {
        int16_t n = 0;
        if (!integerOf(firstFields<2>(line)[1], n)) return reject("REMOVETABLE", line);
        QString left, right;
        bool remove = true;
        DrawTables(n, left, right, remove, QString(), QString(), QStringLiteral("0"), QString(), 0);
    });
}

// "TABLE n left right": the seats of a slot only; a missing seat is empty.
void clsWinsock::Table(QString& line) {
    shielded("clsWinsock::Table", [&] {
        const auto f = firstFields<4>(line);
        int16_t n = 0;
        if (!integerOf(f[1], n) || !hasSlot(n)) return reject("TABLE", line);
        clsTables* slot = slotOf(n);
        slot->tableid = n;
        slot->tableleft = f[2];
        slot->tableright = f[3];
    });
}

// "TABLEINFO": as "ADDTABLE", then the table's rules in their own window (an empty page for a
// number without a slot).
void clsWinsock::TableInfo(QString& line) {
    shielded("clsWinsock::TableInfo", [&] {
        int16_t n = 0;
        if (!addtable(line, n)) return;
        const bool opening = !ifLoaded<frmTableInfo>();
        frmTableInfo* info = form<frmTableInfo>();
        // A new page opens over the lobby it was asked from; one the player moved stays put.
        if (opening) PlaceOver(info, ifLoaded<frmchildchat>());
        info->show();
        info->writerules(n);
    });
}

void clsWinsock::NoTable() {
    shielded("clsWinsock::NoTable", [&] {
        MsgBox(QStringLiteral("There are no empty tables on the server.  Try again later."), vb::Information,
               QStringLiteral("Out of Tables"));
        unload<frmchallengewaiting>();
    });
}

// "TABLEJACKPOTCHANGE result room": room 1 is the two-seat room, 2 the four-seat room.
void clsWinsock::TableJackpotChange(QString& line) {
    shielded("clsWinsock::TableJackpotChange", [&] {
        const auto f = firstFields<3>(line);
        QString text;
        long colour = 0;
        if (f[1] == QLatin1String("0")) {
            text = QStringLiteral("An error occurred when processing your change with your jackpot participation.");
            colour = ChatColour::Red;
        } else if (f[1] == QLatin1String("1")) {
            text = QStringLiteral("Your jackpot participation was successfully changed.");
            colour = ChatColour::Green;
        } else if (f[1] == QLatin1String("2")) {
            text = QStringLiteral("You cannot make changes to your jackpot participation when the game is active.");
            colour = ChatColour::Yellow;
        } else {
            return;
        }
        if (f[2] == QLatin1String("1"))
            form<frmchallengebox_single>()->ChallengeBlockChat(text, colour);
        else if (f[2] == QLatin1String("2"))
            form<frmchallengebox>()->ChallengeBlockChat(text, colour);
    });
}

// ---- Match results -----------------------------------------------------------------------------

namespace {
// Name in the result line and replay page of a game type.
std::pair<QString, QString> gameNames(const QString& type) {
    if (type == QLatin1String("1")) return {QStringLiteral("Corvada"), QStringLiteral("Corvada-Game")};
    if (type == QLatin1String("2")) return {QStringLiteral("Omni Corvada"), QStringLiteral("Omni-Corvada-Game")};
    if (type == QLatin1String("3")) return {QStringLiteral("Orbolt"), QStringLiteral("Orbolt-Game")};
    if (type == QLatin1String("4")) return {QStringLiteral("Corvada Memory"), QStringLiteral("Corvada-Memory-Game")};
    if (type == QLatin1String("6")) return {QStringLiteral("Chinchirorin"), QStringLiteral("Chinchirorin-Game")};
    return {};
}

void writeResultLine(const Fields& f, const QString& gameName) {
    constexpr long kDim = 0x00C0C0;
    const std::unique_ptr<ChatRuns> runs = BeginResultLine();
    ChatRuns& out = *runs;
    out.run(QStringLiteral("<"), kDim);
    out.run(gameName, ChatColour::White, true);
    out.run(QStringLiteral("> "), kDim);
    out.run(f[1] + u'(' + f[2] + QStringLiteral(") "), ChatColour::White, true);
    out.run(f[6] == f[5] ? QStringLiteral("ties ") : QStringLiteral("defeats "), kDim);
    out.run(f[3] + u'(' + f[4] + QStringLiteral(") "), ChatColour::White, true);
    if (f[7] != QLatin1String("6")) {
        out.run(QStringLiteral("Score"), ChatColour::White, true, true);
        out.run(QStringLiteral(":"), ChatColour::White, true);
        out.run(u' ' + f[5] + u'-' + f[6] + QStringLiteral(" \n"), kDim);
    } else {
        out.run(QStringLiteral("\n"), kDim);
    }
}
}  // namespace

// "MATCH winner note loser note score1 score2 type id": a game ended somewhere on the server.
// Missing fields read as empty texts and an unknown type as no game name; only the replay link
// needs a safe id, and only the tournament needs the numbers to fit 16 bits.
void clsWinsock::Match(QString& line) {
    shielded("clsWinsock::Match", [&] {
        const Fields f = Divide(line, kBlank);
        const std::pair<QString, QString> names = gameNames(f[7]);
        if (ConnectionState == 1) {
            writeResultLine(f, names.first);
            ReplayNotice(f[8], names.second);
        }
        if (!TourneyRunning) return;
        int16_t score1 = 0, score2 = 0, type = 0;
        try {
            score1 = vbCInt(vbVal(f[5]));
            score2 = vbCInt(vbVal(f[6]));
            type = vbCInt(vbVal(f[7]));
        } catch (const RuntimeError&) {
            return reject("MATCH", line);
        }
        form<frmTournyHelper>()->HandleMatch(f[1], f[3], score1, score2, type);
    });
}
