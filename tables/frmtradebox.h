#pragma once
// The rule setup dialog of the two-seat room.
#include "platform/Forms.h"

#include <QDialog>

class frmtradebox : public FormWindow<QDialog> {
    Q_OBJECT
public:
    frmtradebox();
};
