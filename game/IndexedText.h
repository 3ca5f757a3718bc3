#pragma once
// A fixed run of texts read and written by index, as the boards keep a colour or an element per
// cell; an index outside the run is "Subscript out of range".
#include "platform/RuntimeError.h"

#include <QString>
#include <array>

template <int N>
class IndexedText {
public:
    QString get(int index) const {
        check(index);
        return m_texts[index];
    }
    void set(int index, const QString& text) {
        check(index);
        m_texts[index] = text;
    }

private:
    static void check(int index) {
        if (index < 0 || index >= N) throw RuntimeError(QStringLiteral("Subscript out of range"), 9);
    }
    std::array<QString, N> m_texts;
};
