// ShipSession: one open ship as the user works on it. It owns the ship (the SR2ShipFile the windows
// edit), its ShipDocument (the file it came from and its state as last read or saved) and the undo
// stack of the edits made to it, and it watches its file. It says when it becomes modified or when
// its file changes on disk; no window keeps a flag or a copy of its own.
//
// Undo and redo put other values into the same ship object; Open and Reload put a new one in
// place (no sheet is open then) and say so with shipReplaced.
#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QUndoStack>

#include <cstdint>
#include <memory>
#include <string>

#include "shipdocument.h"
#include "sr2shipfile.h"

class ShipSession : public QObject {
    Q_OBJECT
public:
    // A New document (already initialised) whose reader writes its logs to logFolder (UTF-8).
    explicit ShipSession(const std::string& logFolder, QObject* parent = nullptr);
    ~ShipSession() override;

    // Reads the file at path (UTF-8) into this session's ship: the reader's result, 0 read, 1 no
    // such file, 2 not readable. On 0 the session belongs to that file, is not modified, has no
    // steps to undo and watches the file.
    std::int16_t Open(const std::string& path);

    SR2ShipFile& Ship() const { return *ship_; }
    // Why the last Open refused the file as no text script (compiled, binary), or empty.
    const std::string& NotTextReason() const { return notText_; }
    // Why the last Open failed with 2 (the reader's reason: "it is larger than 256 MiB", ...).
    const std::string& OpenFailure() const { return openFailure_; }
    ShipDocument& Document() const { return *document_; }
    QUndoStack& UndoStack() { return undo_; }
    bool IsModified() const { return document_->IsModified(); }

    // Records what changed in the ship since the last step as one step called text ("Propulsion",
    // "Remove Weapon"), to be undone and redone as a whole. Nothing changed: no step, false.
    bool Commit(const QString& text);

    // Save: writes the file the session came from. Unmodified, with the file on disk still as it
    // was read or saved, it writes nothing: the file already holds the document.
    Result Save();
    // Save As: writes the canonical script to path; the session then belongs to that file.
    Result SaveAs(const std::string& path);

    // Whether another program changed the file since it was read or last saved: its bytes' hash
    // differs. A file that is gone counts as changed.
    bool ChangedOnDisk() const { return document_->ChangedOnDisk(); }

    // Reads the file again into the ship, dropping the edits and the undo steps. The reader's
    // result as for Open; on failure the ship keeps its values.
    std::int16_t Reload();

signals:
    // The modified state turned (an edit, an undo or redo, a save).
    void modifiedChanged(bool modified);
    // The ship's values were replaced from outside the open windows (undo, redo, reload), or the
    // ship itself (reload): whoever shows them reads them again.
    void shipReplaced();
    // Another program changed the file on disk (once per change).
    void changedOnDisk();

private:
    friend class ShipStep;
    void Restore(const SR2ShipFile& state);
    void AfterChange();
    void Watch();
    void FileNotice();

    std::unique_ptr<SR2ShipFile> ship_;
    std::string notText_;
    std::string openFailure_;
    std::unique_ptr<ShipDocument> document_;
    SR2ShipFile recorded_;  // the ship as of the last step (or open, save, reload)
    QUndoStack undo_;
    QFileSystemWatcher watcher_;
    std::string logFolder_;
    bool modified_ = false;
    std::uint64_t reportedHash_ = 0;  // the outside change last reported, so it is told once
    bool reported_ = false;
};
