#include "economy/frmAdvancement.h"

frmAdvancement::frmAdvancement() { setObjectName(QStringLiteral("frmAdvancement")); }
void frmAdvancement::RefreshGrid() {}
