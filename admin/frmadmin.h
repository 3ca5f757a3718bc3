#pragma once
// The operator's console: the operators' own chat, the quick-call keywords, the queue of player
// requests with Grant and Deny, the refusal of private messages, the game-master scripts and the
// two chat bots (frmadmin_bots.cpp). Shown by an accepted administrator login; it stays for the
// rest of the run and refuses to be closed by the user.
#include "admin/clsPlayerScore.h"
#include "platform/Forms.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QList>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QTextEdit>
#include <QTimer>
#include <cstdint>

class frmadmin : public FormWindow<QMainWindow> {
    Q_OBJECT
public:
    frmadmin();
    void Form_Load();

    QTextEdit* chatin;          // the operators' chat log
    QLineEdit* chatout;         // the operators' chat input
    QLabel* lblKeywords;
    QListWidget* lstkeywords;   // quick-call keywords; a double click sends one
    QLabel* lblRequests;
    QListWidget* lstrequests;   // pending player requests: "<KIND> <player> ..."
    QLabel* imgForum;
    QLabel* imgInfraction;
    QLabel* imgPortal;
    QLabel* imgGld;
    QLabel* imgGldPortal;
    QLabel* imgWiki;
    QTimer* tmrTrivia;          // answer time of the open trivia question
    QTimer* tmrTriviaNext;      // pause before the next question
    QMenu* mnuControls;
    QAction* mnuDisablePM;      // checked: private messages to this operator are refused
    QMenu* mnuScripts;
    QAction* mnu8Ball;
    QAction* mnuMarryPlayers;
    QAction* mnuTournamentHelper;
    QAction* mnuTriviaBot;
    QMenu* mnuRequests;
    QAction* mnuGrant;
    QAction* mnuDeny;
    QAction* mnuClearAll;

    // The points and the answer of the open trivia question ("" once answered).
    int16_t TriviaPoints() const { return m_triviaPoints; }
    void TriviaPoints(int16_t points) { m_triviaPoints = points; }
    QString QuestionAnswer() const { return m_questionAnswer; }
    void QuestionAnswer(const QString& answer) { m_questionAnswer = answer; }

    // One line of the operators' chat: the name in bold, then " commands, " and the quoted text.
    void AddAdminTxt(const QString& name, const QString& text);
    // Fills the keyword list from the web service; a query without records leaves it as it was.
    void LoadKeywords();
    // True when the lobby lists the player (letter case ignored); otherwise says so in the lobby.
    bool userexist(const QString& name);
    // Asks the next trivia question, or ends the quiz when none is left.
    void NextQuestion();
    // Adds points to a player's trivia score; names differing only in letter case share one.
    void TriviaGivePoint(const QString& player, int16_t points);
    // The scores of the running (or last) quiz, in the order the players first scored.
    const QList<clsPlayerScore>& Scores() const { return m_scores; }

    void Form_QueryUnload(int& cancel, int mode) override;

public slots:
    void chatout_KeyPress(int16_t& KeyAscii);
    void lstkeywords_DblClick();
    // An arrow key on the request list (the old key codes: 38 up, 40 down).
    void lstrequests_KeyDown(int KeyCode);
    void mnuGrant_Click();
    void mnuDeny_Click();
    void mnuClearAll_Click();
    void mnuDisablePM_Click();
    void mnuMarryPlayers_Click();
    void mnuTournamentHelper_Click();
    void mnu8Ball_Click();
    void mnuTriviaBot_Click();
    void tmrTrivia_Timer();
    void tmrTriviaNext_Timer();
    void imgForum_Click();
    void imgInfraction_Click();
    void imgPortal_Click();
    void imgGld_Click();
    void imgGldPortal_Click();
    void imgWiki_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus();
    void layOut();
    // The selected request, "" when none.
    QString selectedRequest() const;
    void EndTrivia();
    // Switches whichever bot runs off: its timers stop and a running quiz ends without a word.
    void stopBots();

    QString m_questionAnswer;
    int16_t m_triviaPoints = 0;
    QString m_triviaFile;
    QString m_giveAnswers;
    int16_t m_questionsLeft = 0;
    int16_t m_fileQuestions = 0;
    int16_t m_questionNumber = 0;
    // Bumped by every switch of a bot, so a quiz start waiting out its pause knows it is stale.
    int m_botRun = 0;
    QList<clsPlayerScore> m_scores;
};
