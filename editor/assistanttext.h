#pragma once
// The document text of an assistant as a save would write it, taken without changing the assistant:
// the Changed flag and the signature fields that writing updates keep their values.
#include <string>

class TAssistRoot;

std::string AssistantTextKeepingState(TAssistRoot& root);
