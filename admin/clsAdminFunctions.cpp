#include "admin/clsAdminFunctions.h"

#include "admin/frmadmin.h"
#include "app/ErrorHandler.h"
#include "app/modSound.h"
#include "app/modText.h"
#include "app/storedvars.h"
#include "lobby/chatloggers.h"
#include "lobby/fancychat.h"
#include "lobby/frmchildchat.h"
#include "lobby/frmmenu.h"
#include "net/LineFields.h"
#include "platform/Forms.h"
#include "platform/Services.h"

#include <QPlainTextEdit>

using lines::blanks;

namespace {
constexpr long kRed = 255;
constexpr long kYellow = 65535;
constexpr long kLightBlue = 16744576;
constexpr long kBlueGreen = 12632064;

const QString kBlank = QStringLiteral(" ");

Fields fieldsOf(const QString& line) { return Divide(line, kBlank); }

// The operator levels the server grants and what each shows; level 5 only adds the window's item.
struct LevelItems {
    const char* level;
    bool disablePM;
};
constexpr LevelItems kLevels[] = {{"1", false}, {"2", false}, {"3", true}, {"4", true}, {"5", true}};
}  // namespace

void clsAdminFunctions::IncomingModule(QString& keyword, QString& line) {
    if (keyword == QLatin1String("ADMINCHAT")) HandleAdminChat(line);
    else if (keyword == QLatin1String("ADMINWARN")) HandleAdminWarn(line);
    else if (keyword == QLatin1String("ADMINWARNING")) HandleAdminWarning(line);
    else if (keyword == QLatin1String("ADMINKEYWORD")) HandleAdminKeyword(line);
    else if (keyword == QLatin1String("ADMINREMOVETRIGGER")) HandleAdminRemoveTrigger(line);
    else if (keyword == QLatin1String("ADMINOPCOMMAND")) HandleAdminOpCommand(line);
    else if (keyword == QLatin1String("ADMINSTATUS")) HandleAdminStatus(line);
    else if (keyword == QLatin1String("ADMINPASSERROR")) HandleAdminPassError();
    else if (keyword == QLatin1String("ADMINCHATCLEAR")) HandleAdminChatClear();
}

// "ADMINCHAT sender text": the operators' own chat.
void clsAdminFunctions::HandleAdminChat(const QString& line) {
    // Only an operator's window shows it; before login nothing is written anyway.
    if (ConnectionState == 0) return;
    const Fields f = fieldsOf(line);
    form<frmadmin>()->AddAdminTxt(f[1], blanks(f[2]));
}

// "ADMINWARN reason": this player has been warned.
void clsAdminFunctions::HandleAdminWarn(const QString& line) {
    guarded(137, [&] {
        const Fields f = fieldsOf(line);
        MsgBox(QStringLiteral("You have been warned!\r\n\r\nReason: ") + blanks(f[1]), vb::Critical, QStringLiteral("Warning"));
    });
}

// "ADMINWARNING text": a notice of the operators for everyone.
void clsAdminFunctions::HandleAdminWarning(const QString& line) {
    const Fields f = fieldsOf(line);
    PrintChatLine(QStringLiteral("Admin"), QString(), blanks(f[1]), kRed);
    PlaySound(15);
}

// "ADMINKEYWORD name text": a quick call seen by the operators.
void clsAdminFunctions::HandleAdminKeyword(const QString& line) {
    if (ConnectionState == 0) return;
    const Fields f = fieldsOf(line);
    PrintChatLine(QStringLiteral("Quickcall"), f[1], QStringLiteral("--> ") + blanks(f[2]), kBlueGreen);
}

// "ADMINREMOVETRIGGER <request>": a request another operator handled leaves every queue.
void clsAdminFunctions::HandleAdminRemoveTrigger(const QString& line) {
    frmadmin* admin = ifLoaded<frmadmin>();
    if (!admin) return;
    const qsizetype blank = line.indexOf(u' ');
    const QString request = blank < 0 ? QString() : line.mid(blank + 1).trimmed();
    for (int i = admin->lstrequests->count() - 1; i >= 0; --i)
        resumeNext([&] {
            if (admin->lstrequests->item(i)->text() == request) delete admin->lstrequests->takeItem(i);
        });
}

// "ADMINOPCOMMAND command target operator reason": how everyone else sees a warning, kick or ban.
void clsAdminFunctions::HandleAdminOpCommand(const QString& line) {
    if (ConnectionState == 0) return;
    const Fields f = fieldsOf(line);
    const QString& target = f[2];
    if (target == Nickname) return;
    static const struct {
        const char* command;
        const char* label;
        const char* verb;
        const char* logMark;
    } kCommands[] = {{"warn", "Warn", "was warned for: ", "!WARN! "},
                     {"kick", "Kick", "was kicked for: ", "!KICK! "},
                     {"ban", "Ban", "was banned for: ", "!BAN! "}};
    for (const auto& c : kCommands) {
        if (f[1] != QLatin1String(c.command)) continue;
        const QString what = QLatin1String(c.verb) + u'"' + blanks(f[4]) + u'"' + QStringLiteral(" by ") + f[3];
        PrintChatLine(QLatin1String(c.label), target, what, kRed);
        if (lines::settingIs(QStringLiteral("Options"), QStringLiteral("Chatlog"), QStringLiteral("1")))
            LogMainChat(QLatin1String(c.logMark) + target + u' ' + what);
        break;
    }
    PlaySound(14);
}

// "ADMINSTATUS level": the pass key was accepted at this operator level.
void clsAdminFunctions::HandleAdminStatus(const QString& line) {
    const QString level = fieldsOf(line)[1];
    frmchildchat* lobby = ifLoaded<frmchildchat>();
    resumeNext([&] {
        if (lobby) lobby->mnuadmin->setEnabled(false);
    });
    resumeNext([&] { form<frmmenu>()->ShowAdminItems(level); });
    resumeNext([&] {
        // A level the table does not name grants nothing.
        for (const LevelItems& l : kLevels)
            if (level == QLatin1String(l.level)) form<frmadmin>()->mnuDisablePM->setVisible(l.disablePM);
    });
    resumeNext([&] {
        // The minute count runs on from where it was: a second login does not restart it.
        if (lobby && !lobby->tmradmin->isActive()) lobby->tmradmin->start();
    });
    resumeNext([&] {
        frmadmin* admin = form<frmadmin>();
        admin->LoadKeywords();
        admin->show();
    });
    ClientConfig().AdminStatus(-1);
    resumeNext([&] {
        if (!lobby) return;
        lobby->mnuadmin->setText(QStringLiteral("Admin Logout"));
        lobby->mnuadmin->setEnabled(true);
    });
    PrintChatLine(QStringLiteral("Accepted"), QString(),
                  QStringLiteral("The administrator login has been accepted.  Please wait while the administrator window loads.  "
                                 "This may take a few seconds depending on your internet connection.  Maximum time is 60-80 "
                                 "seconds.  Do not panic if the screen freezes while it loads."),
                  kYellow);
}

// "ADMINPASSERROR": the pass key was refused; the login may be tried again.
void clsAdminFunctions::HandleAdminPassError() {
    PlaySound(3);
    PrintChatLine(QStringLiteral("Pass Error"), QString(), QStringLiteral("The pass key you entered is invalid."), kLightBlue);
    if (frmchildchat* lobby = ifLoaded<frmchildchat>()) lobby->mnuadmin->setEnabled(true);
}

// "ADMINCHATCLEAR": the operators emptied the public chat.
void clsAdminFunctions::HandleAdminChatClear() {
    if (frmchildchat* lobby = ifLoaded<frmchildchat>()) lobby->chatin->clear();
    PrintChatLine(QStringLiteral("Clear"), QString(), QStringLiteral("The server operators have cleared the chat for everyone."), kRed);
}
