#include "shell/version_text.h"

namespace kelvo {
namespace {

constexpr std::string_view kProduct = "Expertensystem Kelvo";

// The part of a file name behind its last folder separator.
std::string_view WithoutFolder(std::string_view name) {
    const std::size_t slash = name.find_last_of("/\\");
    return slash == std::string_view::npos ? name : name.substr(slash + 1);
}

std::string VersionAndBuild() {
    return std::string(kProduct) + " Version " + VersionPart() + " Build: " + BuildPart();
}

}  // namespace

std::string VersionPart() {
    return std::string(kVersionText.substr(0, 4));
}

std::string BuildPart() {
    return std::string(kVersionText.substr(5, 3));
}

std::string_view ModuleWord(bool programmingModule) {
    return programmingModule ? "  [Programmiermodul]" : "  [Benutzermodul]";
}

std::string_view AccessWord(int databaseAccess) {
    switch (databaseAccess) {
        case 1:
            return "  [Datenbankzugriff=langsam]";
        case 2:
            return "  [Datenbankzugriff=schnell]";
        default:
            return "";
    }
}

std::string MainWindowTitle(std::string_view fileName, bool programmingModule, int databaseAccess) {
    return VersionAndBuild() + " - " + std::string(WithoutFolder(fileName)) +
           std::string(ModuleWord(programmingModule)) + std::string(AccessWord(databaseAccess));
}

std::string StartDialogTitle(bool programmingModule, int databaseAccess) {
    return "\xD6"
           "ffnen [" +
           VersionAndBuild() + "]" + std::string(ModuleWord(programmingModule)) +
           std::string(AccessWord(databaseAccess));
}

AboutBox InfoAboutBox() {
    return {"Info", std::string(kProduct), "Version = " + VersionPart() + " Build: " + BuildPart()};
}

}  // namespace kelvo
