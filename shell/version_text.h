#pragma once

#include <string>
#include <string_view>

namespace kelvo {

/// VersionText: characters 1 to 4 are the version, characters 6 to 8 the build.
inline constexpr std::string_view kVersionText = "2017.001";

/// Characters 1 to 4 of VersionText ("2017").
std::string VersionPart();
/// Characters 6 to 8 of VersionText ("001").
std::string BuildPart();

/// "  [Programmiermodul]" or "  [Benutzermodul]".
std::string_view ModuleWord(bool programmingModule);
/// "  [Datenbankzugriff=langsam]" for 1, "  [Datenbankzugriff=schnell]" for 2; empty otherwise.
std::string_view AccessWord(int databaseAccess);

/// The main window's title: "Expertensystem Kelvo Version 2017 Build: 001 - " + the file name
/// without its folder (empty when no file is given) + the module word + the access word.
/// Texts are Windows-1252.
std::string MainWindowTitle(std::string_view fileName, bool programmingModule, int databaseAccess);

/// The title of the start window's open dialog in the user module: "Öffnen [Expertensystem
/// Kelvo Version 2017 Build: 001]" + the module word + the access word (Windows-1252).
std::string StartDialogTitle(bool programmingModule, int databaseAccess);

/// What the information box shows.
struct AboutBox {
    std::string caption;      ///< "Info"
    std::string productName;  ///< "Expertensystem Kelvo"
    std::string version;      ///< "Version = 2017 Build: 001"
};

/// The information box of "&Info".
AboutBox InfoAboutBox();

}  // namespace kelvo
