// The game window's painting order on the page's canvas and the menu
// buttons under the pointer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "play/Autopilot.h"
#include "play/Form1Painter.h"

namespace pellmora {
namespace {

class RecordingCanvas final : public Canvas {
 public:
  std::vector<std::string> calls;

  void DrawPicture(PictureId picture, const Rect& r) override {
    calls.push_back("picture " + std::to_string(static_cast<int>(picture)) + At(r));
  }
  void DrawLabel(LabelId label, const Rect& r) override {
    calls.push_back("label " + std::to_string(static_cast<int>(label)) + At(r));
  }
  void DrawButton(int n, const Rect& r, bool pressed) override {
    calls.push_back("button " + std::to_string(n) + At(r) + (pressed ? " pressed" : ""));
  }

 private:
  static std::string At(const Rect& r) {
    return " " + std::to_string(static_cast<int>(r.left)) + "," +
           std::to_string(static_cast<int>(r.top)) + " " +
           std::to_string(static_cast<int>(r.width)) + "x" +
           std::to_string(static_cast<int>(r.height));
  }
};

TEST(Form1Painter, TheWindowAtStartShowsTheFieldAndTheParkedLabels) {
  Form1Controls controls;
  RecordingCanvas canvas;
  PaintForm1(controls, canvas, -1);
  // The title above the field and the banner below it, both visible at design.
  EXPECT_EQ(canvas.calls, (std::vector<std::string>{"picture 0 0,0 640x480", "label 0 0,-88 641x97",
                                                    "label 1 0,472 641x105"}));
}

TEST(Form1Painter, PlayIsPaintedBackToFrontWithItemsAboveTheBanner) {
  Form1Controls controls;
  controls.Label1.Visible = false;
  for (ScreenObject* o :
       {&controls.Image1, &controls.Image2, &controls.Image3, &controls.Image4, &controls.Image5}) {
    o->Visible = true;
  }
  controls.Image1.Height = 120;
  controls.Image6[4].Visible = true;
  controls.Image6[4].Left = 75;
  controls.Image6[4].Top = 50;
  controls.Label2.Top = 150;
  RecordingCanvas canvas;
  PaintForm1(controls, canvas, -1);
  EXPECT_EQ(canvas.calls, (std::vector<std::string>{
                              "picture 0 0,0 640x480",
                              "picture 1 16,152 24x120",   // left paddle, stretched ramp
                              "picture 1 600,152 24x153",  // right paddle
                              "picture 2 56,16 152x25",    // top paddle
                              "picture 2 56,432 152x25",   // bottom paddle
                              "picture 3 480,192 16x16",   // ball
                              "label 1 0,150 641x105",     // banner
                              "picture 8 75,50 100x50",    // item 4, natural size
                          }));
}

TEST(Form1Painter, VisibleMenuButtonsArePaintedLastAndOnePressed) {
  Form1Controls controls;
  controls.Label1.Visible = false;
  controls.Label2.Visible = false;
  controls.Command1.Visible = true;
  controls.Command3.Visible = true;
  RecordingCanvas canvas;
  PaintForm1(controls, canvas, 2);
  EXPECT_EQ(canvas.calls,
            (std::vector<std::string>{"picture 0 0,0 640x480", "button 0 208,304 201x41",
                                      "button 2 208,416 201x41 pressed"}));
}

TEST(Form1Painter, AMenuButtonIsFoundInsideItsRectangleOnlyWhileVisible) {
  Form1Controls controls;
  EXPECT_EQ(MenuButtonAt(controls, 300, 320), -1);  // hidden at design
  controls.Command1.Visible = true;
  controls.Command2.Visible = true;
  EXPECT_EQ(MenuButtonAt(controls, 208, 304), 0);   // top-left pixel
  EXPECT_EQ(MenuButtonAt(controls, 408, 344), 0);   // bottom-right pixel
  EXPECT_EQ(MenuButtonAt(controls, 409, 320), -1);  // one past the right edge
  EXPECT_EQ(MenuButtonAt(controls, 300, 345), -1);  // between the buttons
  EXPECT_EQ(MenuButtonAt(controls, 300, 360), 1);
  EXPECT_EQ(MenuButtonAt(controls, 300, 420), -1);  // Command3 still hidden
}

}  // namespace
}  // namespace pellmora

namespace pellmora {
namespace {

TEST(Autopilot, HoldsTheKeysThatBringTheLeadingPaddlesToTheBall) {
  Form1Controls window;      // ball 480,192 16x16: centre 488,200
  window.Image1.Top = 100;   // centre 100 + 153 / 2 = 176.5 < 198: down
  window.Image3.Left = 480;  // centre 480 + 152 / 2 = 556 > 490: left
  EXPECT_TRUE(AutopilotHolds(window, vbKeyDown));
  EXPECT_FALSE(AutopilotHolds(window, vbKeyUp));
  EXPECT_TRUE(AutopilotHolds(window, vbKeyLeft));
  EXPECT_FALSE(AutopilotHolds(window, vbKeyRight));
  EXPECT_FALSE(AutopilotHolds(window, vbKeyEscape));
  // Within 2 pixels either way nothing is held: centre 198 + 2 = 200.
  window.Image1.Top = 200 + 2 - 76.5f;
  EXPECT_FALSE(AutopilotHolds(window, vbKeyDown));
  EXPECT_FALSE(AutopilotHolds(window, vbKeyUp));
}

}  // namespace
}  // namespace pellmora
