// frmDecompiledDataDir ("Manage Directories"): where the user names the game's extracted data
// directory. Nothing is stored until OK, and OK refuses a folder that does not exist.
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class frmFrontend;

class frmDecompiledDataDir : public QDialog {
    Q_OBJECT
public:
    explicit frmDecompiledDataDir(frmFrontend& main);

private:
    void cmdBrowse_Click();
    void cmdOK_Click();

    frmFrontend& main_;
    QLabel* lblInstructions;
    QLineEdit* txtDataDir;
    QPushButton* cmdBrowse;
    QPushButton* cmdOK;
};
