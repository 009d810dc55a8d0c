#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/error_reports.h"
#include "engine/object_index.h"
#include "engine/print_buffer.h"
#include "engine/task_slot.h"
#include "platform/dialogs.h"
#include "platform/session_windows.h"
#include "store/fact_base.h"
#include "store/knowledge_base_image.h"
#include "store/search_mode.h"

namespace kelvo {

class Beeper;
class Clock;
class Evidence;
class RandomSource;

/// What a consultation is run with; fixed by the executable or the test.
struct ConsultationConfig {
    bool programmingModule = true;
    /// Line number (from 1) of the breakpoint; 0 = none.
    int breakpointLine = 0;
    /// Position of the line of the last reported error, kept from earlier consultations.
    int errorLine = 0;
    /// The editor's clipboards 2 and 3 (Windows-1252), which the inspector watches; empty
    /// without an editor.
    std::string ablage2Text{};
    std::string ablage3Text{};
    /// Indexed finds facts and rules through indexes; Literal follows the scans step by step
    /// (the reference the tests compare against). Both give the same results.
    SearchMode searchMode = SearchMode::Indexed;
    /// Keeps the evidence of every fact record (engine/evidence.h) for explanations; off, the
    /// consultation keeps none.
    bool explain = false;
};

class Printer;
class Clipboard;
class MediaPlayer;
class FileDialogs;
class DesktopShell;
class DatabaseService;
class Automation;
class FileFaultInjector;

/// The desktop services a consultation calls. The optional ones may be missing where a desktop
/// lacks them; the commands that need them then report that the service is not available.
struct ConsultationServices {
    Dialogs& dialogs;
    SessionWindows& windows;
    Clock& clock;
    RandomSource& random;
    Beeper& beeper;
    Printer* printer = nullptr;
    Clipboard* clipboard = nullptr;
    MediaPlayer* media = nullptr;
    FileDialogs* fileDialogs = nullptr;
    DesktopShell* shell = nullptr;
    DatabaseService* database = nullptr;
    Automation* automation = nullptr;
    /// Tests only: makes steps of the writes that replace a file fail (data exchange, text
    /// files); nullptr writes normally.
    FileFaultInjector* fileFaults = nullptr;
};

class Consultation;

/// Runs the body of a task whose slot (the line above the body) is `slotPosition`.
using TaskRunner = std::function<void(Consultation& consultation, int slotPosition)>;

/// Values of SessionKey.
inline constexpr int kSessionRunning = 32;
inline constexpr int kSessionPageContinued = 13;
inline constexpr int kSessionEnd = 27;

/// The depth of the goal stack. A search that needs a deeper sub-goal ends the consultation
/// with kGoalStackFullMessage.
inline constexpr int kGoalStackDepth = 1000;

/// One consultation of a loaded knowledge base: the session window's logic without a window.
/// The image must hold the program as loaded; the consultation appends its task copies and
/// its fact base behind it.
class Consultation {
  public:
    Consultation(KnowledgeBaseImage& image, const ConsultationConfig& config,
                 ConsultationServices& services);
    ~Consultation();
    Consultation(const Consultation&) = delete;
    Consultation& operator=(const Consultation&) = delete;

    /// Installs the runner of a task kind whose work lives elsewhere (variable commands, data
    /// exchange, print output); an empty runner removes it. A task without a runner is an
    /// internal error that ends the consultation (LastErrorCode kInternalErrorCode).
    void SetTaskRunner(TaskSlot slot, TaskRunner runner);
    /// False when no runner is installed for `slot`.
    bool HasTaskRunner(TaskSlot slot) const {
        return static_cast<bool>(runners_[static_cast<std::size_t>(slot)]);
    }

    /// What the first paint of the session window does: check the program, then run it.
    void Run();

    /// Lets one window event through and serves a pending break-off request. Returns false
    /// when it did nothing else: no break-off was requested, so calling it again right away
    /// changes nothing either.
    bool Ausst();
    /// Opens the inspector when `position` + 1 is the breakpoint line.
    void Haltepunkt(int position);
    /// Reports an error (code and line position); `running` is false for the program check.
    /// Defined in error_reports.cc with the other reports.
    void FHR_Fehler(int code, int position, bool running);
    /// The session window's "Abbruch" button: served by the next Ausst.
    void Button1Click() { vorgangAbbrechen_ = true; }
    /// Vorgang_Abbrechen: the "Abbruch" button was pressed and the request is not yet served.
    bool VorgangAbbrechen() const { return vorgangAbbrechen_; }
    void SetVorgangAbbrechen(bool requested) { vorgangAbbrechen_ = requested; }

    /// The lines collected for the next printout; they live across task blocks.
    PrintBuffer& printBuffer() { return printBuffer_; }

    /// Shows a message box through the desktop, with the cursor states around it.
    MessageAnswer ShowMessage(std::string_view text, std::string_view caption, MessageIcon icon,
                              MessageButtons buttons);

    /// Shows the page in `page` until it is continued or ended; sets SessionKey.
    void ShowPage(const PageRequest& page);

    /// Reads a numeric operand: a number in parentheses, or a numeric variable in brackets
    /// replaced by its value. A missing variable reports error 3 at `position`. The error
    /// register receives 0 when the text read as a number and 1 when it did not.
    struct Operand {
        enum class Status { Number, NotANumber, MissingVariable } status = Status::NotANumber;
        double number = 0.0;
    };
    Operand FHR(std::string_view operandText, int position);

    /// The evidence of the fact records; nullptr when explanations are off.
    Evidence* evidence() { return evidence_.get(); }
    const Evidence* evidence() const { return evidence_.get(); }

    FactBase& facts() { return facts_; }
    KnowledgeBaseImage& image() { return image_; }
    ConsultationServices& services() { return services_; }
    const ConsultationConfig& config() const { return config_; }

    int SessionKey() const { return sessionKey_; }
    void SetSessionKey(int key) { sessionKey_ = key; }
    bool Ended() const { return sessionKey_ == kSessionEnd; }

    int ErrorLine() const { return errorLine_; }
    bool CheckFailed() const { return checkFailed_ != 0; }
    /// True once an error was reported (a failed program check included); the code of the last
    /// report, 0 for none, kStopErrorCode for a stop of our own (goal stack or image exhausted)
    /// and kInternalErrorCode for a task kind the program did not set up.
    bool ErrorReported() const { return lastErrorCode_ != 0; }
    int LastErrorCode() const { return lastErrorCode_; }
    int& ErrorRegister() { return errorRegister_; }

    bool RestartRequested() const { return restartRequested_; }
    void SetRestartRequested(bool restart) { restartRequested_ = restart; }

    int BreakpointLine() const { return breakpointLine_; }

    int Slot(TaskSlot slot) const { return aufgabenfeld_[static_cast<std::size_t>(slot)]; }
    void SetSlot(TaskSlot slot, int position) {
        aufgabenfeld_[static_cast<std::size_t>(slot)] = position;
    }

    /// Certainty of the rule concluded last (0 to 99).
    int RuleCertainty() const { return ruleCertainty_; }
    const std::string& TopGoal() const { return facts_.TopGoal(); }
    int GoalDepth() const { return static_cast<int>(goalStack_.size()); }

    /// The task block of slot 6.
    void Alle_Funktionen();
    /// Shows the text lines below `position` as pages; -1 shows nothing.
    void Anzeige_Texte_v_n(int position);
    /// The message of the tasks of old database programs.
    void Fehlermeldung_alte_Datenbank();
    /// The jump back of an "X" task.
    void Prog_Rueck();

    /// Ends the consultation because the image is full, when it is.
    bool StopIfImageFull();

  private:
    enum class PassResult { Concluded, Restart, Finished, Ended };

    /// The program check: the goal line, the use of the goal object, the order of line kinds.
    void Propruef();
    /// The consultation proper: preparation, rule passes, closing phase.
    void Starte();
    /// Matches the task copies to the fact at `factPosition` and sets the task slots.
    void Aufgaben(int factPosition);
    /// Runs the tasks of a new fact in the fixed order of the slots.
    void RunFactTasks();
    void Prepare();
    void BuildIndexes();
    PassResult RulePass();
    int NextRule(int s) const;
    bool AusstTimes(int calls);
    bool Suchen(bool pruefeRegel, int position);
    void FH(std::string_view line);
    void ClosingPhase();
    void RunTask(TaskSlot slot, int position);
    void PushGoal(const std::string& object);
    void ReportStop(std::string_view message, int position);
    void ReportInternalError(std::string_view message);
    /// In the programming module, asks whether to open the inspector at `position`.
    void OfferInspectorAfterReport(int position);
    void OpenInspector(InspectorReason why, int line);
    InspectorContext MakeInspectorContext();
    std::string Line(int position) const;
    char Kind(int position) const;

    KnowledgeBaseImage& image_;
    FactBase facts_;
    ConsultationConfig config_;
    ConsultationServices& services_;
    std::array<TaskRunner, kTaskSlotCount> runners_{};
    std::unique_ptr<Evidence> evidence_;  ///< only with ConsultationConfig::explain

    // Session window state.
    bool vorgangAbbrechen_ = false;
    bool sitzungImGange_ = false;
    bool imageFullReported_ = false;
    bool klauselGesp_ = false;
    int posRegel_ = 0;
    TaskSlots aufgabenfeld_{};

    // Consultation state.
    int sessionKey_ = kSessionRunning;
    int checkFailed_ = 0;
    int errorLine_ = 0;
    int errorRegister_ = 0;
    int lastErrorCode_ = 0;
    int breakpointLine_ = 0;
    bool restartRequested_ = false;
    PageRequest page_;
    PrintBuffer printBuffer_;

    // Registers of the rule search.
    std::string text_;
    std::string lineValue_;
    int lineCertainty_ = 0;
    char lineOperator_ = ' ';
    std::string conditionObject_;
    std::string conditionValue_;
    std::string conclusionName_;
    std::string conclusionValue_;
    char conclusionOperator_ = ' ';
    int ruleState_ = 0;
    int factCertainty_ = 0;
    int groupCertainty_ = 0;
    int ruleCertainty_ = 0;
    bool ruleFailed_ = false;
    std::string currentGoal_;
    std::vector<std::string> goalStack_;

    // The rules by the object they conclude (rule numbers) and the task copies by the object
    // they name (positions); empty in the Literal search mode.
    ObjectIndex rulesByObject_;
    ObjectIndex taskCopiesByObject_;
};

}  // namespace kelvo
