#include "platform/scripted/form_json.h"

#include "store/text_field.h"
#include "store/windows1252.h"

namespace kelvo {
namespace {

std::string Utf8(std::string_view bytes) {
    return Windows1252ToUtf8(bytes);
}

nlohmann::json FieldJson(const FormSlot& slot, int number) {
    const FormComponent& field = slot.component;
    nlohmann::json json{{"kind", FieldKindName(field.kind)},
                        {"slot", number},
                        {"name", Utf8(TrimRight(slot.belegtMit))},
                        {"line", field.line},
                        {"column", field.column},
                        {"width", field.columns},
                        {"height", field.lines},
                        {"value", Utf8(field.text)}};
    switch (field.kind) {
        case FieldKind::Button:
            if (!field.picture.empty()) {
                json["picture"] = field.picture;
            }
            break;
        case FieldKind::CheckBox:
            json["checked"] = field.checked;
            break;
        case FieldKind::ListBox: {
            nlohmann::json items = nlohmann::json::array();
            for (const std::string& item : field.items) {
                items.push_back(Utf8(item));
            }
            json["items"] = items;
            json["selected"] = field.selected;
            break;
        }
        default:
            break;
    }
    return json;
}

nlohmann::json RectJson(const FormRect& rect) {
    return {{"left", rect.left}, {"top", rect.top}, {"width", rect.width}, {"height", rect.height}};
}

}  // namespace

const char* FieldKindName(FieldKind kind) {
    switch (kind) {
        case FieldKind::Input:
            return "input";
        case FieldKind::Display:
            return "display";
        case FieldKind::MemoInput:
            return "memo";
        case FieldKind::MemoDisplay:
            return "memo-display";
        case FieldKind::Button:
            return "button";
        case FieldKind::CheckBox:
            return "checkbox";
        case FieldKind::ListBox:
            return "list";
    }
    return "input";
}

nlohmann::json FormJson(const TForm6& form) {
    nlohmann::json lines = nlohmann::json::array();
    for (const std::string& label : form.Labels()) {
        lines.push_back(Utf8(TrimRight(label)));
    }
    // Fields in the order of the pools and their slots, visible ones only.
    nlohmann::json fields = nlohmann::json::array();
    for (const Pool pool : {Pool::Edit, Pool::Memo, Pool::Button, Pool::CheckBox, Pool::ListBox}) {
        for (int k = 1; k <= kPoolSlots[static_cast<std::size_t>(pool)]; ++k) {
            const FormSlot& slot = form.Slot(pool, k);
            if (slot.belegt && slot.component.visible) {
                fields.push_back(FieldJson(slot, k));
            }
        }
    }
    nlohmann::json pictures = nlohmann::json::array();
    for (std::size_t i = 0; i < form.Pictures().size(); ++i) {
        const FormPicture& picture = form.Pictures()[i];
        if (picture.visible) {
            nlohmann::json json = RectJson(picture.rect);
            json["box"] = i + 1;
            json["file"] = picture.file;
            pictures.push_back(json);
        }
    }
    nlohmann::json toolbar = nlohmann::json::array();
    for (int i = 0; i < kToolButtonCount; ++i) {
        const ToolButtonState& tool = form.Tool(static_cast<ToolButton>(i));
        if (tool.visible) {
            toolbar.push_back(
                {{"name", ToolButtonName(static_cast<ToolButton>(i))}, {"left", tool.left}});
        }
    }
    const FormWindowSize& window = form.Window();
    nlohmann::json json{{"mode", form.FormMode()},
                        {"caption", Utf8(TrimRight(form.Caption()))},
                        {"lines", lines},
                        {"fields", fields},
                        {"pictures", pictures},
                        {"toolbar", toolbar},
                        {"window",
                         {{"width", window.width},
                          {"height", window.height},
                          {"level", window.level},
                          {"scale", {window.scaleNumerator, window.scaleDenominator}}}}};
    if (form.Tool(ToolButton::VideoSound).visible) {
        nlohmann::json media = RectJson(form.MediaRect());
        media["file"] = Utf8(form.Medianame_Hilf());
        json["media"] = media;
    }
    return json;
}

nlohmann::json InspectorJson(const TForm7& inspector) {
    nlohmann::json rows = nlohmann::json::array();
    for (const std::string& row : inspector.Rows()) {
        rows.push_back(Utf8(TrimRight(row)));
    }
    nlohmann::json watched = nlohmann::json::array();
    for (const TForm7::Watched& variable : inspector.WatchedVariables()) {
        watched.push_back(
            {{"name", Utf8(TrimRight(variable.name))}, {"value", Utf8(TrimRight(variable.value))}});
    }
    return {{"title", Utf8(inspector.Title())},
            {"rows", rows},
            {"watched", watched},
            {"breakpointButton", inspector.BreakpointButtonEnabled()}};
}

}  // namespace kelvo
