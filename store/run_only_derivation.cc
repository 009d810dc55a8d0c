#include "store/run_only_derivation.h"

#include <string>
#include <system_error>
#include <vector>

#include "store/knowledge_base_file.h"
#include "store/knowledge_base_image.h"
#include "store/random_source.h"

namespace kelvo {

std::filesystem::path RunOnlyPath(const std::filesystem::path& source) {
    std::string name = source.string();
    name.resize(name.size() >= 4 ? name.size() - 4 : 0);
    return name + ".WBB";
}

Expected<DerivationOutcome> DeriveRunOnlyFile(const KnowledgeBaseFile& source, RandomSource& random,
                                              const DerivationProgress& progress,
                                              FileFaultInjector* faults) {
    auto records = source.ReadAll(KnowledgeBaseImage::kMaxProgramLines);
    if (!records) {
        return records.error();
    }
    const std::filesystem::path target = RunOnlyPath(source.path());

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
    const ReplaceOutcome written = KnowledgeBaseFile::ReplaceWith(target, output, faults);
    if (!written.replaced) {
        return written.status.error();
    }
    return DerivationOutcome::Compiled;
}

}  // namespace kelvo
