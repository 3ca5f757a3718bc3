#pragma once
// The card war's picture list: 1 the sword and 2 the shield of the status pictures, 3..12 the
// ten element icons (stone, flame, star burst, ice crystal, lightning bolt, grey ring, purple
// bubbles, hooded shape, water drop, whirlwind). Index 0 stays empty.
#include <QPixmap>
#include <array>

std::array<QPixmap, 13> CardWarIcons();
