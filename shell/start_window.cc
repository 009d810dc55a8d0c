#include "shell/start_window.h"

#include "platform/clock.h"
#include "platform/file_dialogs.h"
#include "shell/program_location.h"
#include "shell/shell_services.h"
#include "shell/shell_windows.h"
#include "shell/version_text.h"
#include "store/delay.h"
#include "store/windows1252.h"

namespace kelvo {

TForm4::TForm4(const ShellConfig& config, ShellServices& services)
    : config_(config), services_(services) {
    if (config_.programmingModule) {
        bounds_ = {100, 100, 200, 250};
        pictureMarked_ = true;
    } else {
        bounds_ = {0, 0, 1, 1};  // nothing is seen
    }
}

void TForm4::WndProcPaint() {
    if (closed_) {
        return;
    }
    services_.windows.SetCursor(CursorShape::Hourglass);
    if (pictureMarked_) {
        Delay(services_.clock, kStartPictureMilliseconds);
        pictureMarked_ = false;
    }
    services_.windows.SetCursor(CursorShape::Arrow);
    FormClose();
}

void TForm4::FormClose() {
    if (closed_) {
        return;
    }
    closed_ = true;
    startFileName_.clear();
    if (config_.programmingModule) {
        return;
    }
    if (!config_.commandLineFile.empty()) {
        startFileName_ = Utf8ToWindows1252(config_.commandLineFile.string());
        return;
    }
    if (auto found = FindRunOnlyBesideProgram(config_.programPath)) {
        startFileName_ = Utf8ToWindows1252(found->string());
        return;
    }
    FileDialogRequest request;
    request.title = StartDialogTitle(config_.programmingModule, config_.databaseAccess);
    request.filters = SplitFileFilter("WBB -  Wissensbasen KELVO|*.WBB");
    request.folder = Utf8ToWindows1252(ProgramFolder(config_.programPath).string());
    if (auto chosen = services_.fileDialogs.OpenFileName(request)) {
        startFileName_ = *chosen;
    }
}

}  // namespace kelvo
