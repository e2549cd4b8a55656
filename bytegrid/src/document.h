// A byte document: the piece table over a mapped file, the undo history,
// the saved state, search, and loading and saving files.
#pragma once

#include "mapped_file.h"
#include "piece_table.h"

#include <windows.h>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace bytegrid {

// Where the caret was: restored by undo and redo.
struct CaretState {
    uint64_t caret = 0;
    uint64_t anchor = 0;
    int pane = 0;
    int nibble = 0;
};

class Document {
public:
    Document();

    // Opens a file; on failure the document is unchanged.
    bool Load(const std::string& path, DWORD* error);
    // An empty document with no file.
    void New();
    // Writes the bytes to `path` through a temporary file in the same
    // folder; on failure the target is left as it was.
    bool Save(const std::string& path, DWORD* error);

    uint64_t Length() const { return table_.Length(); }
    const PieceTable& Table() const { return table_; }
    size_t Read(uint64_t pos, size_t n, uint8_t* out) const { return table_.Read(pos, n, out); }
    int ByteAt(uint64_t pos) const; // -1 past the end

    // Replaces [pos, pos + oldLen) with n bytes. A `typing` change joins
    // the previous typing step of the undo history when it continues it.
    // Fails with ERROR_FILE_TOO_LARGE when the result would be too long and
    // ERROR_NOT_ENOUGH_MEMORY when memory runs out.
    bool Replace(uint64_t pos, uint64_t oldLen, const uint8_t* data, size_t n, bool typing,
                 const CaretState& before, const CaretState& after, DWORD* error);
    // Ends the current typing step (the caret was moved elsewhere).
    void SealTyping() { sealed_ = true; }

    bool CanUndo() const { return done_ > 0; }
    bool CanRedo() const { return done_ < history_.size(); }
    // Undo and redo hand back the caret state to restore.
    bool Undo(CaretState* caret);
    bool Redo(CaretState* caret);
    size_t UndoDepth() const { return done_; }

    bool Modified() const { return done_ != savedAt_; }

    // Down: first match starting at or after `from`. Up: last match starting
    // before `from`. Letters match in either case unless matchCase.
    bool Find(const std::vector<uint8_t>& pattern, bool matchCase, bool up, uint64_t from,
              uint64_t* found) const;

private:
    struct Step {
        uint64_t pos = 0;
        Pieces removed;  // bytes that were there before
        Pieces inserted; // bytes put there
        CaretState before, after;
        bool typing = false;
    };

    bool SaveOverMappedFile(const std::string& target, const std::string& temp, DWORD* error);

    std::unique_ptr<MappedFile> file_;
    PieceTable table_;
    std::vector<Step> history_;
    size_t done_ = 0;    // steps applied
    size_t savedAt_ = 0; // value of done_ at the last save; SIZE_MAX: gone
    bool sealed_ = true;
};

} // namespace bytegrid
