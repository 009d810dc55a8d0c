// The error reports of a consultation: a numbered error (FHR_Fehler), a stop of our own
// (ReportStop), a fault of the program (ReportInternalError) and the full image.

#include "engine/error_reports.h"

#include <string>

#include "engine/consultation.h"
#include "engine/error_codes.h"
#include "platform/dialogs.h"
#include "store/beeper.h"

namespace kelvo {

const std::string_view kGoalStackFullMessage =
    "Die Suche ben\xF6tigt mehr als 1000 verschachtelte Unterziele.\r\n"
    "Pr\xFC"
    "fen Sie Ihre Regeln auf Zirkelschl\xFCsse.";
const std::string_view kImageFullMessage = "Die Datenbasis ist voll.\r\nDie Sitzung wird beendet.";
const std::string_view kInternalErrorCaption = "Interner Fehler";
const std::string_view kChooseText = "Bitte w\xE4hlen Sie aus";

namespace {

std::string ErrorCaption(int position) {
    return "Fehlermeldung in Zeile: " + std::to_string(position + 1);
}

}  // namespace

void Consultation::FHR_Fehler(int code, int position, bool running) {
    lastErrorCode_ = code;
    services_.beeper.Beep();
    const std::string caption = ErrorCaption(position);
    if (position >= 0) {
        errorLine_ = position;
    }
    sessionKey_ = ErrorEndsConsultation(code) ? kSessionEnd : kSessionRunning;
    ShowMessage(ErrorMessage(code), caption, MessageIcon::Warning, MessageButtons::Ok);
    if (running) {
        OfferInspectorAfterReport(position);
    }
}

// A stop of our own (goal stack or image exhausted): reported like an error of the running
// consultation, with its own text.
void Consultation::ReportStop(std::string_view message, int position) {
    lastErrorCode_ = kStopErrorCode;
    services_.beeper.Beep();
    if (position >= 0) {
        errorLine_ = position;
    }
    sessionKey_ = kSessionEnd;
    ShowMessage(message, ErrorCaption(position), MessageIcon::Warning, MessageButtons::Ok);
    OfferInspectorAfterReport(position);
}

void Consultation::OfferInspectorAfterReport(int position) {
    if (config_.programmingModule &&
        ShowMessage(kChooseText, "Dialogfenster anzeigen ?", MessageIcon::Question,
                    MessageButtons::YesNo) == MessageAnswer::Yes) {
        OpenInspector(InspectorReason::Error, position + 1);
    }
}

void Consultation::ReportInternalError(std::string_view message) {
    lastErrorCode_ = kInternalErrorCode;
    services_.beeper.Beep();
    sessionKey_ = kSessionEnd;
    ShowMessage(message, kInternalErrorCaption, MessageIcon::Warning, MessageButtons::Ok);
}

bool Consultation::StopIfImageFull() {
    if (!image_.Full()) {
        return false;
    }
    if (!imageFullReported_) {
        imageFullReported_ = true;
        ReportStop(kImageFullMessage, posRegel_);
    }
    sessionKey_ = kSessionEnd;
    return true;
}

}  // namespace kelvo
