#pragma once
// The alternate advancement window.
#include "platform/Forms.h"

#include <QWidget>

class frmAdvancement : public FormWindow<QWidget> {
    Q_OBJECT
public:
    frmAdvancement();
    void RefreshGrid();
};
