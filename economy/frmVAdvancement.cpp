#include "economy/frmVAdvancement.h"

frmVAdvancement::frmVAdvancement()
    : AdvancementWindow({"frmVAdvancement", QStringLiteral("Veteran Advancement"), QStringLiteral("sps_PlayerVA"),
                         QStringLiteral("sps_PlayerVAStats"), QStringLiteral("sps_VADescription"),
                         QStringLiteral("VETERANALTERNATETRAIN"), false}) {}
