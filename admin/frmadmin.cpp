#include "admin/frmadmin.h"

#include "platform/Services.h"

frmadmin::frmadmin() : chatin(new QTextEdit(this)) {
    setObjectName(QStringLiteral("frmadmin"));
    chatin->setObjectName(QStringLiteral("chatin"));
    chatin->setReadOnly(true);
    chatin->setAcceptRichText(false);
}

void frmadmin::Form_QueryUnload(int& cancel, int mode) {
    if (mode == vb::FormCode) return;
    MsgBox(QStringLiteral("The administrative window cannot be closed in this manner."), vb::OKOnly, QStringLiteral("Server"));
    cancel = 1;
}
