#pragma once
#include <string>

namespace tolvenk {

namespace forms {
class Form;
}

// The exit button of every window: unloads it at once, asking nothing.
void Close_Window(forms::Form& window);

// Load step of the large windows: about 90 % of the screen in each direction.
void Fit_To_Screen(forms::Form& window);

// Resize step of the resizable windows: never smaller than 11600 x 8200 twips.
constexpr int MinWindowWidth = 11600;
constexpr int MinWindowHeight = 8200;
void Keep_Min_Size(forms::Form& window);

// Opens another window of the module modally and returns when it closes.
// False when no such window is built.
bool Open_Modal(const std::string& windowName);

// A settlement that did not finish has collapsed some cards' rows up to the
// date it was going to: balances and histories asked of days before it may be
// incomplete. Says so in one box when `dateAsked` ("yyyy-MM-dd"; "" for a
// whole history) lies before that date; false when nothing was said.
bool Warn_Unfinished_Settlement(const std::string& dateAsked);

// The day before the earliest New_Date of the live consumption terminals, as
// "yyyy-MM-dd"; "" when there is none. Read on Conn_Main.
std::string Get_First_Mach_Date();

}  // namespace tolvenk
