#pragma once
// The five cards a player picks for a game, each with its special-edition marker.
#include <QString>
#include <array>
#include <cstdint>

class clsPickCards {
public:
    // An index outside 0..4 throws "Subscript out of range".
    QString Cards(int index) const;
    void Cards(int index, const QString& name);
    // True (-1) for a special edition or event card, else 0.
    int16_t Special(int index) const;
    void Special(int index, int16_t value);
    void Clear();

    static constexpr int kSlots = 5;

private:
    static void check(int index);
    std::array<QString, kSlots> m_cards;
    std::array<int16_t, kSlots> m_special{};
};
