#pragma once
// Program-wide state of the client.
#include "app/clsClientConfig.h"
#include "app/clsCrypt.h"

#include <QPointer>
#include <QString>
#include <QVector>
#include <array>
#include <cstdint>
#include <memory>

class frmMsgWind;

// One of the lobby's table slots. ready1/ready2 are kept for the record's shape only.
struct clsTables {
    int16_t tableid = 0;
    QString tableleft;
    QString tableright;
    bool ready1 = false;
    bool ready2 = false;
    QString Rules;
    QString comment;
    QString decks;
    double GoldWager = 0;
};

// The program's own version: major, minor and revision.
constexpr int AppMajor = 3;
constexpr int AppMinor = 4;
constexpr int AppRevision = 5;

inline QString Nickname;
// 0 before login, 1 logged in (a loss then reconnects), 2 quitting on the user's request.
inline int16_t ConnectionState = 0;
inline int16_t FloodCount = 0;
inline bool FloodWarned = false;
inline int32_t AdminMinutes = 0;
inline bool InGame = false;
inline bool ChatBotOn = false;
inline QString ChatBotKind;
inline bool TriviaOpen = false;
inline QString GuildName;
// The nickname of the last private message received; the chat input's reply key answers it.
inline QString LastPMSender;
inline bool TourneyRunning = false;
inline bool TourneyAnnounced = false;
inline bool TourneyAcceptPM = false;
inline QString Language;
inline QString SkinName;
inline QString UnzipMessage;

constexpr int kTableCount = 50;
// Slots 1..50; index 0 is unused so that slot numbers read as in the protocol.
inline std::array<std::unique_ptr<clsTables>, kTableCount + 1> Tables;
// A table slot by its number, or nullptr when the number is outside 1..50 or not yet made.
clsTables* TableSlot(int number);

// One coin of the coin board: its value as last dealt by the server (0 = broken) and a state
// that is reset whenever the slot is cleared or given a value.
struct CoinSlot {
    uint8_t CoinValue = 0;
    int16_t CoinState = 0;
};
// The coin board's slots 1..16 (1..12 used) and 1..4; index 0 is unused so that slot numbers
// read as in the protocol. The login window's load resets them.
inline std::array<CoinSlot, 17> BorderCoins;
inline std::array<CoinSlot, 5> CoreCoins;
void ResetCoinSlots();

// Private-message windows and their use flags; index 0 exists from start-up.
inline QVector<QPointer<frmMsgWind>> MsgWindows;
inline QVector<int16_t> MsgWindowUsed;
inline int16_t MsgWindowCount = 0;

// The login's settings object and the one Base64 coder, created on first use.
clsClientConfig& ClientConfig();
clsCrypt& Crypt();

void InitTables();
// Back to the state of a fresh start (tests begin every case from it).
void ResetStoredVars();
