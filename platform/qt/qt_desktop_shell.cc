#include "platform/qt/qt_desktop_shell.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QUrl>

#include "platform/qt/qt_text.h"

namespace kelvo {

bool QtDesktopShell::OpenDocument(std::string_view target) {
    if (target.empty()) {
        return false;
    }
    const QString text = Utf8ToQString(target);
    if (text.contains(QStringLiteral("://"))) {
        return QDesktopServices::openUrl(QUrl(text));
    }
    std::error_code error;
    const std::filesystem::path path(std::string{target});
    if (!std::filesystem::exists(path, error)) {
        return false;
    }
    return QDesktopServices::openUrl(
        QUrl::fromLocalFile(Utf8ToQString(std::filesystem::absolute(path, error).string())));
}

bool QtDesktopShell::StartProcess(const std::vector<std::string>& arguments,
                                  const std::filesystem::path& workingFolder) {
    return processes_.StartProcess(arguments, workingFolder);
}

std::filesystem::path QtDesktopShell::ProgramPath() {
    return QStringToUtf8(QCoreApplication::applicationFilePath());
}

}  // namespace kelvo
