#include "variants/clsMemory.h"

#include "variants/VariantFrame.h"
#include "variants/frmmemory.h"

void clsMemory::GameModule(QString& keyword, QString& line) {
    Q_UNUSED(line);
    if (keyword == QLatin1String("MEMORYYES")) StartFromYes<frmmemory>(keyword);
    else if (keyword == QLatin1String("MEMORYTURN")) UnloadLeadIn(keyword);
    else if (keyword == QLatin1String("MEMORYCLOSE")) CloseVariant<frmmemory>(VariantGame::Memory);
}
