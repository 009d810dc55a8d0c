#include "ui/qt/qt_shell_windows.h"

#include <QApplication>

#include "authoring/program_editor.h"
#include "shell/main_window.h"
#include "shell/start_window.h"
#include "shell/version_text.h"
#include "ui/qt/about_box_view.h"
#include "ui/qt/editor_view.h"
#include "ui/qt/main_window_view.h"
#include "ui/qt/start_window_view.h"

namespace kelvo {

QtShellWindows::QtShellWindows() = default;

QtShellWindows::~QtShellWindows() {
    SetCursor(CursorShape::Arrow);
}

MainWindowView& QtShellWindows::CreateMainWindow(TForm1& model) {
    main_ = std::make_unique<MainWindowView>(model);
    return *main_;
}

void QtShellWindows::ShowStartWindow(TForm4& window) {
    StartWindowView view(window, main_.get());
    view.exec();
}

void QtShellWindows::ShowEditor(TForm2& editor) {
    EditorView view(editor, main_.get());
    view.exec();
}

void QtShellWindows::ShowAboutBox(const AboutBox& about) {
    AboutBoxView view(about, main_.get());
    view.exec();
}

void QtShellWindows::SetMainWindowVisible(bool visible) {
    if (main_ != nullptr) {
        main_->setVisible(visible);
    }
}

void QtShellWindows::MainWindowChanged(const TForm1& /*window*/) {
    if (main_ != nullptr) {
        main_->Refresh();
    }
}

void QtShellWindows::SetCursor(CursorShape shape) {
    cursor_.Set(shape);
}

}  // namespace kelvo
