#include "variants/clsSphere.h"

#include "variants/VariantFrame.h"
#include "variants/frmsphere.h"

void clsSphere::GameModule(QString& keyword, QString& line) {
    Q_UNUSED(line);
    if (keyword == QLatin1String("OBSTART")) UnloadLeadIn(keyword);
    else if (keyword == QLatin1String("OBCLOSE")) CloseVariant<frmsphere>(VariantGame::CoinBoard);
}
