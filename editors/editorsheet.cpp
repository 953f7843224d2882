#include "editorsheet.h"

#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "sheetcontext.h"
#include "shipsession.h"
#include "prompter.h"
#include "sr2shipfile.h"

EditorSheet::EditorSheet(const SheetContext& context, const char* objectName, const QString& caption,
                         const QString& item, const QString& items)
    : QDialog(context.parent), context_(context), steps_(this, item, items) {
    setObjectName(objectName);
    setWindowTitle(caption);
    if (!context_.session) {
        ownDoc_ = std::make_unique<SR2ShipFile>();
        ownDoc_->Initialize();
    }
}

EditorSheet::~EditorSheet() = default;

SR2ShipFile& EditorSheet::Doc() const { return context_.session ? context_.session->Ship() : *ownDoc_; }

void EditorSheet::done(int result) {
    // A second done() (a close event while closing) must not restore twice over a list that was
    // already put back and maybe shown again.
    if (!closing_) {
        closing_ = true;
        if (result != QDialog::Accepted) Restore();
    }
    QDialog::done(result);
}

void EditorSheet::Message(const QString& text, MessageKind kind) {
    context_.prompter->Message(isVisible() ? static_cast<QWidget*>(this) : context_.parent, text, kind);
}

void EditorSheet::Refuse(const QString& text, const QString& caption, QWidget* box) {
    Message("'" + text + "' is not a valid value for " + caption + ".", MessageKind::Warning);
    if (!box) return;
    box->setFocus(Qt::OtherFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(box)) edit->selectAll();
}

QLabel* EditorSheet::MakeLabel(const char* objectName, const QString& caption, QWidget* buddy,
                               QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(objectName);
    label->setTextFormat(Qt::PlainText);
    label->setText(caption);
    if (buddy) label->setBuddy(buddy);
    return label;
}

QGroupBox* EditorSheet::MakeDescriptionFrame() {
    auto* frame = new QGroupBox(tr("Property Description"), this);
    frame->setObjectName("DescriptionFrame");
    auto* layout = new QVBoxLayout(frame);
    desc_ = MakeLabel("Desc", QString(), nullptr, frame);
    desc_->setWordWrap(true);
    desc_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Room for two lines of help, so a text appearing later does not make the window jump.
    desc_->setMinimumHeight(desc_->fontMetrics().lineSpacing() * 2);
    layout->addWidget(desc_);
    return frame;
}

void EditorSheet::SetHelp(QWidget* control, const QString& help) {
    help_.insert(control, help);
    control->installEventFilter(this);
}

bool EditorSheet::eventFilter(QObject* watched, QEvent* event) {
    if ((event->type() == QEvent::Enter || event->type() == QEvent::FocusIn) && desc_) {
        const auto it = help_.constFind(watched);
        if (it != help_.constEnd()) desc_->setText(it.value());
    }
    return QDialog::eventFilter(watched, event);
}

QBoxLayout* EditorSheet::MakeOkCancelRow() {
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    cmdOK_ = new QPushButton(tr("&OK"), this);
    cmdOK_->setObjectName("cmdOK");
    cmdCancel_ = new QPushButton(tr("&Cancel"), this);
    cmdCancel_->setObjectName("cmdCancel");
    PlainButton(cmdOK_);
    PlainButton(cmdCancel_);
    row->addWidget(cmdOK_);
    row->addWidget(cmdCancel_);
    connect(cmdOK_, &QPushButton::clicked, this, &EditorSheet::cmdOK_Click);
    connect(cmdCancel_, &QPushButton::clicked, this, &QDialog::reject);
    return row;
}

void EditorSheet::PlainButton(QPushButton* button) {
    button->setAutoDefault(false);
    button->setDefault(false);
}

void EditorSheet::cmdOK_Click() {
    if (Store()) accept();
}
