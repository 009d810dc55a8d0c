#include "authoring/editor_layout.h"

#include <array>
#include <cmath>

namespace kelvo {
namespace {

using K = EditorComponentKind;

constexpr std::string_view kLineFont = "Courier New";
constexpr int kLineFontPixels = 12;

constexpr EditorComponent Row(std::string_view name, int top) {
    return {name, K::Label, "", 8, top, -1, 15, kLineFont, kLineFontPixels, false};
}

constexpr EditorComponent Control(std::string_view name, K kind, std::string_view caption, int left,
                                  int top, int width = -1, int height = -1) {
    return {name, kind, caption, left, top, width, height, "", 0, false};
}

// The window as designed: positions in pixels before scaling. Captions are Windows-1252.
constexpr std::array kComponents = {
    Row("Text1", 0),
    Row("Text2", 15),
    Row("Text3", 30),
    Row("Text4", 45),
    Row("Text5", 60),
    Row("Text6", 75),
    Row("Text7", 90),
    EditorComponent{"Edit8", K::Edit, "", 8, 105, 649, 15, kLineFont, kLineFontPixels, false},
    Row("Text9", 120),
    Row("Text10", 135),
    Row("Text11", 150),
    Row("Text12", 165),
    Row("Text13", 180),
    Row("Text14", 195),
    Row("Text15", 210),
    Control("ScrollBar1", K::ScrollBar, "", 628, 0, 17, 225),
    Control("Label1", K::Label, "Zeile", 8, 232),
    Control("Label2", K::Label, "Block", 8, 256),
    Control("Label3", K::Label, "Block", 8, 280),
    Control("Label4", K::Label, "Block", 8, 304),
    Control("Label5", K::Label, "Block", 8, 328),
    Control("Label6", K::Label, "Block", 8, 352),
    Control("Einfuegen", K::Button, "Einf\xFCgen", 55, 232, 105, 17),
    Control("Verschieben_1", K::Button, "Verschieben", 55, 256, 105, 17),
    Control("Loeschen_1", K::Button, "L\xF6schen", 55, 280, 105, 17),
    Control("Kopieren_1", K::Button, "Kopieren", 55, 304, 105, 17),
    Control("Ueb_1", K::Button,
            "\xDC"
            "bertragen",
            55, 328, 105, 17),
    Control("Drucken_1", K::Button, "Drucken", 55, 352, 105, 17),
    Control("In_Ablage", K::Label, "In Ablage", 176, 232),
    Control("Aus_Ablage", K::Label, "Aus Ablage", 176, 256),
    Control("In_Ablage_1", K::Button, "1", 264, 232, 25, 17),
    Control("In_Ablage_2", K::Button, "2", 296, 232, 25, 17),
    Control("In_Ablage_3", K::Button, "3", 327, 232, 25, 17),
    Control("Aus_Ablage_1", K::Button, "1", 264, 256, 25, 17),
    Control("Aus_Ablage_2", K::Button, "2", 296, 256, 25, 17),
    Control("Aus_Ablage_3", K::Button, "3", 327, 256, 25, 17),
    Control("Label7", K::Label, "", 176, 278),
    Control("CheckBox1", K::CheckBox, "Markierungszeichen", 176, 304, 176, 17),
    Control("Suchen", K::Button, "Suchen", 176, 327, 60, 17),
    Control("Weitersuchen", K::Button, "Weitersuchen", 242, 327, 111, 17),
    EditorComponent{"Zeilenanzeige", K::Label, "Zeile =", 176, 352, -1, -1, kLineFont, 13, true},
    Control("So_Zei_P1", K::Button, ">", 377, 232, 15, 15),
    Control("So_Zei_P2", K::Button, "\xBB", 377, 248, 15, 15),
    Control("So_Zei_P3", K::Button, "=", 377, 264, 15, 15),
    Control("So_Zei_P4", K::Button, "\xAB", 377, 280, 15, 15),
    Control("So_Zei_P5", K::Button, "<", 377, 297, 15, 15),
    Control("So_Zei_P6", K::Button, ".", 400, 232, 15, 15),
    Control("So_Zei_P7", K::Button, "|", 400, 248, 15, 15),
    Control("So_Zei_P8", K::Button, "=", 400, 264, 15, 15),
    Control("So_Zei_P9", K::Button, "#", 400, 280, 15, 15),
    Control("Hilfe_1", K::Button, "Hilfe   (Allgemein)", 376, 312, 130, 25),
    Control("Button1", K::Button, "Hilfe zu Befehlen", 376, 344, 130, 25),
    Control("Von_1", K::Button, "Von", 449, 232, 57, 25),
    Control("Bis_1", K::Button, "Bis", 449, 256, 57, 25),
    Control("Aus_1", K::Button, "Aus", 449, 281, 57, 25),
    Control("Schliesen_Starten", K::Button, "Starten", 512, 232, 130, 25),
    Control("Starten_Haltepunkt", K::Button, "Starten/Haltep.", 512, 256, 130, 25),
    Control("Schliesen_1", K::Button,
            "Schlie\xDF"
            "en",
            512, 281, 130, 25),
    Control("Abbruch", K::Button, "Abbruch", 512, 313, 130, 25),
    Control("Anfang", K::PictureButton, "", 512, 344, 25, 25),
    Control("Minus_1", K::PictureButton, "", 543, 344, 25, 25),
    Control("Plus_1", K::PictureButton, "", 584, 344, 25, 25),
    Control("Ende", K::PictureButton, "", 616, 344, 25, 25),
    Control("OpenDialog2", K::FileDialog,
            "\xD6"
            "ffnen",
            0, 0),
    Control("SaveDialog2", K::FileDialog, "Neu", 0, 0),
};

// The scale steps of FormCreate: the largest step whose size the screen reaches counts.
struct ScaleStep {
    int screenWidth;
    int screenHeight;
    double factor;
};
constexpr std::array<ScaleStep, 4> kScaleSteps = {{
    {800, 600, 1.144},
    {1024, 768, 1.4286},
    {1280, 960, 1.9},
    {1600, 1200, 1.9},
}};
constexpr double kSmallScreenFactor = 0.97;

}  // namespace

std::span<const EditorComponent> EditorComponents() {
    return kComponents;
}

const EditorComponent* FindEditorComponent(std::string_view name) {
    for (const EditorComponent& component : kComponents) {
        if (component.name == name) {
            return &component;
        }
    }
    return nullptr;
}

EditorScale EditorScaleFor(int screenWidth, int screenHeight) {
    int height = 420;
    double factor = kSmallScreenFactor;
    for (const ScaleStep& step : kScaleSteps) {
        if (screenWidth >= step.screenWidth && screenHeight >= step.screenHeight) {
            height = 400;
            factor = step.factor;
        }
    }
    constexpr int kWidth = 650;
    return {factor,
            {25, 10, static_cast<int>(std::lround(kWidth * factor)),
             static_cast<int>(std::lround(height * factor))}};
}

}  // namespace kelvo
