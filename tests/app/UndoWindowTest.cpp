// Undo and redo through the real window: each change the window makes is one
// named step whose read-outs come back with it (that every change kind reverts
// exactly is the canvas model's test); and the history's limit and the
// pictures it keeps.

#include "MainWindowFixture.h"

#include "app/CanvasHistory.h"
#include "canvas/CanvasReadouts.h"
#include "testing/DescribeCanvas.h"

#include <QAction>
#include <QComboBox>

#include <cmath>

namespace {

using namespace th::app;
using th::canvas::testing::describe;
using th::testing::MainWindowTest;

class UndoWindowTest : public MainWindowTest {
protected:
    std::string undoText() const { return window->menuAction(kMenuUndo)->text().toStdString(); }
    std::string redoText() const { return window->menuAction(kMenuRedo)->text().toStdString(); }
    void undo() { QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier); }
    // Both of Redo's keys are used in turn.
    void redo()
    {
        if (++redos % 2)
            QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        else
            QTest::keyClick(window.get(), Qt::Key_Y, Qt::ControlModifier);
    }
    // The model with what the window shows of it: the name and the
    // selector follow the model, whose current sprite the overlay marks; the
    // position read-out is what the command that made the state showed. A
    // reload's notice stands in for the name until the next change.
    std::string shown() const
    {
        if (!labelText(kNameLabel).startsWith("Reloaded")) {
            EXPECT_EQ(labelText(kNameLabel).toStdString(), th::canvas::nameLabel(window->model()));
        }
        EXPECT_EQ(static_cast<QComboBox*>(window->gadget(kCanvasSizeSelector))->currentText().toInt(),
                  window->model().canvasSize());
        return describe(window->model()) + " / " + labelText(kPositionLabel).toStdString();
    }
    int redos = 0;
};

TEST_F(UndoWindowTest, EachChangeTheWindowMakesIsOneStepTakenBackAndDoneAgainWithItsReadouts)
{
    const std::string folder = makeFolder("undo");
    writePng(folder + "a.png", 16, 16, qRgba(200, 0, 0, 255));
    writePng(folder + "b.png", 16, 8, qRgba(0, 0, 200, 255));
    writePng(home.folder() + "c.png", 8, 8, qRgba(0, 200, 0, 255));
    const struct {
        std::string name;
        std::function<void()> act;
    } steps[] = {
        {"Canvas Size", [&] { static_cast<QComboBox*>(window->gadget(kCanvasSizeSelector))->setCurrentIndex(1); }},
        {"Import", [&] { openFolder(folder); }},
        {"Import", [&] { importPicture(home.folder() + "c.png"); }},
        // A drag of several moves is one step.
        {"Move", [&] {
             press({4, 4});
             for (int d = 10; d <= 40; d += 10)
                 QTest::mouseMove(window->canvasView(), {4 + d, 4 + d});
             release({44, 44});
         }},
        // Saved again by another program, at another size.
        {"Reload Picture", [&] {
             writePng(home.folder() + "c.png", 12, 8, qRgba(0, 100, 0, 255));
             EXPECT_TRUE(QTest::qWaitFor([&] { return undoText() == "Undo Reload Picture"; }, 5000));
             EXPECT_EQ(labelText(kNameLabel), "Reloaded: c.png is now 12x8");
         }},
        {"Pack Tightly", [&] {
             window->menuAction(kMenuPackGapFirst + 2)->trigger();
             QTest::keyClick(window.get(), Qt::Key_P, Qt::ControlModifier);
         }},
        // Arrow keys on the canvas, one pixel or with Shift eight, are one
        // step while they move the same sprite.
        {"Nudge", [&] {
             for (int i = 0; i < 3; ++i)
                 QTest::keyClick(window->canvasView(), Qt::Key_Right);
             QTest::keyClick(window->canvasView(), Qt::Key_Down, Qt::ShiftModifier);
             QTest::keyClick(window->canvasView(), Qt::Key_Left);
         }},
        // Ctrl and a click inside the current sprite set its pivot, and pick
        // nothing up: moving on before the release drags nothing.
        {"Set Pivot", [&] {
             const auto& sprite = *window->model().sprites().current();
             ASSERT_EQ(&sprite, &window->model().sprites().entries().back());
             const auto box = th::canvas::visibleBox(sprite, window->model().clipMargin());
             const QPoint at(int(box.left + 1), int(box.top + box.height - 1));
             const QPoint place(sprite.x, sprite.y);
             press(at, Qt::LeftButton, Qt::ControlModifier);
             QTest::mouseMove(window->canvasView(), at + QPoint(9, 9));
             QTest::mouseMove(window->canvasView(), at + QPoint(20, 20));
             release(at + QPoint(20, 20));
             const auto& pivoted = window->model().sprites().entries().back();
             EXPECT_EQ(QPoint(pivoted.x, pivoted.y), place);
             EXPECT_NEAR(pivoted.pivotX, 1.0 / double(box.width), 0.00005);
             EXPECT_NEAR(pivoted.pivotY, double(box.height - 1) / double(box.height), 0.00005);
             EXPECT_EQ(pivoted.pivotX * 10000, std::round(pivoted.pivotX * 10000)) << "four decimals";
         }},
        // A Ctrl+double-click elsewhere in it: its first click sets the
        // pivot, its second puts it back to the centre, all one step.
        {"Set Pivot", [&] {
             const auto& sprite = window->model().sprites().entries().back();
             const auto box = th::canvas::visibleBox(sprite, window->model().clipMargin());
             const QPoint at(int(box.left + box.width - 1), int(box.top));
             press(at, Qt::LeftButton, Qt::ControlModifier);
             QTest::mouseRelease(window->canvasView(), Qt::LeftButton, Qt::ControlModifier, at);
             QTest::mouseDClick(window->canvasView(), Qt::LeftButton, Qt::ControlModifier, at);
             QTest::mouseRelease(window->canvasView(), Qt::LeftButton, Qt::ControlModifier, at);
             EXPECT_EQ(std::pair(sprite.pivotX, sprite.pivotY), std::pair(0.5, 0.5));
         }},
        {"Delete Image", [&] { host.answers.push_back(true); click(kDeleteImageButton); }},
        {"New Canvas", [&] { host.answers.push_back(true); click(kNewCanvasButton); }},
    };
    EXPECT_FALSE(window->menuAction(kMenuUndo)->isEnabled());
    std::vector<std::string> states{shown()};
    for (const auto& step : steps) {
        SCOPED_TRACE(step.name);
        step.act();
        EXPECT_EQ(undoText(), "Undo " + step.name);
        EXPECT_EQ(redoText(), "Redo");
        states.push_back(shown());
        EXPECT_NE(states.back(), states.end()[-2]);
    }
    for (std::size_t i = std::size(steps); i-- > 0;) {
        SCOPED_TRACE("undo " + steps[i].name);
        undo();
        EXPECT_EQ(shown(), states[i]);
        EXPECT_EQ(redoText(), "Redo " + steps[i].name);
    }
    EXPECT_EQ(undoText(), "Undo");
    EXPECT_FALSE(window->menuAction(kMenuUndo)->isEnabled());

    for (std::size_t i = 0; i < std::size(steps); ++i) {
        SCOPED_TRACE("redo " + steps[i].name);
        redo();
        EXPECT_EQ(shown(), states[i + 1]);
    }

    // The next Delete removes what the overlay marks after an undo.
    for (int i = 0; i < 4; ++i)
        undo();
    const auto& top = window->model().sprites().entries().back();
    press({top.x + 1, top.y + 1});
    release({top.x + 1, top.y + 1});
    EXPECT_EQ(undoText(), "Undo Nudge") << "picking up the top sprite and letting go is no step";
    const std::string marked = labelText(kNameLabel).toStdString();
    host.answers.push_back(true);
    click(kDeleteImageButton);
    for (const auto& sprite : window->model().sprites().entries())
        EXPECT_NE(sprite.name, marked);

    // A new change drops the steps that could be done again, and with them
    // the pictures only they held.
    for (int i = 0; i < 10 && redoText() != "Redo Move"; ++i)
        undo();
    ASSERT_EQ(window->model().sprites().entries().back().name, "c.png");
    const int picture = window->model().sprites().entries().back().image;
    undo();
    ASSERT_EQ(redoText(), "Redo Import");
    EXPECT_GT(images.width(picture), 0) << "kept by the step that can put it back";
    QTest::keyClick(window.get(), Qt::Key_Minus);
    EXPECT_EQ(undoText(), "Undo Clip");
    EXPECT_FALSE(window->menuAction(kMenuRedo)->isEnabled());
    EXPECT_EQ(images.width(picture), 0);
}

TEST(CanvasHistory, KeepsTheLastTwoHundredStepsAndFreesThePicturesOfThoseItDrops)
{
    using namespace th::canvas;
    std::vector<ImageHandle> released;
    CanvasModel model;
    CanvasHistory history(model);
    CanvasEditor editor(model, [&](CanvasEdit edit) { history.record(std::move(edit)); });
    editor.perform(AddSprites{.sprites = {{.image = 7, .width = 4, .height = 4, .picture = holdPicture(7, [&](ImageHandle n) {
                                               released.push_back(n);
                                           })}}});
    editor.perform(RemoveSprite{.position = 0});
    // 201 steps: the import has gone, the delete is now the oldest.
    for (int margin = 2; margin <= 398; margin += 2)
        editor.perform(SetClip{.margin = margin});
    EXPECT_EQ(history.count(), CanvasHistory::kLimit);
    EXPECT_TRUE(released.empty());
    editor.perform(SetClip{.margin = 0});
    EXPECT_EQ(released, std::vector<ImageHandle>{7});
    while (history.undo()) {
    }
    EXPECT_EQ(describe(model), "| current -, clip 0, place 0,0, inactive, size 1024");
    EXPECT_EQ(history.redoName(), "Clip");
}

} // namespace
