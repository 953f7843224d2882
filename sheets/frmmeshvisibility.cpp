#include "frmmeshvisibility.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

namespace {

constexpr SheetFrame kFrames[] = {{"Frame1", "LOD"}};

constexpr SheetRow kRows[] = {
    {RowKind::Text, "Value(0)", "NLIPS ", "fNlips"},
    {RowKind::Text, "Value(1)", "NLIPS Range ", "iNlipsRange"},
    {RowKind::Text, "Value(2)", "NLIPS Far ", "fNlipsFar"},
    {RowKind::Text, "Value(3)", "NLIPS Far Range ", "iNlipsFarRange"},
    {RowKind::Text, "Value(4)", "SM Representation ", "sSMRepresentation"},
    {RowKind::Text, "Value(5)", "Mesh Render Limit ", "iMeshRenderLimit"},
    {RowKind::Text, "Value(6)", "Dot Render Limit ", "iDotRenderLimit"},
    {RowKind::Text, "Value(7)", "Visible in Secondary ", "iVisibleInSecondary"},
    {RowKind::Text, "Value(8)", "Goblins Start Fade ", "iGoblinsStartFade"},
    {RowKind::Text, "Value(9)", "Goblins Off ", "iGoblinsOff"},
    {RowKind::Text, "Value(10)", "Minimum Zoom Factor ", "fMinimumZoomFactor"},
    {RowKind::Text, "Value(11)", "Selection Limit ", "iSelectionLimit"},
    {RowKind::Text, "Value(12)", "Precise ATI Limit ", "iPreciseATILimit"},
    {RowKind::Text, "Value(13)", "Selection Priority ", "iSelectionPriority"},
    {RowKind::Text, "Value(14)", "Minimum LOD ", "fMinLOD", nullptr, 1},
};

constexpr const char* kUpCaption = "Up";
constexpr const char* kDownCaption = "Down";

std::string UpField(int level) { return "iUpLOD" + std::to_string(level); }
std::string DownField(int level) { return "iDownLOD" + std::to_string(level); }

}  // namespace

frmMeshVisibility::frmMeshVisibility(const SheetContext& context)
    : PropertySheet(context, "frmMeshVisibility", "Mesh Visibility", kRows, kFrames) {
    QGridLayout* grid = Grid(1);
    const int first = NextGridRow(1);
    const int second = NextGridRow(1);

    List1_ = new QListWidget(this);
    List1_->setObjectName("List1");
    for (int level = 0; level < kLevels; ++level)
        List1_->addItem(QStringLiteral("LOD %1").arg(level));
    List1_->setFixedHeight(List1_->sizeHintForRow(0) * kLevels + 2 * List1_->frameWidth());
    List1_->setFixedWidth(List1_->sizeHintForColumn(0) + 4 * List1_->frameWidth() + 8);
    List1_->setAccessibleName(QStringLiteral("Level of detail"));
    grid->addWidget(List1_, first, 0, 2, 1);

    auto box = [&](const char* object, const char* labelObject, const char* caption, int row) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(object);
        auto* label = new QLabel(QString::fromLatin1(caption), this);
        label->setObjectName(labelObject);
        label->setBuddy(edit);
        grid->addWidget(label, row, 1);
        grid->addWidget(edit, row, 2, 1, 2);
        return edit;
    };
    txtUPLOD_ = box("txtUPLOD", "lblUPLOD", kUpCaption, first);
    txtDOWNLOD_ = box("txtDOWNLOD", "lblDOWNLOD", kDownCaption, second);

    AddToTabChain(List1_);
    AddToTabChain(txtUPLOD_);
    AddToTabChain(txtDOWNLOD_);
    connect(List1_, &QListWidget::currentRowChanged, this, &frmMeshVisibility::List1_Click);
    FormLoad();
}

void frmMeshVisibility::LoadOwn() {
    for (int level = 0; level < kLevels; ++level) {
        up_[level] = LoadText(UpField(level));
        down_[level] = LoadText(DownField(level));
    }
    shownLevel_ = -1;
    List1_->setCurrentRow(0);
}

void frmMeshVisibility::KeepShownLevel() {
    if (shownLevel_ < 0) return;
    up_[shownLevel_] = txtUPLOD_->text();
    down_[shownLevel_] = txtDOWNLOD_->text();
}

void frmMeshVisibility::List1_Click(int level) {
    KeepShownLevel();
    shownLevel_ = level;
    if (level < 0 || level >= kLevels) return;
    txtUPLOD_->setText(up_[level]);
    txtDOWNLOD_->setText(down_[level]);
}

void frmMeshVisibility::CollectOwn(std::vector<PendingStore>& stores) {
    KeepShownLevel();
    for (int level = 0; level < kLevels; ++level) {
        auto reveal = [this, level] { List1_->setCurrentRow(level); };
        stores.push_back({UpField(level), up_[level], txtUPLOD_, kUpCaption, reveal});
        stores.push_back({DownField(level), down_[level], txtDOWNLOD_, kDownCaption, reveal});
    }
}
