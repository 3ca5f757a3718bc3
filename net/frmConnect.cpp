#include "net/frmConnect.h"

#include "app/ErrorHandler.h"
#include "app/RunQuery.h"
#include "app/modSkin.h"
#include "app/modText.h"
#include "app/storedvars.h"
#include "lobby/frmchildchat.h"
#include "net/LocalPorts.h"
#include "net/PlayerTree.h"
#include "net/frmCon.h"
#include "net/frmstart.h"
#include "platform/Ini.h"
#include "platform/Paths.h"
#include "platform/Services.h"
#include "platform/VbCompat.h"
#include "platform/WindowPlacement.h"

#include <QScopeGuard>
#include <QSet>
#include <QTreeWidget>

namespace {
// Named in the time-out question as the server to try by hand.
const QString kAlternativeServer = QStringLiteral("play2.corvadex.net");

QString stepText(int eProgress) {
    switch (eProgress) {
    case 0: return QStringLiteral("Attempting to Connect to the Server");
    case 15: return QStringLiteral("Connected, Preparing to Authenticate");
    case 20: return QStringLiteral("Authenticating");
    case 40: return QStringLiteral("Authenticated");
    case 50: return QStringLiteral("Waiting for Additional Information from the Server");
    case 75: return QStringLiteral("Getting Player List");
    case 80: return QStringLiteral("Could Not Contact Service, Asking Server for Player List");
    case 85: return QStringLiteral("Creating the Chat Interface");
    case 90: return QStringLiteral("Getting Open Tables");
    default: return QString();
    }
}
}  // namespace

frmConnect::frmConnect()
    : Timer1(new QTimer(this)),
      lblProgress(new QLabel(this)),
      lblStatus(new QLabel(this)),
      picBackground(new QLabel(this)),
      barProgress(new QProgressBar(this)) {
    setObjectName(QStringLiteral("frmConnect"));
    Timer1->setObjectName(QStringLiteral("Timer1"));
    lblProgress->setObjectName(QStringLiteral("lblProgress"));
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    picBackground->setObjectName(QStringLiteral("picBackground"));
    barProgress->setObjectName(QStringLiteral("barProgress"));
    setWindowTitle(QStringLiteral("Connection Status"));

    lblProgress->setTextFormat(Qt::PlainText);
    lblStatus->setTextFormat(Qt::PlainText);
    lblProgress->setText(QStringLiteral("0%"));
    lblStatus->setText(QStringLiteral("Connecting to the Server...."));
    lblStatus->setWordWrap(true);
    lblProgress->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblStatus->setStyleSheet(QStringLiteral("color: #ece0c4; background: transparent;"));
    lblProgress->setStyleSheet(QStringLiteral("color: #e2bc66; font-weight: bold; background: transparent;"));
    picBackground->setStyleSheet(QStringLiteral("background: #1b1226;"));
    barProgress->setRange(0, 100);
    barProgress->setValue(0);
    barProgress->setTextVisible(false);
    barProgress->setStyleSheet(QStringLiteral(
        "QProgressBar { background: #120e18; border: 1px solid #8a6d3b; border-radius: 3px; }"
        "QProgressBar::chunk { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #f0d48a, stop:1 #a87f3a);"
        " border-radius: 2px; }"));
    layoutControls(QSize(320, 140));

    Timer1->setInterval(1800);
    connect(Timer1, &QTimer::timeout, this, &frmConnect::Timer1_Timer);
}

void frmConnect::layoutControls(const QSize& picture) {
    setFixedSize(picture);
    picBackground->setGeometry(0, 0, picture.width(), picture.height());
    // The default picture leaves a framed panel right of its emblem, below the title.
    const int left = picture.width() * 105 / 320;
    const int right = picture.width() * 298 / 320;
    const int top = picture.height() * 72 / 140;
    lblStatus->setGeometry(left, top, right - left, 28);
    barProgress->setGeometry(left, top + 32, right - left - 46, 12);
    lblProgress->setGeometry(right - 42, top + 28, 42, 20);
    picBackground->lower();
}

void frmConnect::Form_Load() {
    shielded("frmConnect::Form_Load", [&] {
        QPixmap picture = SkinPicture(QStringLiteral("main"), QStringLiteral("loadingscreen"));
        if (picture.isNull()) {
            picture.load(clientPath(QStringLiteral("\\skins\\default\\loadingscreen.jpg")));
            ClientConfig().SkinOutofDate(-1);
        }
        if (!picture.isNull()) {
            picBackground->setPixmap(picture);
            layoutControls(picture.size());
        }
        // Over the login window when there is one, else in the middle of the screen.
        PlaceOver(this, ifLoaded<frmstart>());
        Timer1->start();
    });
}

void frmConnect::ProgressBar(int eProgress) {
    lblProgress->setText(QString::number(eProgress) + u'%');
    barProgress->setValue(qBound(0, eProgress, 100));
    if (eProgress < 0)
        lblStatus->clear();
    else if (const QString text = stepText(eProgress); !text.isEmpty())
        lblStatus->setText(text);
    emit progressChanged(eProgress);
    Pause(0);
}

void frmConnect::Connect(const QString& server_ip, const QString& server_port, int proxyport) {
    if (server_port.isEmpty() || server_ip.isEmpty()) {
        if (frmstart* login = ifLoaded<frmstart>()) login->cmdLogin->Enabled(true);
        unloadWidget(this);
        return;
    }
    ClientConfig().IP(server_ip);
    ClientConfig().Port(vbStr(vbVal(server_port)));
    frmCon* con = form<frmCon>();
    con->Winsock->Close();
    con->Winsock->RemoteHost = server_ip;
    con->Winsock->RemotePort = int(vbVal(server_port));
    WriteIni(QStringLiteral("Proxy"), QStringLiteral("Port"), QString::number(proxyport), clientPath(QStringLiteral("config/private.txt")));
    ProgressBar(0);
    Timer1->setInterval(1000);
    m_state = QStringLiteral("debut");
    Timer1->start();
}

void frmConnect::Timer1_Timer() {
    shielded("frmConnect::Timer1_Timer", [&] {
        frmCon* con = form<frmCon>();
        if (m_state == QLatin1String("debut")) {
            // The state moves on first: a connect that fails at once starts the next try from in here.
            Timer1->setInterval(25000);
            m_state = QStringLiteral("connecting");
            con->Winsock->Connect();
        } else if (m_state == QLatin1String("connecting")) {
            // No second question while this one is open.
            Timer1->stop();
            ProgressBar(-1);
            const int answer = MsgBox(
                QStringLiteral("The server could not be reached. If outage continues, post on the forums on the CVX website "
                               "or change the firewall port (+5 recommended) below the login boxes to try another port. "
                               "You can also try clicking on server options and entering: ") +
                    kAlternativeServer +
                    QStringLiteral(" as the server IP with port of 4000. Would you automatically like to try to connect "
                                   "using another port (Recommended: Yes)?"),
                vb::YesNo, QStringLiteral("Server Cound Not Be Reached"));
            con->Winsock->Close();
            if (answer != vb::Yes) {
                // The player may log in again; until then the question returns every 25 s.
                if (frmstart* login = ifLoaded<frmstart>()) login->cmdLogin->Enabled(true);
                Timer1->start();
                return;
            }
            const int port = drawLocalPort(20000, 1000, 19999);
            status(QStringLiteral("Trying PC Port #") + QString::number(port));
            con->Winsock->LocalPort = port;
            Connect(ClientConfig().IP(), ClientConfig().Port(), con->Winsock->LocalPort);
        }
    });
}

void frmConnect::Form_QueryUnload(int& cancel, int mode) {
    Q_UNUSED(cancel);
    if (mode != vb::FormControlMenu) return;
    Timer1->stop();
    m_state.clear();
    if (ConnectionState != 0) return;
    if (frmCon* con = ifLoaded<frmCon>()) con->Winsock->Close();
    if (frmstart* login = ifLoaded<frmstart>()) login->cmdLogin->Enabled(true);
}

bool frmConnect::FillPlayers(RecordSet& rs) {
    // The list is emptied first, also when the reply holds none: the server then sends the whole
    // list again, and after a reconnect players who left meanwhile must not stay behind.
    frmchildchat* lobby = form<frmchildchat>();
    lobby->playerlist->clear();
    lobby->lstPlayers.clear();
    lobby->lblActive->setText(QStringLiteral("0"));
    // A failed exchange, a reply without schema and a reply without rows all mean no list.
    if (rs.failed() || rs.FieldCount() == 0 || rs.RecordCount() == 0) return false;
    QSet<QString> listed;  // nicknames in lower case
    listed.reserve(int(rs.RecordCount()));
    QList<QTreeWidgetItem*> nodes;
    // The nodes go into the tree in one step, and the count with them, however the reading ends.
    const auto fill = qScopeGuard([&] {
        lobby->playerlist->addTopLevelItems(nodes);
        lobby->lblActive->setText(vbStr(vbVal(lobby->lblActive->text()) + double(nodes.size())));
    });
    const QString separator = QStringLiteral(":::");
    rs.MoveFirst();
    while (!rs.isEOF()) {
        const QString record = rs.Fields(0).toString();
        // Identity, level, guild.
        QStringView f[3];
        DividePrefix(record, separator, f, 3);
        const QString nick = f[0].toString().toLower();
        if (!nick.trimmed().isEmpty() && !listed.contains(nick)) {
            QString entry;
            entry.reserve(f[0].size() + f[1].size() + f[2].size() + 4);
            entry.append(f[0]).append(u' ').append(f[1]);
            if (!f[2].isEmpty()) entry.append(QLatin1String(" <")).append(f[2]).append(u'>');
            auto* node = new QTreeWidgetItem(QStringList{entry});
            node->setData(0, Qt::UserRole, entry);
            nodes << node;
            // The node's first word is what later lines compare.
            listed.insert(f[0].contains(u' ') ? firstWord(entry).toString().toLower() : nick);
        }
        rs.MoveNext();
    }
    return true;
}

bool frmConnect::QueryPlayers() {
    try {
        QString command = QStringLiteral("call sps_GetPlayers()");
        RecordSet rs = RunQuery(command);
        return FillPlayers(rs);
    } catch (const std::exception& e) {
        qWarning("player list from the web service: %s", e.what());
        return false;
    }
}

void frmConnect::GetPlayers() {
    ProgressBar(75);
    if (!QueryPlayers()) {
        ClientConfig().XMLError(-1);
        if (frmCon* con = ifLoaded<frmCon>()) con->SendToServer(QStringLiteral("QUERYPLAYERS"));
        ProgressBar(80);
        return;
    }
    frmCon* con = ifLoaded<frmCon>();
    if (!con || !con->IsReconnecting()) PlayersLoaded();
    // Cleared only after the lobby is built: a list that came from the server at login is still
    // warned about when a reconnect brings the lobby up again. The window may be gone by now.
    ClientConfig().XMLError(0);
}

void frmConnect::GetReconnectPlayers() {
    frmCon* con = ifLoaded<frmCon>();
    if (!QueryPlayers()) {
        ClientConfig().XMLError(-1);
        if (con) con->SendToServer(QStringLiteral("QUERYRECONNECTPLAYERS"));
        return;
    }
    if (!con || !con->IsReconnecting()) PlayersLoaded();
    ClientConfig().XMLError(0);
}

void frmConnect::PlayersLoaded() { LoadMainChat(); }
