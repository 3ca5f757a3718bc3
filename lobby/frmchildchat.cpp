#include "lobby/frmchildchat.h"

#include "app/ErrorHandler.h"
#include "app/modLinks.h"
#include "app/modSettings.h"
#include "app/modSound.h"
#include "app/storedvars.h"
#include "lobby/fancychat.h"
#include "net/frmCon.h"
#include "platform/Ini.h"
#include "platform/Services.h"
#include "platform/VbCompat.h"

#include <QMenuBar>
#include <QVBoxLayout>

frmchildchat::frmchildchat()
    : chatin(new QTextEdit(this)), chatout(new QLineEdit(this)) {
    setObjectName(QStringLiteral("frmchildchat"));
    chatin->setObjectName(QStringLiteral("chatin"));
    chatout->setObjectName(QStringLiteral("chatout"));
    chatin->setReadOnly(true);
    chatin->setAcceptRichText(false);
    chatin->setUndoRedoEnabled(false);
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->addWidget(chatin, 1);
    layout->addWidget(chatout);
    setCentralWidget(central);

    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    mnuawayon = file->addAction(QStringLiteral("Away"));
    mnuawayon->setObjectName(QStringLiteral("mnuawayon"));
    mnuawayon->setCheckable(true);
    mnuawayoff = file->addAction(QStringLiteral("Back"));
    mnuawayoff->setObjectName(QStringLiteral("mnuawayoff"));
    mnuawayoff->setCheckable(true);
    file->addSeparator();
    mnuExit = file->addAction(QStringLiteral("Exit"));
    mnuExit->setObjectName(QStringLiteral("mnuExit"));
    connect(mnuExit, &QAction::triggered, this, &frmchildchat::mnuExit_Click);
    resize(800, 600);
}

void frmchildchat::Form_Load() {}

void frmchildchat::addmsg(const QString& text, long color) {
    TrimLobbyLogIfLong();
    ChatRuns out(chatin);
    if (!Nickname.isEmpty()) {
        const QString file = GetIniFile();
        out.font(ReadIni(QStringLiteral("Chat"), QStringLiteral("Font"), file),
                 vbVal(ReadIni(QStringLiteral("Chat"), QStringLiteral("FontSize"), file)));
    }
    out.run(text + QStringLiteral("\n"), color);
}

void frmchildchat::back_away() {
    if (!mnuawayon->isChecked()) return;
    const QString file = GetIniFile();
    WriteIni(QStringLiteral("Away"), QStringLiteral("Status"), QStringLiteral("0"), file);
    WriteIni(QStringLiteral("Away"), QStringLiteral("Reason"), QString(), file);
    PrintChatLine(QStringLiteral("Back"), QString(), QStringLiteral("You are now back from away mode"), 255);
    if (frmCon* con = ifLoaded<frmCon>()) con->SendToServer(QStringLiteral("CHAT /me is back."));
    mnuawayon->setChecked(false);
    mnuawayoff->setChecked(false);
    PlaySound(5);
    if (frmCon* con = ifLoaded<frmCon>()) con->SendToServer(QStringLiteral("AWAY 0"));
}

void frmchildchat::Form_QueryUnload(int& cancel, int mode) {
    if (mode == vb::FormCode) {
        chatout->clear();
        mnuExit_Click();
        return;
    }
    PrintChatLine(QStringLiteral("Error"), QString(),
                  QStringLiteral("The game cannot be closed this way.  Please use the File->Exit menu item."), 255);
    cancel = 1;
}

void frmchildchat::mnuExit_Click() {
    shielded("frmchildchat::mnuExit_Click", [&] {
        ConnectionState = 2;
        frmCon* con = ifLoaded<frmCon>();
        if (con && con->Winsock->connected()) {
            con->Winsock->Tag = QStringLiteral("out");
            con->SendToServer(QStringLiteral("QUIT ") + QString::number(AdminMinutes) + QStringLiteral(" 1"));
            m_quitEngaged = true;
            DoEvents();
            return;
        }
        if (con) con->Winsock->Close();
        EndProgram(0);
    });
}
