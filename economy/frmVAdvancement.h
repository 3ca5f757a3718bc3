#pragma once
// The veteran advancement window: the alternate window's twin without the experience share.
#include "economy/AdvancementWindow.h"

class frmVAdvancement : public AdvancementWindow {
    Q_OBJECT
public:
    frmVAdvancement();
};
