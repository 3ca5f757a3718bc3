#pragma once
// The login window: nickname, password and the local port to connect from.
#include "app/RFButton.h"
#include "platform/Forms.h"

#include <QTimer>
#include <QWidget>

class frmstart : public FormWindow<QWidget> {
    Q_OBJECT
public:
    frmstart();

    RFButton* cmdLogin;
    QTimer* Timer1;

public slots:
    void Form_Load();
};
