#pragma once

// The texts of the error reports of a consultation beyond the numbered errors of
// engine/error_codes.h. The reports themselves are members of `Consultation` (FHR_Fehler,
// ReportStop, ReportInternalError, StopIfImageFull), defined in error_reports.cc.

#include <string_view>

namespace kelvo {

/// Shown when a search needs more nested sub-goals than the goal stack holds (also the end of
/// a circular rule set), and when the record image is full (Windows-1252).
extern const std::string_view kGoalStackFullMessage;
extern const std::string_view kImageFullMessage;
/// Caption of the message that ends a consultation the program did not set up completely.
extern const std::string_view kInternalErrorCaption;
/// LastErrorCode after such an internal error.
inline constexpr int kInternalErrorCode = -2;
/// LastErrorCode after a stop of our own (goal stack or image exhausted).
inline constexpr int kStopErrorCode = -1;
/// The text of the Yes/No questions after a report and after a break-off request.
extern const std::string_view kChooseText;

}  // namespace kelvo
