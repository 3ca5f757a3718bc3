#pragma once
// The rules of an open table, as text: the game, each rule in force, the decks a standard game
// allows and the gold wager. The lobby's table list opens it on "TABLEINFO"; it only shows.
#include "platform/Forms.h"

#include <QLabel>
#include <QTextEdit>
#include <QWidget>
#include <cstdint>

class frmTableInfo : public FormWindow<QWidget> {
    Q_OBJECT
public:
    frmTableInfo();

    QLabel* Picture1;  // the title strip
    QLabel* lblTitle;
    QTextEdit* chatin;  // the page

    // Fills the page from table slot tableNo (1..50); an empty slot shows an empty page.
    void writerules(int16_t tableNo);
    // A line in the skin's chat font and the colour (0xBBGGRR), bold and underlined.
    void AddHeader(const QString& text, long color);
    // A plain line.
    void AddLine(const QString& text, long color);
    void AddBreak();
    // The board windows' labelled notice, kept here for the same use.
    void AddBlockTxt(const QString& label, const QString& text);

public slots:
    void Form_Load();

private:
    void append(const QString& text, long color, bool header);
    void writeStandardRules(const QStringList& items);
};
