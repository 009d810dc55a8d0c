#pragma once

#include <filesystem>
#include <string_view>

#include "store/expected.h"

namespace kelvo {

/// The physical page of the printer: its size in millimetres and in device pixels.
struct PageGeometry {
    double widthMillimetres = 0.0;
    double heightMillimetres = 0.0;
    int widthPixels = 0;
    int heightPixels = 0;
};

/// A rectangle on the page in device pixels; right and bottom are exclusive.
struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

/// The application's current printer. A print job is a text channel: each written line goes
/// onto the current page in the job's font, one below the other, and the channel begins a new
/// page by itself right after the line that fills a page. A failing call means the job is
/// broken: the caller aborts it. Texts are Windows-1252.
class Printer {
  public:
    virtual ~Printer() = default;

    /// Starts a print job whose text is written in the given font. Fails when no job can
    /// start (no printer, the printer refuses).
    virtual Status BeginJob(std::string_view fontName, int pointSize) = 0;

    /// The page size of the device the job prints on.
    virtual Expected<PageGeometry> Geometry() = 0;

    /// Writes one line onto the current page and moves below it.
    virtual Status WriteLine(std::string_view text) = 0;

    /// Number of the page the next line goes on, from 1.
    virtual int PageNumber() const = 0;

    /// Draws a picture file (JPEG or bitmap, told by the last three characters of its name)
    /// stretched into `rect` of the current page. Fails when the file does not decode.
    virtual Status DrawPicture(const std::filesystem::path& file, const PixelRect& rect) = 0;

    /// Ends the job: its pages are printed, except a last page that holds nothing.
    virtual Status EndJob() = 0;

    /// Aborts the job: nothing of it is printed.
    virtual void AbortJob() = 0;
};

}  // namespace kelvo
