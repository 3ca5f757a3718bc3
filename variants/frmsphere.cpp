#include "variants/frmsphere.h"

frmsphere::frmsphere() { setObjectName(QStringLiteral("frmsphere")); }
