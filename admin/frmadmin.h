#pragma once
// The administrator window.
#include "platform/Forms.h"

#include <QWidget>

class frmadmin : public FormWindow<QWidget> {
    Q_OBJECT
public:
    frmadmin();
    void Form_QueryUnload(int& cancel, int mode) override;
};
