// The text-form import. An imported text exported and imported again gives the same records.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "authoring/knowledge_base_text.h"
#include "fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kelvo;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const TextImport imported = ImportKnowledgeBaseText(text, "fuzz.txt");
    if (!imported.ok()) {
        FuzzExpect(imported.records.empty(), "a faulty text gives no records");
        return 0;
    }
    (void)ExportRawRecords(imported.records);
    const TextExport exported = ExportKnowledgeBaseText(imported.records, "fuzz.txt");
    FuzzExpect(exported.warnings.empty(), "an imported record exports inexactly",
               exported.warnings.empty() ? "" : exported.warnings.front());
    const TextImport back = ImportKnowledgeBaseText(exported.utf8, "export.txt");
    FuzzExpect(back.ok(), "an export does not import", exported.utf8,
               back.ok() ? "" : back.faults.front());
    FuzzExpect(back.records == imported.records, "export and import give other records",
               exported.utf8);
    return 0;
}
