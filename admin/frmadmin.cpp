#include "admin/frmadmin.h"

#include "platform/Services.h"

frmadmin::frmadmin() { setObjectName(QStringLiteral("frmadmin")); }

void frmadmin::Form_QueryUnload(int& cancel, int mode) {
    if (mode == vb::FormCode) return;
    MsgBox(QStringLiteral("The administrative window cannot be closed in this manner."), vb::OKOnly, QStringLiteral("Server"));
    cancel = 1;
}
