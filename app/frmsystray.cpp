#include "app/frmsystray.h"

#include "app/Deployment.h"
#include "app/ErrorHandler.h"
#include "app/modLinks.h"
#include "app/storedvars.h"
#include "lobby/frmchildchat.h"
#include "net/frmCon.h"
#include "platform/Services.h"

#include <QApplication>
#include <QCursor>
#include <QStyle>
#include <QTimer>

frmsystray::frmsystray() : mPopUp(new QMenu(QStringLiteral("Systray"), this)) {
    setObjectName(QStringLiteral("frmsystray"));
    setWindowTitle(QStringLiteral("Corvadex"));
    mPopUp->setObjectName(QStringLiteral("mPopUp"));
    mnuqexit = mPopUp->addAction(QStringLiteral("Exit Rookfell Online"));
    mnuqexit->setObjectName(QStringLiteral("mnuqexit"));
    hr1 = mPopUp->addSeparator();
    hr1->setObjectName(QStringLiteral("hr1"));
    mnuForums = mPopUp->addAction(QStringLiteral("Rookfell Online Forums"));
    mnuForums->setObjectName(QStringLiteral("mnuForums"));
    mnuwebsite = mPopUp->addAction(QStringLiteral("Rookfell Online Website"));
    mnuwebsite->setObjectName(QStringLiteral("mnuwebsite"));
    connect(mnuqexit, &QAction::triggered, this, &frmsystray::mnuqexit_Click);
    connect(mnuForums, &QAction::triggered, this, &frmsystray::mnuForums_Click);
    connect(mnuwebsite, &QAction::triggered, this, &frmsystray::mnuwebsite_Click);
}

frmsystray::~frmsystray() {
    if (tray) tray->hide();
}

QString frmsystray::tipText() {
    return QStringLiteral("Corvadex %1.%2.%3").arg(AppMajor).arg(AppMinor).arg(AppRevision);
}

void frmsystray::Form_Load() {
    // Without a notification area the client runs on without its icon.
    if (QSystemTrayIcon::isSystemTrayAvailable()) {
        tray = new QSystemTrayIcon(QApplication::windowIcon().isNull() ? style()->standardIcon(QStyle::SP_ComputerIcon)
                                                                      : QApplication::windowIcon(),
                                   this);
        tray->setToolTip(tipText());
        tray->setContextMenu(mPopUp);
        connect(tray, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason r) {
            if (r == QSystemTrayIcon::DoubleClick) iconMessage(515);
        });
        tray->show();
    }
}

void frmsystray::showEvent(QShowEvent* e) {
    FormWindow<QWidget>::showEvent(e);
    // The window only carries the icon: it hides itself once shown.
    QTimer::singleShot(0, this, [this] { hide(); });
}

void frmsystray::iconMessage(int code) {
    if (code == 515) {
        raise();
    } else if (code == 517) {
        raise();
        mPopUp->popup(QCursor::pos());
    }
}

void frmsystray::mnuForums_Click() { OpenLink(Deployment::website() + QStringLiteral("/starvale-corvada-forums/")); }

void frmsystray::mnuwebsite_Click() { OpenLink(Deployment::website()); }

void frmsystray::mnuqexit_Click() {
    // Nothing here may stop the quit.
    shielded("frmsystray::mnuqexit_Click", [] {
        ConnectionState = 2;
        frmCon* con = ifLoaded<frmCon>();
        if (con && con->Winsock->connected()) {
            con->Winsock->Tag = QStringLiteral("out");
            // Lets the receive pump end the client when the server closes instead of answering.
            if (frmchildchat* lobby = ifLoaded<frmchildchat>()) lobby->QuitEngaged(true);
            con->SendToServer(QStringLiteral("QUIT ") + QString::number(AdminMinutes) + QStringLiteral(" 1"));
            DoEvents();
        }
    });
}
