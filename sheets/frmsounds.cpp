#include "frmsounds.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

#include "numbers.h"
#include "sr2shipfile.h"
#include "textconv.h"

namespace {

constexpr int kPatchListRows = 6;

}  // namespace

frmSounds::frmSounds(frmFrontend& main)
    : PropertySheet(main, "frmSounds", "Sounds", std::span<const SheetRow>{}) {
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

    lstPatches_ = new QListWidget(this);
    lstPatches_->setObjectName("lstPatches");
    lstPatches_->setAccessibleName(QStringLiteral("Sound patches"));
    lstPatches_->setFixedHeight(lstPatches_->fontMetrics().lineSpacing() * kPatchListRows +
                                2 * lstPatches_->frameWidth());
    grid->addWidget(lstPatches_, NextGridRow(0), 0, 1, 4);
    AddToTabChain(lstPatches_);

    // Not connected to the document: the patch items are shown in the list only.
    box("txtUnknownValue", "lblUnknownValue", "Unknown Value ");
    box("txtEffect", "lblEffect", "Sound Effect ");
    box("txtMarker", "lblMarker", "Marker ");
    FormLoad();
}

void frmSounds::LoadOwn() {
    SR2ShipFile& doc = Doc();
    ShowText(txtDirectory_, FromLocal(doc.LSPL_Directory));
    for (int i = 0; i <= doc.LSPL_Num; ++i) {
        doc.LSPL_LoadValues(static_cast<std::int16_t>(i));
        lstPatches_->addItem(FromLocal(numbers::FormatInteger(doc.LSPL_Val) + ", \"" +
                                       doc.LSPL_Effect + "\", \"" + doc.LSPL_Marker + "\""));
    }
}
