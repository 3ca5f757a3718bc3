#include "app/modSnapshot.h"

#include "lobby/fancychat.h"
#include "lobby/frmchildchat.h"
#include "platform/Forms.h"
#include "platform/Paths.h"
#include "platform/Services.h"

#include <QApplication>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

namespace {
constexpr int kMaxSnapshots = 10000;

// The screen the lobby stands on, as Print Screen would take it, where the window system lets a
// program read the screen (X11, Windows); elsewhere, or when reading it fails, the lobby window.
QPixmap photograph(QWidget* lobby) {
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("xcb") || platform == QLatin1String("windows")) {
        QScreen* screen = lobby->screen() ? lobby->screen() : QGuiApplication::primaryScreen();
        if (screen) {
            const QPixmap whole = screen->grabWindow(0);
            if (!whole.isNull()) return whole;
        }
    }
    return lobby->grab();
}
}  // namespace

bool TakeSnapshot() {
    // The picture is taken directly: the player's clipboard is never touched.
    int error = 0;
    QString description;
    EnsureFolder(QStringLiteral("snapshots"));
    if (!FileExists(clientPath(QStringLiteral("snapshots")))) {
        error = 76;
        description = QStringLiteral("Path not found");
    }
    QString name;
    for (int n = 0; !error && n < kMaxSnapshots; ++n) {
        const QString candidate = clientPath(QStringLiteral("snapshots/snap") + QString::number(n) + QStringLiteral(".bmp"));
        if (!FileExists(candidate)) {
            name = candidate;
            break;
        }
    }
    if (!error && name.isEmpty()) {
        PrintChatLine(QStringLiteral("Error"), QString(), QStringLiteral("Too much snap shots in the snapshots directory, erase some"), 255);
        return false;
    }
    if (!error) {
        frmchildchat* lobby = form<frmchildchat>();
        DoEvents();
        const QPixmap picture = photograph(lobby);
        if (picture.isNull()) {
            error = 481;
            description = QStringLiteral("Invalid picture");
        } else if (!picture.save(name, "BMP")) {
            error = 75;
            description = QStringLiteral("Path/File access error");
        }
    }
    if (error) {
        MsgBox(QStringLiteral("Error Occured in SnapShot. Error #: ") + QString::number(error) + QStringLiteral(", ") + description,
               0, QApplication::applicationName().isEmpty() ? QStringLiteral("Corvadex") : QApplication::applicationName());
        return false;
    }
    PrintChatLine(QStringLiteral("Snap"), QString(),
                  QStringLiteral("Snapshot taken.  The snapshot was stored at: ") + name +
                      QStringLiteral("\r\n\r\nNote: Snapshots will only take pictures of the chat window.  If you want to "
                                     "include game boards, use the print screen and paste into Microsoft Paint or any "
                                     "graphical tool.  This will allow you to save it to a bmp, jpg, or png file."),
                  65535);
    return true;
}
