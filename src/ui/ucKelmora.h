#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/forms/CheckBox.h"
#include "platform/forms/CheckListBox.h"
#include "platform/forms/Form.h"
#include "platform/forms/Frame.h"
#include "platform/forms/Label.h"
#include "platform/forms/TextBox.h"
#include "platform/forms/TreeView.h"

namespace tolvenk {

// The department and employee picker that windows embed. Mode 4 chooses one
// department, narrowed by name, code and employee number filters; mode 3
// ticks employees of the chosen department. It reads its own data over the
// connection text it is given.
class ucKelmora {
public:
    static constexpr std::int16_t kDepartmentMode = 4;
    static constexpr std::int16_t kEmployeeMode = 3;

    explicit ucKelmora(forms::Form& form);
    ucKelmora(const ucKelmora&) = delete;
    ucKelmora& operator=(const ucKelmora&) = delete;

    // Reads the live departments afresh and forgets any earlier choice,
    // without raising Dept_Changed. The captions follow the loaded text table,
    // whatever language is passed.
    void Init(std::int32_t colour, std::int16_t mode, const std::string& opUserName, const std::string& strCN,
              std::int16_t language);
    // 0 when no department is chosen (the texts are left alone); otherwise the
    // department number and the trimmed filters, and 1.
    std::int16_t Get_Sel(std::string& DeptNo, std::string& Name, std::string& Code, std::string& PNum);
    // The ticked employees' Pinfo_ID in list order from index 0; their count.
    std::int64_t Get_Sel_IDs(std::vector<std::int32_t>& ids);

    std::function<void(const std::string& deptNo)> Dept_Changed;

    // What a person does, for code and tests; each goes through the controls.
    void selectDepartment(const std::string& deptNo);
    void setFilters(const std::string& name, const std::string& code, const std::string& pnum);
    void setTicked(std::int32_t pinfoId, bool ticked);
    void tickAll(bool ticked);

    std::int16_t Mode() const { return mode_; }
    const std::string& OpUserName() const { return opUserName_; }

    int Left() const { return Frame1.Left(); }
    int Top() const { return Frame1.Top(); }
    int Width() const { return Frame1.Width(); }
    int Height() const { return Frame1.Height(); }
    void setLeft(int v) { Move(v, Top(), Width(), Height()); }
    void setTop(int v) { Move(Left(), v, Width(), Height()); }
    void setWidth(int v) { Move(Left(), Top(), v, Height()); }
    void setHeight(int v) { Move(Left(), Top(), Width(), v); }
    void Move(int left, int top, int width, int height);

    forms::Frame Frame1;
    forms::TreeView tvDept;
    forms::Label lblName, lblCode, lblNum;
    forms::TextBox txtName, txtCode, txtNum;
    forms::CheckBox chkAll;
    forms::CheckListBox lstEmp;

private:
    void deptChosen(const std::string& deptNo);
    void listEmployees(const std::string& deptNo);
    void setCaptions();
    void clearSelectAll();
    void showMode();
    void layout();

    std::int16_t mode_ = kDepartmentMode;
    std::string opUserName_;
    std::string strCN_;
    bool quietAll_ = false;
};

}  // namespace tolvenk
