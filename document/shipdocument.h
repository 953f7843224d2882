// ShipDocument: one open script as the user works on it. It goes with one SR2ShipFile (the
// document the windows edit, owned by whoever opened it) and knows the file that document came
// from, that file's lines as read, where each statement stood, and the document as it was when
// it was opened or last saved. Whether the document is modified is derived from that state; no
// window keeps a flag of its own.
//
// Save writes the file the document came from and keeps it as the modder wrote it: only the lines
// of entries and items that changed are rewritten, removed or added (ShipLayout). Save As writes
// the canonical script of the writer.
//
// Every save that replaces a script proves first that it changes only the edit: the game's
// reading of the old script and of the new one (Lua, gamelua) may differ only in the entries the
// user changed, else nothing is written and the save fails with the first entry whose meaning
// would change.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "shiplayout.h"
#include "sr2shipfile.h"

// Whether writing after in place of before changes only what the edit changed: was is the
// document as before was read, now the document as after writes it. A failure names the first
// entry whose meaning would change. Passes when before does not load in Lua, or without Lua.
Result VerifySave(const std::string& before, const std::string& after, const SR2ShipFile& was,
                  const SR2ShipFile& now);

class ShipDocument {
public:
    // A document that comes from no file yet (a New document, already initialised).
    explicit ShipDocument(SR2ShipFile& ship);

    SR2ShipFile& Ship() const { return *ship_; }

    // Reads the file at path (UTF-8) into the ship with its reader. Returns the reader's result:
    // 0 read, 1 no such file, 2 not readable. On 0 the document belongs to that file and is not
    // modified.
    std::int16_t Open(const std::string& path);

    bool HasFile() const { return !path_.empty(); }
    const std::string& FilePath() const { return path_; }  // empty for a New document
    bool IsModified() const;
    // Where each statement of the file as read or last saved stands (empty without a file).
    const std::vector<SR2ShipFile::LineOrigin>& LineOrigins() const { return origins_; }

    // What Save writes: the file as read, with the changed entries' lines rewritten. For a
    // document without a file, the canonical script.
    std::string SaveBytes() const;
    // Why Save (and SaveCopy) would refuse the edits made, or empty: an entry whose last
    // assignment stands inside a block could not take effect.
    std::string EditRefusal() const;

    // The hash of the file's bytes as this document last read or wrote them, and of its bytes on
    // disk now (none when it cannot be read). Another program changed the file when they differ;
    // a file that is gone counts as changed. A document without a file never changes on disk.
    std::uint64_t ReadHash() const { return diskHash_; }
    std::optional<std::uint64_t> HashOnDisk() const;
    bool ChangedOnDisk() const;

    // Writes SaveBytes() over the file the document came from (safely: the old file or the whole
    // new one). Afterwards the document is not modified. Fails for a document without a file.
    Result Save();
    // Writes SaveBytes() to another file; the document stays with its own file and state.
    Result SaveCopy(const std::string& path) const;
    // Writes the canonical script (Save As); afterwards the document belongs to that file. An edit
    // that Save refuses (EditRefusal) is refused here too.
    Result SaveAs(const std::string& path);

private:
    void Rebase(ShipLayout::Lines lines, std::vector<SR2ShipFile::LineOrigin> origins);
    // VerifySave of the file as read or last saved against after (a document with no file yet
    // has nothing to keep, and passes).
    Result Verify(const std::string& after) const;

    SR2ShipFile* ship_;
    std::string path_;
    ShipLayout::Lines lines_;         // the file as read or last saved
    std::vector<SR2ShipFile::LineOrigin> origins_;
    SR2ShipFile saved_;               // the document when it was opened or last saved
    bool layoutKnown_ = false;        // lines_ and origins_ describe the file
    std::uint64_t diskHash_ = 0;      // of the bytes last read or written
};
