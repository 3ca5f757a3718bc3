#include "net/TeamMatch.h"

#include "app/Deployment.h"
#include "app/ErrorHandler.h"
#include "app/modLinks.h"
#include "app/modSettings.h"
#include "app/modText.h"
#include "app/storedvars.h"
#include "lobby/fancychat.h"
#include "lobby/frmchildchat.h"
#include "net/LineFields.h"
#include "platform/Forms.h"
#include "platform/Ini.h"
#include "platform/VbCompat.h"

namespace {
constexpr long kOlive = 49344;

// The team family's own game codes.
QString teamGameName(const QString& code) {
    if (code == QLatin1String("1")) return QStringLiteral("Team Omni Corvada");
    if (code == QLatin1String("2")) return QStringLiteral("Corvada");
    if (code == QLatin1String("3")) return QStringLiteral("Orbolt");
    if (code == QLatin1String("5")) return QStringLiteral("Corvada Memory");
    if (code == QLatin1String("6")) return QStringLiteral("Chinchirorin");
    return {};
}
}  // namespace

void ReplayNotice(const QString& gameId, const QString& page) {
    const QString settings = GetIniFile();
    if (ReadIni(QStringLiteral("Options"), QStringLiteral("Replays"), settings).isEmpty())
        WriteIni(QStringLiteral("Options"), QStringLiteral("Replays"), QStringLiteral("1"), settings);
    if (ReadIni(QStringLiteral("Options"), QStringLiteral("Replays"), settings) != QLatin1String("1")) return;
    if (!lines::plainName(gameId)) {
        qWarning("replay link left out: game id \"%s\"", qPrintable(gameId));
        return;
    }
    PrintChatLine(QStringLiteral("Replay"), QString(),
                  QStringLiteral("Replay GameID: ") + gameId + QStringLiteral(" at ") + Deployment::website() + QStringLiteral("/Replays/") +
                      page + u'-' + gameId + QStringLiteral(".aspx"),
                  ChatColour::Yellow);
}

std::unique_ptr<ChatRuns> ResultLineRuns() {
    frmchildchat* lobby = form<frmchildchat>();
    TrimLobbyLogIfLong();
    TrimLobbyLogIfLong();
    lobby->chatout->end(false);
    auto out = std::make_unique<ChatRuns>(lobby->chatin);
    out->font(ReadIni(QStringLiteral("Chat"), QStringLiteral("Font"), GetIniFile()),
              vbVal(ReadIni(QStringLiteral("Chat"), QStringLiteral("FontSize"), GetIniFile())));
    return out;
}

void TeamMatchLine(const QString& line) {
    if (ConnectionState != 1) return;
    shielded("clsTeamOCV::TeamMatch", [&] {
        const Fields f = Divide(line, QStringLiteral(" "));
        {
            const std::unique_ptr<ChatRuns> runs = ResultLineRuns();
            ChatRuns& out = *runs;
            out.run(QStringLiteral("<"), kOlive);
            out.run(teamGameName(f[11]), ChatColour::White);
            out.run(QStringLiteral("> "), kOlive);
            out.run(f[1] + u'(' + f[2] + QStringLiteral(") / ") + f[3] + u'(' + f[4] + QStringLiteral(") "), ChatColour::White);
            // The scores compare as text: "05" against "5" is no tie.
            out.run(f[9] == f[10] ? QStringLiteral("ties ") : QStringLiteral("defeats "), kOlive);
            out.run(f[5] + u'(' + f[6] + QStringLiteral(") / ") + f[7] + u'(' + f[8] + QStringLiteral(") "), ChatColour::White);
            out.run(QStringLiteral("Score"), ChatColour::White, false, true);
            out.run(QStringLiteral(":"), ChatColour::White);
            out.run(u' ' + f[9] + u'-' + f[10] + QStringLiteral(" \n"), kOlive);
        }
        ReplayNotice(f[12], QStringLiteral("Team-Omni-Corvada-Game"));
    });
}
