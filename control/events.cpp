// The control's events: its own input and its layer's, passed on to the host with the
// arguments by reference, so that what a handler assigns goes back to the source.
#include "Scrollbay.h"

namespace {

// Raises an event with typed arguments and writes the handler's changes back.
void raiseKeyEvent(forms::UserControl& uc, const char* event, int16_t& KeyCode, int16_t& Shift) {
  forms::Args args{forms::Variant(KeyCode), forms::Variant(Shift)};
  uc.RaiseEvent(event, args);
  KeyCode = args[0].toInt16();
  Shift = args[1].toInt16();
}

void raiseMouseEvent(forms::UserControl& uc, const char* event, int16_t& Button, int16_t& Shift, float& x, float& y) {
  forms::Args args{forms::Variant(Button), forms::Variant(Shift), forms::Variant(x), forms::Variant(y)};
  uc.RaiseEvent(event, args);
  Button = args[0].toInt16();
  Shift = args[1].toInt16();
  x = args[2].toSingle();
  y = args[3].toSingle();
}

}  // namespace

void Scrollbay::Click() {
  forms::Args none;
  userControl().RaiseEvent("Click", none);
}

void Scrollbay::DblClick() {
  forms::Args none;
  userControl().RaiseEvent("DblClick", none);
}

void Scrollbay::KeyDown(int16_t& KeyCode, int16_t& Shift) { raiseKeyEvent(userControl(), "KeyDown", KeyCode, Shift); }

void Scrollbay::KeyPress(int16_t& KeyAscii) {
  forms::Args args{forms::Variant(KeyAscii)};
  userControl().RaiseEvent("KeyPress", args);
  KeyAscii = args[0].toInt16();
}

void Scrollbay::KeyUp(int16_t& KeyCode, int16_t& Shift) { raiseKeyEvent(userControl(), "KeyUp", KeyCode, Shift); }

void Scrollbay::MouseDown(int16_t& Button, int16_t& Shift, float& x, float& y) {
  raiseMouseEvent(userControl(), "MouseDown", Button, Shift, x, y);
}

void Scrollbay::MouseMove(int16_t& Button, int16_t& Shift, float& x, float& y) {
  raiseMouseEvent(userControl(), "MouseMove", Button, Shift, x, y);
}

void Scrollbay::MouseUp(int16_t& Button, int16_t& Shift, float& x, float& y) {
  raiseMouseEvent(userControl(), "MouseUp", Button, Shift, x, y);
}

void Scrollbay::ConnectLayer() {
  // The layer's own arguments are handed on as they are: measured from the layer's
  // corner, that is, in the virtual area.
  auto passOn = [this](const char* event) {
    return m_bgLayer->connect(event, [this, event](forms::Args& args) { userControl().RaiseEvent(event, args); });
  };
  m_layerConnections = {
      m_bgLayer->connect("KeyDown",
                         [this](forms::Args& a) {
                           // A scroll step's handler may unload the form, which lets go of
                           // the control: it lasts until the key is dealt with.
                           const forms::ObjectPtr keep = shared_from_this();
                           int16_t KeyCode = a[0].toInt16(), Shift = a[1].toInt16();
                           OnLayerKeyDown(KeyCode, Shift);
                           a[0] = forms::Variant(KeyCode);
                           a[1] = forms::Variant(Shift);
                         }),
      m_bgLayer->connect("Paint", [this](forms::Args&) { PaintLayer(); }),
      passOn("Click"),
      passOn("DblClick"),
      passOn("KeyPress"),
      passOn("KeyUp"),
      passOn("MouseDown"),
      passOn("MouseMove"),
      passOn("MouseUp"),
  };
}

void Scrollbay::DisconnectLayer() {
  if (m_bgLayer)
    for (int connection : m_layerConnections) m_bgLayer->disconnect(connection);
  m_layerConnections.clear();
}
