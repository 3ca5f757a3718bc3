#include "lobby/frmguildchat.h"

#include "app/storedvars.h"
#include "lobby/ChatInput.h"
#include "lobby/frmchildchat.h"
#include "platform/KeyAscii.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

frmguildchat::frmguildchat() : chatin(new QTextEdit(this)), chatout(new QLineEdit(this)), playerlist(new QTreeWidget(this)) {
    setObjectName(QStringLiteral("frmguildchat"));
    chatin->setObjectName(QStringLiteral("chatin"));
    chatout->setObjectName(QStringLiteral("chatout"));
    playerlist->setObjectName(QStringLiteral("playerlist"));
    chatin->setReadOnly(true);
    chatin->setAcceptRichText(false);
    chatin->setUndoRedoEnabled(false);
    playerlist->setHeaderHidden(true);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(playerlist, 2);
    auto* right = new QVBoxLayout;
    right->addWidget(chatin, 1);
    right->addWidget(chatout);
    layout->addLayout(right, 3);
    resize(678, 545);
    hookKeyPress(chatout, [this](int16_t& key) { chatout_KeyPress(key); });
}

void frmguildchat::chatout_KeyPress(int16_t& KeyAscii) {
    // An empty input types as usual: no command keys, and Enter sends nothing.
    if (chatout->text().isEmpty()) return;
    if (frmchildchat* lobby = ifLoaded<frmchildchat>()) lobby->intIdle = 0;
    // Every guild line is guild chat, whatever it begins with.
    ChatKeyPress(this, KeyAscii, QStringLiteral("/guild "), QString());
}

// The members on line: every lobby node whose "<guild>" part is the player's guild, in the
// lobby's order and with the lobby's texts.
void frmguildchat::RefreshGuildPlayerList() {
    playerlist->clear();
    frmchildchat* lobby = ifLoaded<frmchildchat>();
    if (!lobby) return;
    QList<QTreeWidgetItem*> members;
    for (int i = 0; i < lobby->playerlist->topLevelItemCount(); ++i) {
        const QString text = lobby->playerlist->topLevelItem(i)->text(0);
        const qsizetype close = text.indexOf(u'>');
        if (close < 0) continue;
        const qsizetype open = text.indexOf(u'<');
        if (open > close) continue;
        const QString tag = text.mid(open + 1, close - open - 1);
        if (tag != GuildName) continue;
        auto* node = new QTreeWidgetItem(QStringList{text});
        node->setData(0, Qt::UserRole, text);
        members << node;
    }
    playerlist->addTopLevelItems(members);
}
