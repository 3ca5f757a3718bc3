#pragma once
// A private-message window: one per conversation, the one window kind with many instances.
#include "platform/Forms.h"

#include <QWidget>

class frmMsgWind : public FormWindow<QWidget> {
    Q_OBJECT
public:
    frmMsgWind();
};
