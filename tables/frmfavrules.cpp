#include "tables/frmfavrules.h"

frmfavrules::frmfavrules() { setObjectName(QStringLiteral("frmfavrules")); }
void frmfavrules::loadsavedrules() {}
