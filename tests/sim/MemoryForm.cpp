#include "tests/sim/MemoryForm.h"

#include <stdexcept>

#include "tests/Support.h"

namespace timrose::sim {
namespace {

std::string Name(ControlId control) {
  return ControlName(control);
}

bool IsCheck(ControlId control) {
  return IsCheckKind(Describe(control).kind);
}

bool IsLabel(ControlId control) {
  return Describe(control).kind == ControlKind::Label;
}

bool IsTextBox(ControlId control) {
  return Describe(control).kind == ControlKind::TextBox;
}

}  // namespace

MemoryForm::MemoryForm() {
  for (const ControlDesc& desc : kControls) {
    ControlState& state = At(desc.id);
    state.text = Text(desc.caption);
    state.enabled = (desc.flags & kFlagDisabled) == 0;
    state.mousePointer = (desc.flags & kFlagHandPointer) != 0 ? kPointerCustom : kPointerDefault;
    if ((desc.flags & kFlagStartFocus) != 0) focus_ = desc.id;
  }
}

MemoryForm::ControlState& MemoryForm::At(ControlId control) {
  const auto i = static_cast<size_t>(control);
  if (i >= controls_.size()) throw std::logic_error("no such control");
  return controls_[i];
}

const MemoryForm::ControlState& MemoryForm::At(ControlId control) const {
  const auto i = static_cast<size_t>(control);
  if (i >= controls_.size()) throw std::logic_error("no such control");
  return controls_[i];
}

void MemoryForm::SetEvents(IFormEvents* events) {
  events_ = events;
}

void MemoryForm::Click(ControlId control) {
  if (!At(control).enabled) return;
  const ControlKind kind = Describe(control).kind;
  if (kind == ControlKind::PushButton || IsCheck(control)) SetFocus(control);
  log.push_back("click " + Name(control));
  if (IsCheck(control)) {
    // The value change raises the click, as the real check box does.
    SetValue(control, At(control).value == 0 ? 1 : 0);
    return;
  }
  if (events_ != nullptr) events_->OnClick(control);
}

void MemoryForm::Drop(IDropData& data) {
  if (!At(ControlId::txtPath).enabled) return;
  log.push_back("drop txtPath");
  lastDropEffect = 1;
  if (events_ != nullptr)
    events_->OnOLEDragDrop(ControlId::txtPath, data, lastDropEffect, 1, 0, 1800.0f, 300.0f);
}

void MemoryForm::Type(ControlId control, const Text& text) {
  if (!IsTextBox(control)) throw std::logic_error("typing into " + Name(control));
  if (!At(control).enabled || (Describe(control).flags & kFlagLocked) != 0) return;
  SetText(control, text);
}

std::string MemoryForm::Snapshot() const {
  std::string out;
  for (const ControlDesc& desc : kControls) {
    const ControlState& state = At(desc.id);
    out += Name(desc.id) + " text=" + ToUtf8(state.text) + " value=" + std::to_string(state.value) +
           (state.enabled ? " enabled" : " disabled") + " tip=" + ToUtf8(state.toolTip) +
           " pointer=" + std::to_string(state.mousePointer) + " sel=" + std::to_string(state.selStart) + "\n";
  }
  return out + "focus=" + Name(focus_) + "\n";
}

int MemoryForm::SelStart(ControlId control) const {
  return At(control).selStart;
}

int MemoryForm::MousePointer(ControlId control) const {
  return At(control).mousePointer;
}

Text MemoryForm::GetText(ControlId control) {
  return At(control).text;
}

void MemoryForm::SetText(ControlId control, const Text& text) {
  if (IsCheck(control) || Describe(control).kind == ControlKind::PushButton) {
    throw std::logic_error("the program never sets the caption of " + Name(control));
  }
  ControlState& state = At(control);
  if (state.text == text) return;
  state.text = text;
  // The caret stays inside the new text, as an edit control keeps it.
  if (state.selStart > static_cast<int>(text.size())) state.selStart = static_cast<int>(text.size());
  log.push_back("text " + Name(control) + "=" + ToUtf8(text));
  if (control == ControlId::txtPath && events_ != nullptr) {
    log.push_back("change txtPath begin");
    events_->OnChange(ControlId::txtPath);
    log.push_back("change txtPath end");
  }
}

int MemoryForm::GetValue(ControlId control) {
  if (!IsCheck(control)) throw std::logic_error(Name(control) + " has no value");
  return At(control).value;
}

void MemoryForm::SetValue(ControlId control, int value) {
  if (!IsCheck(control)) throw std::logic_error(Name(control) + " has no value");
  if (value != 0 && value != 1) throw std::logic_error("check box value " + std::to_string(value));
  ControlState& state = At(control);
  if (state.value == value) return;
  state.value = value;
  log.push_back("value " + Name(control) + "=" + std::to_string(value));
  if (events_ != nullptr) events_->OnClick(control);
}

void MemoryForm::SetEnabled(ControlId control, bool enabled) {
  ControlState& state = At(control);
  if (state.enabled == enabled) return;
  // As the real window: the focus leaves a control being disabled for the next one in Tab order.
  if (!enabled && focus_ == control) {
    const int from = Describe(control).tabIndex;
    const ControlDesc* next = nullptr;
    for (const ControlDesc& desc : kControls) {
      if (desc.id == control || IsLabel(desc.id) || !At(desc.id).enabled) continue;
      // Tab places after this one come first, then those before it, as the cycle wraps.
      const auto key = [from](const ControlDesc& d) {
        return (d.tabIndex - from + kControlCount) % kControlCount;
      };
      if (!next || key(desc) < key(*next)) next = &desc;
    }
    if (next) focus_ = next->id;
  }
  state.enabled = enabled;
  log.push_back((enabled ? "enable " : "disable ") + Name(control));
}

void MemoryForm::SetFocus(ControlId control) {
  if (IsLabel(control)) throw std::logic_error("a label cannot take the focus: " + Name(control));
  if (!At(control).enabled) {
    // A disabled window refuses the focus and the focus stays where it was.
    log.push_back("focus refused " + Name(control));
    return;
  }
  focus_ = control;
  log.push_back("focus " + Name(control));
}

void MemoryForm::SetSelStart(ControlId control, int position) {
  if (!IsTextBox(control)) throw std::logic_error(Name(control) + " has no caret");
  ControlState& state = At(control);
  const int length = static_cast<int>(state.text.size());
  state.selStart = position < 0 ? 0 : (position > length ? length : position);
  log.push_back("selstart " + Name(control) + "=" + std::to_string(state.selStart));
}

void MemoryForm::SetToolTip(ControlId control, const Text& text) {
  // As the real window: only a control described with a tip has one.
  if (!HasFlag(Describe(control), kFlagToolTip)) return;
  At(control).toolTip = text;
  log.push_back("tooltip " + Name(control) + "=" + ToUtf8(text));
}

void MemoryForm::SetMousePointer(ControlId control, int pointer) {
  if (pointer != kPointerDefault && pointer != kPointerCustom) {
    throw std::logic_error("mouse pointer " + std::to_string(pointer));
  }
  At(control).mousePointer = pointer;
  log.push_back("pointer " + Name(control) + "=" + std::to_string(pointer));
}

}  // namespace timrose::sim
