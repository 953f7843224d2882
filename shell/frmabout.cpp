#include "frmabout.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "appinfo.h"
#include "frmfrontend.h"
#include "windowfit.h"

frmAbout::frmAbout(frmFrontend& main) : QDialog(&main) {
    setObjectName("frmAbout");
    setWindowTitle("About " + appinfo::ProgramName());

    picIcon = new QLabel(this);
    picIcon->setObjectName("picIcon");
    picIcon->setPixmap(appinfo::ProgramIcon().pixmap(64, 64));
    picIcon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    lblTitle = new QLabel(appinfo::ProgramName(), this);
    lblTitle->setObjectName("lblTitle");
    QFont titleFont = lblTitle->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.6);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);
    lblVersion = new QLabel("Version " + appinfo::VersionText(), this);
    lblVersion->setObjectName("lblVersion");
    lblDescription = new QLabel(
        "Tarvisk is designed to help make the Starreach 2-modding experience easier and more "
        "enjoyable by taking much of the grunt-work out of ship-scripting.",
        this);
    lblDescription->setObjectName("lblDescription");
    lblDescription->setWordWrap(true);
    lblDescription->setFixedWidth(fontMetrics().averageCharWidth() * 58);
    cmdOK = new QPushButton(tr("OK"), this);
    cmdOK->setObjectName("cmdOK");
    cmdOK->setDefault(true);

    auto* texts = new QVBoxLayout;
    texts->addWidget(lblTitle);
    texts->addWidget(lblVersion);
    texts->addSpacing(8);
    texts->addWidget(lblDescription);
    auto* top = new QHBoxLayout;
    top->addWidget(picIcon);
    top->addSpacing(8);
    top->addLayout(texts, 1);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch(1);
    buttonRow->addWidget(cmdOK);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttonRow);
    windowfit::MakeFixedSize(*this);

    // Closing re-enables the main window through ShowSheet, whichever way the box is closed.
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
}
