#include "economy/clsAvatars.h"

#include "economy/frmAvatars.h"

void clsAvatars::IncomingHandler(QString& keyword, QString& line) {
    Q_UNUSED(line);
    // Only a shop the player has open is reloaded; a closed one reads the inventory when it opens.
    if (keyword != QLatin1String("AVATARINVENTORYREFRESH")) return;
    if (frmAvatars* shop = ifLoaded<frmAvatars>()) shop->AvatarInventoryRefresh();
}
