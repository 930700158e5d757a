#include <gtest/gtest.h>

#include <QWidget>

#include "platform/Error.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"

using namespace tolvenk;
using namespace tolvenk::forms;

namespace {

struct SampleWindow : Form {
    CommandButton Command1{*this};
    ComboBox Combo1{*this};
    ListBox List1{*this};
    TextBox Text1{*this};
    Frame Frame1{*this};
    ControlArray<CheckBox> Check1{*this};
    ControlArray<OptionButton> Option1{*this};
    std::vector<std::string> log;
    bool unloadInLoad = false;
    int cancelUnload = 0;

    SampleWindow() {
        Command1.setCaption("design");
        for (int i = 0; i < 3; ++i) {
            Check1.add(i).Click = [this](int idx) { log.push_back("check" + std::to_string(idx)); };
            Option1.add(i).Click = [this](int idx) { log.push_back("option" + std::to_string(idx)); };
        }
        Option1(2).setContainer(Frame1);  // in another container: not excluded by 0 and 1
        Combo1.Click = [this](int) { log.push_back("combo" + std::to_string(Combo1.ListIndex())); };
        Command1.Click = [this](int) { log.push_back("command"); };
        Text1.Change = [this](int) { log.push_back("text:" + Text1.Text()); };
    }
    void Form_Load() override {
        log.push_back("load");
        Combo1.AddItem("a");
        Combo1.AddItem("b");
        if (unloadInLoad) Unload();
    }
    void Form_Unload(int& Cancel) override {
        log.push_back("unload");
        Cancel = cancelUnload;
    }
};

}  // namespace

TEST(Forms, SettingValuesFromCodeFiresClickHandlers) {
    SampleWindow w;
    w.Load();
    w.Combo1.setListIndex(1);
    EXPECT_EQ(w.Combo1.Text(), "b");
    w.Check1(2).setValue(vbChecked);
    w.Check1(2).setValue(vbChecked);  // no change, no click
    w.Check1(2).setValue(vbGrayed);
    w.Option1(0).setValue(true);
    w.Option1(1).setValue(true);
    w.Option1(2).setValue(true);
    EXPECT_FALSE(w.Option1(0).Value());
    EXPECT_TRUE(w.Option1(1).Value());
    EXPECT_TRUE(w.Option1(2).Value());
    w.Text1.setText("x");
    w.Command1.click();
    w.Command1.setEnabled(false);
    w.Command1.click();  // a disabled button takes no click
    EXPECT_EQ(w.log, (std::vector<std::string>{"load", "combo1", "check2", "check2", "option0", "option1",
                                               "option2", "text:x", "command"}));
    EXPECT_THROW(w.Combo1.setListIndex(2), VbError);
    EXPECT_THROW(w.Check1(3), VbError);
    EXPECT_THROW(w.Check1(0).setValue(3), VbError);
}

TEST(Forms, ListItemsCarryDataAndKeepTheSelectionInPlace) {
    SampleWindow w;
    w.List1.AddItem("one");
    w.List1.setItemData(w.List1.NewIndex(), 10);
    w.List1.AddItem("two");
    w.List1.setItemData(w.List1.NewIndex(), 20);
    w.List1.setListIndex(1);
    w.List1.AddItem("zero", 0);
    EXPECT_EQ(w.List1.NewIndex(), 0);
    EXPECT_EQ(w.List1.ListIndex(), 2);
    EXPECT_EQ(w.List1.Text(), "two");
    EXPECT_EQ(w.List1.ItemData(2), 20);
    w.List1.RemoveItem(2);
    EXPECT_EQ(w.List1.ListIndex(), -1);
    EXPECT_EQ(w.List1.List(5), "");
    EXPECT_THROW(w.List1.ItemData(5), VbError);
    w.List1.Clear();
    EXPECT_EQ(w.List1.ListCount(), 0);
}

TEST(Forms, UnloadBringsControlsBackToTheirDesignState) {
    SampleWindow w;
    w.Load();
    w.Command1.setCaption("changed");
    w.Command1.Move(100, 200, 3000, 400);
    w.Check1(0).setValue(vbChecked);
    w.Text1.setVisible(false);
    EXPECT_TRUE(w.Unload());
    EXPECT_FALSE(w.Loaded());
    EXPECT_EQ(w.Command1.Caption(), "design");
    EXPECT_EQ(w.Command1.Left(), 0);
    EXPECT_EQ(w.Check1(0).Value(), vbUnchecked);
    EXPECT_TRUE(w.Text1.Visible());
    w.Load();  // the list is filled afresh, not twice
    EXPECT_EQ(w.Combo1.ListCount(), 2);
}

TEST(Forms, CancelledUnloadKeepsTheWindowLoaded) {
    SampleWindow w;
    w.Load();
    w.cancelUnload = 1;
    EXPECT_FALSE(w.Unload());
    EXPECT_TRUE(w.Loaded());
    w.cancelUnload = 0;
    EXPECT_TRUE(w.Unload());
}

TEST(Forms, ShowReturnsAtOnceWhenTheLoadHandlerUnloads) {
    SampleWindow w;
    w.unloadInLoad = true;
    w.Show();
    EXPECT_FALSE(w.Loaded());
    EXPECT_EQ(w.log, (std::vector<std::string>{"load", "unload"}));
}

TEST(Forms, GeometryIsInTwips) {
    SampleWindow w;
    w.Command1.Move(150, 300, 1500, 450);
    EXPECT_EQ(w.Command1.widget()->x(), 10);
    EXPECT_EQ(w.Command1.widget()->width(), 100);
    w.setWidth(11600);
    EXPECT_EQ(w.Width(), 11610);  // whole pixels, never smaller than asked
}

namespace {
struct FailingWindow : Form {
    Label Label1{*this};
    void Form_Load() override {
        Label1.setCaption("half done");
        throw VbError(3146, "database gone");
    }
};
}  // namespace

TEST(Forms, AWindowWhoseLoadFailsIsNotLoaded) {
    FailingWindow w;
    EXPECT_THROW(w.Show(), VbError);
    EXPECT_FALSE(w.Loaded());
    EXPECT_EQ(w.Label1.Caption(), "");
}

namespace {
struct ActivateFailsOnce : Form {
    int activations = 0;
    void Form_Activate() override {
        if (++activations == 1) throw VbError(3146, "query failed");
        Unload();
    }
};
}  // namespace

TEST(Forms, AFailedActivationLeavesTheWindowShowableAgain) {
    ActivateFailsOnce w;
    EXPECT_THROW(w.Show(), VbError);
    EXPECT_FALSE(w.Showing());
    w.Show();  // returns: the second activation unloads the window
    EXPECT_EQ(w.activations, 2);
    EXPECT_FALSE(w.Loaded());
}
