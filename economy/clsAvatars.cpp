#include "economy/clsAvatars.h"

#include "economy/frmAvatars.h"

void clsAvatars::IncomingHandler(QString& keyword, QString& line) {
    Q_UNUSED(line);
    if (keyword != QLatin1String("AVATARINVENTORYREFRESH")) return;
    // Reaching the shop loads it (hidden) when it is closed, as every window reached by name does.
    form<frmAvatars>()->AvatarInventoryRefresh();
}
