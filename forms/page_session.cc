#include "forms/page_session.h"

#include <filesystem>
#include <optional>
#include <system_error>
#include <utility>

#include "forms/picture_file.h"
#include "platform/path_lookup.h"
#include "store/windows1252.h"

namespace kelvo {
namespace {

constexpr std::string_view kChooseText = "Bitte w\xE4hlen Sie aus";

FormEnvironment EnvironmentFor(const InspectorContext& context, Dialogs& dialogs,
                               const PageSessionOptions& options) {
    FormEnvironment environment;
    environment.programmingModule = context.programmingModule;
    environment.screenWidth = options.screenWidth;
    environment.screenHeight = options.screenHeight;
    environment.findFile = [folder = options.fileFolder](std::string_view name) {
        return FindPageFile(name, folder);
    };
    environment.pictureLoads = [](const std::string& path) { return LoadPictureFile(path).ok(); };
    environment.reportButtonPicture = [&dialogs] {
        dialogs.MessageBox("Grafik f\xFCr Ihren Schalter nicht vorhanden", "Fehlermeldung",
                           MessageIcon::Warning, MessageButtons::Ok);
    };
    return environment;
}

// The closing pages never have media lines: only a question page reads them.
PageRequest WithoutStaleMedia(PageRequest page) {
    if (page.formMode != 1) {
        page.firstMediaLine = 0;
    }
    return page;
}

}  // namespace

std::string FindPageFile(std::string_view name, const std::string& fallbackFolder) {
    std::error_code error;
    std::filesystem::path path = ResolvePath(name);
    if (!std::filesystem::is_regular_file(path, error) && !fallbackFolder.empty() &&
        !name.empty() && name[0] != '/' && name[0] != '\\') {
        path = ResolvePath(Utf8ToWindows1252(fallbackFolder) + "/" + std::string(name));
    }
    return std::filesystem::is_regular_file(path, error) ? path.string() : std::string();
}

PageSession::PageSession(const PageRequest& page, InspectorContext& context, PageDesktop& desktop,
                         Dialogs& dialogs, const PageSessionOptions& options)
    : context_(context),
      desktop_(desktop),
      dialogs_(dialogs),
      form_(WithoutStaleMedia(page), context.facts, EnvironmentFor(context, dialogs, options)) {}

bool PageSession::AskQuit() {
    return dialogs_.MessageBox(kChooseText, "Programm beenden ?", MessageIcon::Question,
                               MessageButtons::YesNo) == MessageAnswer::Yes;
}

void PageSession::Activate() {
    if (form_.FormActivate()) {
        if (const std::optional<MediaRequest> request = form_.Video_Sound()) {
            desktop_.PlayMedia(form_, *request);
        }
    }
}

PageOutcome PageSession::Run() {
    const auto askQuit = [this] { return AskQuit(); };
    Activate();
    while (!form_.Closed()) {
        const PageAction action = desktop_.NextAction(form_);
        switch (action.kind) {
            case PageAction::Kind::Stop:
                return PageOutcome::Abort;
            case PageAction::Kind::Weiter:
                if (form_.Tool(ToolButton::Weiter).visible) {
                    form_.WeiterClick();
                }
                break;
            case PageAction::Kind::PageButton:
                if (action.button >= 1 && action.button <= kPoolSlots[1] &&
                    form_.Slot(Pool::Button, action.button).belegt) {
                    form_.WeiterClick(action.button);
                }
                break;
            case PageAction::Kind::Abbruch:
                form_.AbbruchClick(askQuit);
                break;
            case PageAction::Kind::Close:
                form_.FormClose(askQuit);
                break;
            case PageAction::Kind::Drucken:
                form_.DruckenClick([this] { desktop_.PrintPage(form_); });
                break;
            case PageAction::Kind::Datenbasis:
                if (form_.Tool(ToolButton::Datenbasis).visible) {
                    form_.DialogClick([this] { desktop_.OpenInspector(context_); });
                    Activate();  // the page is the active window again
                }
                break;
            case PageAction::Kind::VideoSound:
                if (form_.Tool(ToolButton::VideoSound).visible) {
                    form_.VideoSoundClick([this](const MediaRequest& request) {
                        desktop_.PlayMedia(form_, request);
                    });
                }
                break;
        }
    }
    return form_.SessionKey() == static_cast<int>(PageOutcome::Continue) ? PageOutcome::Continue
                                                                         : PageOutcome::Abort;
}

}  // namespace kelvo
