#pragma once

// Reading printed PDF files back with poppler's tools (pdfinfo, pdftotext, pdfimages,
// pdftoppm), which the tests need installed.

#include <QImage>
#include <QString>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace kelvo::testing {

/// The whole output of a shell command; empty when it cannot run.
inline std::string ToolOutput(const std::string& command) {
    std::string output;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return output;
    }
    char buffer[4096];
    std::size_t read = 0;
    while ((read = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        output.append(buffer, read);
    }
    ::pclose(pipe);
    return output;
}

/// A path as one word of a shell command.
inline std::string ShellWord(const std::filesystem::path& path) {
    std::string quoted = "'";
    for (char c : path.string()) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

/// The number of pages pdfinfo reports; -1 when it reports none.
inline int PdfPageCount(const std::filesystem::path& pdf) {
    std::istringstream info(ToolOutput("pdfinfo " + ShellWord(pdf) + " 2>/dev/null"));
    std::string line;
    while (std::getline(info, line)) {
        if (line.rfind("Pages:", 0) == 0) {
            return std::stoi(line.substr(6));
        }
    }
    return -1;
}

/// A word on a page, with its top left corner in points from the page's top left.
struct PdfWord {
    std::string text;
    double x = 0.0;
    double y = 0.0;
};

/// The words of page `page` (from 1) in reading order, as pdftotext reads them.
inline std::vector<PdfWord> PdfWords(const std::filesystem::path& pdf, int page) {
    const std::string p = std::to_string(page);
    std::istringstream html(ToolOutput("pdftotext -bbox -f " + p + " -l " + p + " " +
                                       ShellWord(pdf) + " - 2>/dev/null"));
    std::vector<PdfWord> words;
    std::string line;
    auto attribute = [](const std::string& tag, const std::string& name) {
        const std::size_t at = tag.find(name + "=\"");
        return at == std::string::npos ? 0.0 : std::stod(tag.substr(at + name.size() + 2));
    };
    while (std::getline(html, line)) {
        const std::size_t open = line.find("<word ");
        const std::size_t close = line.find('>', open);
        const std::size_t end = line.find("</word>");
        if (open == std::string::npos || close == std::string::npos || end == std::string::npos) {
            continue;
        }
        const std::string tag = line.substr(open, close - open);
        words.push_back({line.substr(close + 1, end - close - 1), attribute(tag, "xMin"),
                         attribute(tag, "yMin")});
    }
    return words;
}

/// The text lines of a page: the words grouped by their line, joined by one blank.
inline std::vector<std::string> PdfLines(const std::filesystem::path& pdf, int page) {
    std::vector<std::string> lines;
    double lastY = -1.0;
    for (const PdfWord& word : PdfWords(pdf, page)) {
        if (lines.empty() || word.y > lastY + 1.0 || word.y < lastY - 1.0) {
            lines.push_back(word.text);
        } else {
            lines.back() += " " + word.text;
        }
        lastY = word.y;
    }
    return lines;
}

/// A picture pdfimages lists: the page it is on and its size in pixels.
struct PdfPicture {
    int page = 0;
    int width = 0;
    int height = 0;
};

inline std::vector<PdfPicture> PdfPictures(const std::filesystem::path& pdf) {
    std::istringstream list(ToolOutput("pdfimages -list " + ShellWord(pdf) + " 2>/dev/null"));
    std::vector<PdfPicture> pictures;
    std::string line;
    while (std::getline(list, line)) {
        std::istringstream fields(line);
        PdfPicture picture;
        std::string number;
        std::string type;
        if (fields >> picture.page >> number >> type >> picture.width >> picture.height &&
            type == "image") {
            pictures.push_back(picture);
        }
    }
    return pictures;
}

/// Page `page` rendered at `dpi` dots per inch; a null image when it cannot be rendered.
inline QImage RenderPdfPage(const std::filesystem::path& pdf, int page, int dpi,
                            const std::filesystem::path& folder) {
    const std::string p = std::to_string(page);
    const std::filesystem::path prefix = folder / ("seite-" + p);
    ToolOutput("pdftoppm -r " + std::to_string(dpi) + " -f " + p + " -l " + p +
               " -png -singlefile " + ShellWord(pdf) + " " + ShellWord(prefix) + " 2>/dev/null");
    return QImage(QString::fromStdString(prefix.string() + ".png"));
}

}  // namespace kelvo::testing
