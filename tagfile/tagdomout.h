#pragma once
// The tag writer: writes a document as a stream of nested elements with attributes and text.
// It builds the XML text itself into a string, escaping what XML requires, indenting elements
// that hold only elements one per line and writing the content of elements that hold text
// ("mixed" elements) exactly as given, without adding any white space to it.
//
// Text and attribute values are UTF-8. Whatever could make the output ill-formed is repaired:
// invalid UTF-8 sequences become U+FFFD, and characters XML 1.0 does not allow (control
// characters other than TAB, LF and CR, and U+FFFE/U+FFFF) are dropped. A misuse that cannot be
// repaired (an invalid name, ending an element that is not open, a second root element, writing
// after the document ended) throws AppError.
#include <cstddef>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// One attribute to write: its name and its value, both written as given (the value escaped).
struct TTagAttr {
    std::string_view Name;
    std::string_view Value;
};

class TTagDomOut {
public:
    TTagDomOut(const TTagDomOut&) = delete;
    TTagDomOut& operator=(const TTagDomOut&) = delete;
    virtual ~TTagDomOut() = default;

    // Starts an element without attributes / with the attributes in the order given.
    void StartElement(std::string_view name);
    void StartElement(std::string_view name, std::initializer_list<TTagAttr> attributes);
    void StartElement(std::string_view name, std::span<const TTagAttr> attributes);

    // Ends the most recently started element that is still open.
    void EndElement();

    // Writes character content into the open element; an empty text writes nothing.
    void Characters(std::string_view text);

    // StartElement, Characters(text), EndElement; an empty text gives an empty element.
    void TextElement(std::string_view name, std::string_view text);
    void TextElement(std::string_view name, std::initializer_list<TTagAttr> attributes,
                     std::string_view text);
    void TextElement(std::string_view name, std::span<const TTagAttr> attributes, std::string_view text);

    // Number of elements started and not yet ended.
    std::size_t Depth() const { return m_depth; }

protected:
    TTagDomOut() = default;

    // Writes the XML declaration; called once before anything else.
    void StartDocument();
    // Ends every element still open and the document; later writes throw. Safe to call twice.
    void EndDocument();
    bool DocumentEnded() const { return m_ended; }
    std::string& Output() { return m_out; }

private:
    struct OpenElement {
        std::string Name;
        bool Inline = false;      // content is written exactly as given, without indentation
        bool HasChildren = false; // an element has been started inside it
    };

    void CheckWritable() const;
    void CloseStartTag();
    void NewLine(std::size_t depth);

    std::string m_out;
    // Open elements, most recent last; entries beyond m_depth are kept so their names' storage is reused.
    std::vector<OpenElement> m_open;
    std::size_t m_depth = 0;
    bool m_startTagOpen = false; // the '>' of the most recent start tag is not written yet
    bool m_rootWritten = false;
    bool m_ended = false;
};
