#pragma once
// The coin-board rule dialog (Orbolt). Its fields and its rule line come with the variant games;
// until then the window exists so that the two-seat room can open it by name.
#include "platform/Forms.h"

#include <QWidget>

class frmsphere_setup : public FormWindow<QWidget> {
    Q_OBJECT
public:
    frmsphere_setup();
};
