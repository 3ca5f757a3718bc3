#pragma once
// Key presses numbered as the old key-press events gave them, in one place for every input that
// reads them (the chat inputs' control keys, Enter and the reply key all depend on these codes).
#include <cstdint>
#include <functional>

class QKeyEvent;
class QLineEdit;

// Ctrl+A to Ctrl+Z give 1 to 26 (Ctrl+V 22), Enter 13, Ctrl+Enter 10, Backspace 8,
// Ctrl+Backspace 127, Tab 9, Escape 27; any other key gives the character it types, or 0 when it
// types none (arrows, function keys, Delete, characters beyond the 16-bit code range).
int16_t keyAscii(const QKeyEvent* e);

// Hands the code of every key typed into box to handler before the box sees the key. A handler
// that sets the code to 0 swallows the key; one that changes it types that character instead.
// Keys without a code reach the box untouched.
void hookKeyPress(QLineEdit* box, std::function<void(int16_t&)> handler);
