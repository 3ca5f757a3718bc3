#include "tables/frmchallengebox_single.h"

#include "game/ModMiscFunctions.h"
#include "game/clsCVRules.h"
#include "platform/VbCompat.h"

#include <QScrollBar>
#include <QTextCursor>

frmchallengebox_single::frmchallengebox_single()
    : Player1(new QLabel(this)), Player2(new QLabel(this)), chatin(new QTextEdit(this)) {
    setObjectName(QStringLiteral("frmchallengebox_single"));
    Player1->setObjectName(QStringLiteral("Player1"));
    Player1->setTextFormat(Qt::PlainText);
    Player2->setObjectName(QStringLiteral("Player2"));
    Player2->setTextFormat(Qt::PlainText);
    chatin->setObjectName(QStringLiteral("chatin"));
    chatin->setReadOnly(true);
}

std::shared_ptr<clsCVRules> frmchallengebox_single::oCVGame() {
    if (!m_oCVGame) m_oCVGame = std::make_shared<clsCVRules>();
    return m_oCVGame;
}

void frmchallengebox_single::oCVGame(std::shared_ptr<clsCVRules> rules) { m_oCVGame = std::move(rules); }

void frmchallengebox_single::ChallengeBlockChat(const QString& text, long colour) {
    QTextCursor cursor(chatin->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(text + u'\n', UserChatFormat(vbColor(colour)));
    chatin->verticalScrollBar()->setValue(chatin->verticalScrollBar()->maximum());
}
