// Settings the hosting object keeps (appearance, border, enabled state, tag, mouse
// pointer and icon), the tooltip, and the version. The control holds no copy of the
// hosting object's values; the layer mirrors those that show on it.
#include "Scrollbay.h"
#include "forms/units.h"

int32_t Scrollbay::get_Appearance() const { return userControl().get_Appearance(); }

void Scrollbay::put_Appearance(int32_t eAppearance) {
  forms::UserControl& uc = userControl();
  if (eAppearance == uc.get_Appearance()) return;
  uc.put_Appearance(forms::toInt16(eAppearance));  // beyond 16 bits is an overflow
  uc.PropertyChanged("Appearance");
}

int32_t Scrollbay::get_BorderStyle() const { return userControl().get_BorderStyle(); }

void Scrollbay::put_BorderStyle(int32_t eBorderStyle) {
  forms::UserControl& uc = userControl();
  if (eBorderStyle == uc.get_BorderStyle()) return;
  uc.put_BorderStyle(forms::toInt16(eBorderStyle));
  uc.PropertyChanged("BorderStyle");
}

bool Scrollbay::get_Enabled() const { return userControl().get_Enabled(); }

void Scrollbay::put_Enabled(bool bEnabled) {
  forms::UserControl& uc = userControl();
  if (bEnabled == uc.get_Enabled()) return;
  uc.put_Enabled(bEnabled);
  if (m_bgLayer) m_bgLayer->put_Enabled(bEnabled);
  uc.PropertyChanged("Enabled");
}

forms::Variant Scrollbay::get_Tag() const { return forms::Variant(userControl().get_Tag()); }

void Scrollbay::put_Tag(forms::Variant aTag) {
  // Always reported as a change, even when the text is the same.
  forms::UserControl& uc = userControl();
  uc.put_Tag(aTag.toString());
  uc.PropertyChanged("Tag");
}

int32_t Scrollbay::get_MousePointer() const { return userControl().get_MousePointer(); }

void Scrollbay::put_MousePointer(int32_t aPointer) {
  forms::UserControl& uc = userControl();
  if (aPointer == uc.get_MousePointer()) return;
  const int16_t pointer = forms::toInt16(aPointer);
  uc.put_MousePointer(pointer);
  if (m_bgLayer) m_bgLayer->put_MousePointer(pointer);
  uc.PropertyChanged("MousePointer");
}

forms::ObjectPtr Scrollbay::get_MouseIcon() const { return userControl().get_MouseIcon(); }

void Scrollbay::put_MouseIcon(forms::ObjectPtr aPicture) {
  forms::UserControl& uc = userControl();
  if (aPicture == uc.get_MouseIcon()) return;  // by identity
  uc.put_MouseIcon(aPicture);
  if (m_bgLayer) m_bgLayer->put_MouseIcon(aPicture);
  uc.PropertyChanged("MouseIcon");
}

void Scrollbay::put_ToolTipText(std::string sTip) {
  // Saved with the form all the same, but never reported as a change.
  if (sTip == m_ToolTipText) return;
  m_ToolTipText = std::move(sTip);
  if (m_bgLayer) m_bgLayer->put_ToolTipText(m_ToolTipText);
}

std::string Scrollbay::get_Version() const {
  const forms::LibraryInfo& library = libraryInfo();
  return std::to_string(library.major) + "." + std::to_string(library.minor) + "." + std::to_string(library.revision);
}
