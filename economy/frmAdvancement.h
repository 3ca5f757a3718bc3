#pragma once
// The alternate advancement window.
#include "economy/AdvancementWindow.h"

class frmAdvancement : public AdvancementWindow {
    Q_OBJECT
public:
    frmAdvancement();
};
