#pragma once
// The waiting box: stands while the client waits for the server to seat it at a table, after a
// join and after creating a two-against-two table. Its one button cancels the wait.
#include "app/RFButton.h"
#include "platform/Forms.h"

#include <QLabel>
#include <QWidget>

class frmchallengewaiting : public FormWindow<QWidget> {
    Q_OBJECT
public:
    frmchallengewaiting();

    QLabel* lblevent;
    RFButton* cancel;

    // A close by the user is a cancel.
    void Form_QueryUnload(int& cancelUnload, int mode) override;

public slots:
    void Form_Load();
    void cancel_Click();
    void Form_MouseMove();

protected:
    void mouseMoveEvent(QMouseEvent* e) override;

private:
    // Gives up the wait: the creator's table is closed, the opponent and the creator flag cleared.
    void giveUp();
};
