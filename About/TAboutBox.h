#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;
class Shell;

// The "About" box: product, version, author line, a few words on the program
// and two mail links; the product name links to the web page. The links light
// up as the mouse moves over them and stay lit until it moves over the panel,
// the window or another link.
class TAboutBox : public QDialog {
    Q_OBJECT
public:
    TAboutBox(const QIcon &programIcon, Shell &shell, QWidget *parent = nullptr);

    // Build configuration values.
    static QString FirstMailAddress();
    static QString SecondMailAddress();
    static QString WebPageAddress();

    QFrame *Panel1 = nullptr;
    QLabel *ProgramIcon = nullptr;
    QLabel *ProductName = nullptr;
    QLabel *Version = nullptr;
    QLabel *Copyright = nullptr;
    QLabel *Comments = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label4 = nullptr;
    QLabel *Label2 = nullptr;
    QPushButton *OKButton = nullptr;

    void Label1MouseMove();
    void Label2MouseMove();
    void ProductNameMouseMove();
    void Panel1MouseMove();
    void FormMouseMove();
    void Label1Click();
    void Label2Click();
    void ProductNameClick();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    // The box opens with OK under the keyboard: Enter closes it, Tab reaches the links.
    void showEvent(QShowEvent *event) override;
    // The mouse-move handler of what the mouse is over.
    void MouseMovedOver(QObject *watched);
    // Opens what a link stands for; false for anything that is no link.
    bool OpenLink(QObject *link);

private:
    void createPanel(const QIcon &programIcon);
    QLabel *AddLabel(const QString &text, int x, int y);
    void ShowLink(QLabel *link, bool lit);
    void ShowProductName(bool lit);

    Shell &shell;
};
