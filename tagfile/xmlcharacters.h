#pragma once
// What the XML parser is never asked to judge: the encoding of the bytes, and whether every character
// of the document, written as it stands or as a character reference, is one that XML 1.0 allows.
//
// The parser takes the encoding it is told and decodes without complaint what is not text in it (bytes
// that are not UTF-8 pass into names and texts unchanged, an unpaired UTF-16 surrogate vanishes), and it
// decodes a character reference to any number at all. A document that holds such a thing is not XML,
// and reading it would change its texts without a word (a later save writes them otherwise), so it is
// refused before the parser sees it, with where the fault stands.
#include <cstddef>
#include <string>
#include <string_view>

// The encodings the reader accepts, as the first bytes and the XML declaration tell.
enum class TXmlEncoding { Utf8, Utf16Le, Utf16Be, Utf32Le, Utf32Be, Latin1 };

// The encoding of a document: a byte-order mark, else the pattern of NUL bytes around the first '<'
// (UTF-16 and UTF-32 without a mark), else Latin-1 when the declaration names ISO-8859-1 or latin1,
// else UTF-8.
TXmlEncoding DetectXmlEncoding(std::string_view bytes);

// The name of the encoding as messages give it ("UTF-8", "UTF-16LE", ...).
const char* XmlEncodingName(TXmlEncoding encoding);

// The outcome of CheckXmlCharacters.
struct TXmlCharacterCheck {
    bool Valid = true;
    // When not valid: a sentence saying what stands where (byte offset and line), or an empty text when
    // the fault has no place worth naming (an XML declaration that is not at the start of the document).
    std::string Where;
};

// Checks that the bytes are text in the encoding and that every character is one XML 1.0 allows (TAB,
// LF, CR, U+0020 to U+D7FF, U+E000 to U+FFFD, U+10000 to U+10FFFF), also where a character reference
// stands for it (in element text, attribute values and the document type; comments, CDATA sections
// and processing instructions hold no references). A reference is read as the parser reads it: "&#x"
// and hexadecimal digits or "&#" and decimal digits, then ';', its value taken modulo 2^32. An XML
// declaration anywhere but at the start of the document is refused too.
TXmlCharacterCheck CheckXmlCharacters(std::string_view bytes, TXmlEncoding encoding);
