#include "app/storedvars.h"

namespace {
std::unique_ptr<clsClientConfig>& configHolder() {
    static std::unique_ptr<clsClientConfig> c;
    return c;
}
std::unique_ptr<clsCrypt>& cryptHolder() {
    static std::unique_ptr<clsCrypt> c;
    return c;
}
}  // namespace

clsClientConfig& ClientConfig() {
    auto& c = configHolder();
    if (!c) c = std::make_unique<clsClientConfig>();
    return *c;
}

clsCrypt& Crypt() {
    auto& c = cryptHolder();
    if (!c) c = std::make_unique<clsCrypt>();
    return *c;
}

clsTables* TableSlot(int number) {
    if (number < 1 || number > kTableCount) return nullptr;
    return Tables[number].get();
}

void InitTables() {
    for (int i = 1; i <= kTableCount; ++i) {
        Tables[i] = std::make_unique<clsTables>();
        Tables[i]->tableid = int16_t(i);
    }
}

void ResetCoinSlots() {
    BorderCoins = {};
    CoreCoins = {};
}

void ResetStoredVars() {
    Nickname.clear();
    ConnectionState = 0;
    FloodCount = 0;
    FloodWarned = false;
    AdminMinutes = 0;
    InGame = false;
    ChatBotOn = false;
    ChatBotKind.clear();
    TriviaOpen = false;
    GuildName.clear();
    LastPMSender.clear();
    TourneyRunning = TourneyAnnounced = TourneyAcceptPM = false;
    Language.clear();
    SkinName.clear();
    UnzipMessage.clear();
    for (auto& t : Tables) t.reset();
    ResetCoinSlots();
    MsgWindows = {QPointer<frmMsgWind>()};
    MsgWindowUsed = {0};
    MsgWindowCount = 0;
    configHolder().reset();
    cryptHolder().reset();
}
