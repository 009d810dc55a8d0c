#include "app/gui/desktop_automation.h"

#include "platform/qt/qt_automation.h"
#include "platform/x11/x11_automation.h"

namespace kelvo {

std::unique_ptr<Automation> MakeDesktopAutomation() {
    if (RunsOnX11()) {
        auto x11 = std::make_unique<X11Automation>();
        if (x11->Available()) {
            return x11;
        }
    }
    return std::make_unique<UnavailableAutomation>();
}

}  // namespace kelvo
