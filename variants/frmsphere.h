#pragma once
// The coin-board game window (Orbolt). Its board and handler come with the variant games; until then the
// window exists so that the lobby's handlers can close it by name.
#include "platform/Forms.h"

#include <QWidget>

class frmsphere : public FormWindow<QWidget> {
    Q_OBJECT
public:
    frmsphere();
};
