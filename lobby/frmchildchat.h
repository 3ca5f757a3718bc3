#pragma once
// The lobby: chat log, chat input, players, tables and the menus of a logged-in player.
#include "platform/Forms.h"

#include <QAction>
#include <QLineEdit>
#include <QMainWindow>
#include <QTextEdit>

class frmchildchat : public FormWindow<QMainWindow> {
    Q_OBJECT
public:
    frmchildchat();

    QTextEdit* chatin;   // the public chat log
    QLineEdit* chatout;  // the chat input
    QAction* mnuExit;
    QAction* mnuawayon;
    QAction* mnuawayoff;

    bool QuitEngaged() const { return m_quitEngaged; }
    void QuitEngaged(bool on) { m_quitEngaged = on; }

    // Appends a line in the user's chat font and the colour (0xBBGGRR).
    void addmsg(const QString& text, long color);
    // Ends idle and away mode.
    void back_away();

    void Form_QueryUnload(int& cancel, int mode) override;

public slots:
    void Form_Load();
    void mnuExit_Click();

private:
    bool m_quitEngaged = false;
};
