#pragma once

// TForm6, the consultation form, without a window: how a page of text lines becomes labels,
// fields, buttons, check boxes, list boxes, pictures and a media file (FormCreate), and the
// commands of the built page (WeiterClick, AbbruchClick, FormClose, FormActivate,
// Focus_Setzen, DruckenClick, DialogClick, VideoSoundClick, copy and paste). A view draws the state
// kept here and forwards the user's actions; all texts are Windows-1252.
//
// Coordinates are design pixels of the client area before scaling: body line r (1 to 25),
// column c (1 to 80) start at left 5 + 7 * (c - 1), top 30 + 15 * (r - 1).

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/media_player.h"
#include "platform/session_windows.h"

namespace kelvo {

class FactBase;

/// What the form needs from the desktop while it is built.
struct FormEnvironment {
    bool programmingModule = true;
    int screenWidth = 1024;
    int screenHeight = 768;
    /// The existing file a knowledge base's file name (Windows-1252) refers to, as a UTF-8
    /// path; empty when there is none.
    std::function<std::string(std::string_view name)> findFile;
    /// True when the file (a UTF-8 path) holds a picture that can be shown.
    std::function<bool(const std::string& path)> pictureLoads;
    /// Shows the message box of a button picture that cannot be loaded.
    std::function<void()> reportButtonPicture;
};

/// The field kinds, by their marker.
enum class FieldKind {
    Input,        ///< "]" single-line input field
    Display,      ///< "[" single-line display field
    MemoInput,    ///< "\xAB" multi-line input field
    MemoDisplay,  ///< "\xBB" multi-line display field
    Button,       ///< "<" push button
    CheckBox,     ///< ">" check box
    ListBox,      ///< "|" list box
};

/// The five slot pools.
enum class Pool { Edit = 0, Button = 1, CheckBox = 2, ListBox = 3, Memo = 4 };
inline constexpr int kPoolCount = 5;

/// Slots of each pool, in the order of `Pool`.
inline constexpr std::array<int, kPoolCount> kPoolSlots{80, 30, 30, 5, 10};

/// A rectangle in design pixels.
struct FormRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const FormRect&) const = default;
};

/// The component serving one slot: `Edit`k, `S`k, `CheckBox`k, `ListBox`k or `Memo`k.
struct FormComponent {
    bool visible = false;
    FieldKind kind = FieldKind::Input;
    bool readOnly = false;
    FormRect rect;
    /// The description on the page: body line, first column, columns and lines it covers.
    int line = 0;
    int column = 0;
    int columns = 0;
    int lines = 0;
    /// An edit field's text; a button's or check box's caption.
    std::string text;
    /// A button's picture file (UTF-8 path); empty for none.
    std::string picture;
    bool checked = false;
    std::vector<std::string> items;  ///< a list box's items, right-trimmed
    int selected = 0;                ///< the selected item, from 1; 0 none
    std::size_t selectionStart = 0;  ///< the selection of an edit field
    std::size_t selectionLength = 0;
};

/// One slot of a pool: `Belegt`, `Belegt_Mit` and the component that serves it.
struct FormSlot {
    bool belegt = false;
    std::string belegtMit;  ///< the canonical variable name, 30 characters
    FormComponent component;
};

/// The seven toolbar buttons, in their order on the toolbar; each has a menu item of the same
/// name that is shown and hidden with it.
enum class ToolButton { Abbruch, Drucken, Datenbasis, Weiter, Kopieren, Einfuegen, VideoSound };
inline constexpr int kToolButtonCount = 7;

struct ToolButtonState {
    bool visible = false;
    int left = 0;
};

/// A picture box `Image`k.
struct FormPicture {
    bool visible = false;
    std::string file;  ///< UTF-8 path
    FormRect rect;
};

/// The window's size and scale (last step of FormCreate).
struct FormWindowSize {
    int left = 25;
    int top = 0;
    int width = 590;
    int height = 465;
    int level = 1;
    int scaleNumerator = 10000;
    int scaleDenominator = 10000;
};

/// The values the window's scroll bars are given.
struct FormScrollBars {
    int margin = 1;
    int increment = 4;
    int position = 0;
    int horizontalRange = 0;
    int verticalRange = 0;
};

/// The component a command came from, or that has the focus.
struct FormControl {
    Pool pool = Pool::Edit;
    int slot = 1;
    bool operator==(const FormControl&) const = default;
};

/// The caption and hint of a toolbar button, the caption of its menu item.
std::string_view ToolButtonName(ToolButton button);
std::string_view ToolButtonHint(ToolButton button);

/// The window's size level (1 to 5) and outer size for a screen, with the scale of its controls.
FormWindowSize FormWindowSizeFor(int screenWidth, int screenHeight);

class TForm6 {
  public:
    static constexpr int kBodyLines = 25;
    static constexpr int kColumns = 80;
    static constexpr int kPictures = 30;
    static constexpr int kClientWidth = 530;
    static constexpr int kClientHeight = 400;

    /// Builds the form of `page` (FormCreate): SessionKey 27, the fields of the seven markers
    /// (mode 1), toolbar, labels, caption, media lines, the closing pages and the window size.
    TForm6(const PageRequest& page, FactBase& facts, FormEnvironment environment);

    // --- FormCreate and its steps --------------------------------------------------------
    /// Places every field of one marker kind; `bv` opening and `bb` closing marker.
    void Komp_einfuegen(char bv, char bb);
    void Koordinaten_Festlegen();
    void Grafik_einfuegen();

    // --- commands ----------------------------------------------------------------------
    /// Weiter from `Weiter_Schalter`/`Weiter_Menue` (no sender) or from page button `S`n:
    /// stores every answer (mode 1) and closes with SessionKey 13.
    void WeiterClick(std::optional<int> pageButton = std::nullopt);
    /// "Abbruch": asks `askQuit` ("Programm beenden ?"); yes closes with SessionKey 27, no
    /// keeps the page.
    void AbbruchClick(const std::function<bool()>& askQuit);
    /// An attempt to close the window; asks as AbbruchClick unless the form may close. Returns
    /// true when the window closes.
    bool FormClose(const std::function<bool()>& askQuit);
    /// The window became active: clears `Abbruch`, sets the focus. Returns true when the page's
    /// media file is to be played (`VideoSound_Schalter` is visible).
    bool FormActivate();
    void Focus_Setzen();
    /// "Drucken": `printImage` prints the window's current image scaled to the page, without
    /// a printer dialog; then Focus_Setzen.
    void DruckenClick(const std::function<void()>& printImage);
    /// "Datenbasis": `showInspector` shows the runtime inspector modally; then Focus_Setzen.
    /// Returning from the inspector activates the page again (FormActivate), which is the
    /// desktop's window activation, not part of this command.
    void DialogClick(const std::function<void()>& showInspector);
    /// "Video/Sound": plays the page's media file once through `play` (Video_Sound; not
    /// called when the file is gone), then Focus_Setzen.
    void VideoSoundClick(const std::function<void(const MediaRequest& request)>& play);
    /// One playback of the page's media file (Video_Sound): the file as found, video or sound,
    /// the video's window, and the same as media commands for transcripts; nothing when the
    /// file does not exist or its ending is none of AVI, MPG and WAV.
    std::optional<MediaRequest> Video_Sound();
    /// The short name of an existing file for the media commands; Linux has no 8.3 names, so
    /// it is the file's path as found, empty when there is none.
    std::string Kurzer_Dateinamen(std::string_view name) const;
    /// Copy: the selected text of the focused edit field; nothing when no edit field has the
    /// focus.
    std::optional<std::string> In_AblageClick() const;
    /// Paste: replaces the selection of the focused edit field unless it is read-only.
    void Aus_AblageClick(std::string_view text);

    // --- the user's work on the fields ------------------------------------------------------
    /// Types `text` into an edit field (replacing its text). False for a slot that is not a
    /// visible edit field.
    bool SetFieldText(FormControl control, std::string_view text);
    void SetChecked(int slot, bool checked);
    /// Selects item `item` (from 1; 0 none) of list box slot `slot`; false if out of range.
    bool Select(int slot, int item);
    void SetFocus(FormControl control) { focus_ = control; }
    void SetSelection(std::size_t start, std::size_t length);

    // --- state --------------------------------------------------------------------------
    int SessionKey() const { return sessionKey_; }
    bool Abbruch() const { return abbruch_; }
    bool Closed() const { return closed_; }
    int FormMode() const { return formMode_; }
    const FormSlot& Slot(Pool pool, int slot) const;
    int Pos_Schalter() const { return posSchalter_; }
    const ToolButtonState& Tool(ToolButton button) const;
    /// The window caption and the 25 body labels (`text1` to `text25`).
    const std::string& Caption() const { return caption_; }
    const std::array<std::string, kBodyLines>& Labels() const { return labels_; }
    /// The page as it is after the fields were blanked out.
    const std::array<std::string, 26>& FormPage() const { return formPage_; }
    const std::array<FormPicture, kPictures>& Pictures() const { return pictures_; }
    const std::string& Medianame_Hilf() const { return medianameHilf_; }
    FormRect MediaRect() const { return {xHilf_, yHilf_, cxHilf_, cyHilf_}; }
    const FormWindowSize& Window() const { return window_; }
    const FormScrollBars& ScrollBars() const { return scrollBars_; }
    const FormControl& Focus() const { return focus_; }

  private:
    FormSlot& SlotRef(Pool pool, int slot);
    /// The slot a new field of `pool` takes.
    int ChooseSlot(Pool pool, int& running);
    void FillField(FieldKind kind, FormSlot& slot, const std::string& name);
    void ReadMediaLine(int position);
    void ClosingPage();
    void Store(std::string_view name, std::string_view value);
    FormComponent* FocusedEdit();

    FactBase& facts_;
    FormEnvironment environment_;
    int formMode_ = 1;
    std::array<std::string, 26> formPage_;
    int firstMediaLine_ = 0;
    std::string solutionRecord_;
    int sessionKey_ = 27;
    bool abbruch_ = false;
    bool closed_ = false;
    std::array<std::vector<FormSlot>, kPoolCount> pools_;
    std::array<ToolButtonState, kToolButtonCount> tools_{};
    int posSchalter_ = 40;
    std::string caption_;
    std::array<std::string, kBodyLines> labels_{};
    std::array<FormPicture, kPictures> pictures_{};
    int x_ = 0, y_ = 0, cx_ = 0, cy_ = 0;
    int xHilf_ = 0, yHilf_ = 0, cxHilf_ = 0, cyHilf_ = 0;
    std::string medianame_;
    std::string medianameHilf_;
    FormWindowSize window_;
    FormScrollBars scrollBars_;
    FormControl focus_;
};

}  // namespace kelvo
