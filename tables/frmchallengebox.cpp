#include "tables/frmchallengebox.h"

frmchallengebox::frmchallengebox() { setObjectName(QStringLiteral("frmchallengebox")); }
