#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kelvo {

// The lines a knowledge base collects for its next printout. Each line is at most 83
// characters (the text of a line record):
//
//   text line       columns 3-82 of a "T" line after SubstituteFields, then two blanks
//   picture line    columns 3-82 of a "G" line after SubstituteFields, then "G ": column 81
//                   holds "G"; columns 1-30 name the variable holding the file name,
//                   column 32 "[" (columns 32-49 a numeric variable) or "(" (columns 33-48
//                   the number) for the position, column 51 "[" (columns 51-68) or "("
//                   (columns 52-67) for the size
//   long-text line  one line of a long text variable, padded (and cut) to 80 characters
class PrintBuffer {
  public:
    /// The most lines the buffer holds.
    static constexpr std::size_t kCapacity = 10000;
    /// The longest line.
    static constexpr std::size_t kLineWidth = 83;

    /// Empties the buffer and gives it room for kCapacity lines.
    void ClearPrintBuffer();

    /// True when the buffer holds at least one line.
    bool PrintBufferHasLines() const { return !lines_.empty(); }

    /// True when another line would exceed the capacity.
    bool Full() const { return lines_.size() >= kCapacity; }

    /// Appends a line, cut to kLineWidth. Returns false, appending nothing, when full.
    bool Append(std::string_view line);

    const std::vector<std::string>& Lines() const { return lines_; }

    /// Index of the last line; -1 when empty.
    int LastIndex() const { return static_cast<int>(lines_.size()) - 1; }

    /// Empties the buffer and gives its storage back.
    void Release();

    /// True for a picture line: column 81 holds "G".
    static bool IsPictureLine(std::string_view line) {
        return line.size() >= 81 && line[80] == 'G';
    }

  private:
    std::vector<std::string> lines_;
};

}  // namespace kelvo
