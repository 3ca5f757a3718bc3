#pragma once
// The veteran advancement window.
#include "platform/Forms.h"

#include <QWidget>

class frmVAdvancement : public FormWindow<QWidget> {
    Q_OBJECT
public:
    frmVAdvancement();
    // Reloads the player's veteran advancements and their point figures.
    void RefreshGrid();
};
