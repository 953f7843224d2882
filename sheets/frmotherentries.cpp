#include "frmotherentries.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "gamevalues.h"
#include "prompter.h"
#include "sheetcontext.h"
#include "shipdocument.h"
#include "shipsession.h"
#include "textconv.h"

namespace {

enum Column { kLine, kEntry, kValue };

// A block's text on one line of the table; the box below the table shows it whole.
QString OneLine(const std::string& text) {
    QString s = FromLocal(text);
    s.replace("\r\n", " ");
    s.replace('\n', ' ');
    return s;
}

QString WithoutFullStop(QString s) {
    while (s.endsWith('.')) s.chop(1);
    return s;
}

}  // namespace

frmOtherEntries::frmOtherEntries(ShipDocument& document, Prompter& prompter, QWidget* parent)
    : QDialog(parent), document_(document), prompter_(prompter),
      saved_(std::make_unique<SR2ShipFile>(document.Ship())),
      steps_(this, QStringLiteral("Other Entry"), QStringLiteral("Other Entries")) {
    setObjectName("frmOtherEntries");
    setWindowTitle(QStringLiteral("Other Entries"));

    auto* layout = new QVBoxLayout(this);
    auto* filterRow = new QHBoxLayout;
    txtFilter_ = new QLineEdit(this);
    txtFilter_->setObjectName("txtFilter");
    txtFilter_->setPlaceholderText(tr("Type to narrow the rows"));
    txtFilter_->setClearButtonEnabled(true);
    auto* filterLabel = new QLabel(tr("&Filter "), this);
    filterLabel->setBuddy(txtFilter_);
    filterRow->addWidget(filterLabel);
    filterRow->addWidget(txtFilter_);
    layout->addLayout(filterRow);

    lstEntries_ = new QTableWidget(0, 3, this);
    lstEntries_->setObjectName("lstEntries");
    lstEntries_->setAccessibleName(QStringLiteral("Other Entries"));
    lstEntries_->setHorizontalHeaderLabels({QStringLiteral("Line"), QStringLiteral("Entry"), QStringLiteral("Value")});
    lstEntries_->setSelectionBehavior(QAbstractItemView::SelectRows);
    lstEntries_->setSelectionMode(QAbstractItemView::SingleSelection);
    lstEntries_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                                 QAbstractItemView::AnyKeyPressed);
    lstEntries_->verticalHeader()->hide();
    lstEntries_->horizontalHeader()->setStretchLastSection(true);
    lstEntries_->setWordWrap(false);
    const int ch = fontMetrics().averageCharWidth();
    lstEntries_->setColumnWidth(kLine, ch * 7);
    lstEntries_->setColumnWidth(kEntry, ch * 26);
    lstEntries_->setMinimumSize(ch * 90, fontMetrics().height() * 14);
    layout->addWidget(lstEntries_, 1);

    auto* blockLabel = new QLabel(tr("&Statement as written (for a block):"), this);
    txtBlock_ = new QPlainTextEdit(this);
    txtBlock_->setObjectName("txtBlock");
    txtBlock_->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtBlock_->setFixedHeight(fontMetrics().height() * 5);
    txtBlock_->setEnabled(false);
    blockLabel->setBuddy(txtBlock_);
    layout->addWidget(blockLabel);
    layout->addWidget(txtBlock_);

    auto* addRow = new QHBoxLayout;
    txtNew_ = new QLineEdit(this);
    txtNew_->setObjectName("txtNew");
    txtNew_->setPlaceholderText(tr("key = value  or  name(arguments)"));
    cmdAdd_ = new QPushButton(tr("&Add"), this);
    cmdAdd_->setObjectName("cmdAdd");
    cmdRemove_ = new QPushButton(tr("&Remove"), this);
    cmdRemove_->setObjectName("cmdRemove");
    cmdRemove_->setEnabled(false);
    addRow->addWidget(txtNew_, 1);
    addRow->addWidget(cmdAdd_);
    addRow->addWidget(cmdRemove_);
    layout->addLayout(addRow);

    auto* okRow = new QHBoxLayout;
    okRow->addStretch(1);
    cmdOK_ = new QPushButton(tr("&OK"), this);
    cmdOK_->setObjectName("cmdOK");
    cmdCancel_ = new QPushButton(tr("&Cancel"), this);
    cmdCancel_->setObjectName("cmdCancel");
    okRow->addWidget(cmdOK_);
    okRow->addWidget(cmdCancel_);
    layout->addLayout(okRow);
    // Return in the filter or in the new entry's box must not close the sheet.
    for (QPushButton* b : {cmdAdd_, cmdRemove_, cmdOK_, cmdCancel_}) b->setAutoDefault(false);

    connect(txtFilter_, &QLineEdit::textChanged, this, &frmOtherEntries::ApplyFilter);
    connect(lstEntries_, &QTableWidget::itemChanged, this, &frmOtherEntries::ValueEdited);
    connect(lstEntries_, &QTableWidget::itemSelectionChanged, this, &frmOtherEntries::RowChanged);
    connect(txtNew_, &QLineEdit::returnPressed, this, &frmOtherEntries::cmdAdd_Click);
    connect(cmdAdd_, &QPushButton::clicked, this, &frmOtherEntries::cmdAdd_Click);
    connect(cmdRemove_, &QPushButton::clicked, this, &frmOtherEntries::cmdRemove_Click);
    connect(cmdOK_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdCancel_, &QPushButton::clicked, this, &QDialog::reject);

    const auto opened = OtherEntries::List(document_.Ship(), document_.LineOrigins());
    const auto values = GameValues(document_).OfRows(opened);
    for (std::size_t i = 0; i < opened.size(); ++i)
        if (values[i] && GameValues::TellsMore(opened[i].value, *values[i]))
            gameValues_[opened[i].id] = {opened[i].value, *values[i]};
    Reload();
}

frmOtherEntries::~frmOtherEntries() = default;

void frmOtherEntries::Reload(std::size_t selectId) {
    filling_ = true;
    rows_ = OtherEntries::List(document_.Ship(), document_.LineOrigins());
    lstEntries_->setUpdatesEnabled(false);
    lstEntries_->clearContents();
    lstEntries_->setRowCount(static_cast<int>(rows_.size()));
    int select = -1;
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        const OtherEntries::Row& r = rows_[i];
        const int row = static_cast<int>(i);
        auto fixed = [](const QString& text) {
            auto* item = new QTableWidgetItem(text);
            item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
            return item;
        };
        // A statement added since the file was read has no line yet.
        lstEntries_->setItem(row, kLine, fixed(r.line > 0 ? QString::number(r.line) : QString()));
        lstEntries_->setItem(row, kEntry, fixed(FromLocal(r.entry)));
        const bool block = r.form == OtherEntries::Form::Block;
        auto* value = block ? fixed(OneLine(r.value)) : new QTableWidgetItem(FromLocal(r.value));
        value->setToolTip(block ? tr("A block: edit it in the box below the table") : GameValueTip(r));
        lstEntries_->setItem(row, kValue, value);
        if (r.id == selectId) select = row;
    }
    lstEntries_->setUpdatesEnabled(true);
    blockRow_ = -1;
    filling_ = false;
    ApplyFilter();
    if (select >= 0) lstEntries_->selectRow(select);
    RowChanged();
}

QString frmOtherEntries::GameValueTip(const OtherEntries::Row& r) const {
    // Only while the value is still the one the game's value was worked out from.
    const auto it = gameValues_.find(r.id);
    if (it == gameValues_.end() || it->second.first != r.value) return {};
    return "The game reads it as " + FromLocal(it->second.second);
}

void frmOtherEntries::ApplyFilter() {
    const QString filter = txtFilter_->text().trimmed();
    for (int row = 0; row < lstEntries_->rowCount(); ++row) {
        bool shown = filter.isEmpty();
        for (int c = kLine; !shown && c <= kValue; ++c)
            shown = lstEntries_->item(row, c)->text().contains(filter, Qt::CaseInsensitive);
        lstEntries_->setRowHidden(row, !shown);
    }
}

const OtherEntries::Row* frmOtherEntries::RowAt(int tableRow) const {
    if (tableRow < 0 || tableRow >= static_cast<int>(rows_.size())) return nullptr;
    return &rows_[static_cast<std::size_t>(tableRow)];
}

int frmOtherEntries::SelectedRow() const {
    const auto selected = lstEntries_->selectionModel()->selectedRows();
    return selected.isEmpty() ? -1 : selected.first().row();
}

void frmOtherEntries::ValueEdited(QTableWidgetItem* item) {
    if (filling_ || item->column() != kValue) return;
    const OtherEntries::Row* r = RowAt(item->row());
    if (!r || r->form == OtherEntries::Form::Block) return;
    const Result stored = OtherEntries::SetValue(document_.Ship(), r->id, ToLocal(item->text()));
    filling_ = true;
    if (!stored) {
        prompter_.Message(this, "'" + item->text() + "' is not a valid value for " + FromLocal(r->entry) +
                                    ": " + WithoutFullStop(FromLocal(stored.reason)) + ".",
                          MessageKind::Warning);
        item->setText(FromLocal(r->value));
    } else {
        steps_.Did(QStringLiteral("Edit"));
        // The row now holds what the document holds.
        const auto fresh = OtherEntries::List(document_.Ship(), document_.LineOrigins());
        for (const auto& f : fresh)
            if (f.id == r->id) rows_[static_cast<std::size_t>(item->row())] = f;
        item->setToolTip(GameValueTip(rows_[static_cast<std::size_t>(item->row())]));
    }
    filling_ = false;
}

bool frmOtherEntries::StoreBlock() {
    const OtherEntries::Row* r = RowAt(blockRow_);
    if (!r) return true;
    const QString text = txtBlock_->toPlainText();
    if (text == FromLocal(r->value).replace("\r\n", "\n")) return true;
    const Result stored = OtherEntries::SetValue(document_.Ship(), r->id, ToLocal(text));
    if (!stored) {
        prompter_.Message(this, "The statement of " + FromLocal(r->entry) + " cannot be taken: " +
                                    WithoutFullStop(FromLocal(stored.reason)) + ".",
                          MessageKind::Warning);
        return false;
    }
    steps_.Did(QStringLiteral("Edit"));
    const int row = blockRow_;
    const auto fresh = OtherEntries::List(document_.Ship(), document_.LineOrigins());
    for (const auto& f : fresh)
        if (f.id == r->id) rows_[static_cast<std::size_t>(row)] = f;
    filling_ = true;
    lstEntries_->item(row, kValue)->setText(OneLine(rows_[static_cast<std::size_t>(row)].value));
    filling_ = false;
    return true;
}

void frmOtherEntries::RowChanged() {
    if (filling_) return;
    const int row = SelectedRow();
    if (row == blockRow_) return;
    if (!StoreBlock()) {
        // The block being edited stays selected until its text can be taken or is put back.
        filling_ = true;
        lstEntries_->selectRow(blockRow_);
        filling_ = false;
        return;
    }
    const OtherEntries::Row* r = RowAt(row);
    // A known entry's line stays; only its value is edited.
    cmdRemove_->setEnabled(r != nullptr && r->field == OtherEntries::kNoField);
    const bool block = r && r->form == OtherEntries::Form::Block;
    blockRow_ = block ? row : -1;
    txtBlock_->setEnabled(block);
    txtBlock_->setPlainText(block ? FromLocal(r->value).replace("\r\n", "\n") : QString());
}

void frmOtherEntries::cmdAdd_Click() {
    if (!StoreBlock()) return;
    const QString typed = txtNew_->text();
    std::size_t id = 0;
    const Result added = OtherEntries::Add(document_.Ship(), ToLocal(typed), &id);
    if (!added) {
        prompter_.Message(this, "'" + typed + "' cannot be added: " + WithoutFullStop(FromLocal(added.reason)) + ".",
                          MessageKind::Warning);
        txtNew_->setFocus(Qt::OtherFocusReason);
        return;
    }
    steps_.Did(QStringLiteral("Add"));
    txtNew_->clear();
    txtFilter_->clear();
    Reload(id);
}

void frmOtherEntries::cmdRemove_Click() {
    const OtherEntries::Row* r = RowAt(SelectedRow());
    if (!r) return;
    blockRow_ = -1;  // what the box holds goes with the row
    const int row = SelectedRow();
    OtherEntries::Remove(document_.Ship(), r->id);
    steps_.Did(QStringLiteral("Remove"));
    Reload();
    if (lstEntries_->rowCount() > 0) lstEntries_->selectRow(std::min(row, lstEntries_->rowCount() - 1));
}

QDialog* CreateOtherEntries(const SheetContext& context) {
    if (!context.session || !context.prompter) return nullptr;
    return new frmOtherEntries(context.session->Document(), *context.prompter, context.parent);
}

void frmOtherEntries::SelectStatement(const QString& shown, int line) {
    const std::string statement = ToLocal(shown);
    int found = -1;
    for (std::size_t i = 0; i < rows_.size() && found < 0; ++i) {
        const std::string& t = rows_[i].text;
        if (t.substr(0, t.find('\r')) == statement) found = static_cast<int>(i);
    }
    for (std::size_t i = 0; i < rows_.size() && found < 0; ++i)
        if (rows_[i].line == line) found = static_cast<int>(i);
    if (found < 0) return;
    lstEntries_->selectRow(found);
    lstEntries_->scrollToItem(lstEntries_->item(found, kValue));
    lstEntries_->setCurrentCell(found, kValue);
    if (blockRow_ == found) txtBlock_->setFocus(Qt::OtherFocusReason);
    else lstEntries_->setFocus(Qt::OtherFocusReason);
}

void frmOtherEntries::done(int result) {
    if (result == QDialog::Accepted) {
        if (!StoreBlock()) return;
    } else {
        document_.Ship() = *saved_;
    }
    QDialog::done(result);
}
