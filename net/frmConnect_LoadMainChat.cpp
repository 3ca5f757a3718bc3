// The lobby bring-up at the end of a login or a reconnect: the player's record from "SHOWMAIN"
// becomes the running lobby. Every step stands on its own: one that fails is passed over.
#include "app/Deployment.h"
#include "app/ErrorHandler.h"
#include "app/modSettings.h"
#include "app/modText.h"
#include "app/storedvars.h"
#include "lobby/chatloggers.h"
#include "lobby/fancychat.h"
#include "lobby/frmchildchat.h"
#include "lobby/frmguildchat.h"
#include "net/frmCon.h"
#include "net/frmConnect.h"
#include "net/frmstart.h"
#include "platform/Forms.h"
#include "platform/Ini.h"
#include "platform/Paths.h"
#include "platform/Services.h"
#include "platform/VbCompat.h"

#include <QFile>
#include <QUrl>

#include <algorithm>

namespace {
// Fields that name a picture file: letters, digits, "_" and "-" only.
bool plainCode(const QString& field) {
    if (field.isEmpty()) return false;
    for (QChar c : field)
        if (!(c.isLetterOrNumber() && c.unicode() < 128) && c != u'_' && c != u'-') return false;
    return true;
}

// A picture of the avatar, or none for the code "000", an empty code or a code that is no plain name.
void showAvatarPart(QLabel* box, const QString& file, const QString& code, const QString& prefix) {
    box->clear();
    if (code == QLatin1String("000") || !plainCode(code) || (!prefix.isNull() && !plainCode(prefix))) return;
    QPixmap picture;
    if (picture.load(clientPath(QStringLiteral("skins/default/avatars/") + file))) box->setPixmap(picture);
}

// Updater.bak becomes Updater.exe: copied under a temporary name first and renamed, so a failed
// copy never leaves the client without an updater; the backup goes only after that worked.
void swapUpdater() {
    const QString backup = clientPath(QStringLiteral("Updater.bak"));
    if (!QFile::exists(backup)) return;
    const QString updater = ClientFolder() + QStringLiteral("/Updater.exe");
    const QString fresh = ClientFolder() + QStringLiteral("/Updater.exe.new");
    QFile::remove(fresh);
    if (!QFile::copy(backup, fresh)) {
        QFile::remove(fresh);
        return;
    }
    const QString existing = clientPath(QStringLiteral("Updater.exe"));
    if (QFile::exists(existing) && !QFile::remove(existing)) {
        QFile::remove(fresh);
        return;
    }
    if (!QFile::rename(fresh, updater)) return;
    QFile::remove(backup);
}

QString webServiceHost() {
    const QString over = Deployment::webServiceOverride();
    const QString host = over.isEmpty() ? QString() : QUrl(over).host();
    return host.isEmpty() ? Deployment::publicServiceHost() : host;
}
}  // namespace

void frmConnect::LoadMainChat() {
    Fields record;
    // Field k of the record, counted from 1 (the keyword).
    const auto field = [&record](int k) { return record[size_t(k - 1)]; };
    frmchildchat* lobby = nullptr;
    resumeNext([&] {
        Divide(ClientConfig().MainChatPacket(), QStringLiteral(" "), record);
        GuildName = ReplaceCaseCopy(field(13), {QStringLiteral("%20"), QStringLiteral(" ")});
    });
    ConnectionState = 1;
    resumeNext([&] { ProgressBar(85); });
    resumeNext([&] {
        lobby = form<frmchildchat>();
        DoEvents();
    });
    if (!lobby) lobby = form<frmchildchat>();

    resumeNext([&] {
        lobby->lblgp->setText(field(2));
        lobby->lblExp->setText(field(4));
        lobby->lblLevel->setText(field(5));
        lobby->lblNextLvl->setText(field(6));
        lobby->lblCash->setText(u'$' + field(12));
        const double rush = std::clamp(vbVal(field(14)), 0.0, 100.0);
        lobby->imgBar->resize(int(rush / 100.0 * frmchildchat::kRushWidth), lobby->imgBar->height());
        lobby->lblap->setText(field(16));
        lobby->lblCVChest->setText(field(17));
        lobby->lblTHChest->setText(field(18));
        lobby->lblWarChest->setText(field(19));
        lobby->lblDaily->setText(field(20));
        lobby->lblWeekly->setText(field(21));
        lobby->lblPlayer->setText(ClientConfig().Username());
        lobby->lblnick->setText(ClientConfig().Username());
    });
    resumeNext([&] {
        if (!isSafePathComponent(Nickname)) return;
        EnsureFolder(QStringLiteral("stats"));
        EnsureFolder(QStringLiteral("stats/") + Nickname);
    });
    resumeNext([&] {
        if (ReadIni(QStringLiteral("Options"), QStringLiteral("Chatlog"), GetIniFile()) == QLatin1String("1"))
            LogChat(QStringLiteral(">> LOGIN"), QStringLiteral("mainchat"));
    });
    resumeNext([&] {
        DoEvents();
        lobby->show();
        lobby->chatout->setEnabled(true);
    });
    resumeNext([&] { ProgressBar(90); });
    resumeNext([&] {
        if (frmCon* con = ifLoaded<frmCon>()) con->SendToServer(QStringLiteral("TABLEQUERY 1"));
    });

    const frmCon* con = ifLoaded<frmCon>();
    if (!con || con->iAttempts == 0) {
        resumeNext([&] {
            const QString file = GetIniFile();
            ChatRuns out(lobby->chatin);
            out.font(ReadIni(QStringLiteral("Chat"), QStringLiteral("Font"), file),
                     vbVal(ReadIni(QStringLiteral("Chat"), QStringLiteral("FontSize"), file)));
            out.run(QStringLiteral("You are currently logged into Corvadex\n"), ChatColour::Yellow);
            out.run(QStringLiteral("There are ") + QString::number(lobby->PlayersOnline()) + QStringLiteral(" players on Corvadex"),
                    ChatColour::Yellow);
            out.run(QStringLiteral("\n\nMessage of the day: ") + ClientConfig().MOTD() + u'\n', ChatColour::Yellow);
        });
        resumeNext([&] {
            const QString failed = field(7);
            if (vbIsNumeric(failed) && vbVal(failed) != 0)
                PrintChatLine(QStringLiteral("Failed Logins"), QString(),
                              QStringLiteral("You have had ") + failed + QStringLiteral(" attempts since your last successful login."),
                              ChatColour::Red);
        });
    }
    resumeNext([&] {
        if (ClientConfig().XMLError())
            PrintChatLine(QStringLiteral("Warning"), QString(),
                          QStringLiteral("The application could not contact the service that handles traffic outside the server.  "
                                         "Be sure to add ") +
                              webServiceHost() +
                              QStringLiteral(" to your firewall or prevent connections to that address from being blocked.  Some "
                                             "parts of the game may not work correctly if not corrected."),
                          ChatColour::Red);
    });
    resumeNext([&] { swapUpdater(); });
    resumeNext([&] {
        const QString gender = field(8);
        lobby->AvatarGender(gender);
        showAvatarPart(lobby->picavatar, QStringLiteral("background_") + field(9) + QStringLiteral(".gif"), field(9), QString());
        showAvatarPart(lobby->imghead, gender + QStringLiteral("_head_") + field(11) + QStringLiteral(".gif"), field(11), gender);
        showAvatarPart(lobby->imgbody, gender + QStringLiteral("_body_") + field(10) + QStringLiteral(".gif"), field(10), gender);
    });
    resumeNext([&] {
        if (GuildName.isEmpty()) return;
        frmguildchat* guild = form<frmguildchat>();
        guild->setWindowTitle(u'[' + GuildName + QStringLiteral("] Chat Window"));
        guild->chatout->setEnabled(true);
        guild->RefreshGuildPlayerList();
        guild->show();
    });
    resumeNext([&] {
        // An empty current version means the version record could not be read: nothing to compare.
        const QString current = ClientConfig().CurrentVersion();
        if (!current.isEmpty() && current != ClientConfig().Version())
            lobby->addmsg(QStringLiteral("You do not have the most current version of Corvadex. While it is not a mandatory update, "
                                         "it may be features that could enhance game play.  At your earliest convenience, please "
                                         "log out and run the patcher before launching the Corvadex application."),
                          ChatColour::Red);
    });
    resumeNext([&] {
        lobby->show();
        lobby->Start_main();
        // The player lands ready to chat.
        lobby->activateWindow();
        lobby->chatout->setFocus();
    });
    resumeNext([&] {
        if (frmstart* login = ifLoaded<frmstart>()) {
            int cancel = 0;
            login->Form_Unload(cancel);
        }
    });
    unloadWidget(this);
}
