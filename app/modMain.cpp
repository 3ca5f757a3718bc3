#include "app/modMain.h"

#include "admin/frmadmin.h"
#include "app/CGUnzipFiles.h"
#include "app/frmsplash.h"
#include "app/frmsystray.h"
#include "app/modSettings.h"
#include "app/storedvars.h"
#include "game/frmplaying.h"
#include "lobby/frmchildchat.h"
#include "net/frmCon.h"
#include "net/frmstart.h"
#include "tables/ChallengeRoom.h"
#include "tables/frmchallengebox_single.h"
#include "platform/Forms.h"
#include "platform/Ini.h"
#include "platform/Paths.h"
#include "platform/Services.h"
#include "platform/SingleInstance.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>

#include <filesystem>
#include <system_error>

namespace {
// Claims the client folder for this copy; false when another copy answered.
bool claimSingleInstance() {
    auto* instance = new SingleInstance(ClientFolder(), qApp);
    if (instance->otherRunning()) return false;
    if (!instance->listen()) {
        // Two copies started together: the one that took the name first wins.
        if (instance->otherRunning()) return false;
    }
    QObject::connect(instance, &SingleInstance::activationRequested, qApp, [] { activateClientWindow(); });
    return true;
}
}  // namespace

bool Main() {
    MsgWindows = {QPointer<frmMsgWind>()};
    MsgWindowUsed = {0};
    MsgWindowCount = 0;
    if (!claimSingleInstance()) return false;
    FirstRunSetup();
    SkinName = ReadIni(QStringLiteral("startup"), QStringLiteral("skin"), MainIniPath());
    if (SkinName.isEmpty()) {
        WriteIni(QStringLiteral("startup"), QStringLiteral("skin"), QStringLiteral("default"), MainIniPath());
        SkinName = QStringLiteral("default");
    }
    form<frmsystray>()->show();
    form<frmsplash>()->show();
    return true;
}

void FirstRunSetup() {
    for (const char* folder : {"decks", "decks/Blue", "decks/Red", "skins", "skins/default", "skins/default/avatars",
                               "skins/default/dice", "skins/default/element", "skins/default/sphere", "wavs", "wavs/sphere"})
        EnsureFolder(QString::fromLatin1(folder));
    for (const char* name : {"decks.zip", "skins.zip", "wavs.zip"}) {
        const QString archive = clientPath(QString::fromLatin1(name));
        if (!FileExists(archive)) continue;
        if (QLatin1String(name) == QLatin1String("decks.zip"))
            MsgBox(QStringLiteral("Because this is the first time you are running this application, it may take up to 3 "
                                  "minutes to start the application as certain files have to be created.  Please stand by."),
                   vb::Information, QStringLiteral("Start up"));
        const int result = UnzipArchive(archive, ClientFolder() + u'/');
        if (result == 0) {
            QFile::remove(archive);
            continue;
        }
        // The archive stays for the next start; the player hears of it once.
        QString reason = UnzipMessage.trimmed();
        if (reason.isEmpty()) reason = QStringLiteral("error code ") + QString::number(result);
        MsgBox(QStringLiteral("The file ") + QString::fromLatin1(name) +
                   QStringLiteral(" could not be unpacked (") + reason +
                   QStringLiteral(").  It was kept and will be unpacked again at the next start."),
               vb::Exclamation, QStringLiteral("Start up"));
    }
}

int UnzipArchive(const QString& archive, const QString& target) {
    CGUnzipFiles unzipper;
    return unzipper.Unzip(archive, target);
}

void SafeFileCopy(const QString& source, const QString& target) {
    const QString from = resolvePath(source);
    const QString to = resolvePath(target);
    // The target is replaced only by a whole copy, so a failed copy loses nothing.
    if (!QFileInfo(from).isFile()) return;
    const QString part = to + QStringLiteral(".part");
    QFile::remove(part);
    if (!QFile::copy(from, part)) {
        QFile::remove(part);
        return;
    }
    std::error_code ec;
    std::filesystem::rename(QFile::encodeName(part).toStdString(), QFile::encodeName(to).toStdString(), ec);
    if (ec) QFile::remove(part);
}

void ShutDown() {
    // A two-seat room still open gives its table up, so the table does not outlive the program.
    if (ifLoaded<frmchallengebox_single>()) SendRoomLine(QStringLiteral("TABLECLOSE"));
    unload<frmadmin>();
    unload<frmchildchat>();
    unload<frmplaying>();
    unload<frmstart>();
    unload<frmsplash>();
    unload<frmsystray>();
    unload<frmCon>();
    EndProgram(0);
}
