#include "lobby/frmguildchat.h"

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
}

// The member list is rebuilt from the lobby's player tree by the guild window's own work.
void frmguildchat::RefreshGuildPlayerList() {}
