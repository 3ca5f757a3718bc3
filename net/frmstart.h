#pragma once
// The login window: nickname, password and the local port to connect from. It stays on screen,
// its Login button disabled, until the lobby is up; a refused login enables the button again.
#include "app/RFButton.h"
#include "platform/Forms.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QWidget>
#include <cstdint>

class frmstart : public FormWindow<QWidget> {
    Q_OBJECT
public:
    frmstart();

    // Controls.
    QLabel* picBackground;  // the skin's login picture, behind everything
    QLineEdit* txtlogin_username;
    QLineEdit* txtlogin_password;
    QLineEdit* txtproxy_port;
    RFButton* cmdLogin;
    RFButton* cmdNewUser;
    RFButton* cmdLostPassword;
    RFButton* cmdServerOptions;
    QLabel* Label1;  // carries no text and no behaviour
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* lblCV;
    QLabel* lblYV;
    QLabel* lblCurrentVersion;
    QLabel* lblVersion;
    QLabel* lblPatchlink;
    QFrame* picFinished;
    QLabel* lblInfo;
    QLabel* lblUpdateMessage;
    QTimer* Timer1;

    // The login server; reset to the deployment's server at every load, changed by Server Options.
    QString server_ip;
    QString server_port;

    // Closes the window from code (the lobby bring-up): the temporary file goes, the program stays.
    void Form_Unload(int& cancel) override;
    // A close by the user ends the program.
    void Form_QueryUnload(int& cancel, int mode) override;

    // The name of the temporary file this load may have found ("tmp<n>.ini" in the client folder).
    QString tempFileName() const;

public slots:
    void Form_Load();
    void cmdLogin_Click();
    void cmdNewUser_Click();
    void cmdLostPassword_Click();
    void cmdServerOptions_Click();
    void lblPatchlink_Click();
    void txtlogin_password_KeyPress(int KeyAscii);
    void txtproxy_port_LostFocus();

protected:
    void mouseMoveEvent(QMouseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void layoutControls();
    void removeTempFile() const;
    // The login's failure box; the Login button comes back so the player is never stuck.
    void loginFailed(int number);

    int16_t TempFileNumber = 0;
};
