#include "variants/frmsphere_setup.h"

frmsphere_setup::frmsphere_setup() {
    setObjectName(QStringLiteral("frmsphere_setup"));
    setWindowTitle(QStringLiteral("Orbolt Setup"));
}
