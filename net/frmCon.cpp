#include "net/frmCon.h"

#include "app/Deployment.h"
#include "app/ErrorHandler.h"
#include "app/modLinks.h"
#include "app/modMain.h"
#include "app/modSkin.h"
#include "app/modText.h"
#include "app/storedvars.h"
#include "lobby/frmchildchat.h"
#include "lobby/fancychat.h"
#include "net/clsWinsock.h"
#include "net/LocalPorts.h"
#include "net/frmConnect.h"
#include "net/frmstart.h"
#include "platform/Codec1252.h"
#include "platform/Ini.h"
#include "platform/Paths.h"
#include "platform/Services.h"

#include <QCursor>
#include <QDateTime>
#include <QRandomGenerator>

#include <cstring>
#include <utility>

namespace {
// A loss of a logged-in link starts a reconnect run with a fresh count; a close inside the run
// (before the server confirmed) keeps counting. The run ends with the server's
// "QUERYRECONNECTPLAYERS".
void beginLoss(frmCon& con) {
    if (con.bReconnecting) return;
    con.bReconnecting = true;
    con.iAttempts = 0;
}
}  // namespace

frmCon::frmCon()
    : Winsock(new SocketControl(this)),
      tmrPacket(new QTimer(this)),
      tmrReconnect(new QTimer(this)),
      creator(new QCheckBox(this)),
      versus(new QLabel(this)),
      serverdata(new QLineEdit(this)),
      temp(new QLineEdit(this)),
      operation(new QLabel(this)),
      lblsidegametag(new QLabel(this)) {
    setObjectName(QStringLiteral("frmCon"));
    creator->setObjectName(QStringLiteral("creator"));
    versus->setObjectName(QStringLiteral("versus"));
    serverdata->setObjectName(QStringLiteral("serverdata"));
    temp->setObjectName(QStringLiteral("temp"));
    operation->setObjectName(QStringLiteral("operation"));
    lblsidegametag->setObjectName(QStringLiteral("lblsidegametag"));
    tmrPacket->setObjectName(QStringLiteral("tmrPacket"));
    tmrReconnect->setObjectName(QStringLiteral("tmrReconnect"));
    tmrPacket->setInterval(200);
    tmrReconnect->setInterval(15000);
    connect(tmrPacket, &QTimer::timeout, this, &frmCon::tmrPacket_Timer);
    connect(tmrReconnect, &QTimer::timeout, this, &frmCon::tmrReconnect_Timer);
    connect(Winsock, &SocketControl::connectEvent, this, &frmCon::Winsock_Connect);
    connect(Winsock, &SocketControl::dataArrival, this, &frmCon::Winsock_DataArrival);
    connect(Winsock, &SocketControl::sendComplete, this, &frmCon::Winsock_SendComplete);
    connect(Winsock, &SocketControl::closeEvent, this, &frmCon::Winsock_Close);
    connect(Winsock, &SocketControl::errorEvent, this, &frmCon::Winsock_Error);
}

void frmCon::Form_Load() {
    const auto loadSkinPicture = [](const QString& key, QPixmap& into) {
        const QString value = GetSkinValue(QStringLiteral("main"), key);
        return !value.isEmpty() && LoadClientPicture(into, QStringLiteral("\\skins") + value);
    };
    if (!loadSkinPicture(QStringLiteral("cardback"), img[0]) || !loadSkinPicture(QStringLiteral("cursor"), img[1])) {
        MsgBox(QStringLiteral("There was a problem with your skin file.  Please check your [skin name].ini (default is "
                              "default.ini in the skins\\default folder) to make sure it exists and that nothing is "
                              "missing. The application will now terminate."),
               vb::Critical, QStringLiteral("Skin Error"));
        EndProgram(1);
        return;
    }
    // A slot is empty while it shows this very picture, so the empty card is a picture of its own:
    // no other picture loaded from the same file (a card back, a skin's blocked card) may pass for
    // it, whether or not the picture memory held that file.
    img[0] = img[0].copy();
    tmrPacket->start();
}

QCursor frmCon::skinCursor() const {
    if (img[1].isNull()) return QCursor(Qt::PointingHandCursor);
    return QCursor(img[1], 0, 0);
}

// ---- Receiving -------------------------------------------------------------------------------

void frmCon::Winsock_DataArrival() {
    shielded("frmCon::Winsock_DataArrival", [&] {
        guarded(26, [&] {
            const QByteArray data = Winsock->GetData();
            frameArrival(data.constData(), data.size());
        });
    });
}

namespace {
// The two forms an arrival comes in: the wire's bytes (decoded line by line as they are cut, so
// a big read is scanned once) and text already decoded.
struct WireBytes {
    const char* data;
    qsizetype size;
    qsizetype find(qsizetype from) const {
        const void* cr = std::memchr(data + from, '\r', size_t(size - from));
        return cr ? static_cast<const char*>(cr) - data : -1;
    }
    bool blank(qsizetype at) const { return data[at] == ' '; }
    QString text(qsizetype from, qsizetype length) const {
        // Most lines are plain ASCII, where the code page is Latin-1 and Qt's own widening is fastest.
        const char* p = data + from;
        unsigned char high = 0;
        for (qsizetype i = 0; i < length; ++i) high |= static_cast<unsigned char>(p[i]);
        return high < 0x80 ? QString::fromLatin1(p, length) : decode1252(p, length);
    }
    void appendTo(QString& out, qsizetype from, qsizetype length) const { out += decode1252(data + from, length); }
};

struct DecodedText {
    QStringView view;
    qsizetype size;
    explicit DecodedText(QStringView v) : view(v), size(v.size()) {}
    qsizetype find(qsizetype from) const { return view.indexOf(u'\r', from); }
    bool blank(qsizetype at) const { return view[at] == u' '; }
    QString text(qsizetype from, qsizetype length) const { return view.sliced(from, length).toString(); }
    void appendTo(QString& out, qsizetype from, qsizetype length) const { out += view.sliced(from, length); }
};
}  // namespace

void frmCon::frameArrival(const QString& text) { frameText(DecodedText(text)); }

void frmCon::frameArrival(const char* data, qsizetype size) { frameText(WireBytes{data, size}); }

bool frmCon::dropLine(qsizetype length) {
    const bool drop = m_pendingOverflow || length > kMaxPendingLine;
    if (drop) qWarning("dropped a server line longer than %lld characters", static_cast<long long>(kMaxPendingLine));
    m_pendingOverflow = false;
    return drop;
}

bool frmCon::queueLine(QString&& line) {
    if (line == QLatin1String("UPDATE")) {
        updatePath();
        return false;
    }
    lstPackets.push_back(std::move(line));
    return true;
}

// One forward pass over the arrival: each line is cut out where it ends, never by shifting what
// follows it, and a line too long to keep is never copied.
template <class Arrival>
void frmCon::frameText(const Arrival& in) {
    qsizetype at = 0;
    const auto skipBlanks = [&] {
        // Blanks that begin the next line are dropped; those ending an unfinished line stay.
        while (at < in.size && in.blank(at)) ++at;
    };
    if (!sPendingData.isEmpty()) {
        const qsizetype cr = in.find(0);
        if (cr < 0) {
            if (sPendingData.size() + in.size > kMaxPendingLine) {
                m_pendingOverflow = true;
                sPendingData.clear();
            } else {
                in.appendTo(sPendingData, 0, in.size);
            }
            return;
        }
        QString line = std::exchange(sPendingData, QString());
        at = cr + 1;
        if (!dropLine(line.size() + cr)) {
            in.appendTo(line, 0, cr);
            if (!queueLine(std::move(line))) return;
        }
        skipBlanks();
    }
    while (at < in.size) {
        const qsizetype cr = in.find(at);
        if (cr < 0) {
            // An unfinished line waits for the rest; one that never ends cannot grow without bound.
            if (in.size - at > kMaxPendingLine)
                m_pendingOverflow = true;
            else
                sPendingData = in.text(at, in.size - at);
            return;
        }
        const qsizetype from = std::exchange(at, cr + 1);
        if (!dropLine(cr - from) && !queueLine(in.text(from, cr - from))) return;
        skipBlanks();
    }
}

void frmCon::updatePath() {
    MsgBox(QStringLiteral("An update is available, please run the updater, reinstall, or visit the forums. Please go to ") +
               Deployment::websiteDisplay() + QStringLiteral(" and download the update file or run the patcher."),
           vb::Information, QStringLiteral("Update Is Available!"));
    Winsock->Close();
    ShellOpen(clientPath(QStringLiteral("Updater.exe")), QString());
    ShutDown();
}

void frmCon::tmrPacket_Timer() {
    shielded("frmCon::tmrPacket_Timer", [&] {
        if (ClientConfig().packetBlocked()) return;
        frmchildchat* lobby = ifLoaded<frmchildchat>();
        if (lobby && lobby->QuitEngaged() && !Winsock->connected()) {
            Winsock->Close();
            ShutDown();
            return;
        }
        if (gblnProcessingData) return;
        gblnProcessingData = true;
        // Lines that arrive while a handler waits land behind it and are handled in this tick.
        while (!lstPackets.empty() && !ClientConfig().packetBlocked()) {
            // The line leaves its place only after its handler returns; its text is moved out.
            QString line = std::move(lstPackets.front());
            bool failed = false;
            QString failure;
            try {
                ClientConfig().countPacket();
                clsWinsock dispatcher;
                dispatcher.HandleIncoming(line);
            } catch (const RuntimeError& e) {
                failed = true;
                failure = e.description();
            } catch (const std::exception& e) {
                failed = true;
                failure = QString::fromLocal8Bit(e.what());
            }
            if (!lstPackets.empty()) lstPackets.pop_front();
            if (failed) {
                // The queue goes on at the next tick; the reporter may end the program.
                gblnProcessingData = false;
                ErrorHandler(failure, 25, 0);
                endLostLogin();
                return;
            }
            if (services().lifecycle->ending()) break;
        }
        gblnProcessingData = false;
        endLostLogin();
    });
}

// ---- Sending ---------------------------------------------------------------------------------

void frmCon::SendToServer(QString& pstrDataToSend) {
    guarded(28, [&] {
        pstrDataToSend.remove(u'\r');
        pstrDataToSend += u'\r';
        gstrDataWaitingToBeSent += pstrDataToSend;
        // A send further up the call chain is waiting; its loop writes what was added.
        if (gblnSendingData) return;
        while (!gstrDataWaitingToBeSent.isEmpty()) {
            if (!Winsock->connected()) {
                gblnSendingData = false;
                gstrDataWaitingToBeSent.clear();
                break;
            }
            gblnSendingData = true;
            const QByteArray bytes = encode1252(gstrDataWaitingToBeSent);
            gstrDataWaitingToBeSent.clear();
            Winsock->SendData(bytes);
            // The send-complete event ends the wait; so does an empty write buffer, because a send
            // made from inside another write's completion never hears its own.
            while (gblnSendingData) {
                if (!Winsock->connected() || Winsock->pendingBytes() == 0) {
                    gblnSendingData = false;
                    break;
                }
                WaitForEvents();
            }
        }
        gblnSendingData = false;
    });
}

void frmCon::Winsock_SendComplete() { gblnSendingData = false; }

void frmCon::AddText(const QString& Text, long color) {
    frmchildchat* lobby = ifLoaded<frmchildchat>();
    if (!lobby) return;
    lobby->addmsg(Text, color);
}

// ---- Connection ------------------------------------------------------------------------------

void frmCon::Winsock_Connect() {
    shielded("frmCon::Winsock_Connect", [&] {
        if (ConnectionState != 0)
            SendReconnect();
        else
            SendVersion();
    });
}

void frmCon::SendVersion() {
    if (frmConnect* c = ifLoaded<frmConnect>()) c->ProgressBar(15);
    if (frmstart* s = ifLoaded<frmstart>()) s->Timer1->stop();
    SendToServer(QStringLiteral("VERSION %1.%2.%3").arg(AppMajor).arg(AppMinor).arg(AppRevision));
}

void frmCon::SendReconnect() {
    if (!IsReconnecting()) return;
    tmrReconnect->stop();
    SendToServer(QStringLiteral("RECONNECT ") + ClientConfig().Username() + u' ' + ClientConfig().Password());
}

void frmCon::Winsock_Close() {
    shielded("frmCon::Winsock_Close", [&] {
        guarded(30, [&] {
            if (ConnectionState == 1) {
                beginLoss(*this);
                Reconnect();
            } else if (ConnectionState == 2) {
                // Leaving on purpose: the pump ends the program.
            } else {
                frmstart* login = ifLoaded<frmstart>();
                if (!login || !login->isVisible()) {
                    MsgBox(QStringLiteral("You were disconnected from the game server. You could have timed out, lost your "
                                          "internet connection, have been kicked/banned, or an update could be available.  "
                                          "The application will now close.  If this problem persists, please run the "
                                          "updater or submit a ticket to our customer service center on our website."),
                           vb::OKOnly, QStringLiteral("Corvadex"));
                    if (Winsock->State() != SocketControl::sckClosed) Winsock->Close();
                    ShutDown();
                } else {
                    loginLost();
                }
            }
        });
    });
}

void frmCon::Winsock_Error(int number, const QString& description) {
    Q_UNUSED(description);
    shielded("frmCon::Winsock_Error", [&] {
        guarded(30, [&] {
            if (number == SocketControl::sckBadState) {
                MsgBox(QStringLiteral("A connection error occured.  The application will now shut down.  Please restart and try again."),
                       vb::OKOnly, QString());
                ShutDown();
            } else if (number == SocketControl::sckConnectionRefused) {
                // Before login the connect timeout takes over.
            } else if (ConnectionState != 0) {
                // Leaving on purpose: nothing to reconnect.
                if (ConnectionState == 2) return;
                // An error starts the count afresh: only attempts that time out use up the limit.
                beginLoss(*this);
                iAttempts = 0;
                PrintChatLine(QStringLiteral("Disconnected"), QString(),
                              QStringLiteral("You have lost connection with the server.  Attempting to reconnect."), 255);
                Reconnect();
            } else {
                Winsock->Close();
                frmConnect* c = ifLoaded<frmConnect>();
                if (c && c->isVisible()) {
                    const int port = PickReconnectPort();
                    c->status(QStringLiteral("Proxy port in use, trying port #") + QString::number(port));
                    Pause(0);
                    Winsock->LocalPort = port;
                    c->Connect(ClientConfig().IP(), ClientConfig().Port(), port);
                }
            }
        });
    });
}

int frmCon::PickReconnectPort() { return drawLocalPort(5000, 1000, 4999); }

void frmCon::Reconnect() {
    Winsock->Close();
    // A hand-edited negative limit counts as zero.
    const int limit = ClientConfig().ReconnectAttempts() < 0 ? 0 : ClientConfig().ReconnectAttempts();
    if (limit == 0) {
        MsgBox(QStringLiteral("You have lost connection with the server and have set the reconnection attempts as zero.  "
                              "The application will now end.  If you wish to change this setting, relog and open "
                              "configuration to change the value."),
               vb::Information, QStringLiteral("Disconnected"));
        Winsock->Close();
        EndProgram(0);
        return;
    }
    if (iAttempts >= limit) {
        MsgBox(QStringLiteral("You have reached the maximum attempts to reconnect with the server.  The application will "
                              "now end.  If the server continues to be down or you cannot connect for a long period of "
                              "time, contact technical support at ") +
                   Deployment::supportAddress(),
               vb::Information, QStringLiteral("Reconnect Attempts Maxed"));
        Winsock->Close();
        EndProgram(0);
        return;
    }
    ++iAttempts;
    tmrReconnect->start();
    Winsock->LocalPort = PickReconnectPort();
    Winsock->RemotePort = int(vbVal(ClientConfig().Port()));
    Winsock->RemoteHost = ClientConfig().IP();
    Winsock->Connect();
}

void frmCon::loginLost() {
    // Lines already sent (a refusal, say) explain the close better than a general message, so
    // they are handled first. When a handler is still at work on an earlier line (its box open),
    // the pump that runs it ends the lost login once the queue is done.
    Winsock_DataArrival();
    Winsock->Close();
    m_loginLost = true;
    tmrPacket_Timer();
    if (!gblnProcessingData) endLostLogin();
}

void frmCon::endLostLogin() {
    if (!m_loginLost) return;
    m_loginLost = false;
    if (services().lifecycle->ending()) return;
    if (ConnectionState == 1) {
        // The queued lines finished the login after all: the link is lost like any other.
        beginLoss(*this);
        Reconnect();
        return;
    }
    frmConnect* connecting = ifLoaded<frmConnect>();
    if (!connecting || ConnectionState != 0) return;
    connecting->Timer1->stop();
    unload<frmConnect>();
    MsgBox(QStringLiteral("The server closed the connection before the login was complete.  Please try again."),
           vb::Information, QStringLiteral("Corvadex"));
    if (frmstart* login = ifLoaded<frmstart>()) login->cmdLogin->Enabled(true);
}

void frmCon::tmrReconnect_Timer() {
    shielded("frmCon::tmrReconnect_Timer", [&] {
        guarded(30, [&] {
            tmrReconnect->stop();
            PrintChatLine(QStringLiteral("Reconnect"), QString(),
                          QStringLiteral("Reconnection Failed. Attempting Again (Try #") + QString::number(iAttempts) + u')', 255);
            Reconnect();
        });
    });
}
