#include "lobby/chatloggers.h"

#include "lobby/fancychat.h"
#include "lobby/frmchildchat.h"
#include "platform/Codec1252.h"
#include "platform/Forms.h"
#include "platform/Paths.h"
#include "platform/RuntimeError.h"
#include "platform/Services.h"

#include <QDateTime>
#include <QFile>

void LogChat(const QString& text, const QString& name) {
    if (!isSafePathComponent(name)) throw RuntimeError(QStringLiteral("Bad file name or number"), 52);
    const QDateTime now = QDateTime::fromMSecsSinceEpoch(services().clock->wallMsSinceEpoch());
    EnsureFolder(QStringLiteral("logs"));
    const QString path =
        clientPath(QStringLiteral("logs/") + name + u'_' + now.toString(QStringLiteral("MM-dd-yyyy")) + QStringLiteral(".log"));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Append))
        throw RuntimeError(QStringLiteral("Path/File access error"), 75);
    const QByteArray line = encode1252(u'(' + ChatTime() + QStringLiteral(") ") + text + QStringLiteral("\r\n"));
    if (f.write(line) != line.size()) throw RuntimeError(QStringLiteral("Device I/O error"), 57);
}

void LogMainChat(const QString& text) {
    static const char* const kFailed = "chatLogFailed";
    frmchildchat* lobby = ifLoaded<frmchildchat>();
    try {
        LogChat(text, QStringLiteral("mainchat"));
        if (lobby) lobby->setProperty(kFailed, false);
    } catch (const std::exception& e) {
        qWarning("chat log: %s", e.what());
        if (!lobby || lobby->property(kFailed).toBool()) return;
        lobby->setProperty(kFailed, true);
        PrintChatLine(QStringLiteral("log"), QString(), QStringLiteral("The chat log file could not be written; chat is not being logged."),
                      ChatColour::Red);
    }
}
