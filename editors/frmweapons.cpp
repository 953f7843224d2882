#include "frmweapons.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "choicelists.h"
#include "datadirnames.h"
#include "sheetcontext.h"
#include "shipsession.h"
#include "editors.h"
#include "textconv.h"

namespace {

const QString kSeparator = QStringLiteral(" , ");

QComboBox* MakeFreeTextBox(const char* objectName, QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setObjectName(objectName);
    box->setEditable(true);
    // The choices come from the ship's weapons; Return in the box must not invent one.
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(24);
    return box;
}

}  // namespace

QDialog* CreateWeapons(const SheetContext& context) { return new frmWeapons(context); }

frmWeapons::frmWeapons(const SheetContext& context)
    : EditorSheet(context, "frmWeapons", tr("Weapons"), tr("Weapon"), tr("Weapons")) {
    BuildControls();

    // Opening: the restore copy first, then the choices and the entries. Nothing is selected.
    SavedWeapons = Doc().SSWC_GetList();
    cboWeapon->setCurrentIndex(-1);
    RefreshWeaponLists();
    cmdRemove->setEnabled(false);
}

void frmWeapons::BuildControls() {
    auto* layout = new QVBoxLayout(this);

    lstWeapons = new QListWidget(this);
    lstWeapons->setObjectName("lstWeapons");
    lstWeapons->setSelectionMode(QAbstractItemView::SingleSelection);
    lstWeapons->setMinimumWidth(lstWeapons->fontMetrics().averageCharWidth() * 80);
    auto* lblDesc =
        MakeLabel("lblDesc", "<Weapon> ,<HardPoint>,  <Firing Effect>", lstWeapons, this);
    layout->addWidget(lblDesc);
    layout->addWidget(lstWeapons, 1);

    auto* buttons = new QHBoxLayout;
    cmdApply = new QPushButton(tr("&Apply"), this);
    cmdApply->setObjectName("cmdApply");
    cmdAdd = new QPushButton(tr("&Add"), this);
    cmdAdd->setObjectName("cmdAdd");
    cmdRemove = new QPushButton(tr("&Remove"), this);
    cmdRemove->setObjectName("cmdRemove");
    for (QPushButton* b : {cmdApply, cmdAdd, cmdRemove}) {
        PlainButton(b);
        buttons->addWidget(b);
    }
    buttons->addStretch(1);
    layout->addLayout(buttons);

    auto* grid = new QGridLayout;
    cboWeapon = new QComboBox(this);
    cboWeapon->setObjectName("cboWeapon");
    cboWeapon->setMaxVisibleItems(20);
    // Sized by a character count: measuring hundreds of weapon names would be slow.
    cboWeapon->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cboWeapon->setMinimumContentsLength(40);
    cboHardPoint = MakeFreeTextBox("cboHardPoint", this);
    cboFiringEffect = MakeFreeTextBox("cboFiringEffect", this);
    grid->addWidget(MakeLabel("lblWeapon", "Weapon ", cboWeapon, this), 0, 0);
    grid->addWidget(cboWeapon, 0, 1);
    grid->addWidget(MakeLabel("Label2", "HardPoint ", cboHardPoint, this), 1, 0);
    grid->addWidget(cboHardPoint, 1, 1);
    grid->addWidget(MakeLabel("Label1", "Firing Effect ", cboFiringEffect, this), 2, 0);
    grid->addWidget(cboFiringEffect, 2, 1);
    grid->setColumnStretch(1, 1);
    layout->addLayout(grid);

    layout->addWidget(MakeDescriptionFrame());
    layout->addLayout(MakeOkCancelRow());

    connect(lstWeapons, &QListWidget::currentRowChanged, this, &frmWeapons::lstWeapons_Click);
    // A click on the entry already selected shows it again (and so undoes unapplied edits).
    connect(lstWeapons, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { lstWeapons_Click(lstWeapons->row(item)); });
    connect(cmdApply, &QPushButton::clicked, this, &frmWeapons::cmdApply_Click);
    connect(cmdAdd, &QPushButton::clicked, this, &frmWeapons::cmdAdd_Click);
    connect(cmdRemove, &QPushButton::clicked, this, &frmWeapons::cmdRemove_Click);
}

void frmWeapons::RefreshWeaponLists() {
    SR2ShipFile& doc = Doc();

    // The weapon box is rebuilt; what it showed stays shown.
    const bool hadWeapon = cboWeapon->currentIndex() >= 0;
    const QString shownWeapon = cboWeapon->currentText();
    lstWeapons->clear();
    cboWeapon->clear();
    // The weapon folder is read once per opening; every refresh offers the same names.
    if (weaponNames_.isEmpty())
        weaponNames_ = datadir::FromFolderNames(datadir::Read(Context(), gamedata::kWeapons).weapons.Names());
    cboWeapon->addItems(weaponNames_);
    if (hadWeapon)
        choicelists::ShowChoice(cboWeapon, shownWeapon);
    else
        cboWeapon->setCurrentIndex(-1);

    if (doc.SSWC_Num < 0) {
        Message("Ship has no weapons.");
        return;
    }
    for (std::int16_t i = 0; i <= doc.SSWC_Num; ++i) {
        doc.SSWC_LoadValues(i);
        const QStringList parts{FromLocal(doc.SSWC_WeaponName), FromLocal(doc.SSWC_HardPointName),
                                FromLocal(doc.SSWC_FiringEffectName)};
        auto* item = new QListWidgetItem(parts.join(kSeparator), lstWeapons);
        // The parts themselves, so that names holding " , " still come back whole.
        item->setData(Qt::UserRole, parts);
        choicelists::OfferChoice(cboHardPoint, parts[1], Qt::CaseSensitive);
        choicelists::OfferChoice(cboFiringEffect, parts[2], Qt::CaseSensitive);
    }
}

int frmWeapons::SelectedRow() const {
    const int row = lstWeapons->currentRow();
    if (row < 0 || !lstWeapons->item(row)->isSelected()) return -1;
    return row;
}

void frmWeapons::ShowEntry(int row) {
    QListWidgetItem* item = lstWeapons->item(row);
    const QStringList parts = item->data(Qt::UserRole).toStringList();
    choicelists::ShowChoice(cboWeapon, parts.value(0));
    cboFiringEffect->setCurrentText(parts.value(2));
    cboHardPoint->setCurrentText(parts.value(1));
    lstWeapons->setToolTip(item->text());
    cmdRemove->setEnabled(true);
}

void frmWeapons::lstWeapons_Click(int row) {
    if (row < 0 || row >= lstWeapons->count()) return;
    // Focus arriving by keyboard makes an entry current without selecting it; the entry shown
    // is the selected one.
    lstWeapons->item(row)->setSelected(true);
    ShowEntry(row);
}

void frmWeapons::StoreSelectedWeapon() {
    const int row = SelectedRow();
    if (row < 0) return;
    SR2ShipFile& doc = Doc();
    doc.SSWC_WeaponName = ToLocal(cboWeapon->currentText());
    doc.SSWC_FiringEffectName = ToLocal(cboFiringEffect->currentText());
    doc.SSWC_HardPointName = ToLocal(cboHardPoint->currentText());
    doc.SSWC_SaveValues(static_cast<std::int16_t>(row));
}

void frmWeapons::cmdApply_Click() {
    const int row = SelectedRow();
    if (row < 0) return;
    const SR2ShipFile::WeaponItem before = Doc().SSWC_GetList()[static_cast<std::size_t>(row)].values;
    StoreSelectedWeapon();
    if (Doc().SSWC_GetList()[static_cast<std::size_t>(row)].values != before) Did(QStringLiteral("Edit"));
    RefreshWeaponLists();
    lstWeapons->setCurrentRow(row);
}

void frmWeapons::cmdAdd_Click() {
    Doc().SSWC_AddItem(ToLocal(cboWeapon->currentText()), ToLocal(cboHardPoint->currentText()),
                       ToLocal(cboFiringEffect->currentText()));
    Did(QStringLiteral("Add"));
    RefreshWeaponLists();
}

void frmWeapons::cmdRemove_Click() {
    // After Add the list has no selection while Remove stays enabled: nothing to remove then.
    const int row = SelectedRow();
    if (row < 0) return;
    const int linesBefore = lstWeapons->count();
    Doc().SSWC_RemoveItem(static_cast<std::int16_t>(row));
    Did(QStringLiteral("Remove"));
    if (linesBefore >= 2) {
        RefreshWeaponLists();
        lstWeapons->setCurrentRow(0);
    } else {
        lstWeapons->clear();
        lstWeapons->setToolTip(QString());
        cmdRemove->setEnabled(false);
    }
}

void frmWeapons::Restore() { Doc().SSWC_SetList(SavedWeapons); }
