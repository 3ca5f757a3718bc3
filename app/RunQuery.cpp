#include "app/RunQuery.h"

#include "app/Deployment.h"
#include "app/clsXML.h"

RecordSet RunQuery(QString& command) {
    clsXML xml;
    QString key = Deployment::serviceKey();
    RecordSet rs;
    xml.RookfellWebService(command, key, rs);
    return rs;
}
