#pragma once
// The favourite-rules editor: the player's one set of favourite skill rules, kept in
// config/favrules.ini, which the rule setup dialog applies as its "My Favorites" preset.
#include "app/RFButton.h"
#include "platform/Forms.h"

#include <QLabel>
#include <QListWidget>
#include <QWidget>

class frmfavrules : public FormWindow<QWidget> {
    Q_OBJECT
public:
    frmfavrules();

    QWidget* picTitle;
    QLabel* lblTitle;
    QListWidget* lsttaken;  // "Rules Selected:"
    QListWidget* lstrules;  // "Rules Available:"
    RFButton* cmdAdd;
    RFButton* cmdRemove;
    RFButton* cmdSave;

    // The 24 keys of the favourites file, in the order they are read.
    static const QStringList& RuleKeys();
    // Fills both lists anew from the favourites file.
    void loadsavedrules();

public slots:
    void Form_Load();
    void cmdAdd_Click();
    void cmdRemove_Click();
    void cmdSave_Click();
    void Form_MouseMove();

protected:
    void mouseMoveEvent(QMouseEvent* e) override;

private:
    void AddChosenRule(const QString& key);
    void AddAvailableRule(const QString& key);
    // Moves the selected item of one list into the other.
    void moveSelected(QListWidget* from, QListWidget* to);
};

// <client>/config/favrules.ini
QString FavoriteRulesFile();
