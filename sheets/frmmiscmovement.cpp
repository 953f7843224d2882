#include "frmmiscmovement.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "datadirnames.h"
#include "sheetcontext.h"
#include "shipsession.h"
#include "modvaluechecking.h"
#include "prompter.h"
#include "sr2shipfile.h"
#include "textconv.h"

namespace {

constexpr SheetRow kRows[] = {
    {RowKind::TrueFalse, "cboTransferrable", "Transferrable ", "iIsTransferable"},
    {RowKind::Triple, "TS", "Tumble Static ", "iTumbleStatic"},
    {RowKind::Triple, "TD", "Tumble Dynamic ", "iTumbleDynamic"},
    {RowKind::Triple, "TSD", "Tumble Special Dynamic ", "iTumbleSpecialDynamic"},
    {RowKind::Triple, "SOR", "Sway Offset Random ", "iSwayOffsetRandom"},
    {RowKind::Text, "Value(0)", "Sway Update Time ", "iSwayUpdateTime"},
    {RowKind::Text, "Value(1)", "Sway Bobbing Factor ", "fSwayBobbingFactor"},
    {RowKind::Text, "Value(2)", "Sway Rotate Factor ", "fSwayRotateFactor"},
};

constexpr const char* kMirrorCaptions[] = {"Mirror Above Maneuver ", "Mirror Below Maneuver "};
constexpr int kMirrorListRows = 4;
constexpr int kMirrorListChars = 22;

// The arrow and cross buttons are as narrow as their captions, not as wide as OK.
void FitToCaption(QPushButton* button) {
    button->setFixedWidth(button->fontMetrics().horizontalAdvance(button->text()) +
                          2 * button->fontMetrics().averageCharWidth() + 8);
}

}  // namespace

frmMiscMovement::frmMiscMovement(const SheetContext& context)
    : PropertySheet(context, "frmMiscMovement", "Misc. Movement", kRows) {
    const gamedata::GameData data = datadir::Read(context, gamedata::kManeuvers);
    if (!data.maneuverFileError.empty())
        context.prompter->Message(
            this, datadir::UnreadableMessage(datadir::Path(context, gamedata::kManeuversTail),
                                             data.maneuverFileError),
            MessageKind::Error);
    const QStringList maneuvers = datadir::FromFileNames(data.maneuvers.Names());

    QGridLayout* grid = Grid(0);
    for (int i : {kAbove, kBelow}) {
        const int row = NextGridRow(0);
        auto* label = new QLabel(QString::fromLatin1(kMirrorCaptions[i]), this);
        label->setObjectName(QStringLiteral("lblMirror(%1)").arg(i));
        grid->addWidget(label, row, 0, Qt::AlignTop);

        auto* combo = new QComboBox(this);
        combo->setObjectName(QStringLiteral("cboMirrorManeuver(%1)").arg(i));
        combo->addItems(maneuvers);
        // Sized by a character count: measuring every manoeuvre name is slow with a long list.
        combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        combo->setMinimumContentsLength(kMirrorListChars);
        combo->setAccessibleName(label->text().trimmed() + " to add");
        auto* add = new QPushButton(QStringLiteral("==>"), this);
        add->setObjectName(QStringLiteral("cmdAdd(%1)").arg(i));
        add->setAccessibleName("Add to " + label->text().trimmed());
        FitToCaption(add);
        auto* list = new QListWidget(this);
        list->setObjectName(QStringLiteral("lstMirror(%1)").arg(i));
        list->setFixedSize(list->fontMetrics().averageCharWidth() * kMirrorListChars,
                           list->fontMetrics().lineSpacing() * kMirrorListRows +
                               2 * list->frameWidth());
        auto* remove = new QPushButton(QStringLiteral("X"), this);
        remove->setObjectName(QStringLiteral("cmdDelete(%1)").arg(i));
        remove->setAccessibleName("Remove the selected " + label->text().trimmed());
        FitToCaption(remove);
        label->setBuddy(list);

        auto* line = new QHBoxLayout;
        line->addWidget(combo, 0, Qt::AlignTop);
        line->addWidget(add, 0, Qt::AlignTop);
        line->addWidget(list);
        line->addStretch(1);
        line->addWidget(remove, 0, Qt::AlignTop);
        grid->addLayout(line, row, 1, 1, 3);

        for (QWidget* w : {static_cast<QWidget*>(combo), static_cast<QWidget*>(add),
                           static_cast<QWidget*>(list), static_cast<QWidget*>(remove)})
            AddToTabChain(w);
        connect(add, &QPushButton::clicked, this, [this, i] { cmdAdd_Click(i); });
        connect(remove, &QPushButton::clicked, this, [this, i] { cmdDelete_Click(i); });
        cboMirrorManeuver_[i] = combo;
        lstMirror_[i] = list;
    }
    FormLoad();
}

void frmMiscMovement::LoadOwn() {
    SR2ShipFile& doc = Doc();
    for (int i = 0; i <= doc.MAM_Num; ++i)
        lstMirror_[kAbove]->addItem(FromLocal(
            modValueChecking::RemoveBlanks(doc.MAM_GetValue(static_cast<std::int16_t>(i)))));
    for (int i = 0; i <= doc.MBM_Num; ++i)
        lstMirror_[kBelow]->addItem(FromLocal(
            modValueChecking::RemoveBlanks(doc.MBM_GetValue(static_cast<std::int16_t>(i)))));
}

void frmMiscMovement::cmdAdd_Click(int index) {
    if (cboMirrorManeuver_[index]->currentIndex() < 0) return;
    lstMirror_[index]->addItem(cboMirrorManeuver_[index]->currentText());
    lstMirror_[index]->setCurrentRow(lstMirror_[index]->count() - 1);
}

void frmMiscMovement::cmdDelete_Click(int index) {
    const int row = lstMirror_[index]->currentRow();
    if (row >= 0) delete lstMirror_[index]->takeItem(row);
}

void frmMiscMovement::StoreOwn() {
    SR2ShipFile& doc = Doc();
    // An empty list is stored as one empty entry rather than none.
    auto entries = [](QListWidget* list) {
        std::vector<std::string> values;
        for (int i = 0; i < list->count(); ++i) values.push_back(ToLocal(list->item(i)->text()));
        if (values.empty()) values.emplace_back();
        return values;
    };
    doc.MAM_Reset();
    for (const std::string& v : entries(lstMirror_[kAbove])) doc.MAM_AddValue(v);
    doc.MBM_Reset();
    for (const std::string& v : entries(lstMirror_[kBelow])) doc.MBM_AddValue(v);
}
