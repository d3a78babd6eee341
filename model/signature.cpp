#include "model/signature.h"

#include "model/assistroot.h"
#include "support/textroutines.h"

std::uint32_t SignatureAdd(std::uint32_t value, std::string_view text) {
    // The counted characters of a text alternate between two feedback polynomials, starting with the
    // small one for every text.
    constexpr std::uint32_t polynomials[2] = {0xA7u, 0xC11DB7u};
    int toggle = 0;
    for (const char ch : text) {
        const std::uint32_t c = static_cast<unsigned char>(ch);
        std::uint32_t operand;
        if (c >= '0' && c <= '9')
            operand = c | 0xFFFFFF80u;
        else if (c >= 'A' && c <= 'Z')
            operand = c | 0x20u;
        else if (c >= 'a' && c <= 'z')
            operand = c;
        else
            continue; // blanks, punctuation, line breaks and bytes from 0x80 on do not count
        value ^= (operand & 0x00FFFFFFu) << 8;
        for (int bit = 0; bit < 8; ++bit)
            value = (value & 0x80000000u) ? (value << 1) ^ polynomials[toggle] : value << 1;
        toggle ^= 1;
    }
    return value;
}

void TAssistRoot::AddToSignature(std::uint32_t& value) const {
    TAssistBase::AddToSignature(value);
    for (const std::string* text :
         {&FirstScreen, &AuthorName, &AuthorID, &ModifierID, &BuildDate, &Version, &Copyright})
        value = SignatureAdd(value, *text);
}

std::uint32_t TAssistRoot::Signature() const {
    std::uint32_t value = 0;
    AddToSignature(value);
    return value;
}

void TAssistRoot::UpdateSignatures() {
    ModifierID = UserID;
    ModifierCode = Signature(); // after the line above, so the code covers the new modifier
    if (SameText(ModifierID, AuthorID))
        AuthorCode = ModifierCode;
}

bool TAssistRoot::AuthorSignatureChanged() const {
    return !AuthorID.empty() && Signature() != AuthorCode;
}

bool TAssistRoot::ModifierSignatureChanged() const {
    if (ModifierID.empty() || SameText(ModifierID, AuthorID))
        return false;
    return Signature() != ModifierCode;
}
