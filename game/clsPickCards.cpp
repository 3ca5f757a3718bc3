#include "game/clsPickCards.h"

#include "platform/RuntimeError.h"

void clsPickCards::check(int index) {
    if (index < 0 || index >= kSlots) throw RuntimeError(QStringLiteral("Subscript out of range"), 9);
}

QString clsPickCards::Cards(int index) const {
    check(index);
    return m_cards[index];
}

void clsPickCards::Cards(int index, const QString& name) {
    check(index);
    m_cards[index] = name;
}

int16_t clsPickCards::Special(int index) const {
    check(index);
    return m_special[index];
}

void clsPickCards::Special(int index, int16_t value) {
    check(index);
    m_special[index] = value;
}

void clsPickCards::Clear() {
    m_cards.fill(QString());
    m_special.fill(0);
}
