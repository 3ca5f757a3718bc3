#include "game/GameChatInput.h"

#include <QLineEdit>
#include <QTextEdit>

QString TakeGameChatLine(QTextEdit* log, QLineEdit* input, int& KeyAscii) {
    if (KeyAscii == 1) {
        log->clear();
        return {};
    }
    QString text = input->text();
    if (text.contains(QChar(3)) || text.trimmed().isEmpty()) return {};
    if (KeyAscii == 22) KeyAscii = 32;
    if (KeyAscii != 13 && KeyAscii != 10) return {};
    text.replace(QStringLiteral("  "), QStringLiteral(" "));
    input->setText(text);
    KeyAscii = 0;
    return text;
}
