#include "frmpreferences.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "appsettings.h"
#include "frmfrontend.h"
#include "windowfit.h"

frmPreferences::frmPreferences(frmFrontend& main) : QDialog(&main), main_(main) {
    setObjectName("frmPreferences");
    setWindowTitle(tr("Preferences"));

    chkLoadDefaultWeapons = new QCheckBox(tr("Load Default Weapons"), this);
    chkLoadDefaultWeapons->setObjectName("chkLoadDefaultWeapons");
    chkLoadDefaultFamilies = new QCheckBox(tr("Load Default Families"), this);
    chkLoadDefaultFamilies->setObjectName("chkLoadDefaultFamilies");
    cmdOK = new QPushButton(tr("OK"), this);
    cmdOK->setObjectName("cmdOK");
    cmdOK->setDefault(true);

    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch(1);
    buttonRow->addWidget(cmdOK);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(chkLoadDefaultWeapons);
    layout->addWidget(chkLoadDefaultFamilies);
    layout->addSpacing(8);
    layout->addLayout(buttonRow);
    windowfit::MakeFixedSize(*this);

    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);

    chkLoadDefaultWeapons->setChecked(main_.intDefWep == 1);
    chkLoadDefaultFamilies->setChecked(main_.intDefFam == 1);
}

void frmPreferences::done(int result) {
    const std::int16_t weapons = chkLoadDefaultWeapons->isChecked() ? 1 : 0;
    const std::int16_t families = chkLoadDefaultFamilies->isChecked() ? 1 : 0;
    appsettings::WritePreference(main_.settings(), appsettings::kLoadDefaultWeapons, weapons);
    appsettings::WritePreference(main_.settings(), appsettings::kLoadDefaultFamilies, families);
    main_.intDefWep = weapons;
    main_.intDefFam = families;
    QDialog::done(result);
}
