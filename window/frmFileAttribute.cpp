#include "window/frmFileAttribute.h"

#include "core/SizeText.h"
#include "core/TimeText.h"

namespace timrose {

frmFileAttribute::frmFileAttribute(IWindowModel& form, CommonDialog& cdgFile, HandlerServices& platform,
                                   modFileAttribute& store)
    : form_(form), cdgFile_(cdgFile), platform_(platform), store_(store) {}

void frmFileAttribute::OnChange(ControlId control) {
  if (control == ControlId::txtPath) txtPath_Change();
}

frmFileAttribute::ClickHandler frmFileAttribute::HandlerOfClick(ControlId control) {
  switch (control) {
    case ControlId::btnGet:
      return &frmFileAttribute::btnGet_Click;
    case ControlId::btnSet:
      return &frmFileAttribute::btnSet_Click;
    case ControlId::chkOnTop:
      return &frmFileAttribute::chkOnTop_Click;
    case ControlId::lblAbout:
      return &frmFileAttribute::lblAbout_Click;
    default:
      // The attribute boxes raise clicks when the inspection sets them; nothing handles those.
      return nullptr;
  }
}

void frmFileAttribute::OnClick(ControlId control) {
  if (const ClickHandler handler = HandlerOfClick(control)) (this->*handler)();
}

void frmFileAttribute::OnOLEDragDrop(ControlId control, IDropData& data, int32_t& effect, int16_t button,
                                     int16_t shift, float x, float y) {
  if (control == ControlId::txtPath) txtPath_OLEDragDrop(data, effect, button, shift, x, y);
}

Text frmFileAttribute::FormatTime24(const Date& date) {
  return timrose::FormatTime24(platform_.text, date);
}

Text frmFileAttribute::FormatSizeShort(const Text& caption) {
  return timrose::FormatSizeShort(platform_.text, caption);
}

int frmFileAttribute::AttributeSum() {
  int sum = form_.GetValue(ControlId::chkReadOnly) * kAttrReadOnly +
            form_.GetValue(ControlId::chkHide) * kAttrHidden +
            form_.GetValue(ControlId::chkSystem) * kAttrSystem;
  // Only a tick (exactly 1) adds the archive bit. As a product like the other three, any other
  // value a box might report would land on a bit above the four the attribute write owns.
  if (form_.GetValue(ControlId::chkArchive) == 1) sum += kAttrArchive;
  return sum;
}

}  // namespace timrose
