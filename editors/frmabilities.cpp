#include "frmabilities.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "sheetcontext.h"
#include "shipsession.h"
#include "numbers.h"
#include "editors.h"
#include "textconv.h"
#include "windowfit.h"

using abilities::ListedAbility;
using abilities::Panel;
using abilities::Param;
using abilities::ParamKind;

namespace {

const QStringList kFalseTrue{"False", "True"};

const QString kWarning = QStringLiteral(
    "WARNING: Do not add/remove any of these abilities (or your ship file won't work): "
    "CanAttack, CanBuildShips, RepairCommand, ShipHold");
const QString kIsActiveHelp = QStringLiteral(
    "If set to False, the ability must be enabled via research.  If set to True, the ability is "
    "available as soon as the ship is built.");
const QString kPermanentNote = QStringLiteral(
    "Note: Abilities may be modified by selecting them after moving them to the Current "
    "Abilities list.");
const QString kNotEditable = QStringLiteral("Cannot edit this ability yet.");

QString Indexed(const char* name, int i) { return QString("%1(%2)").arg(name).arg(i); }

FieldValue ZeroOf(ParamKind kind) {
    switch (kind) {
        case ParamKind::Flag: return false;
        case ParamKind::Real: return 0.0;
        case ParamKind::Int32: return std::int32_t{0};
        case ParamKind::String: return std::string();
    }
    return false;
}

bool IsNumber(ParamKind kind) { return kind == ParamKind::Real || kind == ParamKind::Int32; }

QString NumberText(const FieldValue& value) {
    if (const auto* i = std::get_if<std::int32_t>(&value))
        return FromLocal(numbers::FormatInteger(*i));
    if (const auto* r = std::get_if<double>(&value)) return FromLocal(numbers::FormatReal(*r));
    return {};
}

QComboBox* MakeFalseTrue(const char* objectName, QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setObjectName(objectName);
    box->addItems(kFalseTrue);
    return box;
}

QListWidget* MakeList(const char* objectName, QWidget* parent) {
    auto* list = new QListWidget(parent);
    list->setObjectName(objectName);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    return list;
}

int SelectedRow(const QListWidget* list) {
    const int row = list->currentRow();
    if (row < 0 || !list->item(row)->isSelected()) return -1;
    return row;
}

}  // namespace

QDialog* CreateAbilities(const SheetContext& context) { return new frmAbilities(context); }

frmAbilities::frmAbilities(const SheetContext& context)
    : EditorSheet(context, "frmAbilities", tr("Abilities"), tr("Ability"), tr("Abilities")) {
    BuildControls();
    ResetPanel();
    LoadAbilities();
}

void frmAbilities::BuildControls() {
    // Lists and panels scroll on a screen too small for them; the description and OK / Cancel
    // stay in view below.
    auto* outer = new QVBoxLayout(this);
    auto* body = new QWidget;
    body->setObjectName("AbilitiesBody");
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(0, 0, 0, 0);

    // The two ability lists with the move buttons between them.
    auto* lists = new QGridLayout;
    lstCA = MakeList("lstCA", this);
    cmdAdd = new QPushButton("<=", this);
    cmdAdd->setObjectName("cmdAdd");
    cmdRemove = new QPushButton("=>", this);
    cmdRemove->setObjectName("cmdRemove");
    cmdAdd->setToolTip(tr("Add the selected possible ability"));
    cmdRemove->setToolTip(tr("Remove the selected current ability"));
    lstPA = MakeList("lstPA", this);
    lists->addWidget(MakeLabel("lblCurrentAbilities", "Current Abilities:", lstCA, this), 0, 0);
    lists->addWidget(MakeLabel("lblPossibleAbilities", "Possible Abilities:", lstPA, this), 0, 2);
    lists->addWidget(lstCA, 1, 0);
    auto* moves = new QVBoxLayout;
    moves->addStretch(1);
    moves->addWidget(cmdAdd);
    moves->addWidget(cmdRemove);
    moves->addStretch(1);
    lists->addLayout(moves, 1, 1);
    lists->addWidget(lstPA, 1, 2);
    lists->setColumnStretch(0, 1);
    lists->setColumnStretch(2, 1);
    for (QPushButton* b : {cmdAdd, cmdRemove}) PlainButton(b);
    // Tall enough for half the 27 names, so the sheet fits a 1280x720 screen; it grows taller.
    for (QListWidget* l : {lstCA, lstPA}) l->setMinimumHeight(l->fontMetrics().lineSpacing() * 13);
    layout->addLayout(lists, 1);

    auto* middle = new QHBoxLayout;
    layout->addLayout(middle);

    // The parameter panel. Its controls keep their place while hidden, so the window does not
    // change its shape from one ability to the next.
    auto* panel = new QGridLayout;
    auto keepPlace = [](QWidget* w) {
        QSizePolicy policy = w->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        w->setSizePolicy(policy);
    };
    cboIsActive = MakeFalseTrue("cboIsActive", this);
    lblIsActive = MakeLabel("lblIsActive", "Active by default:", cboIsActive, this);
    // The help of the label is also the help of its box, for those who arrive by keyboard.
    SetHelp(lblIsActive, kIsActiveHelp);
    SetHelp(cboIsActive, kIsActiveHelp);
    panel->addWidget(lblIsActive, 0, 0);
    panel->addWidget(cboIsActive, 0, 1);
    cboBool = MakeFalseTrue("cboBool", this);
    for (int n = 0; n < kPanelRows; ++n) {
        auto* box = new QLineEdit(this);
        box->setObjectName(Indexed("Value", n));
        QLabel* label = MakeLabel("", "Property ", box, this);
        label->setObjectName(Indexed("PropLabel", n));
        panel->addWidget(label, n + 1, 0);
        panel->addWidget(box, n + 1, 1);
        if (n == 0) panel->addWidget(cboBool, 1, 1);  // takes the place of Value(0) for a flag
        PropLabel.push_back(label);
        Value.push_back(box);
        connect(box, &QLineEdit::textEdited, this,
                [this, n](const QString& text) { Value_Edited(n, text); });
    }
    cboDropList = new QComboBox(this);
    cboDropList->setObjectName("cboDropList");
    cboDropList->setEditable(true);
    cboDropList->setInsertPolicy(QComboBox::NoInsert);
    lblStringDropList = MakeLabel("lblStringDropList", "String value:", cboDropList, this);
    panel->addWidget(lblStringDropList, kPanelRows + 1, 0);
    panel->addWidget(cboDropList, kPanelRows + 1, 1);
    panel->setColumnMinimumWidth(0, fontMetrics().horizontalAdvance("Dust Cloud Damage Multiplier: "));
    panel->setColumnMinimumWidth(1, fontMetrics().averageCharWidth() * 22);
    for (QWidget* w : std::initializer_list<QWidget*>{lblIsActive, cboIsActive, cboBool,
                                                      lblStringDropList, cboDropList})
        keepPlace(w);
    for (int n = 0; n < kPanelRows; ++n) {
        keepPlace(PropLabel[n]);
        keepPlace(Value[n]);
    }
    middle->addLayout(panel);

    // The family panels: shown, but nothing fills or enables them yet.
    auto* families = new QGridLayout;
    struct FamilyPanel {
        const char *current, *possible, *add, *remove, *lblCurrent, *lblPossible;
    };
    const FamilyPanel panels[] = {
        {"lstCF", "lstPF", "cmdAddF", "cmdRemoveF", "lblCurrentFamilies", "lblPossibleFamilies"},
        {"lstCF2", "lstPF2", "cmdAddF2", "cmdRemoveF2", "lblCurrentFamilies2",
         "lblPossibleFamilies2"},
    };
    int row = 0;
    for (const FamilyPanel& p : panels) {
        QListWidget* current = MakeList(p.current, this);
        QListWidget* possible = MakeList(p.possible, this);
        auto* add = new QPushButton("<=", this);
        add->setObjectName(p.add);
        auto* remove = new QPushButton("=>", this);
        remove->setObjectName(p.remove);
        PlainButton(add);
        PlainButton(remove);
        for (QListWidget* l : {current, possible}) {
            l->setMaximumHeight(l->fontMetrics().lineSpacing() * 5);
            // The style's sunken frame of a disabled list loses its top and left edges at
            // fractional scaling (150%); a plain box keeps all four.
            l->setFrameShape(QFrame::Box);
            l->setFrameShadow(QFrame::Plain);
        }
        QLabel* lc = MakeLabel(p.lblCurrent, "Current Families:", current, this);
        QLabel* lp = MakeLabel(p.lblPossible, "Possible Families:", possible, this);
        families->addWidget(lc, row, 0);
        families->addWidget(lp, row, 2);
        families->addWidget(current, row + 1, 0);
        auto* buttons = new QVBoxLayout;
        buttons->addWidget(add);
        buttons->addWidget(remove);
        families->addLayout(buttons, row + 1, 1);
        families->addWidget(possible, row + 1, 2);
        familyControls_.insert(familyControls_.end(), {lc, current, add, remove, lp, possible});
        row += 2;
    }
    auto* order = new QHBoxLayout;
    auto* cmdUp = new QPushButton("Up", this);
    cmdUp->setObjectName("cmdUp");
    auto* cmdDown = new QPushButton("Down", this);
    cmdDown->setObjectName("cmdDown");
    PlainButton(cmdUp);
    PlainButton(cmdDown);
    order->addWidget(cmdUp);
    order->addWidget(cmdDown);
    order->addStretch(1);
    families->addLayout(order, row, 0, 1, 3);
    familyControls_.insert(familyControls_.end(), {cmdUp, cmdDown});
    middle->addLayout(families, 1);

    QGroupBox* description = MakeDescriptionFrame();
    PermDesc = MakeLabel("PermDesc", kPermanentNote, nullptr, description);
    PermDesc->setWordWrap(true);
    description->layout()->addWidget(PermDesc);
    outer->addWidget(new windowfit::ScrollBody(body, this), 1);
    outer->addWidget(description);
    outer->addLayout(MakeOkCancelRow());

    connect(lstCA, &QListWidget::currentRowChanged, this, &frmAbilities::lstCA_Click);
    connect(cmdAdd, &QPushButton::clicked, this, &frmAbilities::cmdAdd_Click);
    connect(cmdRemove, &QPushButton::clicked, this, &frmAbilities::cmdRemove_Click);
    connect(cboIsActive, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!filling_ && shown_ >= 0) work_[shown_].isActive = index == 1;
    });
    connect(cboBool, &QComboBox::currentIndexChanged, this, [this](int index) {
        const int p = shown_ < 0 || filling_ ? -1 : ParamAtRow(shown_, 0);
        if (p >= 0) work_[shown_].values[p] = index == 1;
    });
    connect(cboDropList, &QComboBox::editTextChanged, this, [this](const QString& text) {
        const int p = shown_ < 0 || filling_ ? -1 : ParamAtRow(shown_, -1);
        if (p >= 0) work_[shown_].values[p] = ToLocal(text);
    });
}

void frmAbilities::LoadAbilities() {
    const SR2ShipFile& doc = Doc();
    const auto table = abilities::Table();
    work_.assign(table.size(), {});
    for (std::size_t i = 0; i < table.size(); ++i) {
        const ListedAbility& a = table[i];
        Working& w = work_[i];
        for (const Param& p : a.params) w.values.push_back(ZeroOf(p.kind));
        w.typed.resize(a.params.size());
        const QString name = QString::fromLatin1(a.name);
        if (!std::get<bool>(doc.GetField(a.presence))) {
            lstPA->addItem(name);
            continue;
        }
        lstCA->addItem(name);
        w.present = true;
        if (a.isActive) w.isActive = std::get<bool>(doc.GetField(a.isActive));
        for (std::size_t p = 0; p < a.params.size(); ++p)
            w.values[p] = doc.GetField(a.params[p].field);
    }
    // Shown every time, before the sheet itself appears.
    Message(kWarning, MessageKind::Warning);
}

int frmAbilities::ParamAtRow(int ability, int row) const {
    const auto params = abilities::Table()[ability].params;
    for (std::size_t p = 0; p < params.size(); ++p)
        if (params[p].row == row) return static_cast<int>(p);
    return -1;
}

void frmAbilities::ResetPanel() {
    HideParameterPanel();
    lblStringDropList->hide();
    lblStringDropList->setEnabled(false);
    cboDropList->hide();
    cboDropList->setEnabled(false);
    for (QWidget* w : familyControls_) w->setEnabled(false);
}

void frmAbilities::HideParameterPanel() {
    lblIsActive->hide();
    cboIsActive->setEnabled(false);
    cboIsActive->hide();
    cboBool->setEnabled(false);
    cboBool->hide();
    for (int n = 0; n < kPanelRows; ++n) {
        Value[n]->setEnabled(false);
        Value[n]->hide();
        PropLabel[n]->hide();
        PropLabel[n]->setText(QString());
    }
}

void frmAbilities::ShowParameterPanel(int rows, bool firstRowIsFlag) {
    lblIsActive->show();
    cboIsActive->show();
    cboIsActive->setEnabled(true);
    int first = 0;
    if (firstRowIsFlag) {
        PropLabel[0]->show();
        PropLabel[0]->setBuddy(cboBool);
        Value[0]->setEnabled(false);
        Value[0]->hide();
        cboBool->show();
        cboBool->setEnabled(true);
        first = 1;
    } else {
        cboBool->setEnabled(false);
        cboBool->hide();
        PropLabel[0]->setBuddy(Value[0]);
    }
    for (int n = first; n < rows && n < kPanelRows; ++n) {
        Value[n]->setEnabled(true);
        Value[n]->clear();
        Value[n]->show();
        PropLabel[n]->show();
    }
}

void frmAbilities::ShowAbility(int index) {
    const ListedAbility& a = abilities::Table()[index];
    const Working& w = work_[index];
    filling_ = true;
    ShowParameterPanel(a.RowCount(), a.FirstRowIsFlag());
    cboIsActive->setCurrentIndex(w.isActive ? 1 : 0);
    for (std::size_t p = 0; p < a.params.size(); ++p) {
        const Param& param = a.params[p];
        if (param.kind == ParamKind::String) {
            lblStringDropList->setText(param.caption);
            lblStringDropList->show();
            lblStringDropList->setEnabled(true);
            cboDropList->show();
            cboDropList->setEnabled(true);
            cboDropList->setEditText(FromLocal(std::get<std::string>(w.values[p])));
            continue;
        }
        PropLabel[param.row]->setText(param.caption);
        if (param.kind == ParamKind::Flag) {
            cboBool->setCurrentIndex(std::get<bool>(w.values[p]) ? 1 : 0);
        } else {
            Value[param.row]->setText(w.typed[p] ? *w.typed[p] : NumberText(w.values[p]));
            Value[param.row]->setCursorPosition(0);
        }
    }
    filling_ = false;
    shown_ = index;
}

void frmAbilities::lstCA_Click(int row) {
    ResetPanel();
    shown_ = -1;
    if (row < 0 || row >= lstCA->count()) return;
    lstCA->item(row)->setSelected(true);
    const int index = abilities::IndexOf(lstCA->item(row)->text().toLatin1().constData());
    if (index < 0 || abilities::Table()[index].panel == Panel::NotEditable) {
        HideParameterPanel();
        Desc()->setText(kNotEditable);
        return;
    }
    if (abilities::Table()[index].panel == Panel::Nothing) return;
    ShowAbility(index);
}

void frmAbilities::cmdAdd_Click() {
    const int row = SelectedRow(lstPA);
    if (row < 0) return;
    QListWidgetItem* item = lstPA->takeItem(row);
    const QString name = item->text();
    delete item;
    lstPA->setCurrentRow(-1);
    {
        // The ability joins the list; what the panel shows stays as it was.
        const QSignalBlocker block(lstCA);
        lstCA->addItem(name);
    }
    const int index = abilities::IndexOf(name.toLatin1().constData());
    // The mandatory abilities keep the presence the script gave them, wherever they are listed.
    if (index >= 0 && !abilities::Table()[index].Mandatory()) {
        work_[index].present = true;
        Did(QStringLiteral("Add"));
    }
}

void frmAbilities::cmdRemove_Click() {
    const int row = SelectedRow(lstCA);
    if (row < 0) return;
    QString name;
    {
        const QSignalBlocker block(lstCA);
        QListWidgetItem* item = lstCA->takeItem(row);
        name = item->text();
        delete item;
        lstCA->setCurrentRow(-1);
    }
    // The panel showed the ability that has just left the list.
    ResetPanel();
    shown_ = -1;
    lstPA->addItem(name);
    const int index = abilities::IndexOf(name.toLatin1().constData());
    if (index >= 0 && !abilities::Table()[index].Mandatory()) {
        work_[index].present = false;
        Did(QStringLiteral("Remove"));
    }
}

void frmAbilities::Value_Edited(int row, const QString& text) {
    if (filling_ || shown_ < 0) return;
    const int p = ParamAtRow(shown_, row);
    if (p >= 0 && IsNumber(abilities::Table()[shown_].params[p].kind)) work_[shown_].typed[p] = text;
}

bool frmAbilities::CheckTypedNumbers(std::vector<std::vector<FieldValue>>& checked) {
    const auto table = abilities::Table();
    checked.assign(table.size(), {});
    for (std::size_t i = 0; i < table.size(); ++i) {
        const ListedAbility& a = table[i];
        const Working& w = work_[i];
        checked[i] = w.values;
        // An ability that is not written needs no checking.
        if (!w.present || a.panel != Panel::Parameters) continue;
        for (std::size_t p = 0; p < a.params.size(); ++p) {
            if (!w.typed[p]) continue;
            const Param& param = a.params[p];
            const std::string text = ToLocal(*w.typed[p]);
            bool converts = false;
            if (param.kind == ParamKind::Int32) {
                const auto v = numbers::ParseInt32(text);
                if ((converts = v.has_value())) checked[i][p] = *v;
            } else {
                const auto v = numbers::ParseReal(text);
                if ((converts = v.has_value())) checked[i][p] = *v;
            }
            if (!converts) {
                // Show the ability whose box holds the text, then point at the box.
                for (int r = 0; r < lstCA->count(); ++r) {
                    if (lstCA->item(r)->text() == QLatin1String(a.name)) {
                        lstCA->setCurrentRow(r);
                        break;
                    }
                }
                QString caption = param.caption;
                if (caption.endsWith(':')) caption.chop(1);
                Refuse(*w.typed[p], caption, Value[param.row]);
                return false;
            }
        }
    }
    return true;
}

void frmAbilities::SaveAbilities(const std::vector<std::vector<FieldValue>>& checked) {
    SR2ShipFile& doc = Doc();
    const auto table = abilities::Table();
    for (std::size_t i = 0; i < table.size(); ++i) {
        const ListedAbility& a = table[i];
        const Working& w = work_[i];
        if (a.panel != Panel::Parameters || !w.present) {
            // Abilities without arguments, absent ones (whose arguments stay as they are), and
            // the mandatory ones, whose presence is the one read at opening.
            doc.SetField(a.presence, w.present);
            continue;
        }
        doc.SetField(a.presence, true);
        if (a.isActive) doc.SetField(a.isActive, w.isActive);
        for (std::size_t p = 0; p < a.params.size(); ++p)
            doc.SetField(a.params[p].field, checked[i][p]);
    }
}

bool frmAbilities::Store() {
    std::vector<std::vector<FieldValue>> checked;
    if (!CheckTypedNumbers(checked)) return false;
    // Added and removed abilities were counted as they moved; here the values of those the ship
    // keeps.
    const SR2ShipFile& doc = Doc();
    const auto table = abilities::Table();
    for (std::size_t i = 0; i < table.size(); ++i) {
        const ListedAbility& a = table[i];
        const Working& w = work_[i];
        if (a.panel != Panel::Parameters || !w.present || !std::get<bool>(doc.GetField(a.presence))) continue;
        bool edited = a.isActive && std::get<bool>(doc.GetField(a.isActive)) != w.isActive;
        for (std::size_t p = 0; p < a.params.size() && !edited; ++p)
            edited = doc.GetField(a.params[p].field) != checked[i][p];
        if (edited) Did(QStringLiteral("Edit"));
    }
    SaveAbilities(checked);
    return true;
}
