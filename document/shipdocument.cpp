#include "shipdocument.h"

#include "filequery.h"
#include "shiplayout.h"
#include "platformfile.h"
#include "safewrite.h"
#include "savecheck.h"
#include "scriptformat.h"
#include "u8path.h"

Result VerifySave(const std::string& before, const std::string& after, const SR2ShipFile& was,
                  const SR2ShipFile& now) {
    if (!gamelua::Available()) return {};
    // A byte-order mark is kept on writing, but Lua 5.1 refuses it: what the script means is
    // compared without it.
    const auto withoutBom = [](std::string_view s) {
        scriptformat::SkipByteOrderMark(s);
        return s;
    };
    const std::string canonicalBefore = was.ScriptText();
    const std::string canonicalAfter = ShipLayout::SameContent(was, now) ? canonicalBefore : now.ScriptText();
    std::string why = gamelua::FirstChange({withoutBom(before), withoutBom(after), canonicalBefore, canonicalAfter});
    if (!why.empty()) return Result::Failure(std::move(why));
    return {};
}

ShipDocument::ShipDocument(SR2ShipFile& ship) : ship_(&ship), saved_(ship) {}

std::int16_t ShipDocument::Open(const std::string& path) {
    // The lines kept for Save are the very bytes the reader read: one read, one version.
    std::string bytes;
    const std::int16_t rc = ship_->OpenShipFile(path, &bytes);
    if (rc != 0) return rc;
    path_ = path;
    diskHash_ = platformfile::ContentHash(bytes);
    Rebase(ShipLayout::Lines(std::move(bytes)), ship_->LineOrigins());
    return 0;
}

void ShipDocument::Rebase(ShipLayout::Lines lines, std::vector<SR2ShipFile::LineOrigin> origins) {
    lines_ = std::move(lines);
    origins_ = std::move(origins);
    // The records count the reader's lines; a file cut differently cannot be edited line by line,
    // and is then saved as the writer writes it.
    layoutKnown_ = true;
    for (const auto& o : origins_)
        if (o.first > o.last || o.last >= lines_.size()) layoutKnown_ = false;
    saved_ = *ship_;
}

std::optional<std::uint64_t> ShipDocument::HashOnDisk() const {
    if (!HasFile()) return std::nullopt;
    std::string bytes, why;
    // A script is small; anything past this limit is not the file this document read.
    constexpr std::uintmax_t kLimit = std::uintmax_t{1} << 30;
    if (platformfile::ReadWhole(U8Path(filequery::NativePath(path_)), kLimit, bytes, why) != platformfile::ReadResult::Read)
        return std::nullopt;
    return platformfile::ContentHash(bytes);
}

bool ShipDocument::ChangedOnDisk() const {
    if (!HasFile()) return false;
    const std::optional<std::uint64_t> now = HashOnDisk();
    return !now || *now != diskHash_;
}

bool ShipDocument::IsModified() const { return !ShipLayout::SameContent(saved_, *ship_); }

std::string ShipDocument::SaveBytes() const {
    if (!HasFile()) return ship_->ScriptText();
    if (!layoutKnown_) return ship_->ScriptText();
    return ShipLayout::Write(lines_, origins_, saved_, *ship_).bytes;
}

std::string ShipDocument::EditRefusal() const {
    if (!HasFile() || !layoutKnown_) return {};
    return ShipLayout::Write(lines_, origins_, saved_, *ship_).refused;
}

Result ShipDocument::Verify(const std::string& after) const {
    if (!HasFile()) return {};
    return VerifySave(lines_.Bytes(), after, saved_, *ship_);
}

Result ShipDocument::Save() {
    if (!HasFile()) return Result::Failure("the document has no file yet");
    if (!layoutKnown_) return SaveAs(path_);
    ShipLayout::Output out = ShipLayout::Write(lines_, origins_, saved_, *ship_);
    if (!out.refused.empty()) return Result::Failure(std::move(out.refused));
    if (Result proof = Verify(out.bytes); !proof) return proof;
    if (Result written = SafeWriteFile(path_, out.bytes); !written) return written;
    diskHash_ = platformfile::ContentHash(out.bytes);
    Rebase(ShipLayout::Lines(std::move(out.bytes)), std::move(out.origins));
    return {};
}

Result ShipDocument::SaveCopy(const std::string& path) const {
    if (std::string refused = EditRefusal(); !refused.empty()) return Result::Failure(std::move(refused));
    const std::string bytes = SaveBytes();
    if (Result proof = Verify(bytes); !proof) return proof;
    return SafeWriteFile(path, bytes);
}

Result ShipDocument::SaveAs(const std::string& path) {
    // The canonical script keeps a block where it stood too: an edit that a block undoes there is
    // refused as Save refuses it.
    if (std::string refused = EditRefusal(); !refused.empty()) return Result::Failure(std::move(refused));
    std::string text = ship_->ScriptText();
    if (Result proof = Verify(text); !proof) return proof;
    if (Result written = SafeWriteFile(path, text); !written) return written;

    // Where the written statements stand: the written file read once more, without logs, so
    // that the logs of the user's Open stay as they were.
    path_ = path;
    diskHash_ = platformfile::ContentHash(text);
    SR2ShipFile written;
    written.SetWriteLogs(false);
    const bool read = written.OpenShipFile(path) == 0;
    Rebase(ShipLayout::Lines(std::move(text)), read ? written.LineOrigins() : std::vector<SR2ShipFile::LineOrigin>{});
    if (!read) layoutKnown_ = false;
    return {};
}
