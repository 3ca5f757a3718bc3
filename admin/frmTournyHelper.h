#pragma once
// The tournament helper: runs a single-elimination tournament in the public chat from an
// administrator's client. It announces the tournament and counts the registration down once a
// minute, registers players (by private message or from the player menu, with the entry fee
// through the web service), pairs the players still in at random each round, follows the
// results the server reports, eliminates losers, crowns the winner and logs the tournament.
#include "platform/Forms.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <cstdint>

class frmTournyHelper : public FormWindow<QWidget> {
    Q_OBJECT
public:
    frmTournyHelper();

    // The skin's title strip.
    QWidget* picTitle;
    QLabel* lblTitle;
    QLineEdit* txtTitle;
    QComboBox* cmbType;
    QLineEdit* txtRules;
    QComboBox* cmbGame;
    QComboBox* cmbFee;
    QComboBox* cmbTimer;
    QLineEdit* txtPrize;
    QCheckBox* chkOther;
    QCheckBox* chkPot;
    QCheckBox* chkAcceptPM;
    QListWidget* lstRegistrations;
    QListWidget* lstwinner;
    QListWidget* lstloser;
    QListWidget* lstmatches;
    QListWidget* lstshuffle;
    QListWidget* lstRank;
    QPlainTextEdit* txtDebug;
    QPushButton* cmdBegin;
    QPushButton* cmdRemove;
    QTimer* tmrTimer;

    int16_t MinutesLeft = 0;
    int16_t RoundNumber = 0;
    int16_t GamesPlayed = 0;
    // The pot and the id the web service gives can pass 16 bits (four players at 10000 gold).
    int32_t TournamentID = 0;
    int64_t PotAmount = 0;

    // A reported result: acts only on a game of the tournament's own kind, for a pair that has
    // an open match; the loser is eliminated.
    void HandleMatch(const QString& sWinner, const QString& sLoser, int16_t iWinnerScore, int16_t iLoserScore, int16_t iGameType);
    // Enters a player, charging the entry fee when bFee is set. The private-message road asks
    // first whether registrations are announced and accepted; the player menu may add at any time.
    void RegisterPlayer(const QString& name, bool bFee);
    void nextround();
    void single_nextround();

    void Form_Unload(int& cancel) override;

public slots:
    void Form_Load();
    void chkAcceptPM_Click();
    void chkOther_Click();
    void cmdBegin_Click();
    void cmdRemove_Click();
    void tmrTimer_Timer();

private:
    void LogTournament();
    void LogRankings();
    void LogTournamentPlayer(const QString& name, int rank);
    void LogTournamentPrize(const QString& name, int64_t amount);
    void AnnouncePrize();
    void AddLog(const QString& text);
    void ResetCounters();
    // The tournament is over: no more registrations by private message.
    void closeRegistration();
    void pm(const QString& name, const QString& text);
    // "PM me to get entered" or the wait notice, by chkAcceptPM.
    QString entering() const;
    // The fee as a number (the list holds whole numbers).
    int64_t fee() const;
    // Runs a logging call; a failure is reported in the log. True when it went through.
    bool logCall(const QString& procedure, QString call, QString* idOut = nullptr);
};
