#pragma once
// The administrator window.
#include "platform/Forms.h"

#include <QAction>
#include <QListWidget>
#include <QTextEdit>
#include <QTimer>
#include <QWidget>
#include <cstdint>

class frmadmin : public FormWindow<QWidget> {
    Q_OBJECT
public:
    frmadmin();
    QTextEdit* chatin;  // the administrator chat log
    QListWidget* lstrequests;  // pending player requests: "<KEYWORD> <player> ..."
    QAction* mnuDisablePM;     // checked: private messages to the administrator are refused
    QTimer* tmrTrivia;         // 30 s for the open trivia question
    QTimer* tmrTriviaNext;     // 5 s before the next question

    // The answer of the open trivia question, "" once answered.
    QString QuestionAnswer() const { return m_questionAnswer; }
    void QuestionAnswer(const QString& answer) { m_questionAnswer = answer; }
    // The points the open question is worth.
    int16_t TriviaPoints() const { return m_triviaPoints; }
    // Adds points to a player's trivia score (the scores come with the trivia bot).
    void TriviaGivePoint(const QString& player, int16_t points);
    void Form_QueryUnload(int& cancel, int mode) override;

private:
    QString m_questionAnswer;
    int16_t m_triviaPoints = 0;
};
