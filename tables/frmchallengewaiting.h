#pragma once
// The waiting box shown while a table request is pending.
#include "platform/Forms.h"

#include <QWidget>

class frmchallengewaiting : public FormWindow<QWidget> {
    Q_OBJECT
public:
    frmchallengewaiting();

};
