#include "frmdecompileddatadir.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "appsettings.h"
#include "frmfrontend.h"
#include "windowfit.h"
#include "prompter.h"
#include "textconv.h"

frmDecompiledDataDir::frmDecompiledDataDir(frmFrontend& main) : QDialog(&main), main_(main) {
    setObjectName("frmDecompiledDataDir");
    setWindowTitle(tr("Manage Directories"));

    lblInstructions = new QLabel(
        "Please type in the location of your Starreach 2\\Data directory, e.g. C:\\Program "
        "Files\\Meridane\\Starreach 2\\Data, and then click OK.",
        this);
    lblInstructions->setObjectName("lblInstructions");
    lblInstructions->setWordWrap(true);
    txtDataDir = new QLineEdit(this);
    txtDataDir->setObjectName("txtDataDir");
    lblInstructions->setBuddy(txtDataDir);
    cmdBrowse = new QPushButton(tr("&Browse..."), this);
    cmdBrowse->setObjectName("cmdBrowse");
    cmdBrowse->setAutoDefault(false);
    cmdOK = new QPushButton(tr("&OK"), this);
    cmdOK->setObjectName("cmdOK");
    cmdOK->setDefault(true);

    // Wide enough for the default path with room to spare, so the instructions wrap into a few
    // lines instead of a tall narrow column.
    const int width = fontMetrics().horizontalAdvance(appsettings::DefaultDataDir()) * 3 / 2;
    txtDataDir->setMinimumWidth(width);
    lblInstructions->setFixedWidth(width + cmdBrowse->sizeHint().width() + 6);

    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(txtDataDir, 1);
    pathRow->addWidget(cmdBrowse);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch(1);
    buttonRow->addWidget(cmdOK);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblInstructions);
    layout->addLayout(pathRow);
    layout->addLayout(buttonRow);
    windowfit::MakeFixedSize(*this);

    connect(cmdBrowse, &QPushButton::clicked, this, &frmDecompiledDataDir::cmdBrowse_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmDecompiledDataDir::cmdOK_Click);

    // Show the current directory only when it is usable; otherwise start from the usual place.
    txtDataDir->setText(main_.CFSO.FolderExists(ToLocal(main_.strDataDir))
                            ? main_.strDataDir
                            : appsettings::DefaultDataDir());
}

void frmDecompiledDataDir::cmdBrowse_Click() {
    const QString typed = txtDataDir->text();
    const QString start = main_.CFSO.FolderExists(ToLocal(typed))
                              ? FromLocal(CustomFSO::NativePath(ToLocal(typed)))
                              : QString();
    const QString chosen = main_.prompter().ChooseFolder(this, tr("Decompiled Data"), start);
    if (!chosen.isEmpty()) txtDataDir->setText(chosen);
}

void frmDecompiledDataDir::cmdOK_Click() {
    const QString typed = txtDataDir->text();
    if (!main_.CFSO.FolderExists(ToLocal(typed))) {
        main_.prompter().Message(this, "That folder does not exist, please try again.",
                                 MessageKind::Warning);
        return;
    }
    // Stored exactly as typed; every later path is built from it.
    main_.strDataDir = typed;
    appsettings::WriteDataDir(main_.settings(), typed);
    accept();
}
