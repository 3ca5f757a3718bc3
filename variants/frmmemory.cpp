#include "variants/frmmemory.h"

frmmemory::frmmemory() { setObjectName(QStringLiteral("frmmemory")); }
