#pragma once
// One player's trivia score.
#include <QString>
#include <cstdint>

class clsPlayerScore {
public:
    QString player() const { return m_player; }
    void player(const QString& name) { m_player = name; }
    int16_t Score() const { return m_score; }
    void Score(int16_t score) { m_score = score; }

private:
    QString m_player;
    int16_t m_score = 0;
};
