#include "variants/frmchinchin.h"

frmchinchin::frmchinchin() { setObjectName(QStringLiteral("frmchinchin")); }
