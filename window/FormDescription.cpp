#include "window/FormDescription.h"

namespace timrose {

std::string ControlName(ControlId id) {
  const ControlSpec& spec = Spec(id);
  std::string name(spec.name);
  if (spec.index >= 0) name += "(" + std::to_string(spec.index) + ")";
  return name;
}

std::optional<ControlId> ControlByName(std::string_view name) {
  for (const ControlSpec& spec : kControls) {
    if (ControlName(spec.id) == name) return spec.id;
  }
  return std::nullopt;
}

}  // namespace timrose
