#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "authoring/program_editor.h"
#include "authoring/program_line_check.h"
#include "store/knowledge_base_file.h"
#include "store/text_field.h"
#include "tests/authoring/editor_fakes.h"
#include "tests/store/temp_dir.h"

namespace kelvo::testing {

/// Comment lines "K 1" to "K n": each line names its original line number.
inline std::vector<std::string> NumberedLines(int n) {
    std::vector<std::string> lines;
    for (int i = 1; i <= n; ++i) {
        lines.push_back("K " + std::to_string(i));
    }
    return lines;
}

/// The numbered lines of `numbers`, in that order.
inline std::vector<std::string> LinesNumbered(const std::vector<int>& numbers) {
    std::vector<std::string> lines;
    for (int i : numbers) {
        lines.push_back("K " + std::to_string(i));
    }
    return lines;
}

/// first, first + 1, ..., last appended to `numbers`.
inline std::vector<int>& Range(std::vector<int>& numbers, int first, int last) {
    for (int i = first; i <= last; ++i) {
        numbers.push_back(i);
    }
    return numbers;
}

/// An editor on a program file in a fresh folder, with fakes for every service.
class EditorTest : public ::testing::Test {
  protected:
    /// Writes `lines` (typed lines, each normalized by the line check) as PROG.WBP, opens it
    /// read-write and opens an editor on it.
    void Open(const std::vector<std::string>& lines) {
        WriteProgram(path(), lines);
        auto file = KnowledgeBaseFile::Open(path(), KnowledgeBaseFile::Mode::ReadWrite);
        ASSERT_TRUE(file.ok()) << file.error().message;
        file_.emplace(std::move(*file));
        Reopen();
    }

    /// A new editor window on the open file and the same state.
    void Reopen() {
        editor_.reset();
        state_.editorStartRequested = false;
        editor_ = std::make_unique<TForm2>(*file_, state_, desk_.services);
    }

    static void WriteProgram(const std::filesystem::path& where,
                             const std::vector<std::string>& lines) {
        std::vector<LineRecord> records;
        for (const std::string& line : lines) {
            const LineCheck check = CheckProgramLine(line);
            ASSERT_TRUE(check.ok) << line << ": " << check.reason;
            records.emplace_back(check.line);
        }
        auto file = KnowledgeBaseFile::Create(where);
        ASSERT_TRUE(file.ok()) << file.error().message;
        ASSERT_TRUE(file->WriteAll(records).ok());
    }

    /// The right-trimmed texts of the records of a file.
    static std::vector<std::string> LinesOf(const std::filesystem::path& where) {
        auto file = KnowledgeBaseFile::Open(where, KnowledgeBaseFile::Mode::ReadOnly);
        EXPECT_TRUE(file.ok()) << file.error().message;
        std::vector<std::string> lines;
        if (!file.ok()) {
            return lines;
        }
        auto records = file->ReadAll();
        EXPECT_TRUE(records.ok());
        for (const LineRecord& record : *records) {
            lines.push_back(TrimRight(record.text()));
        }
        return lines;
    }

    /// The right-trimmed lines of the open program as the file holds them now.
    std::vector<std::string> Lines() const { return LinesOf(path()); }

    /// The stored record at position n (untrimmed).
    std::string Record(int n) const {
        auto record = file_->ReadRecord(n);
        EXPECT_TRUE(record.ok());
        return record.ok() ? std::string(record->text()) : std::string();
    }

    /// Makes line number `line` (from 1) the current line by the scroll bar.
    void GoTo(int line) { editor().ScrollBar1Scroll(line - 1); }

    /// Marks lines `from` to `to` (line numbers) as the block with "Von" and "Bis".
    void MarkBlock(int from, int to) {
        GoTo(from);
        ASSERT_TRUE(editor().Click(EditorButton::Von_1));
        GoTo(to);
        ASSERT_TRUE(editor().Click(EditorButton::Bis_1));
    }

    std::filesystem::path path() const { return dir_.path() / "PROG.WBP"; }
    TForm2& editor() { return *editor_; }
    std::vector<std::string> Messages() const { return desk_.dialogs.Texts(); }

    TempDir dir_;
    EditorDesk desk_;
    EditorState state_;
    std::optional<KnowledgeBaseFile> file_;
    std::unique_ptr<TForm2> editor_;
};

}  // namespace kelvo::testing
