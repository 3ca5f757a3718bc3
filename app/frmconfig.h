#pragma once
// The options window: the per-user options of the logged-in player and the skin of this
// installation. Opening it writes every missing option with its default.
#include "app/RFButton.h"
#include "platform/Forms.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <QWidget>

class frmconfig : public FormWindow<QWidget> {
    Q_OBJECT
public:
    frmconfig();

    QWidget* picTitle;  // the title strip
    QLabel* lblTitle;
    QCheckBox* showonoff;
    QCheckBox* enablesounds;
    QCheckBox* chklogchat;
    QCheckBox* chkmusic;
    QCheckBox* chkrandom;
    QCheckBox* chkmini;
    QLineEdit* txtTitleBG;
    QLineEdit* txtTitleFG;
    QLineEdit* txtTitleFont;
    QCheckBox* chkReplay;
    QLineEdit* txtReconnectAttempts;
    QComboBox* cmbSkin;
    QPushButton* cmdBackgroundColor;
    QPushButton* cmdForeGroundColor;
    QPushButton* cmdTitleFont;
    RFButton* cmdSave;
    QStringList FileSkinList;  // the skins folder's *.ini files, in list order

    // Writes missing defaults to the per-user file and fills the controls from it.
    void loadoptions();
    void CloseDialog();

public slots:
    void Form_Load();
    void cmdSave_Click();
    void cmdBackgroundColor_Click();
    void cmdForeGroundColor_Click();
    void cmdTitleFont_Click();
    void Form_MouseMove();
    // The lobby came to the front: this window goes back over it, without taking the keyboard.
    void Form_LostFocus();

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
};
