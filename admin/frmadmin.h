#pragma once
// The administrator window.
#include "platform/Forms.h"

#include <QTextEdit>
#include <QWidget>

class frmadmin : public FormWindow<QWidget> {
    Q_OBJECT
public:
    frmadmin();
    QTextEdit* chatin;  // the administrator chat log
    void Form_QueryUnload(int& cancel, int mode) override;
};
