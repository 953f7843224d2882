#include "frmsalvagechunks.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <cmath>

#include "choicelists.h"
#include "datadirnames.h"
#include "sheetcontext.h"
#include "shipsession.h"
#include "numbers.h"
#include "numerickeyfilter.h"
#include "placementbox.h"
#include "editors.h"
#include "textconv.h"

namespace {

struct ValueRow {
    const char* caption;  // trailing blank included, as shown
    const char* field;
    double shownTimes;
};

constexpr std::array<ValueRow, 9> kValueRows{{
    {"Number of Chunks ", "SSOD_NumChunksToSpawn", 1},
    {"% of Total RU Value ", "SSOD_PercentOfTotalValue", 100},
    {"Random Add to Spawn ", "SSOD_RandomAddToSpawnLocation", 1},
    {"Cloud Dispersion ", "SSOD_CloudDispersion", 1},
    {"Random Tumble Modifier ", "SSOD_RandomTumbleModifier", 1},
    {"Initial Vertical Direction ", "SSOD_InitialVerticalDirection", 1},
    {"Initial Horizontal Direction ", "SSOD_InitialHorizontalDirection", 1},
    {"Unknown1 ", "SSOD_Unknown1", 1},
    {"Unknown2 ", "SSOD_Unknown2", 1},
}};

struct VectorFrame {
    const char* object;
    const char* caption;
    const char* boxes;  // object names boxes(0) to boxes(2)
    std::array<const char*, 3> fields;
};

// In the order the frames are shown.
enum { kPosition, kRotation, kVelocity };
constexpr std::array<VectorFrame, 3> kFrames{{
    {"PositionFrame", "Initial Position", "txtPosition",
     {"SSOD_PositionX", "SSOD_PositionY", "SSOD_PositionZ"}},
    {"RotationFrame", "Initial Rotation", "txtRotation",
     {"SSOD_RotationX", "SSOD_RotationY", "SSOD_RotationZ"}},
    {"VelocityFrame", "Initial Velocity", "txtVelocity",
     {"SSOD_VelocityX", "SSOD_VelocityY", "SSOD_VelocityZ"}},
}};
// The vectors are stored position, velocity, rotation.
constexpr std::array<int, 3> kStoreOrder{kPosition, kVelocity, kRotation};

constexpr std::array<const char*, 3> kAxes{"X", "Y", "Z"};

const QStringList kGraphScales{"10", "100", "1,000", "10,000", "100,000"};

constexpr int kHeightRange = 100;

QString Indexed(const QString& name, int i) { return QString("%1(%2)").arg(name).arg(i); }

QString ValueText(const FieldValue& value, double times) {
    if (const auto* i = std::get_if<std::int32_t>(&value))
        return FromLocal(numbers::FormatInteger(*i));
    if (const auto* r = std::get_if<double>(&value))
        return FromLocal(numbers::FormatReal(times == 1 ? *r : *r * times));
    return {};
}

}  // namespace

QDialog* CreateSalvageChunks(const SheetContext& context) { return new frmSalvageChunks(context); }

frmSalvageChunks::frmSalvageChunks(const SheetContext& context)
    : EditorSheet(context, "frmSalvageChunks", tr("Salvage Chunks"), tr("Salvage Chunk"),
                  tr("Salvage Chunks")) {
    BuildControls();

    SavedChunks = Doc().SSOD_GetList();

    const QStringList names = datadir::FromFolderNames(
        datadir::Read(Context(), gamedata::kSalvageChunks).salvageChunks.Names());
    cboChunkNames->addItems(names);
    cboChunkNames->setCurrentIndex(-1);

    CurrentChunk = -1;
    RefreshChunkList();
    SetChunkControlsEnabled(false);
}

void frmSalvageChunks::BuildControls() {
    keyFilter_ = new NumericKeyFilter(this);
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    layout->addLayout(top);

    // The chunk list with its name box and buttons.
    auto* listColumn = new QVBoxLayout;
    lstChunks = new QListWidget(this);
    lstChunks->setObjectName("lstChunks");
    lstChunks->setSelectionMode(QAbstractItemView::SingleSelection);
    cboChunkNames = new QComboBox(this);
    cboChunkNames->setObjectName("cboChunkNames");
    cboChunkNames->setMaxVisibleItems(20);
    cboChunkNames->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cboChunkNames->setMinimumContentsLength(18);
    listColumn->addWidget(lstChunks, 1);
    listColumn->addWidget(cboChunkNames);
    auto* buttons = new QHBoxLayout;
    cmdAdd = new QPushButton(tr("&Add"), this);
    cmdAdd->setObjectName("cmdAdd");
    cmdRemove = new QPushButton(tr("&Remove"), this);
    cmdRemove->setObjectName("cmdRemove");
    PlainButton(cmdAdd);
    PlainButton(cmdRemove);
    buttons->addWidget(cmdAdd);
    buttons->addWidget(cmdRemove);
    listColumn->addLayout(buttons);
    top->addLayout(listColumn, 1);

    // The nine values.
    auto* values = new QGridLayout;
    for (int i = 0; i < static_cast<int>(kValueRows.size()); ++i) {
        auto* box = new QLineEdit(this);
        box->setObjectName(Indexed(QStringLiteral("Value"), i));
        box->setMaximumWidth(box->fontMetrics().averageCharWidth() * 16);
        keyFilter_->Watch(box);
        QLabel* label = MakeLabel("", kValueRows[i].caption, box, this);
        label->setObjectName(Indexed(QStringLiteral("PropLabel"), i));
        values->addWidget(label, i, 0);
        values->addWidget(box, i, 1);
        PropLabel.push_back(label);
        Value.push_back(box);
        // An emptied box holds "0" at once.
        connect(box, &QLineEdit::textChanged, box, [box](const QString& text) {
            if (text.isEmpty()) box->setText("0");
        });
    }
    values->setRowStretch(static_cast<int>(kValueRows.size()), 1);
    top->addLayout(values);

    // Position, rotation and velocity.
    auto* vectors = new QVBoxLayout;
    std::array<std::vector<QLineEdit*>*, 3> boxesOf{&txtPosition, &txtRotation, &txtVelocity};
    for (int f = 0; f < 3; ++f) {
        auto* frame = new QGroupBox(kFrames[f].caption, this);
        frame->setObjectName(kFrames[f].object);
        auto* grid = new QGridLayout(frame);
        for (int a = 0; a < 3; ++a) {
            auto* box = new QLineEdit(frame);
            box->setObjectName(Indexed(QString(kFrames[f].boxes), a));
            box->setMaximumWidth(box->fontMetrics().averageCharWidth() * 14);
            QLabel* label = MakeLabel("", kAxes[a], box, frame);
            label->setObjectName(Indexed(QString("lbl") + kFrames[f].boxes + "Axis", a));
            grid->addWidget(label, a, 0);
            grid->addWidget(box, a, 1);
            boxesOf[f]->push_back(box);
            if (f != kPosition || a != 2) box->setText("0");
        }
        frames_.push_back(frame);
        vectors->addWidget(frame);
    }
    vectors->addStretch(1);
    top->addLayout(vectors);
    // Z is set by the height bar, never typed.
    txtPosition[2]->setEnabled(false);

    // The placement box with the height bar beside it and the scale below.
    auto* placement = new QGridLayout;
    placementBox_ = new ::PlacementBox(this);
    scrHeight = new QScrollBar(Qt::Vertical, this);
    scrHeight->setObjectName("scrHeight");
    scrHeight->setRange(-kHeightRange, kHeightRange);
    scrHeight->setPageStep(10);
    // The top end is +100: higher is up, as on the placement box.
    scrHeight->setInvertedAppearance(true);
    scrHeight->setInvertedControls(true);
    GraphScale = new QComboBox(this);
    GraphScale->setObjectName("GraphScale");
    GraphScale->addItems(kGraphScales);
    GraphScale->setCurrentIndex(-1);
    placement->addWidget(MakeLabel("lblHeight", "Height", scrHeight, this), 0, 1, Qt::AlignHCenter);
    placement->addWidget(placementBox_, 1, 0);
    placement->addWidget(scrHeight, 1, 1);
    auto* scaleRow = new QHBoxLayout;
    scaleRow->addWidget(MakeLabel("lblGraphScale", "Graph Scale (meters) ", GraphScale, this));
    scaleRow->addWidget(GraphScale, 1);
    placement->addLayout(scaleRow, 2, 0, 1, 2);
    placement->setRowStretch(3, 1);
    top->addLayout(placement);

    layout->addWidget(MakeDescriptionFrame());
    layout->addLayout(MakeOkCancelRow());

    // The order of storing: the values, then position, velocity and rotation.
    for (int i = 0; i < static_cast<int>(kValueRows.size()); ++i) {
        QString caption = kValueRows[i].caption;
        bound_.push_back({Value[i], kValueRows[i].field, kValueRows[i].shownTimes,
                          caption.trimmed()});
    }
    for (int f : kStoreOrder) {
        for (int a = 0; a < 3; ++a) {
            bound_.push_back({(*boxesOf[f])[a], kFrames[f].fields[a], 1,
                              QString(kFrames[f].caption) + " " + kAxes[a]});
        }
    }

    connect(lstChunks, &QListWidget::currentRowChanged, this, &frmSalvageChunks::lstChunks_Click);
    // Clicking the chunk already shown stores it and shows it again, with a fresh scale.
    connect(lstChunks, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        const int row = lstChunks->row(item);
        if (row == CurrentChunk) lstChunks_Click(row);
    });
    connect(cmdAdd, &QPushButton::clicked, this, &frmSalvageChunks::cmdAdd_Click);
    connect(cmdRemove, &QPushButton::clicked, this, &frmSalvageChunks::cmdRemove_Click);
    connect(placementBox_, &PlacementBox::Placed, this, &frmSalvageChunks::PlacementBox_Placed);
    // Only a drag of the thumb sets the height, not the arrows or the track.
    connect(scrHeight, &QScrollBar::sliderMoved, this, &frmSalvageChunks::scrHeight_Dragged);
}

void frmSalvageChunks::RefreshChunkList() {
    SR2ShipFile& doc = Doc();
    lstChunks->clear();
    for (std::int16_t i = 0; i <= doc.SSOD_Num; ++i) {
        doc.SSOD_LoadValues(i);
        lstChunks->addItem(FromLocal(doc.SSOD_SalvageChunkName));
    }
}

void frmSalvageChunks::SetChunkControlsEnabled(bool enabled) {
    for (QLabel* label : PropLabel) label->setEnabled(enabled);
    for (QLineEdit* box : Value) box->setEnabled(enabled);
    for (QGroupBox* frame : frames_) frame->setEnabled(enabled);
    placementBox_->setEnabled(enabled);
    scrHeight->setEnabled(enabled);
    cmdRemove->setEnabled(enabled);
}

void frmSalvageChunks::ShowChunkValues(int index) {
    SR2ShipFile& doc = Doc();
    doc.SSOD_LoadValues(static_cast<std::int16_t>(index));
    for (const Bound& b : bound_) {
        const QString text = ValueText(doc.GetField(b.field), b.shownTimes);
        b.box->setText(text);
        b.box->setCursorPosition(0);
        shownText_[b.box] = text;
    }
    // The height bar follows Z as far as it reaches; Z itself only changes when it is dragged.
    const double z = doc.SSOD_PositionZ;
    const int height = std::isfinite(z) ? static_cast<int>(std::clamp(
                                              std::round(z), double(-kHeightRange),
                                              double(kHeightRange)))
                                        : 0;
    scrHeight->setValue(height);
    choicelists::ShowChoice(cboChunkNames, FromLocal(doc.SSOD_SalvageChunkName));
}

bool frmSalvageChunks::StoreChunkValues(int index) {
    // Every changed box is checked before anything is stored: a chunk is stored whole or not at
    // all. A box left as it was shown keeps the stored value to the last digit.
    std::vector<std::pair<const Bound*, FieldValue>> changes;
    SR2ShipFile& doc = Doc();
    for (const Bound& b : bound_) {
        const QString text = b.box->text();
        if (text == shownText_.value(b.box)) continue;
        const std::string local = ToLocal(text);
        const FieldValue current = doc.GetField(b.field);
        if (std::holds_alternative<std::int32_t>(current)) {
            const auto v = numbers::ParseInt32(local);
            if (!v) return Refuse(text, b.caption, b.box), false;
            changes.emplace_back(&b, *v);
        } else {
            const auto v = numbers::ParseReal(local);
            if (!v) return Refuse(text, b.caption, b.box), false;
            changes.emplace_back(&b, b.shownTimes == 1 ? *v : *v / b.shownTimes);
        }
    }
    if (changes.empty()) return true;
    doc.SSOD_LoadValues(static_cast<std::int16_t>(index));
    for (const auto& [b, value] : changes) doc.SetField(b->field, value);
    doc.SSOD_SaveValues(static_cast<std::int16_t>(index));
    Did(QStringLiteral("Edit"));
    for (const auto& [b, value] : changes) shownText_[b->box] = b->box->text();
    return true;
}

void frmSalvageChunks::ScaleAndMark() {
    const auto x = numbers::ParseReal(ToLocal(txtPosition[0]->text()));
    const auto y = numbers::ParseReal(ToLocal(txtPosition[1]->text()));
    const double px = x.value_or(0), py = y.value_or(0);
    int exponent = 1;
    PlacementScale = PlacementBox::ScaleFor(px, py, &exponent);
    // The scale list ends at 100,000; longer coordinates still scale, the list shows its end.
    GraphScale->setCurrentIndex(std::min<int>(exponent, kGraphScales.size()) - 1);
    placementBox_->Clear();
    placementBox_->SetScale(PlacementScale);
    placementBox_->DrawMarker({px, -py});
}

void frmSalvageChunks::lstChunks_Click(int row) {
    if (row < 0 || row >= lstChunks->count()) return;
    if (CurrentChunk != -1 && !StoreChunkValues(CurrentChunk)) {
        // Refused: the chunk shown stays shown and selected, and nothing of it is stored.
        const QSignalBlocker block(lstChunks);
        if (CurrentChunk < lstChunks->count())
            lstChunks->setCurrentRow(CurrentChunk);
        else
            lstChunks->setCurrentRow(-1);
        return;
    }
    lstChunks->item(row)->setSelected(true);
    ShowChunkValues(row);
    SetChunkControlsEnabled(true);
    ScaleAndMark();
    CurrentChunk = static_cast<std::int16_t>(row);
}

void frmSalvageChunks::cmdAdd_Click() {
    if (cboChunkNames->currentIndex() < 0 || cboChunkNames->currentText().isEmpty()) {
        Message("Please specify a salvage chunk to add.", MessageKind::Warning);
        return;
    }
    Doc().SSOD_AddItem(ToLocal(cboChunkNames->currentText()));
    Did(QStringLiteral("Add"));
    // The list is rebuilt without a selection; the controls go on showing the current chunk.
    const QSignalBlocker block(lstChunks);
    RefreshChunkList();
}

void frmSalvageChunks::cmdRemove_Click() {
    // After Add the list has no selection while Remove stays enabled: nothing to remove then.
    const int row = lstChunks->currentRow();
    if (row < 0 || !lstChunks->item(row)->isSelected()) return;
    Doc().SSOD_RemoveItem(static_cast<std::int16_t>(row));
    Did(QStringLiteral("Remove"));
    CurrentChunk = -1;
    {
        const QSignalBlocker block(lstChunks);
        RefreshChunkList();
    }
    if (lstChunks->count() > 0) {
        lstChunks->setCurrentRow(0);
    } else {
        SetChunkControlsEnabled(false);
        placementBox_->Clear();
    }
}

void frmSalvageChunks::PlacementBox_Placed(double x, double y) {
    txtPosition[0]->setText(FromLocal(numbers::FormatInteger(static_cast<std::int64_t>(x))));
    txtPosition[1]->setText(FromLocal(numbers::FormatInteger(static_cast<std::int64_t>(-y))));
}

void frmSalvageChunks::scrHeight_Dragged(int value) {
    txtPosition[2]->setText(FromLocal(numbers::FormatInteger(value)));
}

bool frmSalvageChunks::Store() {
    return CurrentChunk == -1 || StoreChunkValues(CurrentChunk);
}

void frmSalvageChunks::Restore() { Doc().SSOD_SetList(SavedChunks); }
