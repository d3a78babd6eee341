#pragma once
// Interfaces of the outside components: the HTML report writer, report support, the report viewer,
// the assistant runtime, the file finder and the About box. The editor and the model talk to these
// interfaces only; a factory creates the objects, so tests and the editor can put recording or failing
// stand-ins in place of the real ones.
//
// Every operation returns a ComponentStatus. Callers test each status at once with Check(), which turns
// a failure into an AppError carrying the component's message. Text is UTF-8 throughout.
#include <memory>
#include <string>

class QWidget; // owner windows are passed through; the core never looks inside them

// Result of one component call: ok, or a failure with the component's message.
struct [[nodiscard]] ComponentStatus {
    bool Ok = true;
    std::string Message;

    static ComponentStatus Success() { return {}; }
    static ComponentStatus Failure(std::string message) { return {false, std::move(message)}; }
};

// Raises AppError with the component's message when the status is a failure; does nothing otherwise.
// A failure without a message gets a generic one, so the user never sees an empty error box.
void Check(const ComponentStatus& status);

// Flags of IFindFile::LocateFile: where a relative name is looked for.
constexpr int kFindInCurrentFolder = 1;                                   // the process's current folder
constexpr int kFindInProgramFolder = 8;                                   // the folder of the running program
constexpr int kFindDefault = kFindInCurrentFolder | kFindInProgramFolder; // 9: what the editor passes

// Mode of IAssistant::Run used by the editor: show the assistant owned by the given window.
constexpr int kRunShowOwned = 2;

// Writes a report as a sequence of sections, tables, rows, cells, text runs and a few raw tags.
class IHTMLReport {
public:
    virtual ~IHTMLReport() = default;
    // The whole text written so far, with every element that is still open closed.
    virtual ComponentStatus GetReportText(std::string& text) = 0;
    // A complete value cell holding plain text.
    virtual ComponentStatus AddCell(const std::string& text) = 0;
    // Opens a value cell whose content follows as further calls.
    virtual ComponentStatus BeginCell() = 0;
    virtual ComponentStatus EndCell() = 0;
    // The label cell that starts a row; n is a layout hint (the editor passes 0).
    virtual ComponentStatus AddLabelCell(const std::string& text, int n) = 0;
    virtual ComponentStatus EndRow() = 0;
    virtual ComponentStatus BeginRow() = 0;
    virtual ComponentStatus EndTable() = 0;
    // Opens a table; a and b are layout hints (the editor passes 0 and -1).
    virtual ComponentStatus BeginTable(int a, int b) = 0;
    // A markup tag given without its angle brackets, for example "BR" or `a href="#S1"`.
    virtual ComponentStatus AddTag(const std::string& tag) = 0;
    // A run of plain text.
    virtual ComponentStatus AddText(const std::string& text) = 0;
    // Opens a titled section; sections nest.
    virtual ComponentStatus BeginSection(const std::string& title) = 0;
    // Closes the innermost section.
    virtual ComponentStatus EndSection() = 0;
};

// Completes a report: a footer text to append, and the preparation of the text for the viewer.
class IReportSupport {
public:
    virtual ~IReportSupport() = default;
    // Turns the complete report text and its title into the value that the viewer is given unchanged.
    virtual ComponentStatus PrepareReport(const std::string& text, const std::string& title,
                                          std::string& result) = 0;
    // A text that the caller appends to the report text.
    virtual ComponentStatus GetSupportText(std::string& text) = 0;
};

// Shows a prepared report to the user, in a window owned by the owner window.
class IReportViewer {
public:
    virtual ~IReportViewer() = default;
    virtual ComponentStatus ShowReport(QWidget* owner, const std::string& title, const std::string& prepared,
                                       int n) = 0;
};

// The assistant runtime: loads an assistant and shows it to the user.
class IAssistant {
public:
    virtual ~IAssistant() = default;
    // The run starts at this screen instead of the assistant's own first screen.
    virtual ComponentStatus SetInitialScreen(const std::string& id) = 0;
    // Loads an assistant file; an empty name lets the runtime ask the user for one.
    virtual ComponentStatus LoadAssistantFile(const std::string& name, std::string& result) = 0;
    // Loads an assistant given as its complete file text.
    virtual ComponentStatus LoadAssistantText(const std::string& text) = 0;
    virtual ComponentStatus Run(QWidget* owner, int mode) = 0;
};

// Resolves a name as typed by the user, possibly starting with a "{$...}" folder code.
class IFindFile {
public:
    virtual ~IFindFile() = default;
    // The absolute path of an existing file for the name, or an empty text when there is none.
    virtual ComponentStatus LocateFile(const std::string& name, int flags, std::string& path) = 0;
};

// Shows the About box of a program module.
class ICDSupport {
public:
    virtual ~ICDSupport() = default;
    // module: the program file whose version record is shown (empty: the running program).
    virtual ComponentStatus ShowAbout(QWidget* owner, const std::string& module, int n) = 0;
};

// Creates the components. Each call gives a new object owned by the caller, or raises AppError with a
// clear message when the component cannot be created (not available, no display, ...).
class IComponentFactory {
public:
    virtual ~IComponentFactory() = default;
    virtual std::unique_ptr<IHTMLReport> CreateHTMLReport() = 0;
    virtual std::unique_ptr<IReportSupport> CreateReportSupport() = 0;
    virtual std::unique_ptr<IReportViewer> CreateReportViewer() = 0;
    virtual std::unique_ptr<IAssistant> CreateAssistant() = 0;
    virtual std::unique_ptr<IFindFile> CreateFindFile() = 0;
    virtual std::unique_ptr<ICDSupport> CreateCDSupport() = 0;
};
