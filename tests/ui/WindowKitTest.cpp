// The kit's pieces that windows share: the end of a run, the config switch
// and typed years.
#include <gtest/gtest.h>

#include <future>
#include <stdexcept>

#include "data/DataList.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"
#include "platform/forms/Grid.h"
#include "platform/forms/ProgressBar.h"
#include "support/Fixtures.h"
#include "ui/WindowKit.h"

using namespace tolvenk;

namespace {

using WindowKit = test::KitTest;

struct Window : forms::Form {
    forms::CommandButton run{*this}, other{*this};
    forms::ProgressBar bar{*this};
    forms::PictureBox panel{*this};
    forms::Grid grid{*this};
    bool running = false;
};

DataList configRow(const std::string& p5) {
    DataList l(1, std::vector<std::string>{"Para_Name", "P2", "P5"});
    l(1, 0) = "Sys_Config";
    l(1, 1) = "1";
    l(1, 2) = p5;
    return l;
}

}  // namespace

TEST_F(WindowKit, EveryEndOfARunGivesTheWindowBackAndAClosedWindowStaysAsDesigned) {
    Window w;
    w.Load();
    w.other.setEnabled(false);
    w.bar.setVisible(false);
    w.panel.setVisible(false);
    int yields = 0;
    sv->onYield = [&] { ++yields; };
    try {
        Run_Lock lock(w, {&w.run, &w.other}, w.running);
        lock.Show_Progress(w.bar, 10);
        lock.Show_Panel(w.panel);
        lock.Hold_Redraw(w.grid);
        EXPECT_TRUE(w.running);
        EXPECT_FALSE(w.run.Enabled());
        EXPECT_TRUE(w.bar.Visible());
        EXPECT_TRUE(w.panel.Visible());
        EXPECT_FALSE(w.grid.Redraw());
        w.bar.setValue(4);
        EXPECT_TRUE(lock.Go_On());
        throw std::runtime_error("midway");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(yields, 1);
    EXPECT_FALSE(w.running);
    EXPECT_TRUE(w.run.Enabled());
    EXPECT_FALSE(w.other.Enabled());  // given back as it was
    EXPECT_FALSE(w.bar.Visible());
    EXPECT_EQ(w.bar.Value(), 0);
    EXPECT_FALSE(w.panel.Visible());
    EXPECT_TRUE(w.grid.Redraw());

    // Closed during a yield: the run is told to end, the window is left alone.
    sv->onYield = [&] { w.Unload(); };
    {
        Run_Lock lock(w, {&w.run}, w.running);
        lock.Show_Progress(w.bar, 10);
        EXPECT_FALSE(lock.Go_On());
        EXPECT_TRUE(lock.stopped());
    }
    EXPECT_FALSE(w.running);
}

TEST_F(WindowKit, OnlyASwitchReadingAsZeroTurnsTheTimesOff) {
    EXPECT_TRUE(Times_Switch_On(DataList()));
    for (const char* on : {"1", "", "x", "2", "0.5"}) EXPECT_TRUE(Times_Switch_On(configRow(on))) << on;
    for (const char* off : {"0", " 0 ", "0.0"}) EXPECT_FALSE(Times_Switch_On(configRow(off))) << off;
}

TEST_F(WindowKit, ATypedYearIsAWholeNumberFromOneTo9999) {
    EXPECT_EQ(Typed_Year(" 2026 "), 2026);
    EXPECT_EQ(Typed_Year("9999"), 9999);
    EXPECT_EQ(Typed_Year("1"), 1);
    for (const char* bad : {"", "0", "10000", "2026.5", "20x6", "-3"}) EXPECT_FALSE(Typed_Year(bad)) << bad;
}

// A read aside: the window takes its events while it runs, its result or its
// error comes back, and a window closed meanwhile leaves it to end alone.
TEST_F(WindowKit, AReadAsideLetsTheWindowWorkUntilItEnds) {
    Window w;
    w.Load();
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    int yields = 0;
    sv->onYield = [&] {
        if (++yields == 3) release.set_value();
    };
    const auto got = Read_Aside<int>(w, [released] {
        released.wait();
        return 42;
    });
    EXPECT_EQ(got, 42);
    EXPECT_GE(yields, 3);

    sv->onYield = {};
    EXPECT_THROW(Read_Aside<int>(w, []() -> int { throw std::runtime_error("damaged"); }), std::runtime_error);

    std::promise<void> never;
    std::shared_future<void> held = never.get_future().share();
    sv->onYield = [&] { w.Unload(); };
    EXPECT_EQ(Read_Aside<int>(w, [held] { held.wait(); return 1; }), std::nullopt);
    never.set_value();  // the work left behind ends by itself
}
