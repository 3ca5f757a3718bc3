#include "economy/frmAdvancement.h"

frmAdvancement::frmAdvancement()
    : AdvancementWindow({"frmAdvancement", QStringLiteral("Alternate Advancement"), QStringLiteral("sps_PlayerAA"),
                         QStringLiteral("sps_PlayerAAStats"), QStringLiteral("sps_AADescription"),
                         QStringLiteral("ALTERNATETRAIN"), true}) {}
