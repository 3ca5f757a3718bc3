#include "lobby/chatloggers.h"

#include "lobby/fancychat.h"
#include "platform/Codec1252.h"
#include "platform/Paths.h"
#include "platform/RuntimeError.h"
#include "platform/Services.h"

#include <QDateTime>
#include <QFile>

void ChatKeyPress(QWidget* form, int16_t& key, const QString& prefix, const QString& suffix) {
    // The command parser of the chat input comes with its own work; until then keys pass through.
    Q_UNUSED(form);
    Q_UNUSED(key);
    Q_UNUSED(prefix);
    Q_UNUSED(suffix);
}

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
