#pragma once
// The shop's items by the names the level tool's --items takes and prints.
#include "model/PlayRules.h"

#include <string>

// The items named in a text such as "undo,auto-preview-empty" ("none" for no
// item, "previews" for both PREVIEWs, "auto-previews" for both AUTO-PREVIEWs).
// False for an unknown name.
bool ParseItems(const char* text, OptionFlags& items);
// The same names back, shortest first: "none", "previews", "auto-previews+undo", …
std::string ItemsName(const OptionFlags& items);
