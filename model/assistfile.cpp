// Writing and reading the model's items as elements of an assistant file (.amf), and the save and
// open operations of the assistant.
//
// Layout of a file (names are upper case; elements may come in any order when read):
//   ASSISTANT NAME VERSION BACKWARDS
//     AUTHOR NAME CODE (text: author name)   MODIFIER NAME CODE
//     BUILDDATE  VERSION  COPYRIGHT  FIRST  CAPTION  DESCRIPTION*  SCREEN*
//   SCREEN NAME:  CAPTION  IMAGE  DESCRIPTION*  OPTION*
//   OPTION NAME:  CAPTION  DESCRIPTION*  SCRIPT (lines separated by empty P elements)
//                 ACTION TYPE COMMAND  NOTES* (NAME TYPE ID, text: the note)
//
// Reading is a flat loop in every item over the tag reader's steps, so no input nests our own calls
// deeper than assistant > screen > option > note, whatever the depth of the document.
#include "model/assistroot.h"
#include "model/documentprompts.h"
#include "model/fileformat.h"
#include "support/error.h"
#include "support/savetextfile.h"
#include "support/textroutines.h"
#include "tagfile/xmltagfilein.h"
#include "tagfile/xmltagfileout.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <istream>
#include <memory>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// The file format this program writes, and the oldest format version that can read what it writes.
constexpr int kFormatVersion = 1;
constexpr int kBackwardsVersion = 0;

TAssistFileLimits& Limits() {
    static TAssistFileLimits limits;
    return limits;
}

bool IsBlankOrControl(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

std::string_view TrimView(std::string_view text) {
    std::size_t b = 0, e = text.size();
    while (b < e && IsBlankOrControl(text[b]))
        ++b;
    while (e > b && IsBlankOrControl(text[e - 1]))
        --e;
    return text.substr(b, e - b);
}

std::string_view TrimRightView(std::string_view text) {
    std::size_t e = text.size();
    while (e > 0 && IsBlankOrControl(text[e - 1]))
        --e;
    return text.substr(0, e);
}

// Removes the blanks and control characters at both ends of the text, keeping its storage.
void TrimInPlace(std::string& text) {
    const std::string_view trimmed = TrimView(text);
    if (trimmed.size() != text.size()) {
        const std::size_t start = static_cast<std::size_t>(trimmed.data() - text.data());
        text.resize(start + trimmed.size());
        text.erase(0, start);
    }
}

// Cuts the part before the first CR off `rest` (the CR is dropped; without a CR the whole rest is
// taken). Works on views so that a script of many lines is split in linear time.
std::string_view CutLine(std::string_view& rest) {
    const std::size_t cr = rest.find('\r');
    std::string_view line = rest.substr(0, cr);
    rest = cr == std::string_view::npos ? std::string_view() : rest.substr(cr + 1);
    return line;
}

// A CODE attribute: read as a 64-bit integer (text that is not a number gives 0) and cut to its low
// 32 bits, so every value the writer produces (0 to 4294967295) comes back unchanged.
std::uint32_t ReadCode(const TXMLTagFileIn& in) {
    return static_cast<std::uint32_t>(StrToInt64Def(in.AttributeView("CODE"), 0));
}

// Reads the content of an item's element: `handle` is called with the name of each element that
// starts directly inside it, and must read that element up to and including its end. Returns at the
// item's own end (or when the reader has nothing more); text or any other step where an element is
// expected raises [AS023] naming it.
template <typename Handler> void ReadChildren(TXMLTagFileIn& in, Handler&& handle) {
    std::string_view name; // views the reader's text: nothing is copied per step
    while (!in.AtEnd()) {
        const TTagKind kind = in.Next(name);
        if (kind == tkStart)
            handle(name);
        else if (kind == tkEnd)
            return;
        else
            ThrowUnexpectedElement(name);
    }
}

// Appends a DESCRIPTION element's text, trimmed, as one line.
void ReadDescriptionLine(TXMLTagFileIn& in, std::vector<std::string>& description) {
    std::string text = ReadText(in);
    TrimInPlace(text);
    // Most descriptions have a line or two: room for two at the first line spares a reallocation.
    if (description.empty())
        description.reserve(2);
    description.push_back(std::move(text));
}

[[noreturn]] void ThrowFileError(const char* what, const std::string& fileName, int err) {
    throw AppError(std::string(what) + " file \"" + fileName + "\": " + std::strerror(err) + ".");
}

[[noreturn]] void ThrowTooLarge(const std::string& fileName, std::uint64_t size, bool sizeKnown) {
    const std::string limit = UIntToStr(Limits().MaxFileBytes);
    throw AppError("The file \"" + fileName + "\" is too large to be an assistant (" +
                   (sizeKnown ? UIntToStr(size) : "more than " + limit) + " bytes; the limit is " + limit +
                   " bytes).");
}

// Reads everything `read` delivers into a text and calls `tooLarge` as soon as more than `limit` bytes
// have arrived: the text never holds more than the limit. The expected bytes are read straight into the
// text, with room for one more byte (the end mark the tag reader adds); whatever comes beyond them (all
// of a stream of unknown size) comes in blocks and is appended, so that a text growing from nothing is
// never filled with zeros first only to be overwritten.
template <typename ReadFn, typename TooLargeFn>
std::string ReadLimited(std::uint64_t limit, std::size_t expected, ReadFn&& read, TooLargeFn&& tooLarge) {
    std::string data;
    if (expected > limit)
        tooLarge();
    data.reserve(expected + 1);
    data.resize(expected);
    for (std::size_t size = 0; size < expected;) {
        const std::size_t n = read(data.data() + size, expected - size);
        if (n == 0) {
            data.resize(size); // shorter than announced
            return data;
        }
        size += n;
    }
    constexpr std::size_t kBlock = 1 << 16;
    const auto block = std::make_unique_for_overwrite<char[]>(kBlock);
    for (;;) {
        const std::size_t n = read(block.get(), kBlock);
        if (n == 0)
            break;
        if (n > limit - data.size())
            tooLarge();
        data.append(block.get(), n);
    }
    return data;
}

// The whole content of a file, refused before reading when it is larger than the limit.
std::string ReadWholeFile(const std::string& fileName) {
    const int fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        ThrowFileError("Cannot open", fileName, errno);
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        ThrowFileError("Cannot open", fileName, errno);
    if (S_ISDIR(st.st_mode))
        ThrowFileError("Cannot open", fileName, EISDIR);
    const std::uint64_t limit = Limits().MaxFileBytes;
    const bool regular = S_ISREG(st.st_mode);
    if (regular && static_cast<std::uint64_t>(st.st_size) > limit)
        ThrowTooLarge(fileName, static_cast<std::uint64_t>(st.st_size), true);
    // A device or pipe reports no size; it is read with the same limit.
    return ReadLimited(
        limit, regular ? static_cast<std::size_t>(st.st_size) : 0,
        [&](char* buffer, std::size_t room) -> std::size_t {
            for (;;) {
                const ssize_t n = ::read(fd, buffer, room);
                if (n >= 0)
                    return static_cast<std::size_t>(n);
                if (errno != EINTR)
                    ThrowFileError("Cannot read", fileName, errno);
            }
        },
        [&] { ThrowTooLarge(fileName, 0, false); });
}

std::string FolderOf(const std::string& fileName) {
    return std::filesystem::path(fileName).parent_path().string();
}

// The reader takes the bytes over and parses them where they are.
void ReadAssistantBytes(TAssistRoot& root, std::string&& data) {
    TXMLTagFileIn reader(std::move(data));
    root.ReadDocument(reader);
}

} // namespace

std::string WithAmfExtension(const std::string& fileName) {
    return std::filesystem::path(fileName).replace_extension(".amf").string();
}

// ---- Shared routines

void WriteTextElement(TTagDomOut& out, std::string_view name, std::string_view text) {
    if (!text.empty())
        out.TextElement(name, text);
}

std::string ReadText(TXMLTagFileIn& in) {
    std::string result;
    std::string_view step; // views the reader's text: each piece is copied once, into the result
    while (!in.AtEnd()) {
        const TTagKind kind = in.Next(step);
        switch (kind) {
        case tkEnd:
            return result;
        case tkText: {
            const std::size_t from = result.size();
            result += step;
            // Line feeds are rare in element text, and the reader tells which texts hold one.
            if (in.LastTextHasLineFeed())
                std::replace(result.begin() + static_cast<std::ptrdiff_t>(from), result.end(), '\n', ' ');
            break;
        }
        case tkStart: {
            if (step != "P")
                ThrowUnexpectedTag(step);
            result += '\r';
            // A line break is an empty P. Content inside it is refused rather than passed over:
            // passing over it would take P's end for the end of the text and misread all that follows.
            const TTagKind inner = in.Next(step);
            if (inner == tkStart)
                ThrowUnexpectedTag(step);
            if (inner != tkEnd)
                ThrowUnexpectedTag("P");
            break;
        }
        default:
            ThrowUnexpectedElement(step);
        }
    }
    return result;
}

void ThrowUnexpectedTag(std::string_view name) {
    throw AppError("[AS022] Unexpected tag \"" + std::string(name) + "\" in assistant stream.");
}

void ThrowUnexpectedElement(std::string_view name) {
    throw AppError("[AS023] Unexpected element \"" + std::string(name) + "\" in assistant stream.");
}

TAssistFileLimits AssistFileLimits() {
    return Limits();
}

TAssistFileLimits SetAssistFileLimits(TAssistFileLimits limits) {
    const TAssistFileLimits before = Limits();
    Limits() = limits;
    return before;
}

void TAssistBase::WriteDescription(TTagDomOut& out) const {
    for (const std::string& line : Description) {
        const std::string_view trimmed = TrimView(line);
        if (!trimmed.empty())
            out.TextElement("DESCRIPTION", trimmed);
    }
}

// ---- The assistant

std::string TAssistRoot::SaveToText() {
    TXMLTagFileOut out;
    WriteTags(out);
    Changed = false;
    return out.Finish();
}

bool TAssistRoot::SaveToFile(bool askForName, IDocumentPrompts& prompts) {
    const std::string nameBefore = FileName;
    if (askForName || FileName.empty()) {
        TFileDialogRequest request;
        request.ForSave = true;
        request.Title = "Save assistant definition";
        request.InitialFolder = FileName.empty() ? prompts.ProgramFolder() : FolderOf(FileName);
        request.ProposedName = FileName;
        std::optional<std::string> chosen = prompts.AskFileName(request);
        if (!chosen)
            return false;
        FileName = std::move(*chosen);
    }
    // The file written has the extension .amf whatever the name. When that is another file than the
    // one named (notes.xml opened, or plan.v2 chosen), the dialog's own question about replacing
    // covered the name, not the file written, so an existing file is not replaced without asking;
    // once the assistant has saved there, later saves go on without the question.
    const std::string target = WithAmfExtension(FileName);
    std::error_code unknown; // a file that cannot even be looked at is left to the write to report
    if (target != FileName && target != m_writtenFile && std::filesystem::exists(target, unknown) &&
        !prompts.AskReplace("Saving writes the assistant to the file " + target +
                            ", which already exists.\r\rDo you want to replace it?")) {
        FileName = nameBefore;
        return false;
    }
    // The text is built completely before the file is touched, and the file is replaced in one step,
    // so a failure at any point leaves the previous file as it was. Changed and the file name then keep
    // their values from before the save: the changes are not on disk, and a name chosen for a file that
    // was never written would send the next Save there rather than to the file the assistant came from.
    const bool changedBefore = Changed;
    try {
        const std::string text = SaveToText();
        SaveTextToFile(text, target);
    } catch (...) {
        Changed = changedBefore;
        FileName = nameBefore;
        throw;
    }
    m_writtenFile = target;
    return true;
}

bool TAssistRoot::LoadFromFile(bool askForName, IDocumentPrompts& prompts) {
    if (Changed) {
        switch (prompts.AskSaveFirst("Existing information not saved. Would you like to save it first?")) {
        case TSaveFirstAnswer::Cancel:
            return false;
        case TSaveFirstAnswer::Yes:
            // Without a file name this asks for one; cancelling that keeps the unsaved changes and
            // stops here rather than reading over them.
            if (!SaveToFile(false, prompts))
                return false;
            break;
        case TSaveFirstAnswer::No:
            break;
        }
    }
    if (askForName || FileName.empty()) {
        TFileDialogRequest request;
        request.ForSave = false;
        request.Title = "Load assistant definition";
        request.InitialFolder = FileName.empty() ? prompts.ProgramFolder() : FolderOf(FileName);
        request.ProposedName = FileName;
        request.DefaultExtension = "amf";
        std::optional<std::string> chosen = prompts.AskFileName(request);
        if (!chosen)
            return false;
        FileName = std::move(*chosen);
    }
    // The whole file is read into memory at once and closed before it is parsed.
    m_writtenFile.clear();
    ReadAssistantBytes(*this, ReadWholeFile(FileName));
    return true;
}

void TAssistRoot::LoadFromStream(std::istream& in) {
    const std::uint64_t limit = Limits().MaxFileBytes;
    const auto tooLarge = [limit] {
        throw AppError("The assistant stream is too large (more than " + UIntToStr(limit) +
                       " bytes; the limit is " + UIntToStr(limit) + " bytes).");
    };
    std::streambuf* buffer = in.rdbuf();
    // A stream that can seek tells its size, so that it is refused at once when too large and read
    // into a buffer of the right size; any other stream is read with the same limit.
    std::size_t expected = 0;
    if (buffer) {
        const std::streampos here = buffer->pubseekoff(0, std::ios::cur, std::ios::in);
        const std::streampos end =
            here == std::streampos(-1) ? here : buffer->pubseekoff(0, std::ios::end, std::ios::in);
        if (end != std::streampos(-1) && buffer->pubseekpos(here, std::ios::in) == here && end >= here) {
            const auto remaining = static_cast<std::uint64_t>(end - here);
            if (remaining > limit)
                tooLarge();
            expected = static_cast<std::size_t>(remaining);
        }
    }
    std::string data = ReadLimited(
        limit, expected,
        [&](char* target, std::size_t room) -> std::size_t {
            return buffer
                       ? static_cast<std::size_t>(buffer->sgetn(target, static_cast<std::streamsize>(room)))
                       : 0;
        },
        tooLarge);
    ReadAssistantBytes(*this, std::move(data));
}

void TAssistRoot::ReadDocument(TXMLTagFileIn& in) {
    std::string_view name;
    if (in.Next(name) != tkStart) {
        // A refusal for a character says where that character stands.
        std::string message = "[AS021] Assistant stream does not contain valid XML.";
        if (!in.Problem().empty())
            message += " " + in.Problem();
        throw AppError(message);
    }
    if (name != "ASSISTANT")
        ThrowUnexpectedTag(name);
    const std::string id = in.Attribute("NAME");
    const std::string version = in.Attribute("VERSION");
    if (StrToIntDef(version, 0) < 0)
        throw AppError("[AS025] Incompatible file version; file is \"" + version + "\", program is \"" +
                       IntToStr(kFormatVersion) + "\", only backward compatible to \"" +
                       IntToStr(kBackwardsVersion) + "\".");
    const std::string backwards = in.Attribute("BACKWARDS");
    if (StrToIntDef(backwards, 0) > kFormatVersion)
        throw AppError("[AS026] Incompatible file version; file is backward compatible with \"" + backwards +
                       "\", but program is only version \"" + IntToStr(kFormatVersion) + "\".");
    ReadTags(id, in);
    // The assistant's end must be the document's end; anything left would otherwise be lost unseen.
    if (!in.AtEnd()) {
        in.Next(name);
        ThrowUnexpectedElement(name);
    }
    Changed = false;
}

void TAssistRoot::CountItemRead() {
    if (++m_itemsRead > Limits().MaxItems)
        throw AppError("Reading stopped: the assistant has more than " + UIntToStr(Limits().MaxItems) +
                       " screens, options and notes.");
}

void TAssistRoot::WriteTags(TTagDomOut& out) {
    UpdateSignatures();
    const std::string version = IntToStr(kFormatVersion);
    const std::string backwards = IntToStr(kBackwardsVersion);
    // An assistant without an ID is written without NAME rather than without its root element, so the
    // result is still a valid document; it reads back with an empty ID, which the structure check
    // reports.
    if (ID.empty())
        out.StartElement("ASSISTANT", {{"VERSION", version}, {"BACKWARDS", backwards}});
    else
        out.StartElement("ASSISTANT", {{"NAME", ID}, {"VERSION", version}, {"BACKWARDS", backwards}});
    out.TextElement("AUTHOR", {{"NAME", AuthorID}, {"CODE", UIntToStr(AuthorCode)}}, AuthorName);
    out.TextElement("MODIFIER", {{"NAME", ModifierID}, {"CODE", UIntToStr(ModifierCode)}}, {});
    WriteTextElement(out, "BUILDDATE", BuildDate);
    WriteTextElement(out, "VERSION", Version);
    WriteTextElement(out, "COPYRIGHT", Copyright);
    WriteTextElement(out, "FIRST", FirstScreen);
    WriteTextElement(out, "CAPTION", Caption);
    WriteDescription(out);
    for (TAssistScreen& screen : Screens)
        screen.WriteTags(out);
    out.EndElement();
}

void TAssistRoot::ReadTags(const std::string& id, TXMLTagFileIn& in) {
    LoadingScope loading(*this);
    m_itemsRead = 0;
    ID = id;
    Caption.clear();
    Description.clear();
    FirstScreen.clear();
    AuthorName.clear();
    BuildDate.clear();
    Copyright.clear();
    Version.clear();
    AuthorID.clear();
    ModifierID.clear();
    AuthorCode = 0;
    ModifierCode = 0;
    // FileName, UserID and the screens already present stay: the file's screens are added after them.
    ReadChildren(in, [&](std::string_view name) {
        if (name == "CAPTION") {
            Caption = ReadText(in);
        } else if (name == "AUTHOR") {
            AuthorCode = ReadCode(in);
            AuthorID = in.AttributeView("NAME");
            AuthorName = ReadText(in);
        } else if (name == "MODIFIER") {
            ModifierCode = ReadCode(in);
            ModifierID = in.AttributeView("NAME");
            ReadText(in);
        } else if (name == "BUILDDATE") {
            BuildDate = ReadText(in);
        } else if (name == "VERSION") {
            Version = ReadText(in);
        } else if (name == "COPYRIGHT") {
            Copyright = ReadText(in);
        } else if (name == "FIRST") {
            FirstScreen = ReadText(in);
        } else if (name == "DESCRIPTION") {
            ReadDescriptionLine(in, Description);
        } else if (name == "SCREEN") {
            CountItemRead();
            TAssistScreen* screen = TAssistScreen::Create(*this);
            screen->ReadTags(in.Attribute("NAME"), in);
        } else {
            ThrowUnexpectedTag(name);
        }
    });
}

// ---- Screens

void TAssistScreen::WriteTags(TTagDomOut& out) {
    if (ID.empty())
        out.StartElement("SCREEN");
    else
        out.StartElement("SCREEN", {{"NAME", ID}});
    WriteTextElement(out, "CAPTION", Caption);
    WriteTextElement(out, "IMAGE", Image);
    WriteDescription(out);
    for (TAssistOption& option : Options)
        option.WriteTags(out);
    out.EndElement();
}

void TAssistScreen::ReadTags(const std::string& id, TXMLTagFileIn& in) {
    // Options made here get no generated ID (the file's ID is set at once), so each costs constant time.
    TAssistRoot::LoadingScope loading(*Root);
    ID = id;
    Caption.clear();
    Description.clear();
    Image.clear();
    ReadChildren(in, [&](std::string_view name) {
        if (name == "CAPTION") {
            Caption = ReadText(in);
        } else if (name == "DESCRIPTION") {
            ReadDescriptionLine(in, Description);
        } else if (name == "IMAGE") {
            Image = ReadText(in);
        } else if (name == "OPTION") {
            Root->CountItemRead();
            TAssistOption* option = TAssistOption::Create(*this);
            option->ReadTags(in.Attribute("NAME"), in);
        } else {
            ThrowUnexpectedTag(name);
        }
    });
}

// ---- Options

void TAssistOption::WriteTags(TTagDomOut& out) {
    out.StartElement("OPTION", {{"NAME", ID}});
    WriteTextElement(out, "CAPTION", Caption);
    WriteDescription(out);
    if (!Script.empty()) {
        // Lines are written as text pieces with one empty P between two lines; lines that are empty
        // after trimming are dropped.
        out.StartElement("SCRIPT");
        std::string_view rest = TrimView(Script);
        while (!rest.empty()) {
            const std::string_view line = TrimView(CutLine(rest));
            if (!line.empty()) {
                out.Characters(line);
                if (!rest.empty()) {
                    out.StartElement("P");
                    out.EndElement();
                }
            }
        }
        out.EndElement();
    }
    out.TextElement("ACTION", {{"TYPE", ActionKeyword(Action)}, {"COMMAND", Command}}, {});
    for (const TNote& note : Notes)
        note.WriteTags(out);
    out.EndElement();
}

void TAssistOption::ReadTags(const std::string& id, TXMLTagFileIn& in) {
    ID = id;
    Caption.clear();
    Command.clear();
    Description.clear();
    Notes.Clear();
    Action = akGoto;
    ReadChildren(in, [&](std::string_view name) {
        if (name == "CAPTION") {
            Caption = ReadText(in);
        } else if (name == "DESCRIPTION") {
            ReadDescriptionLine(in, Description);
        } else if (name == "SCRIPT") {
            // Each line trimmed and ended by one CR; the CRs and blanks at the very end removed. Empty
            // lines inside the script stay as consecutive CRs. The lines are moved forward within the
            // text itself: a trimmed line and its CR never take more room than the line and the CR that
            // ended it. The last line has no CR after it, so it gets none (the final trim would remove it).
            std::string text = ReadText(in);
            std::string_view rest = TrimView(text);
            std::size_t length = 0;
            while (!rest.empty()) {
                const std::string_view line = TrimView(CutLine(rest));
                std::memmove(text.data() + length, line.data(), line.size());
                length += line.size();
                if (!rest.empty())
                    text[length++] = '\r';
            }
            text.resize(TrimRightView(std::string_view(text).substr(0, length)).size());
            Script = std::move(text);
        } else if (name == "ACTION") {
            // The keyword must match exactly; an unknown one leaves the action as it was.
            if (const std::optional<TActionKind> kind = ActionKindFromKeyword(in.AttributeView("TYPE")))
                Action = *kind;
            Command = in.AttributeView("COMMAND");
            ReadText(in);
        } else if (name == "NOTES") {
            if (Root)
                Root->CountItemRead();
            Notes.Add()->ReadTags(in);
        } else {
            ThrowUnexpectedTag(name);
        }
    });
}

// ---- Notes

void TNote::WriteTags(TTagDomOut& out) const {
    out.TextElement("NOTES", {{"NAME", Name}, {"TYPE", Type}, {"ID", ID}}, Text);
}

void TNote::ReadTags(TXMLTagFileIn& in) {
    Name = in.AttributeView("NAME");
    ID = in.AttributeView("ID");
    Type = in.AttributeView("TYPE");
    // Text pieces are joined with one blank and the whole trimmed at both ends. After the first piece
    // the text is already trimmed, so each later piece is appended in place (linear in the text).
    bool first = true;
    std::string_view step;
    while (!in.AtEnd()) {
        const TTagKind kind = in.Next(step);
        if (kind == tkEnd)
            return;
        if (kind == tkStart) {
            // An element inside a note is refused: passing over its start would take its end for the
            // note's end and silently lose everything after it.
            ThrowUnexpectedTag(step);
        }
        if (kind != tkText)
            continue;
        if (first) {
            // The note's text so far and the piece, joined with a blank and trimmed.
            if (Text.empty()) {
                Text = TrimView(step);
            } else {
                Text += ' ';
                Text += step;
                TrimInPlace(Text);
            }
            first = false;
            continue;
        }
        const std::string_view piece = TrimRightView(step);
        if (piece.empty())
            continue;
        if (Text.empty()) {
            Text = TrimView(piece);
        } else {
            Text += ' ';
            Text += piece;
        }
    }
}
