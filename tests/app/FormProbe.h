#pragma once
// The window tests and the screen benchmarks look inside the window through this.
#include "app/Form1.h"

struct FormProbe {
    static Profile& ProfileOf(TForm1& form) { return form.PlayerProfile; }
    static Board& BoardOf(TForm1& form) { return form.GameBoard; }
    static const LevelTable& TableOf(TForm1& form) { return form.Table; }
    static BoardScene& SceneOf(TForm1& form) { return form.Scene; }
};
