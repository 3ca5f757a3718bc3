#pragma once
// The tournament helper: runs a single-elimination tournament from an administrator's client.
// The tournament work comes with the administration tools; the lobby's handlers already hand it
// match results and registrations by private message.
#include "platform/Forms.h"

#include <QString>
#include <QWidget>
#include <cstdint>

class frmTournyHelper : public FormWindow<QWidget> {
    Q_OBJECT
public:
    frmTournyHelper();

    // A reported game result for the running tournament.
    void HandleMatch(const QString& winner, const QString& loser, int16_t score1, int16_t score2, int16_t gameType);
    // Enters a player into the announced tournament (charging the fee when asked).
    void RegisterPlayer(const QString& name, bool chargeFee);
};
