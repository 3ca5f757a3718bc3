#include "lobby/chatloggers.h"

#include "lobby/fancychat.h"
#include "lobby/frmchildchat.h"
#include "net/frmCon.h"
#include "platform/Codec1252.h"
#include "platform/Forms.h"
#include "platform/Paths.h"
#include "platform/RuntimeError.h"
#include "platform/Services.h"

#include <QDateTime>
#include <QFile>
#include <QLineEdit>

void ChatKeyPress(QWidget* form, int16_t& key, const QString& prefix, const QString& suffix) {
    // The plain chat send; the slash commands and flood control come with the chat input's own work.
    auto* input = form ? form->findChild<QLineEdit*>(QStringLiteral("chatout")) : nullptr;
    if (!input) return;
    const QString typed = prefix + input->text() + suffix;
    if (typed.contains(u'\r') || typed.trimmed().isEmpty()) return;
    if (key != 13 && key != 10) return;
    key = 0;
    QString line = typed;
    line.replace(QLatin1String("  "), QLatin1String(" "));
    bool moderation = false;
    for (const char* word : {"/warn", "/kick", "/ban", "/admin", "/where"}) moderation = moderation || line.contains(QLatin1String(word));
    if (!moderation)
        if (frmCon* con = ifLoaded<frmCon>()) con->SendToServer(QStringLiteral("CHAT ") + line);
    if (frmchildchat* lobby = ifLoaded<frmchildchat>()) lobby->back_away();
    input->clear();
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
