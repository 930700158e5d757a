#pragma once
#include "platform/forms/Grid.h"
#include "platform/forms/PictureBox.h"

namespace tolvenk {

// The progress panel of a balance query: whatever way the query ends, the
// panel goes and the grid draws again.
class Query_Panel {
public:
    Query_Panel(forms::PictureBox& panel, forms::Grid& grid) : panel_(panel), grid_(grid) {}
    ~Query_Panel() {
        panel_.setVisible(false);
        grid_.setRedraw(true);
    }
    Query_Panel(const Query_Panel&) = delete;
    Query_Panel& operator=(const Query_Panel&) = delete;

private:
    forms::PictureBox& panel_;
    forms::Grid& grid_;
};

}  // namespace tolvenk
