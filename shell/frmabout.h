// frmAbout: the program's name, version and purpose.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class frmFrontend;

class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(frmFrontend& main);

private:
    QLabel* picIcon;
    QLabel* lblTitle;
    QLabel* lblVersion;
    QLabel* lblDescription;
    QPushButton* cmdOK;
};
