// A game pad at the real window, made by SDL's virtual joystick: plugged in
// while the game runs, it walks and presses the menu buttons, moves the
// paddles with the D-pad and the stick (not within the stick's dead zone),
// pauses and resumes with Start and Back, closes the game-over box with A;
// unplugged, it holds nothing.
#include <SDL2/SDL.h>

#include <QMessageBox>

#include "PlayTestSupport.h"

namespace pellmora {

namespace {

using playtest::MenuHost;
using playtest::ModalWatcher;
using playtest::RunFor;
using playtest::Visible;
using playtest::WaitUntil;

// A pad with every button and axis of SDL's game-controller layout, whose
// state the test sets; the game reads it as it reads a real one.
class VirtualPad {
 public:
  VirtualPad() {
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    started_ = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
    if (!started_) return;
    SDL_VirtualJoystickDesc desc;
    SDL_zero(desc);
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    desc.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1;
    desc.button_mask = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1;
    desc.name = "Pellmora test pad";
    const int index = SDL_JoystickAttachVirtualEx(&desc);
    if (index >= 0) joystick_ = SDL_JoystickOpen(index);
  }
  ~VirtualPad() {
    Unplug();
    if (started_) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
  }
  VirtualPad(const VirtualPad&) = delete;
  VirtualPad& operator=(const VirtualPad&) = delete;

  bool Plugged() const { return joystick_ != nullptr; }
  std::string Error() const { return SDL_GetError(); }

  void Button(SDL_GameControllerButton button, bool down) {
    SDL_JoystickSetVirtualButton(joystick_, button, down ? 1 : 0);
  }
  // A press the game sees: held over a few of its readings, then let go.
  void Tap(SDL_GameControllerButton button) {
    Button(button, true);
    RunFor(60);
    Button(button, false);
    RunFor(60);
  }
  void Axis(SDL_GameControllerAxis axis, Sint16 value) {
    SDL_JoystickSetVirtualAxis(joystick_, axis, value);
  }

  void Unplug() {
    if (joystick_ == nullptr) return;
    const SDL_JoystickID id = SDL_JoystickInstanceID(joystick_);
    SDL_JoystickClose(joystick_);
    joystick_ = nullptr;
    for (int i = 0; i < SDL_NumJoysticks(); ++i) {
      if (SDL_JoystickGetDeviceInstanceID(i) == id) SDL_JoystickDetachVirtual(i);
    }
  }

 private:
  bool started_ = false;
  SDL_Joystick* joystick_ = nullptr;
};

class GamepadWindow : public MenuHost {
 protected:
  void SetUp() override {
    MenuHost::SetUp();
    if (HasFatalFailure()) return;
    host->EnableGamepad();
    ASSERT_TRUE(host->Pad()->Started()) << SDL_GetError();
    // No pad yet: the game only looks for one now and then.
    EXPECT_EQ(host->Pad()->PadCount(), 0);
    EXPECT_GE(host->Pad()->PollInterval(), 250);
    pad = std::make_unique<VirtualPad>();
    ASSERT_TRUE(pad->Plugged()) << pad->Error();
    ASSERT_TRUE(WaitUntil([this] { return host->Pad()->PadCount() == 1; }, 3000))
        << "the pad plugged in while the game runs was not picked up";
    EXPECT_LE(host->Pad()->PollInterval(), 10);
  }
  void TearDown() override {
    pad.reset();
    MenuHost::TearDown();
  }

  bool Held(int virtualKey) { return host->Session().GetAsyncKeyState(virtualKey) != 0; }

  // Starts a game with the pad alone: down onto the start button, A.
  void StartWithThePad() {
    ASSERT_EQ(Window().focusWidget(), nullptr) << "a menu button has the focus before the pad";
    pad->Tap(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
    ASSERT_TRUE(WaitUntil([this] { return Window().focusWidget() == &Window().Command(0); }, 2000))
        << "the D-pad did not bring the focus to the start button";
    pad->Tap(SDL_CONTROLLER_BUTTON_A);
    ASSERT_TRUE(WaitUntil([this] { return Game().playing == VbTrue; }, 2000))
        << "A did not press the start button";
    // The ball rests in the middle, so that the game goes on for as long as
    // the test needs.
    Game().ballDX = 0;
    Game().ballDY = 0;
    Game().Image5.Left = 312;
    Game().Image5.Top = 232;
  }

  std::unique_ptr<VirtualPad> pad;
};

TEST_F(GamepadWindow, WalksAndPressesTheMenuButtons) {
  pad->Tap(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
  ASSERT_TRUE(WaitUntil([this] { return Window().focusWidget() == &Window().Command(0); }, 2000));
  pad->Tap(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
  ASSERT_TRUE(WaitUntil([this] { return Window().focusWidget() == &Window().Command(1); }, 2000));
  pad->Tap(SDL_CONTROLLER_BUTTON_DPAD_UP);
  ASSERT_TRUE(WaitUntil([this] { return Window().focusWidget() == &Window().Command(0); }, 2000));
  // The stick walks as the D-pad does.
  pad->Axis(SDL_CONTROLLER_AXIS_LEFTY, 30000);
  RunFor(60);
  pad->Axis(SDL_CONTROLLER_AXIS_LEFTY, 0);
  ASSERT_TRUE(WaitUntil([this] { return Window().focusWidget() == &Window().Command(1); }, 2000));

  // A on the ranking button opens the ranking window.
  pad->Tap(SDL_CONTROLLER_BUTTON_A);
  ASSERT_TRUE(WaitUntil([this] { return host->RankingWindow() != nullptr; }, 2000));
  EXPECT_EQ(Game().playing, VbFalse);
}

TEST_F(GamepadWindow, DPadAndStickMoveThePaddlesStartAndBackPauseAndResume) {
  StartWithThePad();
  if (HasFatalFailure()) return;

  // D-pad up: the left and right paddles go up 5 pixels a tick while it is held.
  const float top = Game().Image1.Top;
  pad->Button(SDL_CONTROLLER_BUTTON_DPAD_UP, true);
  ASSERT_TRUE(WaitUntil([&] { return Game().Image1.Top <= top - 20; }, 2000))
      << "the paddles did not go up (top " << Game().Image1.Top << ")";
  EXPECT_TRUE(Held(vbKeyUp));
  EXPECT_FALSE(Held(vbKeyDown));
  pad->Button(SDL_CONTROLLER_BUTTON_DPAD_UP, false);
  ASSERT_TRUE(WaitUntil([&] { return !Held(vbKeyUp); }, 2000));
  const float stopped = Game().Image1.Top;
  RunFor(100);
  EXPECT_EQ(Game().Image1.Top, stopped) << "the paddles kept moving after the D-pad was let go";
  EXPECT_EQ(Game().Image2.Top, Game().Image1.Top);

  // The stick inside its dead zone moves nothing; past it, it is the arrow.
  const float left = Game().Image3.Left;
  pad->Axis(SDL_CONTROLLER_AXIS_LEFTX, -(Gamepad::kStickDeadZone - 2000));
  RunFor(150);
  EXPECT_FALSE(Held(vbKeyLeft));
  EXPECT_EQ(Game().Image3.Left, left) << "a stick inside its dead zone moved the paddles";
  pad->Axis(SDL_CONTROLLER_AXIS_LEFTX, -30000);
  ASSERT_TRUE(
      WaitUntil([&] { return Game().Image3.Left <= left - 20 || Game().Image3.Left == 0; }, 2000))
      << "the stick did not move the top and bottom paddles";
  EXPECT_TRUE(Held(vbKeyLeft));
  pad->Axis(SDL_CONTROLLER_AXIS_LEFTX, 0);
  pad->Axis(SDL_CONTROLLER_AXIS_LEFTY, 30000);
  ASSERT_TRUE(WaitUntil([&] { return Held(vbKeyDown) && !Held(vbKeyLeft); }, 2000));
  pad->Axis(SDL_CONTROLLER_AXIS_LEFTY, 0);
  ASSERT_TRUE(WaitUntil([&] { return !Held(vbKeyDown); }, 2000));

  // Start is Esc: the pause, banner and all.
  pad->Tap(SDL_CONTROLLER_BUTTON_START);
  ASSERT_TRUE(WaitUntil([&] { return Game().pausing == VbTrue; }, 2000)) << "Start did not pause";
  EXPECT_FALSE(Running(Game().Timer2));
  EXPECT_TRUE(Game().Label2.Visible);
  ASSERT_TRUE(WaitUntil([&] { return Game().Label2.Top <= 152; }, 3000));
  // Back is Esc too: the banner goes down and play resumes.
  pad->Tap(SDL_CONTROLLER_BUTTON_BACK);
  ASSERT_TRUE(WaitUntil([&] { return Running(Game().Timer2); }, 3000)) << "Back did not resume";
  EXPECT_EQ(Game().pausing, VbFalse);
  EXPECT_EQ(Game().playing, VbTrue);

  // A held direction ends with the pad.
  pad->Button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true);
  ASSERT_TRUE(WaitUntil([&] { return Held(vbKeyRight); }, 2000));
  pad->Unplug();
  ASSERT_TRUE(WaitUntil([&] { return host->Pad()->PadCount() == 0; }, 2000))
      << "the pad pulled out was not noticed";
  EXPECT_FALSE(Held(vbKeyRight));
  EXPECT_GE(host->Pad()->PollInterval(), 250);
}

TEST_F(GamepadWindow, APressesTheGameOverBoxsButton) {
  StartWithThePad();
  if (HasFatalFailure()) return;
  bool closedByA = false;
  ModalWatcher watcher([&](QWidget& box) {
    pad->Button(SDL_CONTROLLER_BUTTON_A, true);
    closedByA = WaitUntil([&] { return !box.isVisible(); }, 2000);
    pad->Button(SDL_CONTROLLER_BUTTON_A, false);
  });
  LoseTheBallOnTheRight();
  ASSERT_TRUE(WaitUntil(
      [&] { return watcher.Seen() == 1 && Visible(Window().Command(0), Window()); }, 5000));
  EXPECT_TRUE(closedByA) << "A left the game-over box open";
}

}  // namespace

}  // namespace pellmora
