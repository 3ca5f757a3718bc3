#include "tables/frmtradebox.h"

frmtradebox::frmtradebox() { setObjectName(QStringLiteral("frmtradebox")); }
