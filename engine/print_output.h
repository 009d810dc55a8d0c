#pragma once

#include <string_view>

namespace kelvo {

class Consultation;

/// Shown when the user breaks off a running print job.
extern const std::string_view kPrintInterruptedMessage;
/// Shown for a picture line whose file does not exist.
extern const std::string_view kPrintPictureMissingMessage;
/// Shown at "<DRUCKEN>" when the desktop has no printer.
extern const std::string_view kNoPrinterMessage;
/// Shown, with the reason, when the printer does not take a print job or cannot finish it.
extern const std::string_view kPrinterFailedMessage;
/// The session window's label while a print job runs.
extern const std::string_view kPrintingStatusText;

/// Works through the print lines ("T" and "G") below the position in the print slot: each
/// text, long-text and picture line is collected in the consultation's print buffer, and a
/// text line "<DRUCKEN>" (any case) prints the buffer as one job and empties it. A buffer
/// that is full is printed as a job of its own before the next line is collected.
void Druckausgabe(Consultation& consultation);

/// Prints the buffer as one print job: four empty lines at the top of each page, at most 63
/// text lines per page, "<NEUE_SEITE>" begins a new page, picture lines draw on the current
/// page. The user's break-off aborts the job with a message; a printer that does not take the
/// job or cannot finish it is reported with its reason; a failure while the lines are written
/// (a picture that does not decode) ends the job quietly. Leaves the buffer as it is.
void PrintBufferContents(Consultation& consultation);

}  // namespace kelvo
