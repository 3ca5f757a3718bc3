#include "variants/clsCardWars.h"

#include "variants/VariantFrame.h"
#include "variants/frmcardwars.h"

void clsCardWars::GameModule(QString& keyword, QString& line) {
    Q_UNUSED(line);
    if (keyword == QLatin1String("CARDWARSLOAD")) UnloadLeadIn(keyword);
    else if (keyword == QLatin1String("CARDWARSCLOSE")) CloseVariant<frmcardwars>(VariantGame::CardWar);
}
