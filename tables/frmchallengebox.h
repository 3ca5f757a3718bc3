#pragma once
// The four-seat challenge room.
#include "platform/Forms.h"

#include <QWidget>

class frmchallengebox : public FormWindow<QWidget> {
    Q_OBJECT
public:
    frmchallengebox();
};
