#include "tools/levels/ItemNames.h"

#include <algorithm>

bool ParseItems(const char* text, OptionFlags& items)
{
    items = OptionFlags{};
    std::string all = text;
    size_t start = 0;
    while (start <= all.size()) {
        const size_t end = std::min(all.find_first_of(",+", start), all.size());
        const std::string name = all.substr(start, end - start);
        if (name == "none")
            ;
        else if (name == "undo")
            items.Undo = true;
        else if (name == "preview-empty")
            items.PreviewEmpty = true;
        else if (name == "preview-occupied")
            items.PreviewOccupied = true;
        else if (name == "previews")
            items.PreviewEmpty = items.PreviewOccupied = true;
        else if (name == "auto-preview-empty")
            items.AutoPreviewEmpty = true;
        else if (name == "auto-preview-occupied")
            items.AutoPreviewOccupied = true;
        else if (name == "auto-previews")
            items.AutoPreviewEmpty = items.AutoPreviewOccupied = true;
        else
            return false;
        start = end + 1;
    }
    return true;
}

std::string ItemsName(const OptionFlags& items)
{
    std::string name;
    auto add = [&](const char* part) { name += (name.empty() ? "" : "+") + std::string(part); };
    if (items.PreviewEmpty && items.PreviewOccupied)
        add("previews");
    else if (items.PreviewEmpty)
        add("preview-empty");
    else if (items.PreviewOccupied)
        add("preview-occupied");
    if (items.AutoPreviewEmpty && items.AutoPreviewOccupied)
        add("auto-previews");
    else if (items.AutoPreviewEmpty)
        add("auto-preview-empty");
    else if (items.AutoPreviewOccupied)
        add("auto-preview-occupied");
    if (items.Undo)
        add("undo");
    return name.empty() ? "none" : name;
}
