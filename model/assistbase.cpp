#include "model/assistbase.h"

#include "model/assistroot.h"
#include "model/signature.h"
#include "support/clock.h"
#include "support/textroutines.h"

void TAssistBase::AddToSignature(std::uint32_t& value) const {
    for (const std::string& line : Description)
        value = SignatureAdd(value, line);
    value = SignatureAdd(value, Caption);
    value = SignatureAdd(value, ID);
}

void TAssistBase::MarkChanged() {
    if (Root == nullptr || Root->IsLoading())
        return;
    Root->Changed = true;
    const std::chrono::year_month_day today = Today();
    Root->BuildDate =
        IntToStr(DateToNumber(static_cast<int>(today.year()), static_cast<unsigned>(today.month()),
                              static_cast<unsigned>(today.day())));
}
