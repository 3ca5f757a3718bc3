#pragma once
// Handler of the memory game messages: one object per line, no state kept between lines.
#include <QString>

class clsMemory {
public:
    // keyword is the line's first field; a keyword this family does not know is ignored.
    void GameModule(QString& keyword, QString& line);

private:
    void MemoryYes();
    void MemoryTurn(const QString& line);
    void MemorySlot(const QString& line);
    void MemoryScore(const QString& line);
    void MemoryMatch(const QString& line);
    void MemoryClose();
};
