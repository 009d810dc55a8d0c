// The block commands of the program editor: marking, copying, moving, deleting and
// transferring blocks of lines.

#include <algorithm>
#include <string>

#include "authoring/program_editor.h"
#include "platform/path_lookup.h"

namespace kelvo {
namespace {

constexpr std::string_view kKnowledgeBaseFilter = "WBP -  Wissensbasen KELVO|*.wbp";

// The knowledge base a dialog's answer names: its last four characters (the extension)
// replaced by ".WBP". A name without an extension of three characters gets ".WBP" appended
// instead of losing the end of its name.
std::string KnowledgeBaseName(std::string name) {
    const std::size_t dot = name.size() >= 4 ? name.size() - 4 : std::string::npos;
    const bool hasExtension = dot != std::string::npos && name[dot] == '.' &&
                              name.find_first_of("/\\", dot) == std::string::npos;
    if (hasExtension) {
        name.resize(dot);
    }
    return name + ".WBP";
}

}  // namespace

bool TForm2::BlockIsMarked() const {
    return blockStart_ != kNoBlock && blockEnd_ != kNoBlock && blockEnd_ >= blockStart_;
}

void TForm2::EndBlockCommand() {
    blockStart_ = kNoBlock;
    blockEnd_ = kNoBlock;
    SetButtons(BlockButtons::NoBlock);
    Programmzeilen_aktualisieren();
}

// ---- Marking -------------------------------------------------------------------------------

void TForm2::Von_1Click() {
    if (!CheckCurrentLine()) {
        return;
    }
    if (RecordCount() >= 1) {
        blockStart_ = currentLine_;
        SetButtons(BlockButtons::StartChosen);
    }
}

void TForm2::Bis_1Click() {
    if (!CheckCurrentLine()) {
        return;
    }
    if (currentLine_ < blockStart_) {
        blockEnd_ = blockStart_;
        blockStart_ = currentLine_;
    } else {
        blockEnd_ = currentLine_;
    }
    SetButtons(BlockButtons::BlockMarked);
    Programmzeilen_aktualisieren();
}

void TForm2::Aus_1Click() {
    if (!CheckCurrentLine()) {
        return;
    }
    EndBlockCommand();
}

// ---- Copying, deleting, moving -------------------------------------------------------------

// Copies the block blockStart..blockEnd of `records` to just after currentLine; the block
// moves with the records behind the current line, and the current line becomes the last
// copy. False (nothing changed) when the current line lies inside the block but is not its
// last line (message 2), or when the block does not lie in the program.
bool TForm2::CopyInto(std::vector<LineRecord>& records, int& currentLine, int& blockStart,
                      int& blockEnd) const {
    const int count = static_cast<int>(records.size());
    if (blockStart < 0 || blockEnd < blockStart || blockEnd >= count || currentLine >= count) {
        return false;  // defensive: a block or line outside the program
    }
    const int length = blockEnd - blockStart + 1;
    const std::vector<LineRecord> block(records.begin() + blockStart,
                                        records.begin() + blockEnd + 1);
    records.insert(records.begin() + currentLine + 1, block.begin(), block.end());
    if (currentLine < blockStart) {
        blockStart += length;
        blockEnd += length;
    }
    currentLine += length;
    return true;
}

// Deletes blockStart..blockEnd from `records`: a mark inside the block is cleared, one behind
// it moves up with its line; a current line inside the block goes to the line before it.
void TForm2::DeleteFrom(std::vector<LineRecord>& records, int& currentLine, int blockStart,
                        int blockEnd, int& markF5, int& markF6) const {
    const int count = static_cast<int>(records.size());
    if (blockStart < 0 || blockEnd < blockStart || blockEnd >= count) {
        return;  // defensive: a block outside the program
    }
    const int length = blockEnd - blockStart + 1;
    for (int* mark : {&markF5, &markF6}) {
        if (*mark >= blockStart && *mark <= blockEnd) {
            *mark = -1;
        } else if (*mark > blockEnd) {
            *mark -= length;
        }
    }
    records.erase(records.begin() + blockStart, records.begin() + blockEnd + 1);
    if (currentLine >= blockStart && currentLine <= blockEnd) {
        currentLine = blockStart - 1;
    } else if (currentLine > blockEnd) {
        currentLine -= length;
    }
    currentLine = std::max(0, std::min(currentLine, static_cast<int>(records.size()) - 1));
}

void TForm2::Kopieren() {
    if (blockStart_ <= currentLine_ && currentLine_ < blockEnd_) {
        Fehlermeldung(static_cast<int>(EditorMessage::BlockIntoItself));
        return;
    }
    std::vector<LineRecord> records;
    if (!ReadProgram(records)) {
        return;
    }
    int currentLine = currentLine_;
    int blockStart = blockStart_;
    int blockEnd = blockEnd_;
    if (CopyInto(records, currentLine, blockStart, blockEnd) && WriteProgram(records)) {
        currentLine_ = currentLine;
        blockStart_ = blockStart;
        blockEnd_ = blockEnd;
    }
}

void TForm2::Loeschen() {
    std::vector<LineRecord> records;
    if (!ReadProgram(records)) {
        return;
    }
    int currentLine = currentLine_;
    int markF5 = state_.markF5;
    int markF6 = state_.markF6;
    DeleteFrom(records, currentLine, blockStart_, blockEnd_, markF5, markF6);
    if (WriteProgram(records)) {
        currentLine_ = currentLine;
        state_.markF5 = markF5;
        state_.markF6 = markF6;
    }
}

void TForm2::Verschieben() {
    if (blockStart_ <= currentLine_ && currentLine_ <= blockEnd_) {
        Fehlermeldung(static_cast<int>(EditorMessage::BlockIntoItself));
        return;
    }
    std::vector<LineRecord> records;
    if (!ReadProgram(records)) {
        return;
    }
    // Copy, then delete the block where the copy left it: one replacement of the file.
    int currentLine = currentLine_;
    int blockStart = blockStart_;
    int blockEnd = blockEnd_;
    int markF5 = state_.markF5;
    int markF6 = state_.markF6;
    if (!CopyInto(records, currentLine, blockStart, blockEnd)) {
        return;
    }
    DeleteFrom(records, currentLine, blockStart, blockEnd, markF5, markF6);
    if (WriteProgram(records)) {
        currentLine_ = currentLine;
        blockStart_ = blockStart;
        blockEnd_ = blockEnd;
        state_.markF5 = markF5;
        state_.markF6 = markF6;
    }
}

void TForm2::Kopieren_1Click() {
    if (!CheckCurrentLine()) {
        return;
    }
    ClearMarks();
    Abbruchfenster(2);
    Kopieren();
    Abbruchfenster(1);
    EndBlockCommand();
}

void TForm2::Loeschen_1Click() {
    if (!CheckCurrentLine()) {
        return;
    }
    Abbruchfenster(2);
    Loeschen();
    Abbruchfenster(1);
    EndBlockCommand();
}

void TForm2::Verschieben_1Click() {
    if (!CheckCurrentLine()) {
        return;
    }
    ClearMarks();
    Abbruchfenster(2);
    Verschieben();
    Abbruchfenster(1);
    EndBlockCommand();
}

// ---- Transfer ------------------------------------------------------------------------------

void TForm2::Ueb_1Click() {
    ClearMarks();
    if (!CheckCurrentLine()) {
        return;
    }
    if (BlockIsMarked()) {
        TransferOut();
    } else {
        TransferIn();
    }
}

void TForm2::TransferIn() {
    const auto chosen =
        services_.fileDialogs.OpenFileName({"\xD6"
                                            "ffnen",
                                            SplitFileFilter(kKnowledgeBaseFilter), ""});
    if (!chosen) {
        return;
    }
    auto other = KnowledgeBaseFile::Open(ResolvePath(KnowledgeBaseName(*chosen)),
                                         KnowledgeBaseFile::Mode::ReadOnly);
    if (!other) {
        Fehlermeldung(static_cast<int>(EditorMessage::NameWrong));
        return;
    }
    auto incoming = other->ReadAll();
    other->Close();
    if (!incoming) {
        Fehlermeldung(static_cast<int>(EditorMessage::NameWrong));
        return;
    }

    Abbruchfenster(2);
    std::vector<LineRecord> records;
    bool done = ReadProgram(records);
    int currentLine = currentLine_;
    if (done && !incoming->empty()) {
        const int oldCount = static_cast<int>(records.size());
        records.insert(records.end(), incoming->begin(), incoming->end());
        if (oldCount == 0) {
            // Into an empty program the lines simply are the program.
            currentLine = static_cast<int>(records.size()) - 1;
        } else {
            // The appended lines are the block, moved to just after the current line.
            int blockStart = oldCount;
            int blockEnd = static_cast<int>(records.size()) - 1;
            int noMark = -1;
            int alsoNoMark = -1;
            CopyInto(records, currentLine, blockStart, blockEnd);
            DeleteFrom(records, currentLine, blockStart, blockEnd, noMark, alsoNoMark);
        }
        done = WriteProgram(records);
    }
    Abbruchfenster(1);
    if (done) {
        currentLine_ = currentLine;
        EndBlockCommand();
    }
}

void TForm2::TransferOut() {
    const auto chosen =
        services_.fileDialogs.SaveFileName({"Neu", SplitFileFilter(kKnowledgeBaseFilter), ""});
    if (!chosen) {
        return;
    }
    const std::filesystem::path target = ResolvePath(KnowledgeBaseName(*chosen));
    std::error_code ignored;
    if (std::filesystem::exists(std::filesystem::symlink_status(target, ignored))) {
        // Never overwritten: also a file that exists but cannot be read.
        Fehlermeldung(static_cast<int>(EditorMessage::NameTaken));
        return;
    }
    std::vector<LineRecord> records;
    if (!ReadProgram(records)) {
        return;
    }
    const int count = static_cast<int>(records.size());
    const int first = std::clamp(blockStart_, 0, count);
    const int last = std::clamp(blockEnd_, first - 1, count - 1);
    const std::vector<LineRecord> block(records.begin() + first, records.begin() + last + 1);

    Abbruchfenster(2);
    const ReplaceOutcome created =
        KnowledgeBaseFile::CreateWith(target, block, services_.fileFaults);
    Abbruchfenster(1);
    if (!created.replaced) {
        Fehlermeldung(static_cast<int>(EditorMessage::NotCreated));
        return;
    }
    if (!created.status.ok()) {
        ShowWriteFailure(created);  // written, but its folder entry may not survive a crash
    }
    EndBlockCommand();
}

}  // namespace kelvo
