#pragma once
// The favourite-rules window.
#include "platform/Forms.h"

#include <QWidget>

class frmfavrules : public FormWindow<QWidget> {
    Q_OBJECT
public:
    frmfavrules();
    void loadsavedrules();
};
