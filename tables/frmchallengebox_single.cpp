#include "tables/frmchallengebox_single.h"

#include "app/modSettings.h"
#include "game/clsCVRules.h"
#include "platform/Ini.h"
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
    QTextCharFormat format;
    const QString settings = GetIniFile();
    const QString family = ReadIni(QStringLiteral("Chat"), QStringLiteral("Font"), settings);
    const double size = vbVal(ReadIni(QStringLiteral("Chat"), QStringLiteral("FontSize"), settings));
    if (!family.isEmpty()) format.setFontFamilies({family});
    if (size > 0) format.setFontPointSize(size);
    format.setForeground(vbColor(colour));
    cursor.insertText(text + u'\n', format);
    chatin->verticalScrollBar()->setValue(chatin->verticalScrollBar()->maximum());
}
