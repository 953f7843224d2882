#include "shipsession.h"

#include <QUndoCommand>

#include "shiplayout.h"

namespace {

// Enough for a long afternoon of edits; each step keeps two copies of the ship's values.
constexpr int kUndoSteps = 500;

}  // namespace

// One step: the ship's values before and after it.
class ShipStep : public QUndoCommand {
public:
    ShipStep(ShipSession& session, const QString& text, SR2ShipFile before, SR2ShipFile after)
        : QUndoCommand(text), session_(session), before_(std::move(before)), after_(std::move(after)) {}
    void undo() override { session_.Restore(before_); }
    void redo() override {
        // Pushing a step calls redo at once: the ship already holds the new values then.
        if (pushed_) session_.Restore(after_);
        pushed_ = true;
    }

private:
    ShipSession& session_;
    SR2ShipFile before_;
    SR2ShipFile after_;
    bool pushed_ = false;
};

ShipSession::ShipSession(const std::string& logFolder, QObject* parent)
    : QObject(parent), ship_(std::make_unique<SR2ShipFile>()), logFolder_(logFolder) {
    ship_->SetLogFolder(logFolder_);
    ship_->Initialize();
    document_ = std::make_unique<ShipDocument>(*ship_);
    recorded_ = *ship_;
    undo_.setUndoLimit(kUndoSteps);
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &ShipSession::FileNotice);
}

ShipSession::~ShipSession() = default;

std::int16_t ShipSession::Open(const std::string& path) {
    auto ship = std::make_unique<SR2ShipFile>();
    ship->SetLogFolder(logFolder_);
    auto document = std::make_unique<ShipDocument>(*ship);
    const std::int16_t rc = document->Open(path);
    notText_ = ship->NotTextReason();
    // (A failed open keeps the session's own ship, so the reason is kept here.)
    openFailure_ = ship->OpenFailure();
    if (rc != 0) return rc;
    ship_ = std::move(ship);
    document_ = std::move(document);
    recorded_ = *ship_;
    undo_.clear();
    reported_ = false;
    Watch();
    AfterChange();
    return 0;
}

bool ShipSession::Commit(const QString& text) {
    if (ShipLayout::SameContent(recorded_, *ship_)) return false;
    SR2ShipFile before = std::move(recorded_);
    recorded_ = *ship_;
    undo_.push(new ShipStep(*this, text, std::move(before), recorded_));
    AfterChange();
    return true;
}

void ShipSession::Restore(const SR2ShipFile& state) {
    *ship_ = state;
    recorded_ = state;
    emit shipReplaced();
    AfterChange();
}

void ShipSession::AfterChange() {
    const bool modified = IsModified();
    if (modified != modified_) {
        modified_ = modified;
        emit modifiedChanged(modified);
    }
}

Result ShipSession::Save() {
    if (document_->HasFile() && !IsModified() && !ChangedOnDisk()) return {};
    Result written = document_->Save();
    recorded_ = *ship_;
    reported_ = false;
    Watch();
    AfterChange();
    return written;
}

Result ShipSession::SaveAs(const std::string& path) {
    Result written = document_->SaveAs(path);
    recorded_ = *ship_;
    reported_ = false;
    Watch();
    AfterChange();
    return written;
}

std::int16_t ShipSession::Reload() {
    if (!document_->HasFile()) return 1;
    const std::string path = document_->FilePath();
    const std::int16_t rc = Open(path);
    if (rc == 0) emit shipReplaced();
    return rc;
}

void ShipSession::Watch() {
    if (!watcher_.files().isEmpty()) watcher_.removePaths(watcher_.files());
    if (document_->HasFile()) watcher_.addPath(QString::fromStdString(document_->FilePath()));
}

void ShipSession::FileNotice() {
    // A file replaced in one step (as every safe save does, this program's own too) is a new
    // file: the watch must be put on it again.
    Watch();
    if (!document_->ChangedOnDisk()) return;  // this program's own save, or a touch
    const std::uint64_t now = document_->HashOnDisk().value_or(0);
    if (reported_ && now == reportedHash_) return;
    reported_ = true;
    reportedHash_ = now;
    emit changedOnDisk();
}
