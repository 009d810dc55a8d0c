#include "store/run_only_derivation.h"

#include <string>
#include <system_error>
#include <vector>

#include "store/knowledge_base_file.h"
#include "store/random_source.h"

namespace kelvo {

std::filesystem::path RunOnlyPath(const std::filesystem::path& source) {
    std::string name = source.string();
    name.resize(name.size() >= 4 ? name.size() - 4 : 0);
    return name + ".WBB";
}

Expected<DerivationOutcome> DeriveRunOnlyFile(const KnowledgeBaseFile& source, RandomSource& random,
                                              const DerivationProgress& progress) {
    auto records = source.ReadAll();
    if (!records) {
        return records.error();
    }
    const std::filesystem::path target = RunOnlyPath(source.path());
    const std::filesystem::path partial = target.string() + ".partial";

    const int count = static_cast<int>(records->size());
    std::vector<LineRecord> output;
    output.reserve(records->size());
    bool aborted = false;
    for (int i = 0; i < count; ++i) {
        if (progress && progress(i, count)) {
            aborted = true;  // this record is still handled, then the run stops
        }
        const std::string_view text = (*records)[static_cast<std::size_t>(i)].text();
        const auto digit = static_cast<char>('0' + static_cast<int>(random.NextUnit() * 10.0));
        const bool last = i == count - 1;
        if (text.empty() || text[0] != 'K' || last) {
            output.emplace_back(std::string(text) + digit);
        }
        if (aborted) {
            break;
        }
    }

    std::error_code ignored;
    if (aborted) {
        std::filesystem::remove(target, ignored);
        return DerivationOutcome::Aborted;
    }
    auto file = KnowledgeBaseFile::Create(partial);
    if (!file) {
        return file.error();
    }
    if (Status written = file->WriteAll(output); !written) {
        file->Close();
        std::filesystem::remove(partial, ignored);
        return written.error();
    }
    file->Close();
    std::error_code renamed;
    std::filesystem::rename(partial, target, renamed);
    if (renamed) {
        std::filesystem::remove(partial, ignored);
        return Error{target.string() + ": Datei kann nicht geschrieben werden (" +
                     renamed.message() + ")"};
    }
    return DerivationOutcome::Compiled;
}

}  // namespace kelvo
