// The dispatcher's handlers of the short lobby lines: figures, notices, quitting, and the lines
// that close or address the game windows.
#include "net/clsWinsock.h"

#include "app/ErrorHandler.h"
#include "app/modLinks.h"
#include "app/modMain.h"
#include "app/modSkin.h"
#include "app/modSound.h"
#include "app/modText.h"
#include "app/storedvars.h"
#include "game/frmplaying.h"
#include "game/frmselectcards.h"
#include "lobby/fancychat.h"
#include "lobby/frmchildchat.h"
#include "net/LineFields.h"
#include "net/frmCon.h"
#include "platform/Forms.h"
#include "platform/Services.h"
#include "platform/VbCompat.h"
#include "tables/frmchallengebox.h"
#include "tables/frmchallengebox_single.h"
#include "tables/frmchallengewaiting.h"
#include "variants/frmcardwars.h"
#include "variants/frmchinchin.h"
#include "variants/frmmemory.h"
#include "variants/frmomni.h"
#include "variants/frmsphere.h"
#include "variants/frmteamomni.h"

#include <cmath>

using namespace lines;

namespace {
constexpr long kKillColour = 0xFF8080;

// The lobby back in front after a game ended without its own closing window.
void lobbyToFront() {
    frmchildchat* lobby = form<frmchildchat>();
    lobby->show();
    lobby->raise();
    lobby->activateWindow();
}
}  // namespace

// "GPADD amount": gold won or spent elsewhere; an amount that is no number adds nothing.
void clsWinsock::GPAdd(QString& line) {
    shielded("clsWinsock::GPAdd", [&] {
        frmchildchat* lobby = form<frmchildchat>();
        const double gold = vbVal(lobby->lblgp->text()) + vbVal(firstFields<2>(line)[1]);
        if (!std::isfinite(gold)) return reject("GPADD", line);
        lobby->lblgp->setText(vbStr(gold));
    });
}

void clsWinsock::PlayBuySound() { PlaySound(1); }

void clsWinsock::QuitOkay() {
    if (frmCon* con = ifLoaded<frmCon>()) con->Winsock->Close();
    ShutDown();
}

// Quitting was refused (a game is running): the client is fully back, so chat shows again and a
// later loss of the connection reconnects.
void clsWinsock::QuitNotOkay() {
    if (frmchildchat* lobby = ifLoaded<frmchildchat>()) lobby->QuitEngaged(false);
    if (ConnectionState == 2) ConnectionState = 1;
    if (frmCon* con = ifLoaded<frmCon>()) con->Winsock->Tag.clear();
    PrintChatLine(QStringLiteral("Error"), QString(),
                  QStringLiteral("You cannot quit while you are still playing a game.  Forcefully ending the application may "
                                 "cause your account to be flagged."),
                  0x00FFFF);
}

// "LEVELUP level experience next": the figures as they come and the greeting.
void clsWinsock::LevelUp(QString& line) {
    shielded("clsWinsock::LevelUp", [&] {
        const auto f = firstFields<4>(line);
        frmchildchat* lobby = form<frmchildchat>();
        lobby->lblLevel->setText(f[1]);
        lobby->lblExp->setText(f[2]);
        lobby->lblNextLvl->setText(f[3]);
        RenderIncomingChat(QString(), f[1], QString(), ChatColour::Yellow, false);
        PlaySound(31);
    });
}

// "NOTICE text": the server's announcement, shown only to a logged-in player.
void clsWinsock::Notice(QString& line) {
    if (ConnectionState != 1) return;
    shielded("clsWinsock::Notice", [&] {
        const QString text = blanks(firstFields<2>(line)[1]);
        frmchildchat* lobby = form<frmchildchat>();
        TrimLobbyLogIfLong();
        {
            ChatRuns out(lobby->chatin);
            out.font(GetSkinValue(QStringLiteral("main"), QStringLiteral("fontface")),
                     vbVal(GetSkinValue(QStringLiteral("main"), QStringLiteral("fontsize"))));
            out.run(QStringLiteral("You hear a mysterious voice from above, \"") + text + QStringLiteral(" \"\n"), ChatColour::Yellow);
        }
        PlaySound(15);
    });
}

// The match was ended by the server: every game and room window closes.
void clsWinsock::killmatch() {
    shielded("clsWinsock::killmatch", [&] {
        PrintChatLine(QStringLiteral("Kill"), QString(),
                      QStringLiteral("Your match was killed by an administrator or the server. Your opponent could have gone offline, "
                                     "did not have enough cards, or the game was terminated for other reasons. If this was in "
                                     "error, please contact a GM about it."),
                      kKillColour);
        lobbyToFront();
        InGame = false;
        unload<frmchallengebox_single>();
        unload<frmchallengebox>();
        unload<frmplaying>();
        unload<frmchallengewaiting>();
        unload<frmselectcards>();
        unload<frmplaying>();
        unload<frmomni>();
        unload<frmcardwars>();
        unload<frmsphere>();
        unload<frmteamomni>();
        unload<frmmemory>();
        unload<frmchinchin>();
    });
}

void clsWinsock::DropGame() {
    shielded("clsWinsock::DropGame", [&] {
        unload<frmplaying>();
        unload<frmselectcards>();
        lobbyToFront();
    });
}

// "AUTODECLINE code": the server turned a table request down.
void clsWinsock::AutoDecline(QString& line) {
    shielded("clsWinsock::AutoDecline", [&] {
        const QString code = firstFields<2>(line)[1];
        QString text;
        long colour = 0x0000FF;
        if (code == QLatin1String("15")) {
            text = QStringLiteral("Because you are not a level 5 player, you cannot use the trade three, trade four, and trade all rules.");
            colour = 0x808080;
        } else if (code == QLatin1String("16")) {
            text = QStringLiteral("The user you tried to trade with or yourself cannot trade because you had a newdeck today.");
        } else if (code == QLatin1String("17")) {
            text = QStringLiteral("The user you permitted is not of proper experience to play with the rules you have selected or "
                                  "because he had a newdeck");
        } else {
            return;
        }
        PrintChatLine(QStringLiteral("Declined"), QString(), text, colour);
        unload<frmchallengewaiting>();
        InGame = false;
    });
}

// "ADDBLOCK label name text colour": a notice the server words itself. A colour that is no
// number is 0; one outside the 24 bits of a colour cannot be drawn.
void clsWinsock::AddBlock(QString& line) {
    shielded("clsWinsock::AddBlock", [&] {
        const auto f = firstFields<5>(line);
        const double colour = vbVal(f[4]);
        if (!(colour >= 0 && colour <= 0xFFFFFF)) return reject("ADDBLOCK", line);
        PrintChatLine(f[1], f[2], blanks(f[3]), long(colour));
    });
}

void clsWinsock::SoundWav(QString& line) {
    if (firstFields<2>(line)[1] == QLatin1String("1")) PlaySound(1);
}

// "ENDMATCH administrator first second".
void clsWinsock::EndMatch(QString& line) {
    if (ConnectionState != 1) return;
    shielded("clsWinsock::EndMatch", [&] {
        const auto f = firstFields<4>(line);
        PrintChatLine(QStringLiteral("Kill"), f[1], QStringLiteral("ended match between ") + f[2] + QStringLiteral(" and ") + f[3],
                      kKillColour);
    });
}

// "EXIT reason": the server sends the player away; the client says why and ends.
void clsWinsock::ExitMessage(QString& line) {
    resumeNext([&] {
        if (frmCon* con = ifLoaded<frmCon>()) con->Winsock->Tag = QStringLiteral("out");
    });
    QString reason;
    resumeNext([&] { reason = blanks(line.mid(5)); });
    resumeNext([&] {
        MsgBox(QStringLiteral("You were disconnected from the server.\r\n\r\nReason : ") + reason, vb::Information,
               QStringLiteral("Update"));
    });
    resumeNext([&] { ShutDown(); });
}

// "GAMECHAT sender text": the opponent's chat in the running standard game.
void clsWinsock::GameChat(QString& line) {
    shielded("clsWinsock::GameChat", [&] {
        frmplaying* game = ifLoaded<frmplaying>();
        if (!game || !game->isVisible()) return;
        const QString sender = firstFields<2>(line)[1];
        const QString text = line.mid(QStringLiteral("GAMECHAT ").size() + sender.size() + 1);
        // The game's chat keeps its newest part, as the lobby log does.
        TrimChatLog(game->chatin);
        {
            ChatRuns out(game->chatin);
            out.font(setting(QStringLiteral("Chat"), QStringLiteral("Font")), vbVal(setting(QStringLiteral("Chat"), QStringLiteral("FontSize"))));
            out.run(sender + QStringLiteral(" says, \" ") + text + QStringLiteral("\"  \n"), ChatColour::White);
        }
        game->chatout->end(false);
    });
}

void clsWinsock::GameOpponent(QString& line) {
    shielded("clsWinsock::GameOpponent", [&] {
        frmCon* con = ifLoaded<frmCon>();
        if (!con) return;
        con->versus->setTextFormat(Qt::PlainText);
        con->versus->setText(firstFields<2>(line)[1]);
    });
}

void clsWinsock::GameStalemate() {
    shielded("clsWinsock::GameStalemate", [&] {
        PrintChatLine(QStringLiteral("Stalemate"), QString(),
                      QStringLiteral("Your opponent has requested a stalemate.  Click the stalemate button to terminate the game!"),
                      0x00FFFF);
        PlaySound(47);
    });
}

// "CHATBLOCK label text", both with "%20" for blanks.
void clsWinsock::ChatBlock(QString& line) {
    shielded("clsWinsock::ChatBlock", [&] {
        const auto f = firstFields<3>(line);
        PrintChatLine(blanks(f[1]), QString(), blanks(f[2]), 0x00FFFF);
    });
}
