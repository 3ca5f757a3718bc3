#include "app/frmsplash.h"

#include "app/Deployment.h"
#include "app/ErrorHandler.h"
#include "app/HttpClient.h"
#include "app/frmsystray.h"
#include "app/modSkin.h"
#include "app/storedvars.h"
#include "net/frmstart.h"
#include "platform/Ini.h"
#include "platform/Paths.h"
#include "platform/Services.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QGuiApplication>
#include <QScreen>

frmsplash::frmsplash() : tmrload(new QTimer(this)), picture(new QLabel(this)) {
    setObjectName(QStringLiteral("frmsplash"));
    tmrload->setObjectName(QStringLiteral("tmrload"));
    picture->setObjectName(QStringLiteral("picture"));
    setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
    setWindowTitle(QStringLiteral("Corvadex"));
    tmrload->setInterval(2000);
    connect(tmrload, &QTimer::timeout, this, &frmsplash::tmrload_Timer);
}

void frmsplash::Form_Load() {
    try {
        tmrload->stop();
        const QString path = clientPath(QStringLiteral("\\skins") + GetSkinValue(QStringLiteral("splash"), QStringLiteral("background")));
        QPixmap pix;
        if (!FileExists(path) || !pix.load(path)) {
            MsgBox(QStringLiteral("The application could not find one or more skin files.  It may be because you have "
                                  "unzipped an update into the wrong folder or in the wrong location.  It may also be "
                                  "possible that you downloaded an update but not the entire installation.  Please "
                                  "install CVX on ") +
                       Deployment::downloadSite() +
                       QStringLiteral(" or make sure you unzipped the update in the correct location.  The application "
                                      "will now terminate."),
                   vb::Information, QStringLiteral("Skin Error"));
            EndProgram(1);
            return;
        }
        picture->setPixmap(pix);
        picture->resize(pix.size());
        setFixedSize(pix.size());
        if (QScreen* screen = QGuiApplication::primaryScreen()) move(screen->availableGeometry().center() - rect().center());
        CheckVersion();
        if (frmsystray* tray = ifLoaded<frmsystray>()) tray->hide();
        tmrload->start();
    } catch (const std::exception& e) {
        SplashErrorHandler(QString::fromLocal8Bit(e.what()), QStringLiteral("frmstart.load"));
    }
}

void frmsplash::CheckVersion() {
    const QString file = clientPath(QStringLiteral("versionfile.txt"));
    const HttpResponse reply = HttpClient::get(Deployment::website() + QStringLiteral("/programs/updater/version.txt"));
    if (!reply.ok()) {
        // No network or no site: the version is unknown, which is not an error, and the copy of
        // an earlier run stays.
        ClientConfig().CurrentVersion(QString());
        return;
    }
    // Kept as fetched, so its [Info] keys read as an ini file. The new copy replaces the old one
    // only once it is written whole.
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(reply.body) != reply.body.size() || !out.commit()) {
        ClientConfig().CurrentVersion(QString());
        return;
    }
    ClientConfig().CurrentVersion(ReadIni(QStringLiteral("Info"), QStringLiteral("Version"), file));
    ClientConfig().WhatsNew(ReadIni(QStringLiteral("Info"), QStringLiteral("WhatsNew"), file));
}

void frmsplash::tmrload_Timer() {
    try {
        tmrload->stop();
        // Temporary files the login window named in earlier runs: "tmp" as it writes it, the
        // ending in any case, as the file system of the settings files matches it.
        QDir folder(ClientFolder());
        for (const QString& name : folder.entryList({QStringLiteral("*.ini")}, QDir::Files))
            if (name.startsWith(QLatin1String("tmp")) && name.endsWith(QLatin1String(".ini"), Qt::CaseInsensitive)) folder.remove(name);
        Pause(0);
        form<frmstart>()->show();
        unloadWidget(this);
    } catch (const std::exception& e) {
        SplashErrorHandler(QString::fromLocal8Bit(e.what()), QStringLiteral("tmrload_timer"));
    }
}
