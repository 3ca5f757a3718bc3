#include "net/frmstart.h"

#include "app/Deployment.h"
#include "app/ErrorHandler.h"
#include "app/modLinks.h"
#include "app/modSkin.h"
#include "app/storedvars.h"
#include "net/SocketControl.h"
#include "net/frmCon.h"
#include "net/frmConnect.h"
#include "platform/Ini.h"
#include "platform/Paths.h"
#include "platform/Services.h"
#include "platform/VbCompat.h"

#include <QFile>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>

#include <cmath>

namespace {
const QString kCharacterRule = QStringLiteral(
    "Please use only numbers (0 to 9) and letters (lower case or capitals) or a hyphen (-) for your nickname/password.");
const QString kUpdateNotes = QStringLiteral("Reconnects by itself after a dropped connection, and loads the player list faster.");

// The picture the window was drawn for; used when the skin's picture is missing.
constexpr int kWidth = 480;
constexpr int kHeight = 360;

const QString kCaptionStyle = QStringLiteral("color: #e2bc66; font-weight: bold; background: transparent;");
const QString kValueStyle = QStringLiteral("color: #ece0c4; background: transparent;");
const QString kBoxStyle = QStringLiteral(
    "QLineEdit { color: #f4e6c4; background: #120e18; border: 1px solid #8a6d3b; border-radius: 3px;"
    " padding: 1px 4px; selection-background-color: #8a6d3b; }"
    "QLineEdit:focus { border: 1px solid #e2bc66; }");

// Digits, ASCII letters and the hyphen: what the server accepts in a nickname or password.
bool plainName(const QString& text) {
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        const bool ok = (u >= u'0' && u <= u'9') || (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || u == u'-';
        if (!ok) return false;
    }
    return true;
}

QLabel* caption(QLabel* label, const QString& text, const QString& style) {
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    label->setStyleSheet(style);
    return label;
}
}  // namespace

frmstart::frmstart()
    : picBackground(new QLabel(this)),
      txtlogin_username(new QLineEdit(this)),
      txtlogin_password(new QLineEdit(this)),
      txtproxy_port(new QLineEdit(this)),
      cmdLogin(new RFButton(this)),
      cmdNewUser(new RFButton(this)),
      cmdLostPassword(new RFButton(this)),
      cmdServerOptions(new RFButton(this)),
      Label1(new QLabel(this)),
      Label2(new QLabel(this)),
      Label3(new QLabel(this)),
      Label4(new QLabel(this)),
      lblCV(new QLabel(this)),
      lblYV(new QLabel(this)),
      lblCurrentVersion(new QLabel(this)),
      lblVersion(new QLabel(this)),
      lblPatchlink(new QLabel(this)),
      picFinished(new QFrame(this)),
      lblInfo(new QLabel(picFinished)),
      lblUpdateMessage(new QLabel(picFinished)),
      Timer1(new QTimer(this)) {
    setObjectName(QStringLiteral("frmstart"));
    const std::pair<QObject*, const char*> names[] = {
        {picBackground, "picBackground"}, {txtlogin_username, "txtlogin_username"},
        {txtlogin_password, "txtlogin_password"}, {txtproxy_port, "txtproxy_port"}, {cmdLogin, "cmdLogin"},
        {cmdNewUser, "cmdNewUser"}, {cmdLostPassword, "cmdLostPassword"}, {cmdServerOptions, "cmdServerOptions"},
        {Label1, "Label1"}, {Label2, "Label2"}, {Label3, "Label3"}, {Label4, "Label4"}, {lblCV, "lblCV"},
        {lblYV, "lblYV"}, {lblCurrentVersion, "lblCurrentVersion"}, {lblVersion, "lblVersion"},
        {lblPatchlink, "lblPatchlink"}, {picFinished, "picFinished"}, {lblInfo, "lblInfo"},
        {lblUpdateMessage, "lblUpdateMessage"}, {Timer1, "Timer1"}};
    for (const auto& [object, name] : names) object->setObjectName(QString::fromLatin1(name));

    setWindowTitle(QStringLiteral("Corvadex Login"));
    setMouseTracking(true);
    Timer1->setInterval(1800);

    picBackground->setAttribute(Qt::WA_TransparentForMouseEvents);
    picBackground->setStyleSheet(QStringLiteral("background: #1b1226;"));
    txtlogin_password->setEchoMode(QLineEdit::Password);
    for (QLineEdit* box : {txtlogin_username, txtproxy_port}) box->setStyleSheet(kBoxStyle);
    // A star for every character of the password (set once: a second sheet would not change it).
    txtlogin_password->setStyleSheet(kBoxStyle + QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
    txtlogin_username->setMaxLength(64);
    txtlogin_password->setMaxLength(64);
    txtproxy_port->setMaxLength(10);

    caption(Label2, QStringLiteral("Username:"), kCaptionStyle);
    caption(Label3, QStringLiteral("Password:"), kCaptionStyle);
    caption(Label4, QStringLiteral("Firewall Port:"), kCaptionStyle);
    caption(lblCV, QStringLiteral("Current Version:"), kCaptionStyle);
    caption(lblYV, QStringLiteral("Your Version:"), kCaptionStyle);
    caption(lblCurrentVersion, QString(), kValueStyle);
    caption(lblVersion, QString(), kValueStyle);
    caption(Label1, QString(), kValueStyle);
    lblCV->setVisible(false);
    lblYV->setVisible(false);
    caption(lblPatchlink, QStringLiteral("Run the Patcher to Upgrade"),
            QStringLiteral("color: #7fb2f0; text-decoration: underline; background: transparent;"));
    lblPatchlink->setToolTip(QStringLiteral("Run the patcher by clicking this link.").toHtmlEscaped());
    lblPatchlink->setVisible(false);
    lblPatchlink->installEventFilter(this);

    picFinished->setStyleSheet(QStringLiteral("QFrame#picFinished { background: rgba(18, 14, 24, 200);"
                                              " border: 1px solid #5c4630; border-radius: 4px; }"));
    caption(lblInfo, QStringLiteral("What's New"), kCaptionStyle);
    caption(lblUpdateMessage, kUpdateNotes, kValueStyle);
    lblUpdateMessage->setWordWrap(true);
    lblUpdateMessage->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    // Tab walks the boxes, then the buttons; nothing else takes the focus.
    for (QWidget* w : std::initializer_list<QWidget*>{picBackground, Label1, Label2, Label3, Label4, lblCV, lblYV,
                                                      lblCurrentVersion, lblVersion, lblPatchlink, picFinished,
                                                      lblInfo, lblUpdateMessage})
        w->setFocusPolicy(Qt::NoFocus);
    setTabOrder(txtlogin_username, txtlogin_password);
    setTabOrder(txtlogin_password, txtproxy_port);
    setTabOrder(txtproxy_port, cmdLogin);
    setTabOrder(cmdLogin, cmdNewUser);
    setTabOrder(cmdNewUser, cmdLostPassword);
    setTabOrder(cmdLostPassword, cmdServerOptions);
    txtproxy_port->installEventFilter(this);

    connect(cmdLogin, &RFButton::Click, this, &frmstart::cmdLogin_Click);
    connect(cmdNewUser, &RFButton::Click, this, &frmstart::cmdNewUser_Click);
    connect(cmdLostPassword, &RFButton::Click, this, &frmstart::cmdLostPassword_Click);
    connect(cmdServerOptions, &RFButton::Click, this, &frmstart::cmdServerOptions_Click);
    connect(txtlogin_password, &QLineEdit::returnPressed, this, [this] { txtlogin_password_KeyPress(13); });
    layoutControls();
}

void frmstart::layoutControls() {
    setFixedSize(kWidth, kHeight);
    picBackground->setGeometry(0, 0, kWidth, kHeight);
    // The skin's picture frames a panel from (45, 115) to (435, 330): the login on its left,
    // the versions and the release notes on its right.
    Label2->setGeometry(64, 130, 200, 18);
    txtlogin_username->setGeometry(64, 149, 210, 24);
    Label3->setGeometry(64, 180, 200, 18);
    txtlogin_password->setGeometry(64, 199, 210, 24);
    Label4->setGeometry(64, 235, 100, 18);
    txtproxy_port->setGeometry(174, 232, 100, 24);
    cmdLogin->move(64, 268);
    cmdNewUser->move(174, 268);
    cmdLostPassword->move(64, 296);
    cmdServerOptions->move(174, 296);
    Label1->setGeometry(64, 322, 1, 1);

    picFinished->setGeometry(290, 128, 132, 98);
    lblInfo->setGeometry(8, 5, 116, 18);
    lblUpdateMessage->setGeometry(8, 24, 116, 70);
    lblCV->setGeometry(292, 234, 128, 15);
    lblCurrentVersion->setGeometry(292, 249, 128, 15);
    lblYV->setGeometry(292, 266, 128, 15);
    lblVersion->setGeometry(292, 281, 128, 15);
    lblPatchlink->setGeometry(292, 298, 128, 30);
    lblPatchlink->setWordWrap(true);
    for (QLabel* l : {lblCV, lblYV, lblInfo}) l->setStyleSheet(kCaptionStyle + QStringLiteral(" font-size: 8pt;"));
    for (QLabel* l : {lblCurrentVersion, lblVersion, lblUpdateMessage})
        l->setStyleSheet(kValueStyle + QStringLiteral(" font-size: 8pt;"));
    lblPatchlink->setStyleSheet(QStringLiteral("color: #7fb2f0; text-decoration: underline; background: transparent; font-size: 8pt;"));
    picBackground->lower();
}

QString frmstart::tempFileName() const { return QStringLiteral("tmp") + QString::number(TempFileNumber) + QStringLiteral(".ini"); }

void frmstart::removeTempFile() const {
    const QString file = clientPath(tempFileName());
    if (FileExists(file)) QFile::remove(file);
}

void frmstart::Form_Load() {
    guarded(47, [&] {
        ResetCoinSlots();
        Tables = {};
        const QPixmap picture = SkinPicture(QStringLiteral("start"), QStringLiteral("login"));
        if (!picture.isNull()) picBackground->setPixmap(picture.scaled(kWidth, kHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        cmdLogin->ButtonCaption(QStringLiteral("Login"));
        cmdNewUser->ButtonCaption(QStringLiteral("New User"));
        cmdLostPassword->ButtonCaption(QStringLiteral("Lost Pass"));
        cmdServerOptions->ButtonCaption(QStringLiteral("Server Options"));
        lblPatchlink->setCursor(form<frmCon>()->skinCursor());
        InitTables();
        ClientConfig().PacketBlock(QStringLiteral("False"));
        TempFileNumber = int16_t(std::floor(services().random->Rnd() * 10000));
        Language = QStringLiteral("english");
        Timer1->stop();
        removeTempFile();

        const QString privateFile = clientPath(QStringLiteral("config/private.txt"));
        if (ReadIni(QStringLiteral("Private"), QStringLiteral("127.0.0.1"), privateFile).isEmpty() || !FileExists(privateFile))
            WriteIni(QStringLiteral("Private"), QStringLiteral("127.0.0.1"), QStringLiteral("2000"), privateFile);
        EnsureFolder(QStringLiteral("config"));
        EnsureFolder(QStringLiteral("logs"));
        EnsureFolder(QStringLiteral("data"));
        const QString port = ReadIni(QStringLiteral("Proxy"), QStringLiteral("Port"), clientPath(QStringLiteral("config/private.txt")));
        txtproxy_port->setText(port.isEmpty() ? QStringLiteral("1024") : port);

        server_ip = Deployment::serverHost();
        server_port = Deployment::serverPort();

        if (QScreen* screen = QGuiApplication::primaryScreen()) move(screen->availableGeometry().center() - rect().center());
        show();
        activateWindow();
        txtlogin_username->setFocus(Qt::OtherFocusReason);
        Pause(0);

        lblCV->setVisible(true);
        lblYV->setVisible(true);
        lblVersion->setText(ClientConfig().Version());
        lblCurrentVersion->setText(ClientConfig().CurrentVersion());
        // An unknown newest version (the web site could not be reached) offers no patch.
        const QString newest = ClientConfig().CurrentVersion();
        lblPatchlink->setVisible(!newest.isEmpty() && newest != ClientConfig().Version());
    });
}

void frmstart::Form_QueryUnload(int& cancel, int mode) {
    Q_UNUSED(cancel);
    if (mode == vb::FormControlMenu) EndProgram(0);
}

void frmstart::Form_Unload(int& cancel) {
    Q_UNUSED(cancel);
    Timer1->stop();
    removeTempFile();
    if (!unloading()) unloadWidget(this);
}

void frmstart::cmdLogin_Click() {
    shielded("frmstart::cmdLogin_Click", [&] {
        try {
            const QString nick = txtlogin_username->text();
            const QString password = txtlogin_password->text();
            if (!plainName(nick)) {
                MsgBox(kCharacterRule, vb::OKOnly, QString());
                txtlogin_username->setFocus();
                return;
            }
            if (!plainName(password)) {
                MsgBox(kCharacterRule, vb::OKOnly, QString());
                txtlogin_password->setFocus();
                return;
            }
            Nickname = nick;
            cmdLogin->Enabled(false);
            // The port box holds text; only 1 to 65535 names a port, 0 lets the system choose.
            const double port = vbVal(txtproxy_port->text());
            frmCon* con = form<frmCon>();
            con->Winsock->LocalPort = vbCLng(port);
            if (nick.isEmpty()) {
                MsgBox(QStringLiteral("An username is required to login."), vb::Information, QStringLiteral("Error"));
                txtlogin_username->setFocus();
                cmdLogin->Enabled(true);
                return;
            }
            if (password.isEmpty()) {
                MsgBox(QStringLiteral("A password is required to login."), vb::Information, QStringLiteral("Error"));
                txtlogin_password->setFocus();
                cmdLogin->Enabled(true);
                return;
            }
            if (nick == nick.toUpper()) {
                MsgBox(QStringLiteral("You may not login to Corvadex with an username in all capital letters.  Please "
                                      "turn off caps lock and try again."),
                       vb::Information, QStringLiteral("Corvadex"));
                txtlogin_username->setFocus();
                cmdLogin->Enabled(true);
                return;
            }
            if (server_ip.isEmpty() && server_port.isEmpty()) {
                server_ip = Deployment::serverHost();
                server_port = Deployment::serverPort();
            }
            ClientConfig().Username(nick);
            ClientConfig().Password(password);
            if (port < 0 || port > 65535) throw RuntimeError(QStringLiteral("Overflow"), 6);
            form<frmConnect>()->Connect(server_ip, server_port, int(con->Winsock->LocalPort));
            // Connect closes the window again when it has no server to go to.
            if (frmConnect* connecting = ifLoaded<frmConnect>()) connecting->show();
        } catch (const RuntimeError& e) {
            loginFailed(e.number());
        } catch (const std::exception&) {
            loginFailed(0);
        }
    });
}

void frmstart::loginFailed(int number) {
    const bool connection = number == 40020 || number == SocketControl::sckBadState;
    MsgBox(connection ? QStringLiteral("A connection error occured.  Please restart the game client.")
                      : QStringLiteral("A login error occured.  Please restart the game client."),
           vb::OKOnly, QString());
    cmdLogin->Enabled(true);
}

void frmstart::txtlogin_password_KeyPress(int KeyAscii) {
    if (KeyAscii == 13) cmdLogin_Click();
}

void frmstart::txtproxy_port_LostFocus() {
    const double port = vbVal(txtproxy_port->text());
    if (port >= 1000 && port < 65536) return;
    txtproxy_port->setText(QStringLiteral("1024"));
    txtproxy_port->setFocus();
}

void frmstart::cmdServerOptions_Click() {
    shielded("frmstart::cmdServerOptions_Click", [&] {
        const QString ip = InputBox(QStringLiteral("Enter Server IP"), QStringLiteral("Server Options"), server_ip);
        if (ip.isEmpty() || ip == QLatin1String("2")) return;
        const QString port = InputBox(QStringLiteral("Enter Server Port"), QStringLiteral("Server Options"), server_port);
        if (port.isEmpty() || port == QLatin1String("2")) return;
        server_ip = ip;
        server_port = port;
        MsgBox(QStringLiteral("Information Saved.  You may now try to login"), vb::Information, QStringLiteral("Information Saved"));
    });
}

void frmstart::cmdNewUser_Click() {
    shielded("frmstart::cmdNewUser_Click", [] { OpenLink(Deployment::website() + QStringLiteral("/Register.aspx")); });
}

void frmstart::cmdLostPassword_Click() {
    shielded("frmstart::cmdLostPassword_Click", [] { OpenLink(Deployment::website() + QStringLiteral("/LostPassword.aspx")); });
}

void frmstart::lblPatchlink_Click() {
    shielded("frmstart::lblPatchlink_Click", [] {
        ShellOpen(clientPath(QStringLiteral("Updater.exe")));
        EndProgram(0);
    });
}

void frmstart::mouseMoveEvent(QMouseEvent* e) {
    for (RFButton* b : {cmdLogin, cmdNewUser, cmdLostPassword, cmdServerOptions})
        shielded("frmstart::Form_MouseMove", [b] { b->RolloverRelease(); });
    FormWindow<QWidget>::mouseMoveEvent(e);
}

bool frmstart::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txtproxy_port && event->type() == QEvent::FocusOut) {
        // Switching to another program is not leaving the box.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        // The check runs once the focus has moved, so that taking it back is not undone.
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            QMetaObject::invokeMethod(
                this, [this] { shielded("frmstart::txtproxy_port_LostFocus", [this] { txtproxy_port_LostFocus(); }); },
                Qt::QueuedConnection);
    } else if (watched == lblPatchlink && event->type() == QEvent::MouseButtonRelease &&
               static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        lblPatchlink_Click();
        return true;
    }
    return FormWindow<QWidget>::eventFilter(watched, event);
}
