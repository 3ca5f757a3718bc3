#include "variants/clsChinchin.h"

#include "variants/VariantFrame.h"
#include "variants/frmchinchin.h"

void clsChinchin::GameModule(QString& keyword, QString& line) {
    Q_UNUSED(line);
    if (keyword == QLatin1String("CHINCHINYES")) StartFromYes<frmchinchin>(keyword);
    else if (keyword == QLatin1String("CHINCHINTURN")) UnloadLeadIn(keyword);
    else if (keyword == QLatin1String("CHINCHINCLOSE")) CloseVariant<frmchinchin>(VariantGame::Dice);
}
