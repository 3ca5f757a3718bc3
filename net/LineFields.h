#pragma once
// Reading the fields of the lobby's server lines: a missing field is "", a number its leading
// digits. A line whose number overflows, whose index has no place or whose name is no plain name
// is ignored by its handler (logged): it never reaches the error reporter and changes nothing.
#include "app/modText.h"

#include <QString>
#include <QStringView>
#include <array>
#include <cstdint>

namespace lines {

// The number of fields the line has, keyword included (at most 35).
int fieldCount(const QString& line);

// The first N pieces Divide would give, in fresh outputs, without cutting the rest: for a
// handler that reads only the leading fields of a long line.
template <int N>
std::array<QString, N> firstFields(const QString& line, QStringView delimiter = u" ") {
    static_assert(N >= 1 && N <= kDivideFields);
    std::array<QString, N> out;
    DivideInto(line, delimiter, out.data(), N);
    return out;
}

// Every field is a decimal number as the server sends it: optional sign, digits, at most one point.
bool areNumbers(std::initializer_list<QString> fields);
// A whole number (optional "-", digits only) within low..high.
bool wholeNumber(const QString& field, long long low, long long high, long long& out);
// The leading number of a field (0 when none) rounded half to even into 16 bits, as a table
// number is read; false when it does not fit.
bool integerOf(const QString& field, int16_t& out);

// "%20" back to blanks (the wire's blank inside a field).
QString blanks(const QString& field);
// Blanks to "%20" for a field the client sends.
QString encodeBlanks(const QString& text);

// A nickname usable as a settings key: letters, digits and hyphens only. Ignore and buddy keys
// are written only for such names, so no other name can be on either list.
bool plainName(const QString& name);
// A picture code or gender prefix usable in a file name: letters, digits, "_" and "-".
bool plainCode(const QString& code);

// The per-user settings value of [section] key.
QString setting(const QString& section, const QString& key);
bool settingIs(const QString& section, const QString& key, const QString& value);
// True when the sender is on the ignore list ([Ignore] <name> reads as the number 1).
bool ignored(const QString& sender);

// Sends a line to the game server when the socket window is loaded.
void send(const QString& line);
// Logs an ignored line.
void reject(const char* keyword, const QString& line);

}  // namespace lines
