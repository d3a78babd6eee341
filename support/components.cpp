#include "support/components.h"

#include "support/error.h"

void Check(const ComponentStatus& status) {
    if (status.Ok)
        return;
    throw AppError(status.Message.empty() ? std::string("A component reported a failure without a message.")
                                          : status.Message);
}
