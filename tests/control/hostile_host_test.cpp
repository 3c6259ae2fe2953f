// Host code that misbehaves: handlers of the control's events that unload the form,
// fail or scroll again from inside the event; watched windows destroyed under the
// control; a timer listener beside it that throws; the control used after its form
// unloaded. Nothing crashes, nothing is left behind, and a message box comes only
// where the runtime or the control shows one.
#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QTest>
#include <QWheelEvent>
#include <functional>
#include <stdexcept>

#include "../subclass/SubclassWnd.h"
#include "../timer/Timer.h"
#include "control_fixture.h"
#include "win32/runtime.h"

namespace {

using forms::Variant;

// What the control holds of the system, counted before anything is made.
struct Counters {
  int windows = win32::runtime::liveWindowCount();
  int objects = win32::runtime::liveObjectCount();
  int timers = win32::runtime::armedTimerCount();
};

std::vector<std::string> prompts() {
  std::vector<std::string> out;
  for (const forms::MsgBoxCall& call : testsupport::msgBoxes()) out.push_back(call.prompt);
  return out;
}

const std::string kRunTimeBox = "Run-time error '5':\n\nhost says no";
const std::string kInternalBox = "Run-time error '51':\n\nInternal error: host broke";
const std::string kListenerBox = "ERR_WNDLISTENER : host says no : 5";

enum class Misdeed { Unload, RunTimeError, OtherException, ScrollAgain };

const char* nameOf(Misdeed m) {
  switch (m) {
    case Misdeed::Unload: return "unloads the form";
    case Misdeed::RunTimeError: return "raises a run-time error";
    case Misdeed::OtherException: return "throws std::runtime_error";
    case Misdeed::ScrollAgain: return "scrolls again";
  }
  return "";
}

class HostileHostTest : public ScrollbayTest {
 public:
  // The cases' tables reach these from their own functions.
  using ScrollbayTest::bay;
  using ScrollbayTest::form;
  using ScrollbayTest::host;

  // A 300 x 200 pixel control with a field and a far label, so that both bars scroll.
  void build() {
    makeControl(4500, 3000);
    addChild("Forms.TextBox", "Field", 300, 300, 1200, 315);
    addChild("Forms.Label", "Far", 9000, 9000, 1200, 315);
    instance = host->instancePtr();
  }

  // Drops every reference the test holds, lets the loop run and checks that the form
  // took everything with it.
  void unloadAndExpectNothingLeft(const Counters& before) {
    if (form && form->loaded()) form->Unload();
    host.reset();
    bay = nullptr;
    form.reset();
    testsupport::advance(400);
    testsupport::processQtEvents();
    EXPECT_TRUE(instance.expired()) << "something still holds the control";
    EXPECT_EQ(SubclassWnd::SubclassedWindowCount(), 0u);
    EXPECT_EQ(Timer::ListenerCount(), 0u);
    EXPECT_EQ(Timer::TimerID(), 0u);
    EXPECT_EQ(win32::runtime::armedTimerCount(), before.timers);
    EXPECT_EQ(win32::runtime::liveObjectCount(), before.objects);
    EXPECT_EQ(win32::runtime::liveWindowCount(), before.windows);
  }

  std::weak_ptr<forms::ControlClass> instance;
};

// Input as a person gives it, to the layer of the fixture's control. Each survives the
// form going away half-way through.
void keyOnLayer(HostileHostTest& t, int key, const QString& text) {
  QPointer<QWidget> layer = t.bay->Layer()->widget();
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QCoreApplication::sendEvent(layer, &press);
  if (!layer) return;
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
  QCoreApplication::sendEvent(layer, &release);
}

void clickOnLayer(HostileHostTest& t, bool twice) {
  QApplication::setActiveWindow(t.form->widget());
  const QPoint at = t.bay->Layer()->widget()->mapTo(t.form->widget(), QPoint(150, 120));  // clear of the field
  QWindow* window = t.form->widget()->windowHandle();
  if (twice) QTest::mouseDClick(window, Qt::LeftButton, Qt::NoModifier, at);
  else QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, at);
}

// The pointer comes onto the layer from the form beside the control.
void moveOnLayer(HostileHostTest& t) {
  QApplication::setActiveWindow(t.form->widget());
  QWindow* window = t.form->widget()->windowHandle();
  QTest::mouseMove(window, QPoint(450, 350));
  QTest::mouseMove(window, t.bay->Layer()->widget()->mapTo(t.form->widget(), QPoint(150, 120)));
}

// A click on the lower arrow of the vertical scrollbar.
void clickOnDownArrow(HostileHostTest& t) {
  QApplication::setActiveWindow(t.form->widget());
  QWidget* bar = t.bay->VScroll()->widget();
  const QPoint at = bar->mapTo(t.form->widget(), QPoint(bar->width() / 2, bar->height() - 4));
  QTest::mouseClick(t.form->widget()->windowHandle(), Qt::LeftButton, Qt::NoModifier, at);
}

void qtWheelOnLayer(HostileHostTest& t, int delta) {
  QWidget* layer = t.bay->Layer()->widget();
  const QPointF at(150, 120);
  QWheelEvent wheel(at, layer->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                    false);
  QApplication::sendEvent(layer, &wheel);
}

class HostileHandlerTest : public HostileHostTest {
 public:
  struct Outcome {
    std::vector<std::string> boxes;
    bool throws = false;  // the exception comes back to the program's own call
  };
  struct Trigger {
    const char* event;
    const char* input;
    bool atFirstTick;  // the handler is there before the first tick, which fires it
    std::function<void(HostileHandlerTest&)> prepare;
    std::function<void(HostileHandlerTest&)> fire;
    Outcome onRunTimeError, onOtherException;
  };

  void misbehaveOn(const std::string& event, Misdeed misdeed) {
    forms::Form* f = form.get();
    std::weak_ptr<forms::UserControlHost> weakHost = host;
    form->on("Scrollbay1", event, [this, f, weakHost, misdeed](forms::EventArgs&) {
      switch (misdeed) {
        case Misdeed::Unload: f->Unload(); return;
        case Misdeed::RunTimeError: throw forms::Error(forms::err::InvalidCall, "host says no");
        case Misdeed::OtherException: throw std::runtime_error("host broke");
        case Misdeed::ScrollAgain: break;
      }
      // Each assignment may raise the event again: a bounded depth proves it settles.
      if (++depth > 8) {
        ADD_FAILURE() << "the event keeps raising itself";
        return;
      }
      auto c = weakHost.lock();
      forms::let(c, "VScrollValue", Variant(int32_t{150}));
      forms::let(c, "HScrollValue", Variant(int32_t{150}));
      forms::call(c, "AdjustExtent");
      forms::call(c, "Refresh");
      --depth;
    });
  }

  int depth = 0;
  // While the input comes the program holds nothing of the control; its own calls hold
  // the control for as long as they run.
  std::weak_ptr<forms::UserControlHost> weakHost;
};

}  // namespace

// Every event from the input that raises it, with each kind of misbehaving handler.
// Where the failure shows follows from who called the handler: the runtime's loop
// (input, the window system's resize) shows it in its error box, an error 51 for what
// is not a run-time error; the control resumes past a failing scroll Change handler and
// past any failure in its first tick, whose timer keeps what escapes; the listener of
// the container's messages shows its own box; and a program's own call (an assignment,
// a message it sends) gets back what is not a run-time error.
TEST_F(HostileHandlerTest, EveryEventSurvivesHandlersThatUnloadFailOrScrollAgain) {
  const Outcome runTimeBox{{kRunTimeBox}, false}, internalBox{{kInternalBox}, false}, none{{}, false}, throws{{}, true};
  auto nothing = [](HostileHandlerTest&) {};
  auto key = [](int k, const char* text) {
    return [k, text](HostileHandlerTest& t) { keyOnLayer(t, k, QString::fromLatin1(text)); };
  };
  auto click = [](bool twice) {
    return [twice](HostileHandlerTest& t) { clickOnLayer(t, twice); };
  };
  const Trigger triggers[] = {
      {"Resize", "the first tick", true, nothing, [](HostileHandlerTest&) { testsupport::advance(200); }, none, none},
      {"Resize", "the program resizing the control", false, nothing,
       [](HostileHandlerTest& t) { t.weakHost.lock()->Move(0, 0.0f, 4000, 2800); }, runTimeBox, internalBox},
      // The container's WM_SIZE fills, which resizes the control (its own WM_SIZE, from
      // the runtime) and then raises Resize from the listener.
      {"Resize", "the window system resizing a filled container", false,
       [](HostileHandlerTest& t) { forms::let(t.host, "AutoFillContainer", true); },
       [](HostileHandlerTest& t) { t.form->widget()->resize(500, 400); }, {{kRunTimeBox, kListenerBox}, false},
       {{kInternalBox, kInternalBox}, false}},
      {"Click", "a click on the layer", false, nothing, click(false), runTimeBox, internalBox},
      {"DblClick", "a double click on the layer", false, nothing, click(true), runTimeBox, internalBox},
      {"MouseDown", "a click on the layer", false, nothing, click(false), runTimeBox, internalBox},
      {"MouseMove", "the pointer moving onto the layer", false, nothing, [](HostileHandlerTest& t) { moveOnLayer(t); },
       runTimeBox, internalBox},
      {"MouseUp", "a click on the layer", false, nothing, click(false), runTimeBox, internalBox},
      {"KeyDown", "a key on the layer", false, nothing, key(Qt::Key_A, "a"), runTimeBox, internalBox},
      {"KeyPress", "a key on the layer", false, nothing, key(Qt::Key_A, "a"), runTimeBox, internalBox},
      {"KeyUp", "a key on the layer", false, nothing, key(Qt::Key_A, "a"), runTimeBox, internalBox},
      // Unloading from here once freed the control while it still handled the key.
      {"VScrollChange", "Down on the layer", false, nothing, key(Qt::Key_Down, ""), none, internalBox},
      // And from here, the scrollbar while it still handled the click.
      {"VScrollChange", "a click on the scrollbar's arrow", false, nothing, [](HostileHandlerTest& t) { clickOnDownArrow(t); },
       none, internalBox},
      {"VScrollChange", "a wheel turn over the layer", false, nothing, [](HostileHandlerTest& t) { qtWheelOnLayer(t, -120); },
       none, internalBox},
      {"VScrollChange", "a wheel message sent to the layer", false, nothing,
       [](HostileHandlerTest& t) {
         win32::SendMessageA(t.bay->LayerWnd(), win32::WM_MOUSEWHEEL, win32::MAKELONG(0, static_cast<uint16_t>(-120)), 0);
       },
       none, throws},
      {"VScrollChange", "a VScrollValue assignment", false, nothing,
       [](HostileHandlerTest& t) { forms::let(t.weakHost.lock(), "VScrollValue", Variant(int32_t{600})); }, none, throws},
      {"HScrollChange", "Right on the layer", false, nothing, key(Qt::Key_Right, ""), none, internalBox},
      {"HScrollChange", "an HScrollValue assignment", false, nothing,
       [](HostileHandlerTest& t) { forms::let(t.weakHost.lock(), "HScrollValue", Variant(int32_t{600})); }, none, throws},
  };
  for (const Trigger& trigger : triggers) {
    for (Misdeed misdeed : {Misdeed::Unload, Misdeed::RunTimeError, Misdeed::OtherException, Misdeed::ScrollAgain}) {
      SCOPED_TRACE(testing::Message() << trigger.event << " from " << trigger.input << ": the handler " << nameOf(misdeed));
      const Counters before;
      build();
      form->Show();
      if (trigger.atFirstTick) misbehaveOn(trigger.event, misdeed);
      else testsupport::advance(200);
      ASSERT_TRUE(trigger.atFirstTick || bay->Layer());
      trigger.prepare(*this);
      if (!trigger.atFirstTick) misbehaveOn(trigger.event, misdeed);
      testsupport::msgBoxes().clear();
      depth = 0;

      weakHost = std::exchange(host, nullptr);
      bool threw = false;
      try {
        trigger.fire(*this);
      } catch (const std::runtime_error&) {
        threw = true;
      }
      host = weakHost.lock();

      if (misdeed == Misdeed::Unload) {
        EXPECT_FALSE(form->loaded());
        EXPECT_EQ(prompts(), std::vector<std::string>{});
        EXPECT_FALSE(threw);
      } else {
        const Outcome expected = misdeed == Misdeed::RunTimeError    ? trigger.onRunTimeError
                                 : misdeed == Misdeed::OtherException ? trigger.onOtherException
                                                                      : none;
        EXPECT_EQ(prompts(), expected.boxes);
        EXPECT_EQ(threw, expected.throws);
        ASSERT_TRUE(form->loaded());
        ASSERT_TRUE(bay->Layer());
        // Whatever the handler did, the layer stands where the bars say.
        EXPECT_FLOAT_EQ(bay->Layer()->get_Top(), -15.0f * bay->VScroll()->get_Value());
        EXPECT_FLOAT_EQ(bay->Layer()->get_Left(), -15.0f * bay->HScroll()->get_Value());
        if (misdeed == Misdeed::ScrollAgain) {
          EXPECT_EQ(bay->VScroll()->get_Value(), 10);
          EXPECT_EQ(bay->HScroll()->get_Value(), 10);
        }
      }
      unloadAndExpectNothingLeft(before);
      testsupport::msgBoxes().clear();
    }
  }
}

// A window the control watches destroyed by hand while the form lives: the control
// lets go of it, and ticks, the wheel, resizes, a new Show and the unload find nothing
// of it to trip over.
TEST_F(HostileHostTest, AWatchedWindowDestroyedUnderTheControlLeavesNothingToTripOver) {
  struct Case {
    const char* what;
    std::function<win32::HWND(HostileHostTest&)> window;
  } cases[] = {
      {"the layer", [](HostileHostTest& t) { return t.bay->LayerWnd(); }},
      {"the container", [](HostileHostTest& t) { return t.form->findControl("Frame1")->hWnd(); }},
      {"the control's own window", [](HostileHostTest& t) { return t.host->hWnd(); }},
      {"the form's window", [](HostileHostTest& t) { return t.form->hWnd(); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const Counters before;
    form = forms::Form::create("frmTest");
    form->put_ClientWidth(9000);
    form->put_ClientHeight(7000);
    auto frame = form->addControl("Forms.Frame", "Frame1");
    frame->Move(0, 0.0f, 6000, 5000);
    host = std::dynamic_pointer_cast<forms::UserControlHost>(form->addControl("ScrollbayCtl.Scrollbay", "Scrollbay1", frame.get()));
    host->Move(100, 300.0f, 4500, 3000);
    bay = dynamic_cast<Scrollbay*>(&host->instance());
    instance = host->instancePtr();
    addChild("Forms.TextBox", "Field", 300, 300, 1200, 315);
    addChild("Forms.Label", "Far", 9000, 9000, 1200, 315);
    forms::let(host, "AutoFillContainer", true);
    frame.reset();
    showAndTick();
    ASSERT_TRUE(bay->Layer());
    const win32::HWND layer = bay->LayerWnd();
    const std::string layerName = bay->Layer()->name();
    testsupport::msgBoxes().clear();

    win32::runtime::destroyWindow(c.window(*this));
    EXPECT_EQ(Timer::ListenerCount(), 0u) << "the first watched window to go ends the ticks";
    testsupport::advance(400);
    win32::SendMessageA(layer, win32::WM_MOUSEWHEEL, win32::MAKELONG(0, static_cast<uint16_t>(-120)), 0);
    win32::SendMessageA(host->hWnd(), win32::WM_MOUSEWHEEL, win32::MAKELONG(0, static_cast<uint16_t>(-120)), 0);
    form->put_ClientWidth(7000);
    form->put_ClientHeight(300);
    host->Move(0, 0.0f, 3000, 2000);
    forms::let(host, "VScrollValue", Variant(int32_t{0}));
    EXPECT_NO_THROW(forms::call(host, "AdjustExtent"));
    // Shown again: with its own window the control makes a new layer, live and watched;
    // without one it has nothing to tick for.
    const bool ownWindowLives = win32::IsWindow(host->hWnd());
    form->Hide();
    form->Show();
    testsupport::advance(400);
    if (ownWindowLives) {
      ASSERT_TRUE(bay->Layer());
      EXPECT_EQ(bay->Layer()->hWnd(), bay->LayerWnd());
      EXPECT_TRUE(SubclassWnd::FindRecord(bay->LayerWnd()));
    } else {
      // Such a tick used to add a stray picture box to the form, which then stayed on it.
      EXPECT_EQ(Timer::ListenerCount(), 0u);
      const forms::ControlPtr stray = form->findControl(layerName);
      EXPECT_FALSE(stray && win32::IsWindow(stray->hWnd()));
    }
    form->put_ClientWidth(8000);
    EXPECT_EQ(prompts(), std::vector<std::string>{});
    unloadAndExpectNothingLeft(before);
  }
}

namespace {

// A listener of the shared timer that fails at every tick.
class ThrowingListener : public CTimerListener {
 public:
  explicit ThrowingListener(std::function<void()> failure) : m_failure(std::move(failure)) {}
  void OnTimerNotification() override {
    ++ticks;
    m_failure();
  }
  int ticks = 0;

 private:
  std::function<void()> m_failure;
};

}  // namespace

// Other listeners of the timer that fail, before and after the control's: the control
// still ticks (its layer is made, moved children count towards the extent), the timer
// keeps what they throw to itself, and the last to go stops it.
TEST_F(HostileHostTest, TimerListenersThatThrowBesideTheControlDoNotStopItsTicks) {
  const Counters before;
  auto early = std::make_shared<ThrowingListener>([] { throw forms::Error(forms::err::InvalidCall, "early"); });
  Timer::RegisterTimerListener(early, "hostile-early");
  build();
  forms::let(host, "AutoAdjustExtent", true);
  form->Show();
  auto late = std::make_shared<ThrowingListener>([] { throw std::runtime_error("late"); });
  Timer::RegisterTimerListener(late, "hostile-late");
  testsupport::advance(200);
  ASSERT_TRUE(bay->Layer()) << "the first tick after a failing listener still makes the layer";
  const int16_t max = bay->VScroll()->get_Max();
  form->findControl("Far")->put_Top(20000);
  testsupport::advance(200);
  EXPECT_GT(bay->VScroll()->get_Max(), max) << "later ticks still adopt what moved";
  EXPECT_EQ(early->ticks, 2);
  EXPECT_EQ(late->ticks, 2);
  EXPECT_EQ(prompts(), std::vector<std::string>{});

  Timer::UnregisterTimerListener("hostile-early");
  Timer::UnregisterTimerListener("hostile-late");
  unloadAndExpectNothingLeft(before);
}

// A program that kept the control, as its form knows it or the class itself, and uses
// it by name after the unload: error 91 from every member, and nothing runs on the
// windows that went.
TEST_F(HostileHostTest, TheControlUsedAfterItsFormUnloadedRaises91) {
  build();
  showAndTick();
  forms::ControlPtr kept = host;
  forms::ObjectPtr self = host->instancePtr();
  const std::pair<const char*, std::function<void(const forms::ObjectPtr&)>> uses[] = {
      {"VScrollValue", [](const forms::ObjectPtr& o) { forms::get(o, "VScrollValue"); }},
      {"VScrollValue =", [](const forms::ObjectPtr& o) { forms::let(o, "VScrollValue", Variant(int32_t{150})); }},
      {"HScrollValue =", [](const forms::ObjectPtr& o) { forms::let(o, "HScrollValue", Variant(int32_t{150})); }},
      {"AdjustExtent", [](const forms::ObjectPtr& o) { forms::call(o, "AdjustExtent"); }},
      {"Refresh", [](const forms::ObjectPtr& o) { forms::call(o, "Refresh"); }},
      {"Scrollbars =", [](const forms::ObjectPtr& o) { forms::let(o, "Scrollbars", Variant(int32_t{vpBoth})); }},
      {"AutoFillContainer =", [](const forms::ObjectPtr& o) { forms::let(o, "AutoFillContainer", true); }},
      {"VirtualWidth", [](const forms::ObjectPtr& o) { forms::get(o, "VirtualWidth"); }},
      {"VirtualHeight =", [](const forms::ObjectPtr& o) { forms::let(o, "VirtualHeight", Variant(int32_t{9000})); }},
      {"BackColor =", [](const forms::ObjectPtr& o) { forms::let(o, "BackColor", Variant(int32_t{0xFF})); }},
      {"ScrollbarBackColor =", [](const forms::ObjectPtr& o) { forms::let(o, "ScrollbarBackColor", Variant(int32_t{0xFF})); }},
      {"Enabled", [](const forms::ObjectPtr& o) { forms::get(o, "Enabled"); }},
      {"Tag =", [](const forms::ObjectPtr& o) { forms::let(o, "Tag", Variant("x")); }},
      {"AutoScroll =", [](const forms::ObjectPtr& o) { forms::let(o, "AutoScroll", true); }},
      {"Picture", [](const forms::ObjectPtr& o) { forms::set(o, "Picture", nullptr); }},
  };
  const Counters after = [&] {
    form->Unload();
    return Counters{};
  }();
  for (const auto& [what, use] : uses) {
    // Named in the capture: clang 14 cannot capture a structured binding.
    EXPECT_EQ(testsupport::errorOf([&, &use = use] { use(kept); }), forms::err::ObjectNotSet) << what << " on the control";
    EXPECT_EQ(testsupport::errorOf([&, &use = use] { use(self); }), forms::err::ObjectNotSet) << what << " on the class";
  }
  // Also once the form object itself is gone.
  form.reset();
  host.reset();
  testsupport::advance(400);
  for (const auto& [what, use] : uses) {
    // Named in the capture: clang 14 cannot capture a structured binding.
    EXPECT_EQ(testsupport::errorOf([&, &use = use] { use(kept); }), forms::err::ObjectNotSet) << what << " on the control";
    EXPECT_EQ(testsupport::errorOf([&, &use = use] { use(self); }), forms::err::ObjectNotSet) << what << " on the class";
  }
  EXPECT_EQ(win32::runtime::liveObjectCount(), after.objects) << "no brush made for a control that went";
  EXPECT_EQ(win32::runtime::liveWindowCount(), after.windows);
  EXPECT_EQ(prompts(), std::vector<std::string>{});
}
