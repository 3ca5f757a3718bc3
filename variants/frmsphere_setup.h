#pragma once
// The coin-board rules dialog (Orbolt): the creator of the table picks the time limit, the
// maximum score and the maximum number of turns; Okay sends them as one rule line.
#include "app/RFButton.h"
#include "platform/Forms.h"

#include <QComboBox>
#include <QLabel>
#include <QWidget>

class frmsphere_setup : public FormWindow<QWidget> {
    Q_OBJECT
public:
    frmsphere_setup();

    QWidget* picTitle;
    QLabel* lblTitle;
    QComboBox* cmbtime;      // 30..100 by 10
    QComboBox* cmbmaxscore;  // 50..100 by 5
    QComboBox* cmbmaxturns;  // 15..40 by 5
    RFButton* cmdOK;

public slots:
    void Form_Load();
    void cmdOK_Click();
    void Form_MouseMove();

protected:
    void mouseMoveEvent(QMouseEvent* e) override;
};
