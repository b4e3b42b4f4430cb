#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class QTreeWidget;
class SecureChat;

// "Secure chat...": this copy's fingerprint, how it hosts and joins, the
// chat password, the hosts whose keys it knows, each with a Forget button,
// the names it holds for keys when hosting, each with a Release button, and
// whether it relays files between guests, and up to what size.
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
    QCheckBox *holdNames;
    QTreeWidget *heldNames;
    QCheckBox *relayFiles;
    QSpinBox *largestRelayed;

private:
    void ListKnownHosts();
    void ListHeldNames();
    // A list of this dialog's: its columns, the last one for its row's button.
    QTreeWidget *makeList(const QStringList &headers, const QString &name);

    SecureChat &secure;
};
