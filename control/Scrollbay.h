#pragma once
// The viewport control: contained controls move onto a background layer as large as
// their virtual extent, and two scrollbars move that layer under the control's window.
#include <vector>
#include <cstdint>
#include <memory>
#include <string>

#include "../subclass/cSubclassListener.h"
#include "../timer/CTimerListener.h"
#include "forms/picturebox.h"
#include "forms/scrollbar.h"
#include "forms/usercontrol.h"

// Settings of a new instance.
inline constexpr int32_t kDefaultMarginPixels = 20;
inline constexpr int32_t kDefaultVirtualWidthPixels = 800;
inline constexpr int32_t kDefaultVirtualHeightPixels = 600;
inline constexpr uint32_t kDefaultScrollbarColor = 0x80000000u;  // the system's scrollbar colour

// Which scrollbars are shown.
enum ScrollbarShow : int32_t { vpAuto = 0, vpBoth = 1, vpHorizontal = 2, vpVertical = 3, vpNone = 4 };
// The border's look; the display names are "None"/"Fixed Single" and "Flat"/"3D".
enum vpBorderStyle : int32_t { vpBorderNone = 0, vpBorderFixedSingle = 1 };
enum vpApearanceStyle : int32_t { vpAppearanceFlat = 0, vpAppearance3D = 1 };

class Scrollbay : public forms::ControlClass, public cSubclassListener, public CTimerListener {
 public:
  static const forms::ClassInfo& typeInfo();
  static const forms::LibraryInfo& libraryInfo();
  const forms::ClassInfo& classInfo() const override { return typeInfo(); }
  // Error 91 once the control ended (its form unloaded), as through its extender.
  forms::Variant invoke(std::string_view member, forms::CallKind kind, forms::Args& args) override;
  bool isContainerClass() const override { return true; }

  // Host notifications.
  void Initialize() override;
  void InitProperties() override;
  void ReadProperties(forms::PropertyBag& bag) override;
  void WriteProperties(forms::PropertyBag& bag) override;
  void Show() override;
  void Resize() override;
  void Paint() override;
  void AmbientChanged(const std::string& propertyName) override;
  void Terminate() override;

  // The control's own input, passed on as its events.
  void Click() override;
  void DblClick() override;
  void KeyDown(int16_t& KeyCode, int16_t& Shift) override;
  void KeyPress(int16_t& KeyAscii) override;
  void KeyUp(int16_t& KeyCode, int16_t& Shift) override;
  void MouseDown(int16_t& Button, int16_t& Shift, float& x, float& y) override;
  void MouseMove(int16_t& Button, int16_t& Shift, float& x, float& y) override;
  void MouseUp(int16_t& Button, int16_t& Shift, float& x, float& y) override;

  // Services.
  win32::LRESULT WindowMsgListener(win32::HWND hwnd, win32::UINT Msg, win32::WPARAM wParam, win32::LPARAM lParam,
                                   bool& bRouteToOriginal) override;
  std::shared_ptr<cSubclassListener> ListenerRef() override;
  void OnTimerNotification() override;

  // Public interface.
  void AdjustExtent();
  int32_t get_HScrollValue() const;
  void put_HScrollValue(int32_t nValue);
  int32_t get_VScrollValue() const;
  void put_VScrollValue(int32_t nValue);
  int32_t get_Scrollbars() const { return m_Scrollbars; }
  void put_Scrollbars(int32_t eValue);
  bool get_AutoAdjustExtent() const { return m_AutoAdjustExtent; }
  void put_AutoAdjustExtent(bool bValue);
  int32_t get_VirtualWidth() const { return FromTwips(forms::Axis::X, m_VirtualWidth); }
  void put_VirtualWidth(int32_t nWidth) { SetVirtualSize(forms::Axis::X, nWidth); }
  int32_t get_VirtualHeight() const { return FromTwips(forms::Axis::Y, m_VirtualHeight); }
  void put_VirtualHeight(int32_t nHeight) { SetVirtualSize(forms::Axis::Y, nHeight); }
  int32_t get_RightMargin() const { return FromTwips(forms::Axis::X, m_RightMargin); }
  void put_RightMargin(int32_t nValue) { SetMargin(forms::Axis::X, nValue); }
  int32_t get_BottomMargin() const { return FromTwips(forms::Axis::Y, m_BottomMargin); }
  void put_BottomMargin(int32_t nValue) { SetMargin(forms::Axis::Y, nValue); }
  int32_t get_ScrollbarBackColor() const { return static_cast<int32_t>(m_ScrollbarBackColor); }
  void put_ScrollbarBackColor(int32_t aColor);
  bool get_AutoScroll() const { return m_AutoScroll; }
  void put_AutoScroll(bool bAutoScroll);
  int32_t TranslatedSysColor(int32_t aColor) const;
  int32_t get_BackColor() const;
  void put_BackColor(int32_t aColor);
  forms::ObjectPtr get_Picture() const { return m_Picture; }
  void putref_Picture(forms::ObjectPtr aPicture);
  void Refresh();
  bool get_AutoFillContainer() const { return m_AutoFillContainer; }
  void put_AutoFillContainer(bool bAutoFill);
  int32_t get_LeftFillMargin() const { return GetFillMargin(Edge::Left); }
  void put_LeftFillMargin(int32_t nMargin) { SetFillMargin(Edge::Left, nMargin); }
  int32_t get_TopFillMargin() const { return GetFillMargin(Edge::Top); }
  void put_TopFillMargin(int32_t nMargin) { SetFillMargin(Edge::Top, nMargin); }
  int32_t get_RightFillMargin() const { return GetFillMargin(Edge::Right); }
  void put_RightFillMargin(int32_t nMargin) { SetFillMargin(Edge::Right, nMargin); }
  int32_t get_BottomFillMargin() const { return GetFillMargin(Edge::Bottom); }
  void put_BottomFillMargin(int32_t nMargin) { SetFillMargin(Edge::Bottom, nMargin); }
  // Settings the hosting object keeps.
  int32_t get_Appearance() const;
  void put_Appearance(int32_t eAppearance);
  bool get_Enabled() const;
  void put_Enabled(bool bEnabled);
  int32_t get_BorderStyle() const;
  void put_BorderStyle(int32_t eBorderStyle);
  forms::Variant get_Tag() const;
  void put_Tag(forms::Variant aTag);
  int32_t get_MousePointer() const;
  void put_MousePointer(int32_t aPointer);
  forms::ObjectPtr get_MouseIcon() const;
  void put_MouseIcon(forms::ObjectPtr aPicture);
  std::string get_ToolTipText() const { return m_ToolTipText; }
  void put_ToolTipText(std::string sTip);
  std::string get_Version() const;
  // Follows the container's scale units: lengths then read and write in that unit.
  void ApplyScaleUnits(const std::string& units);

  // What tests and the other pieces look at.
  const std::string& TimerKey() const { return m_TimerKey; }
  win32::HWND LayerWnd() const { return m_hLayerWnd; }
  win32::HBRUSH ScrollbarBrush() const { return m_ScrollbarBrush; }
  int32_t VirtualWidthTwips() const { return m_VirtualWidth; }
  int32_t VirtualHeightTwips() const { return m_VirtualHeight; }
  const std::shared_ptr<forms::PictureBox>& Layer() const { return m_bgLayer; }
  const std::shared_ptr<forms::ScrollBar>& HScroll() const { return m_HScroll; }
  const std::shared_ptr<forms::ScrollBar>& VScroll() const { return m_VScroll; }
  const std::shared_ptr<forms::PictureBox>& Plug() const { return m_plug; }
  int32_t WheelRemainder() const { return m_WheelRemainder; }
  win32::UINT WheelScrollLines() const { return m_WheelScrollLines; }
  win32::UINT WheelMessage() const { return m_WheelMessage; }

 private:
  // Lifecycle and layers.
  void CreatePieces();
  void SetupWindows();
  void AttachWindow(win32::HWND hWnd);
  void DetachWindow(win32::HWND hWnd);
  void CreateBackgroundLayer();
  // Puts the scrollbars and the corner square above every sibling, the layer included.
  void KeepPiecesOnTop();
  void ReleaseLayer();
  void StopTimer();
  std::string ControlKey() const;
  bool UserMode() const;

  // Extent and layout.
  void SetVirtualSize(forms::Axis axis, int32_t value);
  void SetMargin(forms::Axis axis, int32_t value);
  void ResizeSequence();
  void AdoptContainedControls();
  void ComputeVirtualExtent();
  void SizeLayer(int32_t width, int32_t height);
  void UpdateScrollRanges();
  void UpdateScrollSteps();
  void ApplyScrollbarVisibility(int32_t mode, bool& changed);
  void LayoutScrollbars();

  // Scrolling.
  // The position a scroll step may reach: Min .. max(Min, Max).
  static int16_t ScrollPosition(const forms::ScrollBar& bar, int target);
  void OnScrollChange(forms::Axis axis);
  void OnLayerKeyDown(int16_t& KeyCode, int16_t& Shift);
  void ScrollIntoView(const forms::ObjectPtr& ctl);

  // Painting.
  void PaintLayer();

  // Events: the layer's notifications that the control answers or passes on.
  void ConnectLayer();
  void DisconnectLayer();

  // Container fill.
  enum class Edge { Left, Top, Right, Bottom };
  static forms::Axis EdgeAxis(Edge edge) { return edge == Edge::Left || edge == Edge::Right ? forms::Axis::X : forms::Axis::Y; }
  int32_t& FillMargin(Edge edge);  // twips
  int32_t GetFillMargin(Edge edge) const;
  void SetFillMargin(Edge edge, int32_t nMargin);
  void FillContainer();

  // The wheel.
  void SetUpWheel();
  void ReadWheelScrollLines();
  void ScrollByWheel(int32_t delta);

  // The tick's focus tracking.
  forms::ObjectPtr FindLayerChild(const forms::ObjectPtr& start) const;
  void FollowFocus();

  // Messages of the attached windows.
  win32::LRESULT HandleControlMsg(win32::HWND hwnd, win32::UINT Msg, win32::WPARAM wParam, win32::LPARAM lParam,
                                  bool& bRouteToOriginal);
  win32::LRESULT HandleContainerMsg(win32::HWND hwnd, win32::UINT Msg, win32::WPARAM wParam, win32::LPARAM lParam,
                                    bool& bRouteToOriginal);
  win32::LRESULT HandleLayerMsg(win32::HWND hwnd, win32::UINT Msg, win32::WPARAM wParam, win32::LPARAM lParam,
                                bool& bRouteToOriginal);

  // Units: the control's lengths are twips, its positions pixels, its interface its
  // scale mode. Every conversion goes through the host's ScaleX/ScaleY and, where an
  // integer is kept, the runtime's one rounding rule.
  float Scale(forms::Axis axis, float value, int fromMode, int toMode) const;
  int32_t ScaleRounded(forms::Axis axis, float value, int fromMode, int toMode) const;
  int32_t FromTwips(forms::Axis axis, int32_t twips) const;
  int32_t ToTwips(forms::Axis axis, int32_t value) const;
  // A count of pixels in twips, unrounded, as the saved defaults are given.
  forms::Variant PixelsInTwips(forms::Axis axis, int32_t pixels) const;
  // The thickness, in pixels, of the scrollbar that lies across an axis: the vertical
  // scrollbar takes width, the horizontal one height.
  static int CrossBarPixels(forms::Axis axis);
  forms::ScrollBar& Bar(forms::Axis axis) const { return axis == forms::Axis::X ? *m_HScroll : *m_VScroll; }

  // Member state, in declared order.
  int32_t m_Scrollbars = vpAuto;
  win32::HBRUSH m_ScrollbarBrush = 0;
  uint32_t m_ScrollbarBackColor = 0;
  bool m_AutoScroll = false;
  bool m_AutoAdjustExtent = false;
  std::string m_ToolTipText;
  int32_t m_VirtualWidth = 0;   // twips
  int32_t m_VirtualHeight = 0;  // twips
  int32_t m_RightMargin = 0;    // twips
  int32_t m_BottomMargin = 0;   // twips
  bool m_AutoFillContainer = false;
  int32_t m_LeftFillMargin = 0;    // twips
  int32_t m_TopFillMargin = 0;     // twips
  int32_t m_RightFillMargin = 0;   // twips
  int32_t m_BottomFillMargin = 0;  // twips
  std::string m_TimerKey;
  forms::ObjectPtr m_LastActiveControl;
  forms::ObjectPtr m_Picture;
  int32_t m_WheelRemainder = 0;  // wheel delta below one notch, carried to the next message
  win32::UINT m_WheelScrollLines = 0;
  win32::UINT m_WheelMessage = 0;  // registered wheel message, 0 where the system has none
  win32::HWND m_hLayerWnd = 0;
  win32::HWND m_hContainerWnd = 0;
  win32::HWND m_hThisWnd = 0;

  // Pieces: the two scrollbars and the corner square are made on the control itself;
  // the layer is a control of the host form that the control only refers to.
  std::shared_ptr<forms::ScrollBar> m_HScroll;
  std::shared_ptr<forms::ScrollBar> m_VScroll;
  std::shared_ptr<forms::PictureBox> m_plug;
  std::shared_ptr<forms::PictureBox> m_bgLayer;
  std::vector<int> m_layerConnections;  // to the layer's notifications
};
