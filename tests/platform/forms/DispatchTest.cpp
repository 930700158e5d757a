// A host that owns its QApplication gets no safety net from ours: an error
// leaving a handler must be caught where the control dispatches it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "platform/Error.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"
#include "platform/services/Application.h"
#include "support/TestServices.h"

using namespace tolvenk;

namespace {

struct FaultyWindow : forms::Form {
    forms::CommandButton Command1{*this};
    forms::CommandButton Command2{*this};
    int fine = 0;
    FaultyWindow() {
        Command1.Move(120, 120, 1500, 450);
        Command2.Move(1800, 120, 1500, 450);
        Command1.setCaption("fails");
        Command2.setCaption("works");
        Command1.Click = [](int) { throw VbError(5, "Invalid procedure call"); };
        Command2.Click = [this](int) {
            ++fine;
            Unload();
        };
    }
};

void clickAt(forms::CommandButton& b) {
    auto* w = b.widget();
    QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
}

}  // namespace

TEST(Dispatch, AThrowingHandlerUnderAHostOwnedApplicationShowsItsBoxAndTheWindowGoesOn) {
    if (QCoreApplication::instance()) GTEST_SKIP() << "needs a process of its own (ctest runs each test alone)";
    static int argc = 1;
    static char name[] = "host";
    static char* argv[] = {name, nullptr};
    QApplication hostOwned(argc, argv);  // the host's, not ours
    ASSERT_FALSE(platform::handlerErrorsGuarded());
    {
        test::ServicesScope sv;
        FaultyWindow w;
        // Clicks while the modal window runs its own event loop.
        QTimer::singleShot(0, [&] {
            clickAt(w.Command1);
            clickAt(w.Command2);
        });
        w.Show();
        ASSERT_EQ(sv->boxes.size(), 1u);
        // No text table is loaded: the module's English, the runtime's text left out.
        EXPECT_EQ(sv->boxes[0].prompt, "An unexpected error stopped this step.\nError number 5");
        EXPECT_EQ(sv->boxes[0].title, "Tolvenk");
        EXPECT_EQ(sv->boxes[0].style, platform::vbCritical);
        EXPECT_EQ(w.fine, 1);
        EXPECT_FALSE(w.Loaded());
    }
}
