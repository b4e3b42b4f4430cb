#pragma once

#include <QByteArray>
#include <QDialog>
#include <QList>

class QLabel;
class QLineEdit;
class QListWidget;

// Chooses whom to write to privately: the participants, those who cannot
// take part greyed, with the reason. Typing picks by name; Enter opens the
// conversation with the one picked.
class PersonChooser : public QDialog {
    Q_OBJECT
public:
    struct Choice {
        QString name;
        QByteArray key;
        QString whyNot; // empty when they can take part
    };

    explicit PersonChooser(QWidget *parent = nullptr);

    QLineEdit *Typed = nullptr;
    QListWidget *People = nullptr;
    QLabel *Reason = nullptr;

    void setChoices(const QList<Choice> &choices);
    // Sets the choices and comes forward, the keyboard in its name field.
    void present(const QList<Choice> &choices);
    // The one picked, once accepted.
    QByteArray chosenKey() const { return chosen; }

signals:
    void personChosen(const QByteArray &key, const QString &name);

private:
    void filter();
    void showReason();
    void choose();

    QList<Choice> all;
    QByteArray chosen;
};
