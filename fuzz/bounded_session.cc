#include "fuzz/bounded_session.h"

#include "platform/scripted/scripted_platform.h"

namespace kelvo {

bool BoundedSession::Step() {
    if (stepsLeft_ > 0) {
        --stepsLeft_;
    }
    return stepsLeft_ > 0;
}

MessageAnswer BoundedSession::MessageBox(std::string_view text, std::string_view caption,
                                         MessageIcon icon, MessageButtons buttons) {
    // A message box is a step too: a loop of message boxes alone must end as well.
    if (Step()) {
        return platform_.MessageBox(text, caption, icon, buttons);
    }
    if (buttons == MessageButtons::Ok) {
        return MessageAnswer::Ok;
    }
    return caption == "Programm beenden ?" ? MessageAnswer::Yes : MessageAnswer::No;
}

PageOutcome BoundedSession::ShowPage(const PageRequest& page, InspectorContext& context) {
    if (Step()) {
        return platform_.ShowPage(page, context);
    }
    return PageOutcome::Abort;
}

void BoundedSession::ShowInspector(InspectorReason why, int line, InspectorContext& context) {
    if (Step()) {
        platform_.ShowInspector(why, line, context);
    }
}

void BoundedSession::SetSessionWindowVisible(bool visible) {
    platform_.SetSessionWindowVisible(visible);
}

void BoundedSession::SetCursor(CursorShape shape) {
    platform_.SetCursor(shape);
}

void BoundedSession::SetStatusText(std::string_view text) {
    platform_.SetStatusText(text);
}

bool BoundedSession::PumpOneEvent() {
    if (Step()) {
        return platform_.PumpOneEvent();
    }
    // Spent: request a break-off at every step until the consultation has ended.
    return true;
}

}  // namespace kelvo
