#pragma once
// The guild chat window: the guild's own chat log, input and members on line.
#include "platform/Forms.h"

#include <QLineEdit>
#include <QTextEdit>
#include <QTreeWidget>
#include <QWidget>
#include <cstdint>

class frmguildchat : public FormWindow<QWidget> {
    Q_OBJECT
public:
    frmguildchat();

    QTextEdit* chatin;
    QLineEdit* chatout;
    QTreeWidget* playerlist;

    // Reading gives the whole caption; writing v shows "[v] Guild Chat".
    QString TitleBar() const { return windowTitle(); }
    void TitleBar(const QString& value) { setWindowTitle(u'[' + value + QStringLiteral("] Guild Chat")); }
    void RefreshGuildPlayerList();

    // A key typed into chatout (its old key code; set to 0 to swallow it).
    void chatout_KeyPress(int16_t& KeyAscii);
};
