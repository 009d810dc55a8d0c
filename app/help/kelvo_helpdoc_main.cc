// kelvo-helpdoc: renders one help source of docs/help/ to a PDF.
//
//     kelvo-helpdoc SOURCE OUTPUT.pdf
//
// The build runs it for every help document; it needs no display.
#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "app/help/help_pdf_writer.h"
#include "app/help/help_source.h"

namespace {

int Fail(const std::string& message) {
    std::fprintf(stderr, "kelvo-helpdoc: %s\n", message.c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "Aufruf: kelvo-helpdoc QUELLE AUSGABE.pdf\n");
        return 2;
    }
    const std::filesystem::path source = argv[1];
    const std::filesystem::path target = argv[2];

    std::ifstream in(source, std::ios::binary);
    if (!in) {
        return Fail(source.string() + ": Die Datei kann nicht gelesen werden.");
    }
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) {
        return Fail(source.string() + ": Die Datei kann nicht gelesen werden.");
    }
    const std::vector<kelvo::HelpBlock> blocks = kelvo::ParseHelpSource(text);
    if (blocks.empty() || blocks.front().kind != kelvo::HelpBlockKind::Title) {
        return Fail(source.string() + ":1: Ein Hilfedokument beginnt mit seinem Titel (\"# \").");
    }

    // Rendering needs fonts, not a screen.
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QGuiApplication application(argc, argv);
    const kelvo::Status written = kelvo::WriteHelpPdf(blocks, target);
    if (!written) {
        return Fail(written.error().message);
    }
    return 0;
}
