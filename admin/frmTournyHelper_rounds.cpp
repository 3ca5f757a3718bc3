// The tournament's rounds: random pairing with byes, results from the server, manual removal,
// the winner and the logging of the finished tournament.
#include "admin/TournyShared.h"
#include "admin/frmTournyHelper.h"

#include "app/ErrorHandler.h"
#include "app/RunQuery.h"
#include "app/clsClientConfig.h"
#include "app/storedvars.h"
#include "net/LineFields.h"
#include "platform/Services.h"
#include "platform/VbCompat.h"

namespace {
// The result code of the game the tournament is played in.
int16_t gameCode(const QString& game) {
    static const std::pair<const char*, int16_t> codes[] = {{"Corvada", 1},        {"Omni Corvada", 2},   {"Orbolt", 3},
                                                           {"Corvada Memory", 4}, {"Chinchirorin", 6}, {"Corvada War", 7}};
    for (const auto& [name, code] : codes)
        if (game == QLatin1String(name)) return code;
    return 0;
}

// The two names of a match entry "<a>:<b>".
std::pair<QString, QString> sides(const QString& match) {
    const Fields f = Divide(match, QStringLiteral(":"));
    return {f[0], f[1]};
}

bool same(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

void chat(const QString& text) { lines::send(QStringLiteral("CHAT ") + text); }
}  // namespace

void frmTournyHelper::nextround() {
    if (cmbType->currentText() == QLatin1String("Single Elimination")) single_nextround();
}

void frmTournyHelper::single_nextround() {
    shielded("frmTournyHelper::single_nextround", [&] {
        RoundNumber = int16_t(RoundNumber + 1);
        chat(QStringLiteral("*** Round ") + QString::number(RoundNumber) + QStringLiteral(" - Single Elimination - ") +
             QStringLiteral(" - ") + cmbGame->currentText() + QStringLiteral(" / ") + txtRules->text() + QStringLiteral(" *** "));
        AddLog(QStringLiteral("Round ") + QString::number(RoundNumber));
        lstshuffle->clear();
        lstmatches->clear();
        const QStringList players = tourny::entries(lstwinner);
        if (players.size() == 2) {
            lstmatches->addItem(players[0] + u':' + players[1]);
            Pause(1);
            chat(players[0] + QStringLiteral(" vs. ") + players[1]);
            return;
        }
        if (players.size() == 1) {
            const QString winner = players[0];
            chat(QStringLiteral("*** ") + winner + QStringLiteral(" wins the ") + txtTitle->text() + QStringLiteral("! ") +
                 QString::number(GamesPlayed) + QStringLiteral(" games were played in this tournament. ***"));
            AddLog(QStringLiteral("Tournament ended.  Winner: ") + winner);
            TourneyRunning = false;
            closeRegistration();
            LogRankings();
            LogTournamentPrize(winner, PotAmount);
            ResetCounters();
            for (QListWidget* l : {lstwinner, lstshuffle, lstmatches, lstRank}) l->clear();
            return;
        }
        lstshuffle->addItems(players);
        Random& random = *services().random;
        while (lstshuffle->count() > 0) {
            const auto take = [&] {
                const int i = std::min(lstshuffle->count() - 1, int(random.Rnd() * lstshuffle->count()));
                return lstshuffle->takeItem(i)->text();
            };
            const QString a = take();
            QString b = QStringLiteral("bye");
            if (lstshuffle->count() > 0) {
                b = take();
                lstmatches->addItem(a + u':' + b);
            }
            Pause(1);
            chat(a + QStringLiteral(" vs. ") + b);
        }
    });
}

void frmTournyHelper::HandleMatch(const QString& sWinner, const QString& sLoser, int16_t iWinnerScore, int16_t iLoserScore,
                                  int16_t iGameType) {
    shielded("frmTournyHelper::HandleMatch", [&] {
        // Only a decided game of the tournament's own kind moves it on.
        if (iWinnerScore == iLoserScore || iGameType != gameCode(cmbGame->currentText())) return;
        if (cmbType->currentText() != QLatin1String("Single Elimination")) return;
        const QString winner = sWinner.toLower(), loser = sLoser.toLower();
        int found = -1;
        for (int i = 0; i < lstmatches->count() && found < 0; ++i) {
            const auto [a, b] = sides(lstmatches->item(i)->text());
            if ((same(a, winner) && same(b, loser)) || (same(a, loser) && same(b, winner))) found = i;
        }
        if (found < 0) return;
        GamesPlayed = int16_t(GamesPlayed + 1);
        delete lstmatches->takeItem(found);
        for (int i = lstwinner->count() - 1; i >= 0; --i) {
            if (!same(lstwinner->item(i)->text(), loser)) continue;
            delete lstwinner->takeItem(i);
            chat(QStringLiteral("*** ") + loser + QStringLiteral(" has been eliminated from ") + txtTitle->text() + QStringLiteral(" ***"));
            Pause(1);
            lstRank->addItem(loser);
        }
        if (lstmatches->count() == 0) nextround();
    });
}

void frmTournyHelper::cmdRemove_Click() {
    shielded("frmTournyHelper::cmdRemove_Click", [&] {
        const QList<QListWidgetItem*> picked = lstRegistrations->selectedItems();
        if (picked.isEmpty()) return;
        const QString name = picked.first()->text();
        delete picked.first();
        for (QListWidget* l : {lstwinner, lstloser}) {
            const QList<QListWidgetItem*> hit = l->findItems(name, Qt::MatchExactly | Qt::MatchCaseSensitive);
            if (!hit.isEmpty()) delete hit.first();
        }
        // Only the match the player plays in: a name that merely contains his is someone else.
        for (int i = 0; i < lstmatches->count(); ++i) {
            const auto [a, b] = sides(lstmatches->item(i)->text());
            if (a != name && b != name) continue;
            delete lstmatches->takeItem(i);
            if (lstmatches->count() == 0) nextround();
            break;
        }
        chat(name + QStringLiteral(" has been eliminated from the tournament"));
        Pause(1);
    });
}

// ---- Logging ------------------------------------------------------------------------------------

bool frmTournyHelper::logCall(const QString& procedure, QString call, QString* idOut) {
    QString error;
    try {
        RecordSet rs = RunQuery(call);
        if (rs.failed()) error = rs.error();
        else if (idOut) *idOut = rs.Fields(QStringLiteral("TournamentID")).toString();
    } catch (const std::exception& e) {
        error = QString::fromLocal8Bit(e.what());
    }
    if (error.isEmpty()) return true;
    AddLog(QStringLiteral("Could not log ") + procedure + QStringLiteral(": ") + error);
    return false;
}

void frmTournyHelper::LogTournament() {
    const int64_t fees = int64_t(lstRegistrations->count()) * fee();
    QString id;
    TournamentID = 0;
    if (!logCall(QStringLiteral("the tournament"),
                 QStringLiteral("call spi_ActiveTournament(") + tourny::quoted(ClientConfig().PassKey()) + QStringLiteral(", ") +
                     tourny::quoted(txtTitle->text()) + QStringLiteral(", ") + tourny::quoted(cmbGame->currentText()) +
                     QStringLiteral(", ") + tourny::quoted(cmbType->currentText()) + QStringLiteral(", ") + QString::number(fees) +
                     QStringLiteral(", ") + QString::number(GamesPlayed) + u')',
                 &id))
        return;
    const double v = vbVal(id);
    TournamentID = v >= 1 && v < 2147483647.5 ? vbCLng(v) : 0;
    if (TournamentID == 0) AddLog(QStringLiteral("Could not log the tournament: the web service gave no tournament id."));
}

void frmTournyHelper::LogRankings() {
    LogTournament();
    // Without a tournament id the ranks would belong to no tournament.
    if (TournamentID == 0) return;
    const QStringList ranked = tourny::entries(lstRank);
    for (int i = 0; i < ranked.size(); ++i) LogTournamentPlayer(ranked[i].section(u' ', 0, 0), int(ranked.size() - i));
}

void frmTournyHelper::LogTournamentPlayer(const QString& name, int rank) {
    logCall(QStringLiteral("the rank of ") + name,
            QStringLiteral("call spi_ActiveTournamentPlayer(") + tourny::quoted(ClientConfig().PassKey()) + QStringLiteral(", ") +
                QString::number(TournamentID) + QStringLiteral(", ") + tourny::quoted(name) + QStringLiteral(", ") +
                QString::number(rank) + u')');
}

void frmTournyHelper::LogTournamentPrize(const QString& name, int64_t amount) {
    logCall(QStringLiteral("the prize of ") + name,
            QStringLiteral("call spi_ActiveTournamentPrize(") + tourny::quoted(ClientConfig().PassKey()) + QStringLiteral(", ") +
                tourny::quoted(name) + QStringLiteral(", ") + QString::number(amount) + u')');
}
