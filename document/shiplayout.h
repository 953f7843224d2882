// The save that keeps a modder's own file: every line of the script as it was read, byte for byte,
// except the lines whose entry or list item the user changed. Internal to the document library;
// ShipDocument is its user.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "sr2shipfile.h"

class ShipLayout {
public:
    using Origin = SR2ShipFile::LineOrigin;

    // A script's bytes cut into lines as the reader cuts them (after LF, CR LF or a CR alone),
    // each line keeping its own line end; a UTF-8 byte-order mark is no part of the first line
    // (Write puts it back). No bytes give one empty line, as the reader reads an empty file.
    // The bytes are held once, with where each line starts: a line costs four bytes more than its
    // text, however short it is.
    class Lines {
    public:
        Lines() = default;
        explicit Lines(std::string bytes);
        std::size_t size() const { return starts_.size(); }
        bool empty() const { return starts_.empty(); }
        std::string_view operator[](std::size_t i) const {
            const std::size_t end = i + 1 < starts_.size() ? starts_[i + 1] : bytes_.size();
            return std::string_view(bytes_).substr(starts_[i], end - starts_[i]);
        }
        // The whole script as read, byte-order mark and all.
        const std::string& Bytes() const { return bytes_; }

    private:
        std::string bytes_;
        std::vector<std::uint32_t> starts_;  // a script is at most 256 MiB
    };

    struct Output {
        std::string bytes;
        std::vector<Origin> origins;  // where each statement of the new bytes is, in file order
        // Not empty when an edit cannot take effect: the entry's last assignment, the one the game
        // keeps, stands inside a block, which is never rewritten. Says which entry and line; the
        // bytes must then not be written.
        std::string refused;
    };

    // The new file: `lines` and `origins` describe the file as it was read or last saved,
    // `before` the document as it was then, `after` the document now.
    //  - a changed entry rewrites the last line that sets it with the writer's line (under the
    //    entry name that line used);
    //  - list items (weapons, salvage chunks) keep their lines where their order is unchanged; a
    //    changed item's line is rewritten, a removed item's line removed; the patch list and the
    //    mirror lists are one line each; a removed ability loses all its lines;
    //  - an entry or item with no line gets the writer's line after the last line of its kind
    //    (an assignment, or a call of the same function), else after the StartShipConfig line,
    //    else at the end;
    //  - rewritten and inserted lines end with the file's own line end (its first line's).
    // Every other byte stays as it was.
    static Output Write(const Lines& lines, const std::vector<Origin>& origins,
                        const SR2ShipFile& before, const SR2ShipFile& after);

    // True when the two documents would be saved alike: the entries the writer writes, the
    // lists, the patch list and the abilities. The current-item fields of the list editors and
    // the fields no script line holds do not count.
    static bool SameContent(const SR2ShipFile& a, const SR2ShipFile& b);

private:
    struct Form;
    static Form FormOf(const SR2ShipFile& d);
    static bool SameOther(const SR2ShipFile& a, const SR2ShipFile& b);
};
