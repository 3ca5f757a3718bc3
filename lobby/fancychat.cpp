#include "lobby/fancychat.h"

#include "app/modLinks.h"
#include "app/modSkin.h"
#include "lobby/frmchildchat.h"
#include "platform/Forms.h"
#include "platform/Services.h"
#include "platform/VbCompat.h"

#include <QDateTime>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextEdit>

namespace {
constexpr int kLobbyLogLimit = 15000;
}

struct ChatRuns::Impl {
    QTextEdit* box;
    QTextCursor cursor;
    QTextCharFormat format;
    bool atBottom;
};

ChatRuns::ChatRuns(QTextEdit* box) : d(new Impl{box, QTextCursor(box->document()), QTextCharFormat(), true}) {
    QScrollBar* bar = box->verticalScrollBar();
    d->atBottom = !bar || bar->value() >= bar->maximum() - 4;
    d->cursor.movePosition(QTextCursor::End);
    d->cursor.beginEditBlock();
    d->format = d->cursor.charFormat();
    d->format.setAnchor(false);
    d->format.setFontUnderline(false);
}

ChatRuns::~ChatRuns() {
    d->cursor.endEditBlock();
    // Follow the newest line unless the reader scrolled back.
    if (d->atBottom) {
        if (QScrollBar* bar = d->box->verticalScrollBar()) bar->setValue(bar->maximum());
    }
    delete d;
}

void ChatRuns::font(const QString& family, double pointSize) {
    if (!family.isEmpty()) d->format.setFontFamilies({family});
    if (pointSize > 0) d->format.setFontPointSize(pointSize);
}

void ChatRuns::run(const QString& text, long colour, bool bold) {
    QTextCharFormat f = d->format;
    f.setForeground(vbColor(colour));
    f.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    d->cursor.insertText(text, f);
}

QString ChatTime() {
    return QDateTime::fromMSecsSinceEpoch(services().clock->wallMsSinceEpoch()).toString(QStringLiteral("HH:mm:ss"));
}

void TrimLobbyLogIfLong() {
    frmchildchat* lobby = ifLoaded<frmchildchat>();
    if (lobby && chatLength(lobby->chatin) > kLobbyLogLimit) TrimChatBox(lobby->chatin);
}

void PrintChatLine(const QString& label, const QString& name, const QString& text, long colour) {
    frmchildchat* lobby = form<frmchildchat>();
    TrimLobbyLogIfLong();
    if (lobby->chatout) lobby->chatout->end(false);
    ChatRuns out(lobby->chatin);
    out.font(GetSkinValue(QStringLiteral("main"), QStringLiteral("fontface")),
             vbVal(GetSkinValue(QStringLiteral("main"), QStringLiteral("fontsize"))));
    out.run(QStringLiteral("<"), colour);
    out.run(label, 16777215, true);
    out.run(QStringLiteral("> "), colour);
    out.run(name + u' ', colour, true);
    out.run(text + u' ' + ChatTime() + QStringLiteral("\n"), colour);
}
