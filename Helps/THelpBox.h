#pragma once

#include <QDialog>
#include <QStringList>

class QPushButton;
class QTextEdit;

// The "Help" box: a fixed help text, centred line by line, read-only.
class THelpBox : public QDialog {
    Q_OBJECT
public:
    explicit THelpBox(QWidget *parent = nullptr);

    static QStringList HelpLines();

    QTextEdit *Memo1 = nullptr;
    QPushButton *OKButton = nullptr;
};
