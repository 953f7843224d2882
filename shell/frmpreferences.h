// frmPreferences: the two switches for the built-in name lists. However the window is closed
// (OK, the close box, Escape), the boxes' state is stored: there is no way to leave without saving.
#pragma once

#include <QDialog>

class QCheckBox;
class QPushButton;
class frmFrontend;

class frmPreferences : public QDialog {
    Q_OBJECT
public:
    explicit frmPreferences(frmFrontend& main);

    // Every way of closing a QDialog ends here.
    void done(int result) override;

private:
    frmFrontend& main_;
    QCheckBox* chkLoadDefaultWeapons;
    QCheckBox* chkLoadDefaultFamilies;
    QPushButton* cmdOK;
};
