#include "window/FormDescription.h"

namespace timrose {

std::string ControlName(ControlId id) {
  const ControlDesc& desc = Describe(id);
  std::string name(desc.name);
  if (desc.index >= 0) name += "(" + std::to_string(desc.index) + ")";
  return name;
}

std::optional<ControlId> ControlByName(std::string_view name) {
  for (const ControlDesc& desc : kControls) {
    if (ControlName(desc.id) == name) return desc.id;
  }
  return std::nullopt;
}

}  // namespace timrose
