#pragma once
// The omni rules dialog: the creator of an omni table picks the deck type and the number of
// blocked cells; Okay sends them as one rule line.
#include "app/RFButton.h"
#include "platform/Forms.h"

#include <QComboBox>
#include <QLabel>
#include <QWidget>

class frmocv_setup : public FormWindow<QWidget> {
    Q_OBJECT
public:
    frmocv_setup();

    QWidget* picTitle;
    QLabel* lblTitle;
    QComboBox* cmbtypes;   // "Random", "Player"
    QComboBox* cmbblocks;  // 1, 3, 5, 7
    RFButton* cmdOK;

public slots:
    void Form_Load();
    void cmdOK_Click();
    void Form_MouseMove();

protected:
    void mouseMoveEvent(QMouseEvent* e) override;
};
