#pragma once
// Handler of the player-figure updates ("UPDATE..." lines): one object per line, no state kept
// between lines. The handlers write the lobby's figure labels, rush gauge, avatar and player
// entries, and the player's guild; a line whose fields do not hold up changes nothing.
#include <QString>

class clsUpdateFunctions {
public:
    // keyword is the line's first field; a keyword this family does not know is ignored.
    void IncomingModule(QString& keyword, QString& line);

private:
    void updateap(const QString& line);
    void updatestats(const QString& line);
    void updatecash(const QString& line);
    void updateexp(const QString& line);
    void updaterush(const QString& line);
    void updategp(const QString& line);
    void updateguild(const QString& line);
    void updateavatar(const QString& line);
    void updateplayer(const QString& line);
};
