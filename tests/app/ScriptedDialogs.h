#pragma once
// Answers the game's message boxes in tests and remembers what they said.
#include "app/Dialogs.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

struct ScriptedDialogs : Dialogs {
    struct Box {
        std::string Kind; // "information", "error" or "confirm"
        std::string Text;
    };
    std::vector<Box> Shown;
    std::deque<bool> Answers; // for Confirm; No when empty
    // Runs while a box is open, to look at the window at that moment.
    std::function<void(const Box&)> WhileOpen;

    void Information(const std::string& text) override { Open({"information", text}); }
    void Error(const std::string& text) override { Open({"error", text}); }
    bool Confirm(const std::string& text) override
    {
        Open({"confirm", text});
        if (Answers.empty())
            return false;
        const bool yes = Answers.front();
        Answers.pop_front();
        return yes;
    }

    std::vector<std::string> Texts(const std::string& kind) const
    {
        std::vector<std::string> texts;
        for (const Box& box : Shown)
            if (box.Kind == kind)
                texts.push_back(box.Text);
        return texts;
    }

private:
    void Open(const Box& box)
    {
        Shown.push_back(box);
        if (WhileOpen)
            WhileOpen(box);
    }
};
