#include "lobby/frmchildchat.h"

#include "app/ErrorHandler.h"
#include "app/storedvars.h"
#include "lobby/frmchildchat_parts.h"
#include "lobby/frmguildchat.h"
#include "platform/Forms.h"
#include "platform/VbCompat.h"

using namespace lobbyparts;

// ---- Timers --------------------------------------------------------------------------------

void frmchildchat::tmrPing_Timer() {
    shielded("frmchildchat::tmrPing_Timer", [&] {
        const double received = vbVal(ClientConfig().PacketCount());
        if (iPingTimer == 3 || received == 0) {
            send(QStringLiteral("PING"));
            iPingTimer = 0;
        } else {
            ++iPingTimer;
        }
        ClientConfig().PacketCount(QStringLiteral("0"));
        if (!GuildName.isEmpty()) {
            frmguildchat* guild = ifLoaded<frmguildchat>();
            const bool visible = guild && guild->isVisible();
            guild = form<frmguildchat>();
            guild->TitleBar(GuildName);
            if (!visible) guild->show();
        } else {
            unload<frmguildchat>();
        }
    });
}

void frmchildchat::tmridle_Timer() {
    shielded("frmchildchat::tmridle_Timer", [&] {
        ++intIdle;
        if (intIdle != 10 || mnuawayon->isChecked()) return;
        goAway(QStringLiteral("Idle"), true);
    });
}

void frmchildchat::tmradmin_Timer() {
    if (ClientConfig().AdminStatus()) ++AdminMinutes;
}

void frmchildchat::floodtimers_Timer() { FloodCount = 0; }

void frmchildchat::tmrAds_Timer() { imgChatAds->step(); }
