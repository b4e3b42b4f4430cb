#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QTreeWidget;
class SecureChat;

// "Secure chat...": this copy's fingerprint, how it hosts and joins, the
// chat password, and the hosts whose keys it knows, each with a Forget button.
class SecureChatDialog : public QDialog {
    Q_OBJECT
public:
    explicit SecureChatDialog(SecureChat &secure, QWidget *parent = nullptr);

    // Fills the dialog from the preferences and the known hosts.
    void Refresh();

    QLabel *fingerprint;
    QComboBox *hostMode;
    QCheckBox *joinSecurely;
    QLineEdit *password;
    QLabel *passwordState;
    QTreeWidget *knownHosts;

private:
    void ListKnownHosts();

    SecureChat &secure;
};
