#include "propertysheet.h"

#include <QComboBox>
#include <QCompleter>
#include <QEvent>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

#include "sheetcontext.h"
#include "shipsession.h"
#include "numbers.h"
#include "prompter.h"
#include "sr2shipfile.h"
#include "textconv.h"
#include "windowfit.h"

namespace {

constexpr std::array<const char*, 3> kAxes{"X", "Y", "Z"};

// Width of a box that shows one number or a short name, in average characters.
constexpr int kBoxChars = 30;
constexpr int kTripleBoxChars = 8;
// The description frame shows about this many characters a line, and never fewer lines than this.
constexpr int kDescChars = 48;
constexpr int kDescMinLines = 3;

QString WithoutTrailingBlanks(QString caption) {
    while (caption.endsWith(' ')) caption.chop(1);
    return caption;
}

// The reader's conversion decides what a number box may hold; a string field takes any text the
// script's code page can hold, so that what is stored is what the user sees.
bool Converts(const SR2ShipFile::FieldInfo& info, const QString& text) {
    const std::string local = ToLocal(text);
    switch (info.type) {
    case FieldType::String: return FromLocal(local) == text;
    case FieldType::Int32: return numbers::ParseInt32(local).has_value();
    case FieldType::Int16: return numbers::ParseInt16(local).has_value();
    case FieldType::Real:
    case FieldType::Flag: return numbers::ParseReal(local).has_value();
    }
    return false;
}

}  // namespace

const QStringList& PropertySheet::FalseTrue() {
    static const QStringList items{QStringLiteral("False"), QStringLiteral("True")};
    return items;
}

PropertySheet::PropertySheet(const SheetContext& context, const char* objectName,
                             const QString& windowCaption, std::span<const SheetRow> rows,
                             std::span<const SheetFrame> frames)
    : QDialog(context.parent), context_(context), frames_(frames.begin(), frames.end()) {
    setObjectName(objectName);
    setWindowTitle(windowCaption);

    // The rows scroll when the screen is too small for them; the description and the OK /
    // Cancel row below stay in view.
    auto* top = new QVBoxLayout(this);
    auto* bodyWidget = new QWidget;
    bodyWidget->setObjectName("SheetBody");
    body_ = new QVBoxLayout(bodyWidget);
    body_->setContentsMargins(0, 0, 0, 0);
    top->addWidget(new windowfit::ScrollBody(bodyWidget, this));

    grids_.assign(frames_.size() + 1, nullptr);
    frameBoxes_.assign(frames_.size(), nullptr);
    gridRows_.assign(frames_.size() + 1, 0);
    hasAxisHeader_.assign(frames_.size() + 1, false);

    for (std::size_t i = 0; i < rows.size(); ++i) BuildRow(static_cast<int>(i), rows[i]);

    descriptionFrame_ = new QGroupBox(QStringLiteral("Property Description"), this);
    descriptionFrame_->setObjectName("DescriptionFrame");
    auto* descLayout = new QVBoxLayout(descriptionFrame_);
    desc_ = new QLabel(descriptionFrame_);
    desc_->setObjectName("Desc");
    desc_->setWordWrap(true);
    desc_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    descLayout->addWidget(desc_);
    top->addWidget(descriptionFrame_);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    cmdOK_ = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK_->setObjectName("cmdOK");
    cmdOK_->setDefault(true);
    cmdCancel_ = new QPushButton(QStringLiteral("&Cancel"), this);
    cmdCancel_->setObjectName("cmdCancel");
    buttons->addWidget(cmdOK_);
    buttons->addWidget(cmdCancel_);
    top->addLayout(buttons);

    connect(cmdOK_, &QPushButton::clicked, this, &PropertySheet::cmdOK_Click);
    // Cancel, Escape and the close box all end in reject(): nothing is stored.
    connect(cmdCancel_, &QPushButton::clicked, this, &QDialog::reject);
}

QGroupBox* PropertySheet::FrameBox(int frame) {
    QGroupBox*& box = frameBoxes_[frame - 1];
    if (!box) {
        const SheetFrame& f = frames_[frame - 1];
        box = new QGroupBox(QString::fromLatin1(f.caption), this);
        box->setObjectName(f.object);
        body_->addWidget(box);
    }
    return box;
}

QGridLayout* PropertySheet::Grid(int frame) {
    QGridLayout*& grid = grids_.at(frame);
    if (!grid) {
        if (frame == 0) {
            grid = new QGridLayout;
            body_->addLayout(grid);
        } else {
            grid = new QGridLayout(FrameBox(frame));
        }
        grid->setColumnStretch(1, 1);
        grid->setColumnStretch(2, 1);
        grid->setColumnStretch(3, 1);
    }
    return grid;
}

int PropertySheet::NextGridRow(int frame) {
    Grid(frame);
    return gridRows_.at(frame)++;
}

void PropertySheet::BuildRow(int index, const SheetRow& row) {
    QGridLayout* grid = Grid(row.frame);
    const QFontMetrics fm(font());

    if (row.kind == RowKind::Triple && !hasAxisHeader_[row.frame]) {
        hasAxisHeader_[row.frame] = true;
        const int headerRow = NextGridRow(row.frame);
        for (int a = 0; a < 3; ++a) {
            auto* header = new QLabel(QString::fromLatin1(kAxes[a]), this);
            header->setObjectName(QStringLiteral("Label%1").arg(a + 1));
            header->setAlignment(Qt::AlignCenter);
            grid->addWidget(header, headerRow, a + 1);
        }
    }

    const int r = NextGridRow(row.frame);
    BuiltRow built{row, {}, nullptr, r};
    built.label = new QLabel(QString::fromLatin1(row.caption), this);
    built.label->setObjectName(QStringLiteral("PropLabel(%1)").arg(index));
    grid->addWidget(built.label, r, 0);

    auto combo = [&](bool editable) {
        auto* box = new QComboBox(this);
        box->setObjectName(row.object);
        box->setEditable(editable);
        if (editable) {
            // Typed text is the value: Enter must not add it to the choices, and the completer
            // must not turn "fighter" into a choice spelt "Fighter".
            box->setInsertPolicy(QComboBox::NoInsert);
            if (box->completer()) box->completer()->setCaseSensitivity(Qt::CaseSensitive);
        }
        // Sized by a character count, not by its choices: measuring hundreds of data-directory
        // names would cost more than building the whole sheet.
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        box->setMinimumContentsLength(kBoxChars);
        box->setMinimumWidth(fm.averageCharWidth() * kBoxChars);
        return box;
    };

    switch (row.kind) {
    case RowKind::Text: {
        auto* box = new QLineEdit(this);
        box->setObjectName(row.object);
        box->setMinimumWidth(fm.averageCharWidth() * kBoxChars);
        built.boxes.push_back(box);
        break;
    }
    case RowKind::Choice: built.boxes.push_back(combo(false)); break;
    case RowKind::EditableChoice: built.boxes.push_back(combo(true)); break;
    case RowKind::TrueFalse: {
        QComboBox* box = combo(false);
        box->addItems(FalseTrue());
        built.boxes.push_back(box);
        break;
    }
    case RowKind::Triple:
        for (const char* axis : kAxes) {
            auto* box = new QLineEdit(this);
            box->setObjectName(QString::fromLatin1(row.object) + "_" + axis);
            box->setMinimumWidth(fm.averageCharWidth() * kTripleBoxChars);
            built.boxes.push_back(box);
        }
        break;
    }

    if (row.kind == RowKind::Triple) {
        for (int a = 0; a < 3; ++a) grid->addWidget(built.boxes[a], r, a + 1);
    } else {
        grid->addWidget(built.boxes[0], r, 1, 1, 3);
    }
    built.label->setBuddy(built.boxes[0]);
    if (row.help)
        for (QWidget* box : built.boxes) SetHelp(box, QString::fromLatin1(row.help));
    rows_.push_back(std::move(built));
}

void PropertySheet::SetHelp(QWidget* box, const QString& help) {
    help_.insert(box, help);
    box->installEventFilter(this);
    // An editable combo box is covered by its line edit, which gets the mouse first.
    if (auto* combo = qobject_cast<QComboBox*>(box); combo && combo->lineEdit()) {
        help_.insert(combo->lineEdit(), help);
        combo->lineEdit()->installEventFilter(this);
    }
}

bool PropertySheet::eventFilter(QObject* watched, QEvent* event) {
    // The help follows the mouse and the keyboard alike: hovering over a box or tabbing into it.
    if (event->type() == QEvent::Enter || event->type() == QEvent::MouseMove ||
        event->type() == QEvent::FocusIn) {
        const auto it = help_.constFind(static_cast<QWidget*>(watched));
        if (it != help_.constEnd()) desc_->setText(it.value());
    }
    return QDialog::eventFilter(watched, event);
}

void PropertySheet::SetChoices(int list, const QStringList& names) {
    for (BuiltRow& built : rows_) {
        const RowKind kind = built.row.kind;
        if ((kind != RowKind::Choice && kind != RowKind::EditableChoice) || built.row.list != list)
            continue;
        auto* box = static_cast<QComboBox*>(built.boxes[0]);
        box->clear();
        box->addItems(names);
    }
}

SR2ShipFile& PropertySheet::Doc() const { return context_.session->Ship(); }

QString PropertySheet::GameValueText(const std::string& field) {
    // One run of the whole script for the sheet, not one per box: the sheet opens at once.
    if (!gameValues_) gameValues_.emplace(context_.session->Document());
    const auto value = gameValues_->OfField(field);
    return value ? FromLocal(*value) : QString();
}

void PropertySheet::ShowGameValue(const BuiltRow& built, const std::vector<QString>& values) {
    std::vector<std::string> fields;
    for (std::size_t b = 0; b < built.boxes.size(); ++b)
        fields.push_back(built.row.kind == RowKind::Triple ? built.row.field + std::string(kAxes[b]) : built.row.field);
    QString text;
    for (const QString& v : values) text += (text.isEmpty() ? "= " : ", ") + v;
    auto* label = new QLabel(text, this);
    label->setObjectName(QStringLiteral("lblGameValue(%1)").arg(&built - rows_.data()));
    label->setToolTip(tr("The value the game reads from the script as written"));
    label->setMinimumWidth(label->sizeHint().width());  // the sheet keeps its layout when it empties
    Grid(built.row.frame)->addWidget(label, built.gridRow, 4);
    // Once a box no longer shows its text as written, its line will be rewritten: the game's
    // value of the old text no longer applies.
    auto follow = [this, label, text, boxes = built.boxes, fields] {
        bool asRead = true;
        for (std::size_t b = 0; b < boxes.size(); ++b) {
            const QString now = qobject_cast<QLineEdit*>(boxes[b]) ? static_cast<QLineEdit*>(boxes[b])->text()
                                                                  : static_cast<QComboBox*>(boxes[b])->currentText();
            asRead = asRead && now == loadedText_.value(QString::fromStdString(fields[b]));
        }
        label->setText(asRead ? text : QString());
    };
    for (QWidget* box : built.boxes) {
        if (auto* edit = qobject_cast<QLineEdit*>(box)) connect(edit, &QLineEdit::textChanged, label, follow);
        else if (auto* combo = qobject_cast<QComboBox*>(box))
            connect(combo, &QComboBox::currentTextChanged, label, follow);
    }
}

QWidget* PropertySheet::Control(const QString& objectName) const {
    return findChild<QWidget*>(objectName);
}

void PropertySheet::ShowText(QLineEdit* box, const QString& text) {
    box->setText(text);
    box->setCursorPosition(0);  // a long name shows its beginning
}

QString PropertySheet::LoadText(const std::string& field) {
    // A line kept as the script wrote it (79*1.1, a call) shows as written, never as the number
    // the document could make of it; OK then leaves that line alone unless the box changed.
    const auto kept = Doc().KeptFieldText(field);
    const QString text = FromLocal(kept ? *kept : Doc().GetFieldText(field));
    loadedText_.insert(QString::fromStdString(field), text);
    return text;
}

void PropertySheet::FormLoad() {
    QWidget* previous = nullptr;
    auto chain = [&](QWidget* w) {
        if (previous) setTabOrder(previous, w);
        previous = w;
    };
    for (const BuiltRow& built : rows_)
        for (QWidget* box : built.boxes) chain(box);
    for (QWidget* w : ownTabChain_) chain(w);
    chain(cmdOK_);
    chain(cmdCancel_);

    AlignLabelColumns();
    SizeDescription();
    LoadSheet();
    windowfit::MakeFixedSize(*this);  // the sheet is as large as its content
}

void PropertySheet::AlignLabelColumns() {
    // The boxes of the body and of every frame start at one line: each grid's label column is
    // as wide as the widest label, less what a frame indents its content.
    int widest = 0;
    for (const BuiltRow& built : rows_) widest = std::max(widest, built.label->sizeHint().width());
    for (std::size_t frame = 0; frame < grids_.size(); ++frame) {
        QGridLayout* grid = grids_[frame];
        if (!grid) continue;
        int indent = grid->contentsMargins().left();
        if (frame > 0) {
            QGroupBox* box = frameBoxes_[frame - 1];
            box->ensurePolished();
            indent += box->contentsMargins().left();
        } else {
            indent = 0;
        }
        grid->setColumnMinimumWidth(0, std::max(0, widest - indent));
    }
}

void PropertySheet::SizeDescription() {
    // Tall enough for the longest help text, so that the sheet keeps its size while the mouse
    // moves from box to box.
    const QFontMetrics fm(desc_->font());
    const int width = fm.averageCharWidth() * kDescChars;
    int height = fm.lineSpacing() * kDescMinLines;
    for (const QString& help : std::as_const(help_))
        height = std::max(height, fm.boundingRect(QRect(0, 0, width, 100000),
                                                  Qt::TextWordWrap, help).height());
    desc_->setMinimumSize(width, height);
}

void PropertySheet::LoadSheet() {
    for (BuiltRow& built : rows_) {
        const SheetRow& row = built.row;
        const std::string field = row.field;
        switch (row.kind) {
        case RowKind::Text:
            ShowText(static_cast<QLineEdit*>(built.boxes[0]), LoadText(field));
            break;
        case RowKind::Triple:
            for (int a = 0; a < 3; ++a)
                ShowText(static_cast<QLineEdit*>(built.boxes[a]), LoadText(field + kAxes[a]));
            break;
        case RowKind::Choice: {
            // A stored name that is no choice becomes one (in every box of the same list, so
            // they keep offering the same names), so that OK writes it back unchanged.
            const QString value = LoadText(field);
            auto* box = static_cast<QComboBox*>(built.boxes[0]);
            if (!value.isEmpty() && box->findText(value) < 0) {
                for (BuiltRow& other : rows_)
                    if (other.row.kind == RowKind::Choice && other.row.list == row.list)
                        static_cast<QComboBox*>(other.boxes[0])->addItem(value);
            }
            box->setCurrentIndex(box->findText(value));
            break;
        }
        case RowKind::EditableChoice: {
            auto* box = static_cast<QComboBox*>(built.boxes[0]);
            box->setCurrentIndex(-1);
            box->setEditText(LoadText(field));
            break;
        }
        case RowKind::TrueFalse: {
            // Only 0 and 1 have an item; any other stored number shows no selection and is
            // kept unless the user picks an item.
            const QString value = LoadText(field);
            static_cast<QComboBox*>(built.boxes[0])
                ->setCurrentIndex(value == "0" ? 0 : value == "1" ? 1 : -1);
            break;
        }
        }
        // A line the editor keeps as the script wrote it (an expression, a value with a comment)
        // shows that text, so the user sees why the box holds what was stored, and beside it
        // what the game makes of it.
        std::vector<QString> gameValues;
        bool anyGameValue = false;
        for (std::size_t b = 0; b < built.boxes.size(); ++b) {
            const std::string f = row.kind == RowKind::Triple ? field + kAxes[b] : field;
            const auto kept = Doc().KeptFieldText(f);
            QString tip;
            QString game;
            if (kept) {
                tip = "As written in the script: " + FromLocal(*kept);
                game = GameValueText(f);
                if (!GameValues::TellsMore(*kept, ToLocal(game))) game.clear();
                if (!game.isEmpty()) tip += "\nThe game reads it as " + game;
            }
            // A box of a triple whose own line is written as read shows its own value.
            gameValues.push_back(game.isEmpty() ? loadedText_.value(QString::fromStdString(f)) : game);
            anyGameValue = anyGameValue || !game.isEmpty();
            built.boxes[b]->setToolTip(tip);
            // Marked, so that a text as written is not taken for a number the editor stored.
            QFont font = built.boxes[b]->font();
            font.setItalic(kept.has_value());
            built.boxes[b]->setFont(font);
            built.boxes[b]->setProperty("keptAsWritten", kept.has_value());
        }
        if (anyGameValue) ShowGameValue(built, gameValues);
    }
    LoadOwn();
}

bool PropertySheet::SaveSheet() {
    std::vector<PendingStore> stores;
    for (const BuiltRow& built : rows_) {
        const SheetRow& row = built.row;
        const QString caption = QString::fromLatin1(row.caption);
        switch (row.kind) {
        case RowKind::Text:
            stores.push_back({row.field, static_cast<QLineEdit*>(built.boxes[0])->text(),
                              built.boxes[0], caption, {}});
            break;
        case RowKind::Triple:
            for (int a = 0; a < 3; ++a)
                stores.push_back({std::string(row.field) + kAxes[a],
                                  static_cast<QLineEdit*>(built.boxes[a])->text(), built.boxes[a],
                                  caption, {}});
            break;
        case RowKind::Choice:
        case RowKind::EditableChoice:
            stores.push_back({row.field, static_cast<QComboBox*>(built.boxes[0])->currentText(),
                              built.boxes[0], caption, {}});
            break;
        case RowKind::TrueFalse: {
            const int index = static_cast<QComboBox*>(built.boxes[0])->currentIndex();
            if (index >= 0)
                stores.push_back({row.field, QString::number(index), built.boxes[0], caption, {}});
            break;
        }
        }
    }
    CollectOwn(stores);

    // A text left as it was shown keeps the field exactly as it was (all digits of a real, a
    // line kept as written).
    auto unchanged = [this](const PendingStore& s) {
        const auto loaded = loadedText_.constFind(QString::fromStdString(s.field));
        return loaded != loadedText_.constEnd() && loaded.value() == s.text;
    };
    // All or nothing: every text is checked before the first one is stored.
    for (const PendingStore& s : stores) {
        const SR2ShipFile::FieldInfo* info = SR2ShipFile::FindField(s.field);
        if (info && (unchanged(s) || Converts(*info, s.text))) continue;
        context_.prompter->Message(this, "'" + s.text + "' is not a valid value for " +
                                           WithoutTrailingBlanks(s.caption) + ".",
                                 MessageKind::Warning);
        if (s.reveal) s.reveal();
        s.box->setFocus(Qt::OtherFocusReason);
        if (auto* edit = qobject_cast<QLineEdit*>(s.box)) edit->selectAll();
        return false;
    }

    SR2ShipFile& doc = Doc();
    for (const PendingStore& s : stores) {
        if (unchanged(s)) continue;
        doc.SetFieldText(s.field, ToLocal(s.text));
    }
    StoreOwn();
    return true;
}

void PropertySheet::cmdOK_Click() {
    if (SaveSheet()) accept();
}

QWidget* PropertySheet::BoxOf(const std::string& field) {
    for (const BuiltRow& built : rows_) {
        if (built.row.kind != RowKind::Triple) {
            if (field == built.row.field) return built.boxes[0];
            continue;
        }
        for (std::size_t a = 0; a < built.boxes.size(); ++a)
            if (field == std::string(built.row.field) + kAxes[a]) return built.boxes[a];
    }
    std::vector<PendingStore> own;
    CollectOwn(own);
    for (const PendingStore& s : own)
        if (s.field == field) return s.box;
    return nullptr;
}

bool PropertySheet::FocusField(const std::string& field) {
    QWidget* box = BoxOf(field);
    if (!box) return false;
    box->setFocus(Qt::OtherFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(box)) edit->selectAll();
    return true;
}

std::vector<std::string> PropertySheet::FieldNames() {
    std::vector<std::string> names;
    for (const BuiltRow& built : rows_) {
        if (built.row.kind != RowKind::Triple) names.emplace_back(built.row.field);
        else
            for (const char* axis : kAxes) names.push_back(std::string(built.row.field) + axis);
    }
    std::vector<PendingStore> own;
    CollectOwn(own);
    for (PendingStore& s : own) names.push_back(std::move(s.field));
    return names;
}

QStringList PropertySheet::FieldList() {
    QStringList list;
    for (const std::string& f : FieldNames()) list << QString::fromStdString(f);
    return list;
}
