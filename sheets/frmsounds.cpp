#include "frmsounds.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpressionValidator>

#include "sheetcontext.h"
#include "shipsession.h"
#include "numbers.h"
#include "prompter.h"
#include "textconv.h"

namespace {

constexpr int kPatchListRows = 6;

// The script's patch-list line is read by splitting it at commas and double quotes, so the names
// may hold neither: such a name would not come back as it was written.
const QRegularExpression kScriptName(QStringLiteral("[^\",]*"));

QString PatchLine(const SR2ShipFile& doc) {
    return FromLocal(numbers::FormatInteger(doc.LSPL_Val) + ", \"" + doc.LSPL_Effect + "\", \"" +
                     doc.LSPL_Marker + "\"");
}

}  // namespace

frmSounds::frmSounds(const SheetContext& context)
    : PropertySheet(context, "frmSounds", "Sounds", std::span<const SheetRow>{}) {
    QGridLayout* grid = Grid(0);
    auto box = [&](const char* object, const char* labelObject, const char* caption) {
        const int row = NextGridRow(0);
        auto* edit = new QLineEdit(this);
        edit->setObjectName(object);
        auto* label = new QLabel(QString::fromLatin1(caption), this);
        label->setObjectName(labelObject);
        label->setBuddy(edit);
        grid->addWidget(label, row, 0);
        grid->addWidget(edit, row, 1, 1, 3);
        AddToTabChain(edit);
        return edit;
    };
    txtDirectory_ = box("txtDirectory", "lblDirectory", "Directory ");
    txtDirectory_->setValidator(new QRegularExpressionValidator(kScriptName, txtDirectory_));

    lstPatches_ = new QListWidget(this);
    lstPatches_->setObjectName("lstPatches");
    lstPatches_->setAccessibleName(QStringLiteral("Sound patches"));
    lstPatches_->setSelectionMode(QAbstractItemView::SingleSelection);
    lstPatches_->setFixedHeight(lstPatches_->fontMetrics().lineSpacing() * kPatchListRows +
                                2 * lstPatches_->frameWidth());
    grid->addWidget(lstPatches_, NextGridRow(0), 0, 1, 4);
    AddToTabChain(lstPatches_);

    auto* buttons = new QHBoxLayout;
    auto button = [&](const char* object, const QString& caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(object);
        // Return in a box must not change the list by surprise: the buttons act on click only.
        b->setAutoDefault(false);
        buttons->addWidget(b);
        AddToTabChain(b);
        return b;
    };
    cmdApply_ = button("cmdApply", tr("&Apply"));
    cmdAdd_ = button("cmdAdd", tr("A&dd"));
    cmdRemove_ = button("cmdRemove", tr("&Remove"));
    buttons->addStretch(1);
    grid->addLayout(buttons, NextGridRow(0), 0, 1, 4);

    txtUnknownValue_ = box("txtUnknownValue", "lblUnknownValue", "Unknown Value ");
    txtEffect_ = box("txtEffect", "lblEffect", "Sound Effect ");
    txtMarker_ = box("txtMarker", "lblMarker", "Marker ");
    for (QLineEdit* name : {txtEffect_, txtMarker_})
        name->setValidator(new QRegularExpressionValidator(kScriptName, name));

    connect(lstPatches_, &QListWidget::currentRowChanged, this, &frmSounds::lstPatches_Click);
    // A click on the line already selected shows it again (and so undoes unapplied edits).
    connect(lstPatches_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { lstPatches_Click(lstPatches_->row(item)); });
    connect(cmdApply_, &QPushButton::clicked, this, &frmSounds::cmdApply_Click);
    connect(cmdAdd_, &QPushButton::clicked, this, &frmSounds::cmdAdd_Click);
    connect(cmdRemove_, &QPushButton::clicked, this, &frmSounds::cmdRemove_Click);
    FormLoad();
}

void frmSounds::LoadOwn() {
    SavedPatches = Doc().LSPL_GetList();
    ShowText(txtDirectory_, LoadText("LSPL_Directory"));
    RefreshPatchList();
    cmdRemove_->setEnabled(false);
}

void frmSounds::CollectOwn(std::vector<PendingStore>& stores) {
    stores.push_back({"LSPL_Directory", txtDirectory_->text(), txtDirectory_,
                      QStringLiteral("Directory "), {}});
}

void frmSounds::done(int result) {
    // Whichever way other than OK: the list goes back as it was, exactly (the line as read too).
    if (result != QDialog::Accepted && SavedPatches) {
        Doc().LSPL_SetList(std::move(*SavedPatches));
        SavedPatches.reset();
    }
    PropertySheet::done(result);
}

void frmSounds::RefreshPatchList() {
    SR2ShipFile& doc = Doc();
    lstPatches_->clear();
    for (int i = 0; i <= doc.LSPL_Num; ++i) {
        doc.LSPL_LoadValues(static_cast<std::int16_t>(i));
        lstPatches_->addItem(PatchLine(doc));
    }
}

int frmSounds::SelectedRow() const {
    const int row = lstPatches_->currentRow();
    if (row < 0 || !lstPatches_->item(row)->isSelected()) return -1;
    return row;
}

void frmSounds::lstPatches_Click(int row) {
    if (row < 0 || row >= lstPatches_->count()) return;
    lstPatches_->item(row)->setSelected(true);
    SR2ShipFile& doc = Doc();
    doc.LSPL_LoadValues(static_cast<std::int16_t>(row));
    ShowText(txtUnknownValue_, FromLocal(numbers::FormatInteger(doc.LSPL_Val)));
    ShowText(txtEffect_, FromLocal(doc.LSPL_Effect));
    ShowText(txtMarker_, FromLocal(doc.LSPL_Marker));
    cmdRemove_->setEnabled(true);
}

bool frmSounds::TakeItemBoxes() {
    const QString valueText = txtUnknownValue_->text();
    const auto value = numbers::ParseInt32(ToLocal(valueText));
    if (!value) {
        Context().prompter->Message(this, "'" + valueText + "' is not a valid value for Unknown Value.",
                                  MessageKind::Warning);
        txtUnknownValue_->setFocus(Qt::OtherFocusReason);
        txtUnknownValue_->selectAll();
        return false;
    }
    SR2ShipFile& doc = Doc();
    doc.LSPL_Val = *value;
    doc.LSPL_Effect = ToLocal(txtEffect_->text());
    doc.LSPL_Marker = ToLocal(txtMarker_->text());
    return true;
}

void frmSounds::cmdApply_Click() {
    const int row = SelectedRow();
    if (row < 0 || !TakeItemBoxes()) return;
    Doc().LSPL_SaveValues(static_cast<std::int16_t>(row));
    RefreshPatchList();
    lstPatches_->setCurrentRow(row);
}

void frmSounds::cmdAdd_Click() {
    if (!TakeItemBoxes()) return;
    SR2ShipFile& doc = Doc();
    doc.LSPL_AddItem(doc.LSPL_Val, doc.LSPL_Effect, doc.LSPL_Marker);
    RefreshPatchList();
}

void frmSounds::cmdRemove_Click() {
    // After Add the list has no selection while Remove stays enabled: nothing to remove then.
    const int row = SelectedRow();
    if (row < 0) return;
    const int linesBefore = lstPatches_->count();
    Doc().LSPL_RemoveItem(static_cast<std::int16_t>(row));
    if (linesBefore >= 2) {
        RefreshPatchList();
        lstPatches_->setCurrentRow(0);
    } else {
        lstPatches_->clear();
        cmdRemove_->setEnabled(false);
    }
}
