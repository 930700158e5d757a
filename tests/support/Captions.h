#pragma once
// Captions shown whole: the check every window's tests make in each language.
#include <functional>
#include <string>
#include <vector>

#include "platform/forms/Form.h"

namespace tolvenk::test {

// The captions of labels, buttons, tick boxes, options and titled frames
// that are empty or wider than their control, as "text: needed > width".
// `leftEmpty`: controls whose caption the window's language writes empty
// (English 609), reported only when they are not.
std::vector<std::string> badCaptions(const forms::Form& w, const std::vector<const forms::Control*>& leftEmpty = {});

// Each caption of a window that does not show as it was set, as "set -> shown":
// the shown text is what the widget displays, a shortcut mark ('&' before a
// letter) taken away and "&&" shown as one '&', as Qt shows them; labels
// showing markup show its plain text. The window's own title is one of them.
std::vector<std::string> changedCaptions(const forms::Form& w);

// Each window loaded in each of the three languages, prepared, checked and
// unloaded: its bad captions (and an empty window caption) as
// "language n, window: ...". The module's language is Simplified Chinese after.
std::vector<std::string> badCaptionsInEveryLanguage(const std::vector<forms::Form*>& windows,
                                                    const std::function<void(forms::Form&)>& prepare = {});

}  // namespace tolvenk::test
