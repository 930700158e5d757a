#pragma once
#include <cstdint>
#include <functional>
#include <string>

namespace tolvenk {

namespace forms {
class Control;
class Grid;
}  // namespace forms

// The four output buttons of the query windows: 0 Excel, 1 HTML, 2 XML (the
// grid asks where to save), 3 print preview. An export carries the caption as
// its title; with WithFooter the printed page carries it too, and the
// operator and time as footer; `pageDone` hears of each page as it is
// printed from the preview.
void Grid_Output(std::int16_t Index, forms::Grid& grid, bool WithFooter, const std::string& caption = {},
                 const std::string& opUserName = {}, const std::function<void(int page, int pages)>& pageDone = {});

// Key filter of the year boxes: the key code as text when its character is
// allowed (or a backspace where allowed), else a beep and "0", which cancels it.
std::string LimitNum(int Keyin, const std::string& ValibleStr, bool isBackspace);

// A grid's left column changed: the select-all box over column 1 shows only
// while column 1 can be seen.
void Grid1_Event31(int leftCol, forms::Control& CheckAll);

}  // namespace tolvenk
