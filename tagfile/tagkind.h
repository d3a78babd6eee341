#pragma once
// The kind of one read step of the tag reader: an element start or end, a text, the end of the
// document, or a node the reader does not know.

enum TTagKind : int {
    tkStart = 0,         // an element starts; the name is its tag name, its attributes are loaded
    tkEnd = 1,           // an element ends; the name is its tag name, the attributes are unchanged
    tkText = 2,          // text content; the name holds the text itself
    tkEndOfDocument = 3, // nothing more to read; the name is empty
    tkUnknown = 4,       // a node of no known kind; the name is empty
};
