#pragma once
// The standard game board.
#include "platform/Forms.h"

#include <QWidget>

class frmplaying : public FormWindow<QWidget> {
    Q_OBJECT
public:
    frmplaying();

};
